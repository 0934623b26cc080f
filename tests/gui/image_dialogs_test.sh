#!/bin/bash
# Real-window test of the image dialogs: the program's Save and Open commands
# (run by image_dialog_probe.exe) with the common dialogs, extended by the
# quality scroll bar and the compression box, driven with keys as a user would.
#   image_dialogs_test.sh PROBE_DIR SHOTS_DIR
. "$(dirname "${BASH_SOURCE[0]}")/gui_lib.sh"

probe_dir=$1
GUI_OUT=$2/image-dialogs
rm -rf "$GUI_OUT"
mkdir -p "$GUI_OUT"
probe="$probe_dir/image_dialog_probe.exe"
work=$(mktemp -d "${TMPDIR:-/tmp}/vmd3-image-dialogs-XXXXXX")
GUI_CLEANUPS+=("rm -rf '$work'")
winwork="Z:$(echo "$work" | tr '/' '\\')"

# wait_dialog TITLE: the visible dialog's window id, or empty after 30 s.
wait_dialog() {
  local w=""
  for _ in $(seq 1 300); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$w" ] && { sleep 0.5; echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}

# run_probe COMMAND NAME KEYS...: starts the probe, waits for its dialog, types
# the keys given (xdotool key arguments), then the file name and Return.
run_probe() {
  local command=$1 name=$2 title="Save As" dialog
  shift 2
  [ "$command" = open ] && title=Open
  (cd "$probe_dir" && wine "$probe" "$command" </dev/null >"$GUI_OUT/$command-$name.txt" 2>&1) &
  local pid=$!
  GUI_PIDS+=("$pid")
  dialog=$(wait_dialog "$title") || { fail "no \"$title\" dialog for $name"; return 1; }
  xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
  sleep 0.3
  local k
  for k in "$@"; do
    if [ "$k" = shot ]; then gui_screenshot "$name"; else xdotool key --clearmodifiers "$k"; sleep 0.2; fi
  done
  xdotool key --clearmodifiers alt+n
  xdotool type --delay 20 "$winwork\\$name"
  xdotool key --clearmodifiers Return
  if ! gui_wait_exit "$pid" 30; then fail "the $command of $name did not end"; return 1; fi
  log "$command $name: $(tr -d '\r' <"$GUI_OUT/$command-$name.txt")"
  return "$GUI_EXIT"
}

gui_start 1024x768

# The default type is JPEG; the first save leaves the codec's quality (75).
run_probe save q75.jpg shot
check "the JPEG is written" test -s "$work/q75.jpg"
check "the quality is 100 again after the dialog" grep -q 'quality=100' "$GUI_OUT/save-q75.jpg.txt"
check "the image is no longer marked unsaved" grep -q 'modified=0' "$GUI_OUT/save-q75.jpg.txt"

# Alt+Q reaches the quality scroll bar; Home takes it to 1.
run_probe save q1.jpg alt+q Home shot
check "the quality-1 JPEG is written" test -s "$work/q1.jpg"
if [ -s "$work/q1.jpg" ] && [ -s "$work/q75.jpg" ]; then
  check "quality 1 makes a smaller file ($(stat -c %s "$work/q1.jpg") < $(stat -c %s "$work/q75.jpg"))" \
    test "$(stat -c %s "$work/q1.jpg")" -lt "$(stat -c %s "$work/q75.jpg")"
fi

# The type list: Home is Windows Bitmap.
run_probe save out.bmp alt+t Home
check "a BMP of 160 x 120" bash -c "identify '$work/out.bmp' 2>/dev/null | grep -Eq 'BMP3? 160x120'"

# Targa (the fifth type) with the Compress box ticked (Alt+C).
run_probe save packed.tga alt+t Home Down Down Down Down alt+c shot
check "the compression switch is on after OK" grep -q 'compress=1' "$GUI_OUT/save-packed.tga.txt"
check "the Targa file is RLE-compressed" bash -c "identify -verbose '$work/packed.tga' 2>/dev/null | grep -qi 'Compression: RLE'"

# Opening the BMP back through the Open dialog gives a 24-bit 160 x 120 image.
run_probe open out.bmp
check "the BMP opens as a 24-bit image" grep -q 'opened=1 width=160 height=120 kind=2' "$GUI_OUT/open-out.bmp.txt"

# answer_box TITLE KEY NAME: waits for a dialog, takes a screenshot, answers it.
answer_box() {
  local box
  box=$(wait_dialog "$1") || { fail "no \"$1\" window for $3"; return 1; }
  gui_screenshot "$3"
  xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
  sleep 0.2
  xdotool key --clearmodifiers "$2"
}

# open_with_answer NAME TITLE KEY: opens NAME, answers the window TITLE with KEY.
open_with_answer() {
  local name=$1 title=$2 key=$3 dialog pid
  (cd "$probe_dir" && wine "$probe" open </dev/null >"$GUI_OUT/open-$name.txt" 2>&1) &
  pid=$!
  GUI_PIDS+=("$pid")
  dialog=$(wait_dialog Open) || { fail "no \"Open\" dialog for $name"; return 1; }
  xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
  sleep 0.3
  xdotool key --clearmodifiers alt+n
  xdotool type --delay 20 "$winwork\\$name"
  xdotool key --clearmodifiers Return
  answer_box "$title" "$key" "$name"
  gui_wait_exit "$pid" 30 || fail "the open of $name did not end"
  log "open $name: $(tr -d '\r' <"$GUI_OUT/open-$name.txt")"
}

# A file that is no image: "Open file error." and nothing opened.
printf 'BM this is not a picture' >"$work/junk.bmp"
open_with_answer junk.bmp Warning Return
check "the unreadable file opens nothing" grep -q 'opened=0' "$GUI_OUT/open-junk.bmp.txt"

# A Photo CD file: the options dialog first; Escape cancels without a message.
printf 'not a photo cd' >"$work/disc.pcd"
open_with_answer disc.pcd "Photo CD Options" Escape
check "the cancelled Photo CD opens nothing" grep -q 'opened=0' "$GUI_OUT/open-disc.pcd.txt"
check "no message after the cancel" test -z "$(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null)"

# A name that makes the path longer than 256 characters: the shared
# message (string 11001 of Res_Zel.DLL), and the work counts as saved.
long_name="$(printf 'l%.0s' $(seq 1 $((258 - ${#winwork} - 5)))).bmp"
(cd "$probe_dir" && wine "$probe" save </dev/null >"$GUI_OUT/save-long.txt" 2>&1) &
long_pid=$!
GUI_PIDS+=("$long_pid")
if dialog=$(wait_dialog "Save As"); then
  xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
  sleep 0.3
  xdotool key --clearmodifiers alt+n
  xdotool type --delay 5 "$winwork\\$long_name"
  xdotool key --clearmodifiers Return
  answer_box Warning Return long-name
  gui_wait_exit "$long_pid" 20 || fail "the long-name save did not end"
  check "the long name leaves the work saved" grep -q 'saved=1 modified=0' "$GUI_OUT/save-long.txt"
  check "no file was written" test ! -e "$work/$long_name"
else
  fail "no \"Save As\" dialog for the long name"
fi

# The photo editor: the picture sits unscaled at (50, 50) with the crop box
# around it; dragging the box's left edge 100 pixels right washes out the strip
# left of it; Enter finishes the edit with the picture cut to the box.
(cd "$probe_dir" && wine "$probe" edit </dev/null >"$GUI_OUT/edit.txt" 2>&1) &
edit_pid=$!
GUI_PIDS+=("$edit_pid")
host=$(wait_dialog "Editor probe") || fail "no editor window"
if [ -n "$host" ]; then
  sleep 0.5
  gui_screenshot editor-opened
  check "the picture starts at (50, 50)" test "$(gui_pixel editor-opened 60 200)" = "32,48,96"
  check "the view's panel colour around it" test "$(gui_pixel editor-opened 20 200)" = "201,200,213"
  xdotool mousemove 50 200 sleep 0.2 mousedown 1 sleep 0.2 mousemove 100 200 sleep 0.2 mousemove 150 200 sleep 0.2 mouseup 1
  sleep 0.8
  gui_screenshot editor-cropped
  check "left of the box is washed out" test "$(gui_pixel editor-cropped 100 200)" = "199,203,215"
  check "inside the box is unchanged" test "$(gui_pixel editor-cropped 300 200)" = "32,48,96"
  gui_key "$host" Return
  gui_wait_exit "$edit_pid" 20 || fail "the editor did not end"
  log "edit: $(tr -d '\r' <"$GUI_OUT/edit.txt")"
  check "the finished picture is cut to the box" grep -q 'ended=1 modified=1 width=300 height=300' "$GUI_OUT/edit.txt"
fi

# View Detail: the picture fitted to the screen with the 222 x 67 bar at the
# bottom centre; the plus key zooms in, Escape leaves and tells the owner.
(cd "$probe_dir" && wine "$probe" detail </dev/null >"$GUI_OUT/detail.txt" 2>&1) &
detail_pid=$!
GUI_PIDS+=("$detail_pid")
# full_screen_window: the probe's visible window covering the whole screen.
full_screen_window() {
  xdotool search --onlyvisible --classname 'image_dialog_probe.exe' 2>/dev/null | while read -r w; do
    read -r x y ww hh <<<"$(gui_geometry "$w")"; [ "$ww" = 1024 ] && [ "$hh" = 768 ] && echo "$w"; done | head -n 1
}
max=""
for _ in $(seq 1 300); do
  max=$(full_screen_window)
  [ -n "$max" ] && { sleep 0.5; break; }
  sleep 0.1
done
if [ -z "$max" ]; then
  fail "no full-screen window"
else
  gui_screenshot detail-step1
  check "step 1: black above the fitted picture" test "$(gui_pixel detail-step1 512 100)" = "0,0,0"
  check "step 1: red on the left" test "$(gui_pixel detail-step1 100 384)" = "255,0,0"
  check "step 1: blue on the right" test "$(gui_pixel detail-step1 900 384)" = "0,0,255"
  check "the bar at the bottom centre" test "$(gui_pixel detail-step1 404 740)" = "201,200,213"
  gui_key "$max" plus
  sleep 0.5
  gui_screenshot detail-step2
  check "step 2: the picture fills the height" test "$(gui_pixel detail-step2 512 100)" != "0,0,0"
  gui_key "$max" Escape
  gui_wait_exit "$detail_pid" 20 || fail "the detail view did not end"
  check "the owner hears that the full view closed" grep -q 'full view closed' "$GUI_OUT/detail.txt"
fi

gui_finish
