#!/usr/bin/env bash
# Real-window tests of vmd3.exe under Xvfb and Wine.
#   gui_test.sh CASE PROGRAM-FOLDER OUTPUT-FOLDER [WINDOW-POKE-EXE]
# CASE: start-and-close, second-copy, missing-vmdres, small-mode, new-user,
#       close-commands, copy-protocol, narrow-display, dialogs
. "$(dirname "${BASH_SOURCE[0]}")/gui_lib.sh"

case_name=$1
program_dir=$2
GUI_OUT=$3/$case_name
rm -rf "$GUI_OUT"
mkdir -p "$GUI_OUT"
exe="$program_dir/vmd3.exe"
poke=${4:-}
branch='HKCU\Software\Quorvex\Vistameld 3.0'
machine='HKLM\Software\Quorvex'
panel="201,200,213"

# Settings left by an earlier case must not decide this one.
reset_program_settings() {
  rm -f "$WINEPREFIX/drive_c/windows/vmd3.ini"
}

# start_program: launches vmd3.exe and waits for its two windows.
start_program() {
  gui_launch "$exe"
  PROGRAM_PID=$GUI_LAST_PID
  gui_wait_windows 2 30 || { fail "the windows titled \"Vistameld 3.0\" did not appear"; gui_finish; }
  # The splash goes by itself after a moment; the cases start once it has.
  local i
  for ((i = 0; i < 50; i++)); do
    [ -z "$(xdotool search --onlyvisible --name '^About Vistameld$' 2>/dev/null)" ] && break
    sleep 0.1
  done
}

# close_with_alt_f4 WINDOW: Alt+F4, then the program must end with code 0.
close_with_alt_f4() {
  gui_key "$1" alt+F4
  if gui_wait_exit "$PROGRAM_PID" 15; then
    check "exit code 0 after Alt+F4 (got $GUI_EXIT)" test "$GUI_EXIT" = 0
  else
    fail "still running 15 s after Alt+F4"
  fi
  check "no window left" test -z "$(gui_windows)"
}

case_start_and_close() {
  gui_start 1024x768
  reset_program_settings
  start_program
  local main background
  main=$(gui_window_sized 800 600) || fail "no 800 x 600 main window"
  background=$(gui_window_sized 1024 768) || fail "no full-screen background window"
  check "main window centred at (112, 84)" test "$(gui_geometry "$main")" = "112 84 800 600"
  check "background at (0, 0)" test "$(gui_geometry "$background")" = "0 0 1024 768"
  # A click on the Home screen takes the focus and changes nothing.
  gui_click 512 384
  sleep 0.3
  gui_screenshot running
  check "black background outside the main window" test "$(gui_pixel running 40 40)" = "0,0,0"
  check "black below the main window" test "$(gui_pixel running 512 740)" = "0,0,0"
  check "the main window draws its screen" test "$(gui_pixel running 120 92)" != "0,0,0"
  close_with_alt_f4 "$main"
}

case_second_copy() {
  gui_start 1024x768
  reset_program_settings
  start_program
  local main cover cover_pid
  main=$(gui_window_sized 800 600) || fail "no main window"
  # Cover the first copy with another window, then start the second copy.
  xmessage -geometry 500x300+262+234 -bg '#ff00ff' -fg '#ff00ff' "covering the first copy" \
    >/dev/null 2>&1 &
  cover_pid=$!
  GUI_PIDS+=("$cover_pid")
  sleep 1
  gui_screenshot covered
  check "the cover window is on top before" test "$(gui_pixel covered 512 384)" = "255,0,255"
  gui_launch "$exe"
  local second=$GUI_LAST_PID
  if gui_wait_exit "$second" 20; then
    check "the second copy exits with code 0 (got $GUI_EXIT)" test "$GUI_EXIT" = 0
  else
    fail "the second copy is still running after 20 s"
  fi
  sleep 1
  gui_screenshot after-second
  check "the first copy is in front again" test "$(gui_pixel after-second 512 384)" != "255,0,255"
  check "still one main window" test "$(gui_windows | wc -l)" = 2
  check "the first copy still runs" kill -0 "$PROGRAM_PID"
  kill "$cover_pid" 2>/dev/null
  close_with_alt_f4 "$main"
}

