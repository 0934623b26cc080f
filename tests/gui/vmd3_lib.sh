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


# The album window's thumbnails lie in a grid of cells of this size; an empty
# storyboard place shows the window's background colour.
branch='HKCU\Software\Quorvex\Vistameld 3.0'
cell_width=80
cell_height=92
empty_box="201,200,213"

# thumb_point PANEL INDEX: the centre of the album window's thumbnail INDEX.
thumb_point() {
  local l t r b columns
  read -r l t r b <<<"$(control_box "$1" 300)"
  columns=$(((r - l + 1) / cell_width))
  echo "$((l + (($2 % columns) * cell_width) + cell_width / 2)) $((t + ($2 / columns) * cell_height + cell_height / 2))"
}

# box_colour SHOT PANEL CELL: the colour at a storyboard place's centre.
box_colour() {
  local x y
  read -r x y <<<"$(control_point "$2" "$3")"
  gui_pixel "$1" "$x" "$y"
}

# A new user: the sample albums are copied and listed on the first start.
start_as_new_user() {
  gui_start 1024x768
  rm -f "$WINEPREFIX/drive_c/windows/vmd3.ini"
  gui_reg delete "$branch" /f >/dev/null
  rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Quorvex/Vistameld/3.0/palbums
  launch_program
}

# choose_album PANEL N: a click on entry N of the album button's list, which
# opens under the button with rows of the pop-up font's height (14) plus 8.
# The album is read and drawn within about two seconds.
choose_album() {
  click_control "$1" 201
  sleep 0.5
  gui_screenshot album-list
  local l t r b
  read -r l t r b <<<"$(control_box "$1" 201)"
  gui_click $(((l + r) / 2)) $((b + 3 + 22 * $2 + 11))
  sleep 3
}

# Stitch Wizard, a kind (its button on the type screen), Next.
open_storyboard() {  # open_storyboard KIND-BUTTON SCREEN
  click_control 0 6
  expect_screen 4 "Stitch Wizard"
  click_control 4 "$1"
  click_control 4 370
  expect_screen "$2" "Next shows the storyboard"
  sleep 1
}

# Moves the pointer onto an empty part of the title band, so no hover look or
# tool tip stands in a screenshot.
mousemove_away() {
  local x y w h
  read -r x y w h <<<"$(gui_geometry "$(main_window)")"
  xdotool mousemove $((x + 420)) $((y + 20))
  sleep 0.8
}

# The centre of a control in client coordinates.
control_centre() {  # control_centre PANEL ID
  "$skin_tool" list "$skin" "$1" | awk -v id="$2" '$1 == id { printf "%d %d\n", int(($4 + $6) / 2), int(($5 + $7) / 2) }'
}

# expect_warning TEXT WHAT: a "Warning" box with TEXT appears; Return closes it.
expect_warning() {
  local text
  if text=$(warning_text); then
    check "$2: \"$1\"" grep -qF "$1" <<<"$text"
  else
    fail "$2: no message"
  fi
}

# wait_screen_long N SECONDS: polls the screen number for up to SECONDS.
wait_screen_long() {
  local i
  for ((i = 0; i < $2 * 2; i++)); do
    [ "$(screen_now)" = "$1" ] && return 0
    sleep 0.5
  done
  return 1
}

# control_sum SHOT PANEL ID: a checksum of a screenshot inside a control.
control_sum() {
  local l t r b
  read -r l t r b <<<"$(control_box "$2" "$3")"
  region_sum "$1" "$l" "$t" $((r - l + 1)) $((b - t + 1))
}

# find_markers SHOT PANEL ID: the screen points of the fine-tuning markers drawn
# inside a control, one "x y" line each. A marker is a ring with a cross of
# four one-pixel arms from 4 to 13 pixels out, white (or amber when active)
# over a three-pixel dark halo; its point is where the arms meet. A marker
# near the control's edge may lose arms there, but keeps one across and one
# down.
find_markers() {
  local l t r b
  read -r l t r b <<<"$(control_box "$2" "$3")"
  convert "$GUI_OUT/$1.png" -crop "$((r - l + 1))x$((b - t + 1))+$l+$t" +repage -depth 8 rgb:- 2>/dev/null |
    od -An -v -tu1 -w3 |
    awk -v w=$((r - l + 1)) -v h=$((b - t + 1)) -v ox="$l" -v oy="$t" '
      function px(x, y) { return (x >= 0 && x < w && y >= 0 && y < h) ? y * w + x : -1 }
      # arm(x, y, sx, sy): 1 lit and edged, 0 not, -1 beyond the control.
      function arm(x, y, sx, sy,   d, n, e, ax, ay) {
        if (px(x + 12 * sx + sy, y + 12 * sy + sx) < 0 || px(x + 12 * sx - sy, y + 12 * sy - sx) < 0) return -1
        n = 0; e = 0
        for (d = 4; d <= 12; d++) {
          ax = x + d * sx; ay = y + d * sy
          n += (px(ax, ay) in lit)
          if (d <= 5 || d >= 11) e += (px(ax + sy, ay + sx) in dark) + (px(ax - sy, ay - sx) in dark)
        }
        return n >= 8 && e >= 6
      }
      { c = $1 "," $2 "," $3
        if (c == "255,255,255" || c == "255,196,40") lit[NR - 1] = 1
        else if (c == "20,22,40") dark[NR - 1] = 1 }
      END {
        for (y = 0; y < h; y++) for (x = 0; x < w; x++) {
          if (!((px(x - 5, y) in lit) || (px(x + 5, y) in lit))) continue
          if (!((px(x, y - 5) in lit) || (px(x, y + 5) in lit))) continue
          across = 0; down = 0; bad = 0
          a = arm(x, y, -1, 0); across += a == 1; bad += a == 0
          a = arm(x, y, 1, 0); across += a == 1; bad += a == 0
          a = arm(x, y, 0, -1); down += a == 1; bad += a == 0
          a = arm(x, y, 0, 1); down += a == 1; bad += a == 0
          if (!bad && across && down) print ox + x, oy + y
        }
      }'
}
