#!/usr/bin/env bash
# Real-window tests of stitching in the program with the sample albums: the
# preview's pick mode, fine tuning with its markers, the panorama saved from
# Home against the command-line stitcher's for the same photos, and Esc held
# while the photos are aligned.
#   stitch_test.sh CASE PROGRAM-FOLDER OUTPUT-FOLDER WINDOW-POKE-EXE VMD3-SKIN VMD3-STITCH-EXE
. "$(dirname "${BASH_SOURCE[0]}")/gui_lib.sh"
. "$(dirname "${BASH_SOURCE[0]}")/vmd3_lib.sh"

vmd3_case_setup "$@"
stitcher=$6
exact_position="Markers cannot be placed in an exact position, please try again."

# stitch_to_preview PANEL: the storyboard's Start button; the preview within
# 60 s.
stitch_to_preview() {
  click_control "$1" 344
  if wait_screen_long 7 60; then
    log "ok: Start shows the preview (screen 7)"
  else
    fail "no preview after Start"
    gui_screenshot no-preview
    return 1
  fi
  sleep 1
  mousemove_away
}

# cursor_sweep X1 Y1 X2 Y2 STEPS: the pointer stepped along a line; one line
# "x y cursor-handle" per step, up to the first step whose cursor differs
# from the cursor at the start (a place one photo covers alone).
cursor_sweep() {
  local i x y c first=""
  for ((i = 0; i <= $5; i++)); do
    x=$(($1 + ($3 - $1) * i / $5))
    y=$(($2 + ($4 - $2) * i / $5))
    xdotool mousemove "$x" "$y"
    sleep 0.2
    c=$(poke cursor)
    echo "$x $y $c"
    [ -z "$first" ] && first=$c
    [ "$c" != "$first" ] && break
  done
}

# pick_point SWEEP-OUTPUT: the point where the cursor changed, with the cursor.
pick_point() { awk 'NR == 1 { base = $3 } NR > 1 && $3 != base { print $1, $2, $3; exit }' <<<"$1"; }

# grab X Y: the left button pressed and released on a point without moving.
grab() {
  xdotool mousemove "$1" "$2" sleep 0.2 mousedown 1 sleep 0.3 mouseup 1
  sleep 0.6
}

# Pick mode on, then a click on the overlap found by a sweep: fine tuning.
# Sets pick_x, pick_y and pick_cursor.
start_fine_tuning() {  # start_fine_tuning SCREEN X1 Y1 X2 Y2 STEPS
  local sweep found
  click_control 7 707
  sweep=$(cursor_sweep "$2" "$3" "$4" "$5" "$6")
  found=$(pick_point "$sweep")
  read -r pick_x pick_y pick_cursor <<<"$found"
  if [ -z "$found" ]; then
    fail "the cursor never changes along the sweep: $(tr '\n' ' ' <<<"$sweep")"
    return 1
  fi
  log "ok: pick mode shows cursor $pick_cursor over the overlap at $pick_x,$pick_y"
  click_overlap "$1"
}

# click_overlap SCREEN: in pick mode, a click on the overlap found before.
click_overlap() {
  xdotool mousemove "$pick_x" "$pick_y"
  sleep 0.3
  gui_click "$pick_x" "$pick_y"
  expect_screen "$1" "a click on the overlap opens fine tuning"
  sleep 1
}

# Each of the three markers of the first photo grabbed in turn: the bar shows
# the screen that highlights it. Leaves their points in markers.
visit_markers() {  # visit_markers PANEL SCREEN1 SCREEN2 SCREEN3
  local shot=fine-$2 x y seen=" " screen
  mousemove_away
  gui_screenshot "$shot"
  markers=$(find_markers "$shot" "$1" 800)
  check "three markers on the first photo ($(tr '\n' ' ' <<<"$markers"))" test "$(wc -l <<<"$markers")" = 3
  while read -r x y; do
    [ -n "$x" ] || continue
    grab "$x" "$y"
    screen=$(screen_now)
    seen="$seen$screen "
    mousemove_away
    gui_screenshot "screen-$screen"
  done <<<"$markers"
  check "the markers light screens $2, $3 and $4 (saw$seen)" \
    test "$(tr ' ' '\n' <<<"$seen" | sort -n | tr '\n' ' ' | xargs)" = "$(printf '%s\n' "$2" "$3" "$4" | sort -n | xargs)"
}