case_missing_vmdres() {
  gui_start 1024x768
  local lonely="$GUI_OUT/program"
  mkdir -p "$lonely"
  cp "$exe" "$program_dir/seamcore.dll" "$program_dir/pixio.dll" "$lonely/"
  # Started from its own folder: the test folder may hold a vmdres.dll of
  # another test program, and the current folder is searched for libraries.
  pushd "$lonely" >/dev/null || return
  gui_launch "$lonely/vmd3.exe"
  popd >/dev/null || return
  if gui_wait_exit "$GUI_LAST_PID" 20; then
    check "exit code 0 without vmdres.dll (got $GUI_EXIT)" test "$GUI_EXIT" = 0
  else
    gui_screenshot still-running
    fail "still running without vmdres.dll"
  fi
  check "no window and no message" test -z "$(xdotool search --onlyvisible --name . 2>/dev/null)"
}

case_small_mode() {
  gui_start 1024x768
  reset_program_settings
  printf '[USER]\r\nFOR_640=1\r\n' >"$WINEPREFIX/drive_c/windows/vmd3.ini"
  GUI_CLEANUPS+=("rm -f '$WINEPREFIX/drive_c/windows/vmd3.ini'")
  start_program
  local windows main
  windows=$(gui_windows)
  for w in $windows; do
    check "window $w is 640 x 480 at (0, 0)" test "$(gui_geometry "$w")" = "0 0 640 480"
  done
  main=$(gui_window_sized 640 480)
  gui_screenshot small
  check "the main window covers its background" test "$(gui_pixel small 8 8)" != "0,0,0"
  check "nothing of the program right of 640" test "$(gui_pixel small 700 300)" != "$panel"
  # The main window is the one whose click takes the focus; close through it.
  close_with_alt_f4 "$(echo "$windows" | tail -n 1)"
}

case_new_user() {
  gui_start 1024x768
  reset_program_settings
  gui_reg delete "$branch" /f >/dev/null
  # Machine-wide start values for the 32-bit program.
  gui_reg add "$machine\\Vistameld 3.0\\ALBUMCUR" /v CURRENT /t REG_DWORD /d 3 /f /reg:32 >/dev/null
  gui_reg add "$machine\\Vistameld 3.0\\PHOTOS" /v album1.abm /t REG_SZ /d "Sample photos" /f /reg:32 >/dev/null
  GUI_CLEANUPS+=("wine reg delete '$machine' /f /reg:32 </dev/null")
  start_program
  local main
  main=$(gui_window_sized 800 600)
  gui_screenshot new-user
  local key
  for key in PHOTOS ALBUMPOS ALBUMHEAD ALBUMCUR USER UPDATE; do
    check "key $key created" bash -c "wine reg query '$branch\\$key' </dev/null >/dev/null 2>&1"
  done
  local user
  user=$(gui_reg query "$branch\\USER")
  echo "$user" >"$GUI_OUT/user.txt"
  check "FILELASTDIR is the documents folder" grep -Eq 'FILELASTDIR +REG_SZ +C:\\users\\[^\\]+\\(My )?Documents' <<<"$user"
  check "ALBUMLASTDIR is the documents folder" grep -Eq 'ALBUMLASTDIR +REG_SZ +C:\\users\\' <<<"$user"
  check "machine-wide ALBUMCUR copied" grep -Eq 'CURRENT +REG_DWORD +0x3' <<<"$(gui_reg query "$branch\\ALBUMCUR")"
  check "machine-wide album copied" grep -Eq 'album1.abm +REG_SZ +Sample photos' <<<"$(gui_reg query "$branch\\PHOTOS")"
  local update
  update=$(gui_reg query "$branch\\UPDATE")
  echo "$update" >"$GUI_OUT/update.txt"
  for value in VERSION APPDATA WINDOWS DOCUMENT DESKTOP; do
    check "UPDATE\\$value recorded" grep -q "$value" <<<"$update"
  done
  check "user data folder made" test -d "$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Quorvex/Vistameld/3.0/palbums 2>/dev/null | head -n 1)"
  close_with_alt_f4 "$main"
}

