#!/usr/bin/env bash
# Helpers for driving the real program in its main window: the screen it
# shows, its controls found by id in the skin file (vmd3-skin list), keys,
# clicks, drags and message boxes. Sourced after gui_lib.sh by the test
# scripts whose arguments are
#   CASE PROGRAM-FOLDER OUTPUT-FOLDER WINDOW-POKE-EXE VMD3-SKIN
# vmd3_case_setup "$@" reads them into case_name, program_dir, GUI_OUT,
# poke_exe, skin_tool, exe and skin.

vmd3_case_setup() {
  case_name=$1
  program_dir=$2
  GUI_OUT=$3/$case_name
  poke_exe=$4
  skin_tool=$5
  rm -rf "$GUI_OUT"
  mkdir -p "$GUI_OUT"
  exe="$program_dir/vmd3.exe"
  skin="$program_dir/UI/button.800"
}

poke() { wine "$poke_exe" "$@" </dev/null 2>>"$GUI_OUT/wine.log" | tr -d '\r'; }
screen_now() { wine "$poke_exe" screen </dev/null >/dev/null 2>&1; echo $?; }

# wait_screen N: polls the main window's screen for up to 5 s.
wait_screen() {
  local i
  for ((i = 0; i < 25; i++)); do
    [ "$(screen_now)" = "$1" ] && return 0
    sleep 0.2
  done
  return 1
}

# wait_text ID TEXT: polls the text of the main window's child ID for up to 5 s.
wait_text() {
  local i
  for ((i = 0; i < 25; i++)); do
    [ "$(poke text "$1")" = "$2" ] && return 0
    sleep 0.2
  done
  return 1
}

expect_screen() {  # expect_screen N WHAT
  if wait_screen "$1"; then log "ok: $2 (screen $1)"; else fail "$2: screen $(screen_now), not $1"; fi
}

main_window() { gui_window_sized 800 600; }

# control_box PANEL ID: "left top right bottom" of a control in screen coordinates.
control_box() {
  local line x y w h
  line=$("$skin_tool" list "$skin" "$1" | awk -v id="$2" '$1 == id')
  [ -n "$line" ] || { fail "panel $1 has no control $2 in the skin"; echo "0 0 0 0"; return 1; }
  read -r x y w h <<<"$(gui_geometry "$(main_window)")"
  awk -v ox="$x" -v oy="$y" '{ printf "%d %d %d %d\n", ox + $4, oy + $5, ox + $6, oy + $7 }' <<<"$line"
}

control_point() {  # control_point PANEL ID: the control's centre
  local l t r b
  read -r l t r b <<<"$(control_box "$1" "$2")"
  echo "$(((l + r) / 2)) $(((t + b) / 2))"
}

click_control() {  # click_control PANEL ID
  local x y
  read -r x y <<<"$(control_point "$1" "$2")"
  gui_click "$x" "$y"
  sleep 0.4
}

# The colour of a screenshot at a control's centre.
control_pixel() {  # control_pixel SHOT PANEL ID
  local x y
  read -r x y <<<"$(control_point "$2" "$3")"
  gui_pixel "$1" "$x" "$y"
}

press() {  # press KEY: to the main window
  gui_key "$(main_window)" "$1"
  sleep 0.3
}

# drag X1 Y1 X2 Y2: the left button pressed at one place and released at another.
drag() {
  xdotool mousemove "$1" "$2" sleep 0.2 mousedown 1 sleep 0.2
  local i
  for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $(($1 + ($3 - $1) * i / 8)) $(($2 + ($4 - $2) * i / 8)) sleep 0.08
  done
  xdotool sleep 0.2 mouseup 1
  sleep 0.5
}

# The message box titled "Warning": its texts, then closed with OK.
warning_text() {
  local i w=""
  for ((i = 0; i < 25; i++)); do
    w=$(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null | head -n 1)
    [ -n "$w" ] && break
    sleep 0.2
  done
  [ -n "$w" ] || return 1
  poke dialog Warning
  poke answer Warning 1  # OK
  no_warning
}

# no_window TITLE: no visible window of that title (one just answered may
# take a moment to go; up to 3 s). no_warning: no message box "Warning".
no_window() {
  local i
  for ((i = 0; i < 15; i++)); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  return 1
}
no_warning() { no_window Warning; }

# launch_program: starts vmd3 and ends its splash with a click on an empty
# part of the title band (it would go by itself after a moment).
launch_program() {
  gui_launch "$exe"
  PROGRAM_PID=$GUI_LAST_PID
  gui_wait_windows 2 30 || { fail "the program's windows did not appear"; gui_finish; }
  local x y w h
  read -r x y w h <<<"$(gui_geometry "$(main_window)")"
  gui_click $((x + 400)) $((y + 20))
  sleep 0.5
}

# start_program: the program with its settings file removed.
start_program() {
  rm -f "$WINEPREFIX/drive_c/windows/vmd3.ini"
  launch_program
}

close_program() {
  gui_key "$(main_window)" alt+F4
  if gui_wait_exit "$PROGRAM_PID" 15; then
    check "exit code 0 (got $GUI_EXIT)" test "$GUI_EXIT" = 0
  else
    fail "still running 15 s after Alt+F4"
  fi
}

# skin_pixel PANEL X Y: the panel background's colour at a client point.
skin_pixel() { "$skin_tool" pixel "$skin" "$1" "$2" "$3"; }

# screen_pixel SHOT X Y: a screenshot's colour at a client point of the main window.
screen_pixel() {
  local x y w h
  read -r x y w h <<<"$(gui_geometry "$(main_window)")"
  gui_pixel "$1" $((x + $2)) $((y + $3))
}

# wait_box TITLE: the visible window titled TITLE within 10 s, or nothing.
wait_box() {
  local i w
  for ((i = 0; i < 50; i++)); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.2
  done
  return 1
}

# dialog_type TITLE TEXT: waits for the dialog titled TITLE, types TEXT into
# its file name field and presses Return.
dialog_type() {
  local dialog="" i
  for ((i = 0; i < 50; i++)); do
    dialog=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$dialog" ] && break
    sleep 0.2
  done
  check "the \"$1\" dialog opens" test -n "$dialog"
  [ -n "$dialog" ] || return 1
  xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
  sleep 0.3
  xdotool key --clearmodifiers alt+n
  xdotool type --delay 20 "$2"
  xdotool key --clearmodifiers Return
  sleep 2
}

