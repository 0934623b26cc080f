#!/usr/bin/env bash
# Real-window tests of the program's help under Xvfb and Wine.
#   help_test.sh CASE PROGRAM-FOLDER OUTPUT-FOLDER HELP-PROBE-EXE
# CASE: contents (F1 on Home), context (the context menu's Help on Home),
#       missing (no help file beside the program), html (only the HTML copy)
. "$(dirname "${BASH_SOURCE[0]}")/gui_lib.sh"

case_name=$1
program_dir=$2
GUI_OUT=$3/help-$case_name
rm -rf "$GUI_OUT"
mkdir -p "$GUI_OUT"
probe=$4

# probe ARGS: the help helper, in the same prefix and display; its output is
# kept in the case's folder and printed.
probe() {
  wine "$probe" "$@" </dev/null 2>>"$GUI_OUT/wine.log" | tr -d '\r' | tee -a "$GUI_OUT/probe.txt"
  return "${PIPESTATUS[0]}"
}

# start_program FOLDER: vmd3.exe from FOLDER, with its two windows up.
start_program() {
  rm -f "$WINEPREFIX/drive_c/windows/vmd3.ini"
  gui_launch "$1/vmd3.exe"
  PROGRAM_PID=$GUI_LAST_PID
  gui_wait_windows 2 30 || { fail "the windows titled \"Vistameld 3.0\" did not appear"; gui_finish; }
  MAIN=$(gui_window_sized 800 600) || { fail "no 800 x 600 main window"; gui_finish; }
  # The splash goes by itself after a moment.
  local i
  for ((i = 0; i < 50; i++)); do
    [ -z "$(xdotool search --onlyvisible --name '^About Vistameld$' 2>/dev/null)" ] && break
    sleep 0.1
  done
}

# expect_viewer_with TEXT WHAT: the viewer opens and shows TEXT.
expect_viewer_with() {
  local shown
  shown=$(probe viewer 30)
  local found=$?
  check "$2: the help viewer (class MS_WINHELP) opens" test "$found" = 0
  check "$2: it shows \"$1\"" grep -qF "$1" <<<"$shown"
}

expect_no_box() {
  check "$1: no message box" probe boxes
}

# context_help: a right click on the Home screen, then the menu's one entry.
# context_help [X Y]: the main window's context menu at a screen point (the
# middle of the screen unless given) and its Help.
context_help() {
  local x=${1:-512} y=${2:-384}
  xdotool mousemove "$x" "$y" sleep 0.2 click 3
  sleep 1
  gui_screenshot context-menu
  # The menu opens with its top-left corner at the pointer.
  xdotool mousemove $((x + 18)) $((y + 10)) sleep 0.3 click 1
}

close_program() {
  probe windows >/dev/null
  check "the help viewer closes" probe close
  # Back to the program: a click on the Home screen takes the focus, once the
  # viewer's window has gone from the screen.
  local i
  for ((i = 0; i < 50; i++)); do
    xdotool search --onlyvisible --name '^Wine Help$' >/dev/null 2>&1 || break
    sleep 0.1
  done
  gui_click 512 384
  for ((i = 0; i < 50; i++)); do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$MAIN" ] && break
    sleep 0.1
  done
  gui_key "$MAIN" alt+F4
  if gui_wait_exit "$PROGRAM_PID" 15; then
    check "the program ends with code 0 (got $GUI_EXIT)" test "$GUI_EXIT" = 0
  else
    fail "the program still runs 15 s after Alt+F4"
    gui_screenshot not-closed
    probe windows >/dev/null
  fi
}

case_contents() {
  gui_start 1024x768
  start_program "$program_dir"
  gui_key "$MAIN" F1
  expect_viewer_with "Vistameld makes one wide picture" "F1 on Home"
  expect_viewer_with "The Home screen" "F1 on Home (the contents list the chapters)"
  gui_screenshot contents
  expect_no_box "F1 on Home"
  close_program
}

case_context() {
  gui_start 1024x768
  start_program "$program_dir"
  context_help
  expect_viewer_with "The Home screen is where Vistameld starts" "Help of the context menu on Home"
  gui_screenshot home-topic
  expect_no_box "Help of the context menu on Home"
  close_program
}

case_storyboard() {
  # The context menu's Help on a storyboard screen opens the albums-and-storyboard topic.
  gui_start 1024x768
  start_program "$program_dir"
  gui_key "$MAIN" Return   # Stitch Wizard
  sleep 1
  gui_key "$MAIN" Return   # Next: the row storyboard
  sleep 1
  # The middle of the screen is the album window, which has a menu of its
  # own; the panel beside the storyboard's heading is the main window's.
  context_help 712 424
  expect_viewer_with "Albums and the storyboard" "Help of the context menu on a storyboard"
  gui_screenshot storyboard-topic
  expect_no_box "Help of the context menu on a storyboard"
  close_program
}

case_missing() {
  # The program without its help file and HTML copy: F1 and the context menu
  # do nothing visible (a beep), and above all show no "Cannot find" box that
  # would wait for an answer.
  gui_start 1024x768
  local bare="$GUI_OUT/program"
  mkdir -p "$bare"
  cp "$program_dir"/vmd3.exe "$program_dir"/*.dll "$program_dir"/*.DLL "$bare/" 2>/dev/null
  cp -r "$program_dir/UI" "$bare/"
  start_program "$bare"
  gui_key "$MAIN" F1
  context_help
  sleep 2
  gui_screenshot missing
  expect_no_box "help without a help file"
  check "no help viewer" bash -c "! wine '$probe' viewer 1 </dev/null >/dev/null 2>&1"
  close_program
}

case_html() {
  # The HTML copy without the help file (as on a system without a WinHelp
  # viewer): F1 asks the shell to open the copy's contents page, the context
  # menu the Home page. The test prefix has no web browser, so the shell's
  # trace shows the request.
  gui_start 1024x768
  local html="$GUI_OUT/program"
  mkdir -p "$html"
  cp "$program_dir"/vmd3.exe "$program_dir"/*.dll "$program_dir"/*.DLL "$html/" 2>/dev/null
  cp -r "$program_dir/UI" "$html/"
  cp -r "$program_dir/help" "$html/"
  WINEDEBUG=-all,+exec start_program "$html"
  gui_key "$MAIN" F1
  context_help
  sleep 2
  gui_screenshot html
  local requests
  requests=$(grep -o 'ShellExecuteA [^,]*,"open","[^"]*"' "$GUI_OUT/wine.log")
  echo "$requests" >"$GUI_OUT/requests.txt"
  check "F1 opens help\\index.html" grep -q 'help\\\\index.html"$' <<<"$(sed -n 1p <<<"$requests")"
  check "the context menu opens help\\home.html" grep -q 'help\\\\home.html"$' <<<"$(sed -n 2p <<<"$requests")"
  expect_no_box "the HTML copy"
  check "no help viewer" bash -c "! wine '$probe' viewer 1 </dev/null >/dev/null 2>&1"
  close_program
}

case $case_name in
  contents) case_contents ;;
  html) case_html ;;
  context) case_context ;;
  storyboard) case_storyboard ;;
  missing) case_missing ;;
  *) echo "help: unknown case $case_name"; exit 2 ;;
esac
gui_finish