case_fine_rows() {
  start_as_new_user
  open_storyboard 636 2
  click_control 2 306
  sleep 2
  stitch_to_preview 2 || return
  gui_screenshot preview
  local first l t r b y
  first=$(control_sum preview 7 700)
  read -r l t r b <<<"$(control_box 7 700)"
  y=$(((t + b) / 2))
  start_fine_tuning 8 $((l + 4)) "$y" $((r - 4)) "$y" 24 || return
  visit_markers 8 8 13 14
  # A marker dragged 16 pixels towards the window's middle follows the mouse.
  local x1 y1 wl wt wr wb dx dy
  read -r x1 y1 <<<"$(head -n 1 <<<"$markers")"
  read -r wl wt wr wb <<<"$(control_box 8 800)"
  dx=$((x1 < (wl + wr) / 2 ? 16 : -16))
  dy=$((y1 < (wt + wb) / 2 ? 12 : -12))
  drag "$x1" "$y1" $((x1 + dx)) $((y1 + dy))
  mousemove_away
  gui_screenshot marker-moved
  check "the dragged marker stands at its new point" \
    grep -qx "$((x1 + dx)) $((y1 + dy))" <<<"$(find_markers marker-moved 8 800)"
  # Apply blends again with the moved marker: a different panorama.
  press Return
  if wait_screen_long 7 30; then log "ok: Apply returns to the preview"; else fail "no preview after Apply"; return; fi
  sleep 1
  mousemove_away
  gui_screenshot preview-tuned
  local tuned
  tuned=$(control_sum preview-tuned 7 700)
  check "the preview shows a different panorama" test "$tuned" != "$first"
  # The three markers left on one point cannot be applied; Esc goes back
  # to the preview unchanged.
  click_control 7 707
  click_overlap 8
  mousemove_away
  gui_screenshot fine-again
  markers=$(find_markers fine-again 8 800)
  local x2 y2 x3 y3
  { read -r x1 y1; read -r x2 y2; read -r x3 y3; } <<<"$markers"
  if [ -n "$x3" ]; then
    drag "$x2" "$y2" "$x1" "$y1"
    drag "$x3" "$y3" "$x1" "$y1"
    mousemove_away
    gui_screenshot markers-on-one-point
    press Return
    expect_warning "$exact_position" "Apply with the markers on one point"
    case $(screen_now) in 8 | 13 | 14) log "ok: fine tuning stays open" ;; *) fail "fine tuning closed: screen $(screen_now)" ;; esac
  else
    fail "three markers for the second visit: $(tr '\n' ' ' <<<"$markers")"
  fi
  press Escape
  expect_screen 7 "Esc returns to the preview"
  sleep 1
  mousemove_away
  gui_screenshot preview-back
  check "with the panorama unchanged" test "$(control_sum preview-back 7 700)" = "$tuned"
  press Escape
  expect_screen 0 "Esc on the preview goes Home"
  close_program
}

case_fine_columns() {
  start_as_new_user
  open_storyboard 639 6
  fill_grid
  stitch_to_preview 6 || return
  gui_screenshot preview
  local l t r b x
  read -r l t r b <<<"$(control_box 7 700)"
  # Down the middle of the image: the joins of the middle column's photos.
  x=$(((l + r) / 2))
  start_fine_tuning 9 "$x" $((t + 4)) "$x" $((b - 4)) 24 || return
  local vertical=$pick_cursor
  visit_markers 9 9 15 16
  press Escape
  expect_screen 7 "Esc returns to the preview"
  # Across the lower part: a left and right pair shows another cursor.
  local y=$(((t + 3 * b) / 4)) sweep found
  click_control 7 707
  sweep=$(cursor_sweep $((l + 4)) "$y" $((r - 4)) "$y" 24)
  found=$(pick_point "$sweep")
  check "a row's join and a column's join show different cursors ($vertical, ${found##* })" \
    test -n "$found" -a "${found##* }" != "$vertical"
  click_control 7 707
  press Escape
  expect_screen 0 "Esc on the preview goes Home"
  close_program
}

# fill_grid: the six photos of the sample grid album in three columns and two
# rows of the grid storyboard, top row first as the album lists them.
fill_grid() {
  choose_album 6 2
  local photo x y tx ty
  for photo in 0 1 2 3 4 5; do
    read -r x y <<<"$(thumb_point 6 "$photo")"
    gui_click "$x" "$y"
    read -r tx ty <<<"$(control_point 6 $((320 + photo % 3 + photo / 3 * 4)))"
    drag "$x" "$y" "$tx" "$ty"
  done
  gui_screenshot storyboard-grid
  check "six photos placed without a message" no_warning
}

# save_jpeg90 NAME: Save on Home as NAME in the output folder, JPEG at
# quality 90 (Alt+Q, End for 100, Page Up for 10 less).
save_jpeg90() {
  local box
  click_control 0 4
  box=$(wait_box "Save As") || { fail "Save opens no \"Save As\" dialog"; return 1; }
  xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
  sleep 0.3
  xdotool key --clearmodifiers alt+q End Prior
  sleep 0.3
  gui_screenshot save-dialog
  dialog_type "Save As" "$(winepath -w "$GUI_OUT/$1" 2>/dev/null)"
  local i
  for ((i = 0; i < 30; i++)); do
    [ -s "$GUI_OUT/$1" ] && break
    sleep 0.5
  done
  sleep 0.5
  check "the panorama is saved" test -s "$GUI_OUT/$1"
  check "as a JPEG of quality 90" test "$(identify -format '%m %Q' "$GUI_OUT/$1" 2>/dev/null)" = "JPEG 90"
}