# poke ARGS: the message helper, run in the same prefix and display.
poke() { wine "$poke" "$@" </dev/null >>"$GUI_OUT/wine.log" 2>&1; }

# expect_exit CODE WHAT: the program must end with CODE within 15 s.
expect_exit() {
  if gui_wait_exit "$PROGRAM_PID" 15; then
    check "$2: exit code $1 (got $GUI_EXIT)" test "$GUI_EXIT" = "$1"
  else
    fail "$2: still running after 15 s"
  fi
}

case_close_commands() {
  gui_start 1024x768
  reset_program_settings
  # The system Close command of either window closes the main window.
  start_program
  poke post "Vistameld background" 0x0112 0xF060  # WM_SYSCOMMAND, SC_CLOSE
  expect_exit 0 "SC_CLOSE on the background window"
  check "no window left" test -z "$(gui_windows)"
  start_program
  poke post "Vistameld Window" 0x0112 0xF060
  expect_exit 0 "SC_CLOSE on the main window"
  check "no window left" test -z "$(gui_windows)"
}

case_copy_protocol() {
  gui_start 1024x768
  reset_program_settings
  start_program
  # A starting copy announces its background window; the running copy answers.
  poke newcopy
  local answer=$?
  check "the running copy answers 0x720 with 0x721 (helper exit $answer)" test "$answer" = 0
  check "the running copy goes on" kill -0 "$PROGRAM_PID"
  # 0x721 on a background window ends its process at once with code 1.
  poke post "Vistameld background" 0x721 0
  expect_exit 1 "0x721 on the background window"
}

case_narrow_display() {
  # A desktop narrower than 800 pixels is refused with a message at window
  # creation. (Wine shows every X depth as true colour, so the palette half of
  # the check cannot be seen here; a unit test covers it.)
  gui_start 640x480
  reset_program_settings
  gui_launch "$exe"
  PROGRAM_PID=$GUI_LAST_PID
  local box=""
  for _ in $(seq 1 300); do
    box=$(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null | head -n 1)
    [ -n "$box" ] && break
    kill -0 "$PROGRAM_PID" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$box" ]; then
    fail "no \"Warning\" message on a 640 x 480 display"
  else
    sleep 0.5
    gui_screenshot refused
    check "only the black background behind the message" test "$(gui_windows | wc -l)" = 1
    check "the background is black" test "$(gui_pixel refused 20 20)" = "0,0,0"
    gui_key "$box" Return
  fi
  expect_exit 0 "after the display message"
  check "no window left" test -z "$(gui_windows)"
}

case_dialogs() {
  # Every dialog of vmdres created as a real window (the unit test that does
  # it skips without a display).
  gui_start 1024x768
  local tests=${4:?the vmdres test program}
  (cd "$(dirname "$tests")" &&
    wine "$tests" --gtest_filter='*CreatesAsAWindow*' </dev/null >"$GUI_OUT/dialogs.txt" 2>&1)
  local code=$?
  check "the dialog windows test passes (exit $code)" test "$code" = 0
  check "it ran six dialogs" grep -q '\[  PASSED  \] 6 tests' "$GUI_OUT/dialogs.txt"
  check "none skipped" bash -c "! grep -q SKIPPED '$GUI_OUT/dialogs.txt'"
}

case $case_name in
  dialogs) case_dialogs "$@" ;;
  narrow-display) case_narrow_display ;;
  close-commands) case_close_commands ;;
  copy-protocol) case_copy_protocol ;;
  start-and-close) case_start_and_close ;;
  second-copy) case_second_copy ;;
  missing-vmdres) case_missing_vmdres ;;
  small-mode) case_small_mode ;;
  new-user) case_new_user ;;
  *) echo "gui: unknown case $case_name"; exit 2 ;;
esac
gui_finish
