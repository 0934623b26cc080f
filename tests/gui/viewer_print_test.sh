#!/usr/bin/env bash
# Real-window tests of the panorama viewer and the Print screen, hosted by
# screens_host.exe in place of the main window.
#   viewer_print_test.sh CASE HOST-EXE OUTPUT-FOLDER [WINDOW-POKE-EXE]
# CASE: viewer (look around, zoom, Esc; a portrait image is refused),
#       print (the Print screen laid out, a template, the slider, a copy, printing)
. "$(dirname "${BASH_SOURCE[0]}")/gui_lib.sh"

case_name=$1
host=$2
GUI_OUT=$3/screens-$case_name
poke=${4:-}
rm -rf "$GUI_OUT"
mkdir -p "$GUI_OUT"

# wait_title TITLE SECONDS: until a window of that exact title exists.
wait_title() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    xdotool search --name "^$1\$" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

case_viewer() {
  gui_start 1024x768
  gui_launch "$host" viewer
  local pid=$GUI_LAST_PID
  wait_title "viewer open" 30 || { fail "the viewer did not open"; gui_finish; }
  sleep 1
  gui_screenshot start
  # The 536 x 298 view is centred on the 1024 x 768 screen: (244, 235).
  check "black outside the frame" test "$(gui_pixel start 20 20)" = "0,0,0"
  check "a view in the viewport" test "$(gui_pixel start 512 300)" != "0,0,0"
  local before after
  before=$(region_sum start 244 235 536 298)
  # Drag to the left: the view keeps turning while the button is held.
  xdotool mousemove 512 384 sleep 0.2 mousedown 1 sleep 0.2
  for x in 480 440 400 360 330 300; do xdotool mousemove "$x" 384 sleep 0.15; done
  xdotool mouseup 1
  sleep 0.5
  gui_screenshot dragged
  after=$(region_sum dragged 244 235 536 298)
  check "dragging turned the view" test "$before" != "$after"
  # Zoom in five times with the bar's first button (bar at (401, 701)).
  for i in 1 2 3 4 5; do gui_click 440 735; sleep 0.3; done
  sleep 0.5
  gui_screenshot zoomed
  check "zooming changed the view" test "$(region_sum zoomed 244 235 536 298)" != "$after"
  local bar_x=500 bar_y=730
  if [ -n "$poke" ]; then
    # A display change to 800 x 600: the view and the bar move to its middle and bottom.
    wine "$poke" post "Screens Host" 0x8001 0 </dev/null >/dev/null 2>&1
    if wait_title "display changed" 15; then
      sleep 0.5
      gui_screenshot display-changed
      check "the view centred on 800 x 600" test "$(gui_pixel display-changed 400 300)" != "0,0,0"
      check "black around it" test "$(gui_pixel display-changed 100 100)" = "0,0,0"
      check "the bar at the new bottom centre" test "$(gui_pixel display-changed 295 540)" = "201,200,213"
      bar_x=300 bar_y=545
    else
      fail "the host did not pass the display change on"
    fi
  fi
  # Escape on the bar closes the viewer; the host hears of it and ends.
  xdotool mousemove "$bar_x" "$bar_y" sleep 0.2 key Escape
  if gui_wait_exit "$pid" 15; then
    check "the host heard that the viewer closed (exit $GUI_EXIT)" test "$GUI_EXIT" = 0
  else
    fail "the viewer did not close on Escape"
  fi

  gui_launch "$host" portrait
  pid=$GUI_LAST_PID
  wait_title "Warning" 20 || fail "no warning for a portrait image"
  gui_screenshot portrait
  local box
  box=$(xdotool search --name '^Warning$' | head -n 1)
  [ -n "$box" ] && gui_key "$box" Return
  gui_wait_exit "$pid" 15 || fail "the host did not end after the warning"
}

case_print() {
  gui_start 1024x768
  gui_launch "$host" print
  local pid=$GUI_LAST_PID host_window step dialog
  # The Print command asks for the printer set-up first.
  wait_title "Print Setup" 30 || { fail "no printer set-up dialog"; gui_finish; }
  sleep 0.5
  gui_screenshot setup
  dialog=$(xdotool search --name '^Print Setup$' | head -n 1)
  gui_key "$dialog" Return
  wait_title "print step 0" 30 || { fail "the Print screen did not follow the set-up"; gui_finish; }
  host_window=$(xdotool search --name '^print step 0$' | head -n 1)
  rm -f "$WINEPREFIX/printed/printed.ps"
  for step in 1 2 3 4 5; do
    xdotool mousemove 900 100
    gui_key "$host_window" space
    wait_title "print step $step" 30 || { fail "print step $step did not come"; break; }
    sleep 0.5
    gui_screenshot "step-$step"
  done
  check "the layout shows a white page block" test "$(gui_pixel step-1 400 330)" = "255,255,255"
  check "the labels in the panel colour strip" test "$(gui_pixel step-1 120 660)" = "201,200,213"
  check "the template changed the preview" \
    test "$(region_sum step-1 132 144 660 470)" != "$(region_sum step-2 132 144 660 470)"
  check "the job reached the printer" test -s "$WINEPREFIX/printed/printed.ps"
  [ -s "$WINEPREFIX/printed/printed.ps" ] &&
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r30 -sOutputFile="$GUI_OUT/printed-%d.png" \
      "$WINEPREFIX/printed/printed.ps"
  gui_key "$host_window" space
  gui_wait_exit "$pid" 15 || fail "the host did not end"
}

case $case_name in
  viewer) case_viewer ;;
  print) case_print ;;
  *) echo "gui: unknown case $case_name"; exit 2 ;;
esac
gui_finish