# same_as_stitcher NAME STITCHER-ARGUMENTS...: vmd3-stitch writes the same
# photos at quality 90; the two files decode to the same pixels.
same_as_stitcher() {
  local name=$1 mine ours
  shift
  wine "$stitcher" --quality 90 -o "$(winepath -w "$GUI_OUT/stitcher-$name" 2>/dev/null)" "$@" \
    </dev/null >"$GUI_OUT/stitcher.log" 2>&1
  check "vmd3-stitch writes the panorama ($(tail -n 1 "$GUI_OUT/stitcher.log" | tr -d '\r'))" \
    test -s "$GUI_OUT/stitcher-$name"
  mine=$(identify -format '%wx%h' "$GUI_OUT/$name" 2>/dev/null)
  ours=$(identify -format '%wx%h' "$GUI_OUT/stitcher-$name" 2>/dev/null)
  check "the program's panorama is as large as vmd3-stitch's ($mine, $ours)" test "$mine" = "$ours"
  check "and has the same pixels" \
    test "$(convert "$GUI_OUT/$name" rgb:- 2>/dev/null | md5sum)" = \
    "$(convert "$GUI_OUT/stitcher-$name" rgb:- 2>/dev/null | md5sum)"
}

# finish_and_save NAME: Finish on the preview, the panorama on Home, saved.
finish_and_save() {
  gui_screenshot preview
  press Return
  expect_screen 0 "Finish shows the panorama on Home"
  mousemove_away
  gui_screenshot home-panorama
  local cx cy
  read -r cx cy <<<"$(control_centre 0 110)"
  check "the panorama is on Home" test "$(screen_pixel home-panorama "$cx" "$cy")" != "$(skin_pixel 0 "$cx" "$cy")"
  save_jpeg90 "$1"
}

# album_photos PREFIX COUNT: the sample photos' Windows paths in album order.
album_photos() {
  local i digits=1
  [ "$2" -gt 9 ] && digits=2
  for ((i = 1; i <= $2; i++)); do
    winepath -w "$program_dir/palbums/$(printf '%s_%0*d.jpg' "$1" "$digits" "$i")" 2>/dev/null
  done
}

quit_unsaved() {
  press alt+F4
  local box
  box=$(wait_box Warning)
  [ -n "$box" ] && xdotool key --window "$box" n
  gui_wait_exit "$PROGRAM_PID" 15 || fail "still running after No"
}

case_save_row() {
  start_as_new_user
  open_storyboard 636 2
  click_control 2 306
  sleep 2
  stitch_to_preview 2 || return
  finish_and_save row.jpg
  close_program
  mapfile -t photos < <(album_photos row 5)
  same_as_stitcher row.jpg --kind row "${photos[@]}"
}

case_save_grid() {
  start_as_new_user
  open_storyboard 639 6
  fill_grid
  stitch_to_preview 6 || return
  finish_and_save grid.jpg
  close_program
  mapfile -t photos < <(album_photos grid 6)
  same_as_stitcher grid.jpg --kind tile --at 0,0 --at 1,0 --at 2,0 --at 0,1 --at 1,1 --at 2,1 "${photos[@]}"
}

case_save_circle() {
  start_as_new_user
  open_storyboard 638 2
  choose_album 2 1
  click_control 2 306
  sleep 3
  stitch_to_preview 2 || return
  finish_and_save circle.jpg
  close_program
  mapfile -t photos < <(album_photos circle 10)
  same_as_stitcher circle.jpg --kind circle "${photos[@]}"
}

# Esc held while the photos are aligned (long enough for the key to repeat):
# no message, and the storyboard screen stays as it was; the next Start runs
# to the preview.
case_cancel() {
  start_as_new_user
  open_storyboard 636 2
  click_control 2 306
  sleep 2
  gui_screenshot storyboard-before
  # Esc goes down right after the click on Start: the stitch sees it at its
  # first progress report, after the pyramids are built.
  local sx sy
  read -r sx sy <<<"$(control_point 2 344)"
  gui_click "$sx" "$sy"
  xdotool keydown Escape
  sleep 1.5
  xdotool keyup Escape
  sleep 2
  check "no message after the cancel" no_warning
  expect_screen 2 "the storyboard stays"
  mousemove_away
  gui_screenshot storyboard-after
  local box
  for box in 320 321 322 323 324; do
    check "storyboard place $box still holds its photo" test "$(box_colour storyboard-after 2 "$box")" != "$empty_box"
  done
  check "the storyboard looks as before" \
    test "$(control_sum storyboard-after 2 320)" = "$(control_sum storyboard-before 2 320)"
  stitch_to_preview 2
  close_program
}

case $case_name in
  fine-rows) case_fine_rows ;;
  fine-columns) case_fine_columns ;;
  save-row) case_save_row ;;
  save-grid) case_save_grid ;;
  save-circle) case_save_circle ;;
  cancel) case_cancel ;;
  *) echo "gui: unknown case $case_name"; exit 2 ;;
esac
gui_finish
