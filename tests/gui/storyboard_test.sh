#!/usr/bin/env bash
# Real-window tests of the album window and the storyboard on the three
# storyboard screens, by the clicks and drags a user makes. A new user's first
# start brings the sample albums; controls and places come from the skin file
# (vmd3-skin list), thumbnails from the album window's grid of 80 x 92 cells.
#   storyboard_test.sh CASE PROGRAM-FOLDER OUTPUT-FOLDER WINDOW-POKE-EXE VMD3-SKIN
. "$(dirname "${BASH_SOURCE[0]}")/gui_lib.sh"
. "$(dirname "${BASH_SOURCE[0]}")/vmd3_lib.sh"

vmd3_case_setup "$@"

# thumb_drawn / thumb_empty SHOT PANEL INDEX: whether the album window shows
# a thumbnail at that place (an empty cell is white).
thumb_drawn() {
  local x y
  read -r x y <<<"$(thumb_point "$2" "$3")"
  test "$(gui_pixel "$1" "$x" "$y")" != "255,255,255"
}
thumb_empty() { ! thumb_drawn "$@"; }
# thumb_selected SHOT PANEL INDEX: the cell's selection colour shows beside
# its thumbnail.
thumb_selected() {
  local x y
  read -r x y <<<"$(thumb_point "$2" "$3")"
  test "$(gui_pixel "$1" $((x - cell_width / 2 + 3)) $((y - cell_height / 2 + 20)))" = "49,106,197"
}
thumb_unselected() { ! thumb_selected "$@"; }

# album_keys PANEL INDEX KEY...: a click on thumbnail place INDEX (which gives
# the album window the keyboard), then the keys.
album_keys() {
  local x y key
  read -r x y <<<"$(thumb_point "$1" "$2")"
  gui_click "$x" "$y"
  sleep 0.3
  shift 2
  for key in "$@"; do
    xdotool key --clearmodifiers "$key"
    sleep 0.5
  done
}

# album_menu PANEL INDEX KEY: the album's context menu on thumbnail place
# INDEX, and the entry of that key.
album_menu() {
  local x y
  read -r x y <<<"$(thumb_point "$1" "$2")"
  xdotool mousemove "$x" "$y" sleep 0.2 click 3
  sleep 1
  xdotool key "$3"
  sleep 1
}

case_row() {
  start_as_new_user
  open_storyboard 636 2
  gui_screenshot album-row
  local x y
  read -r x y <<<"$(thumb_point 2 0)"
  check "the sample row album's first thumbnail is drawn" \
    test "$(gui_pixel album-row "$x" "$y")" != "255,255,255"
  read -r x y <<<"$(thumb_point 2 5)"
  check "the row album has five photos only" test "$(gui_pixel album-row "$x" "$y")" = "255,255,255"
  # The album list: the circle album has ten photos.
  choose_album 2 1
  gui_screenshot album-circle
  read -r x y <<<"$(thumb_point 2 9)"
  check "the second album chosen in the list shows its tenth photo" \
    test "$(gui_pixel album-circle "$x" "$y")" != "255,255,255"
  # Include all: ten photos into the row, five shown, the scroll buttons on.
  click_control 2 306
  sleep 2
  check "include all shows no message" no_warning
  gui_screenshot row-included
  local cell
  for cell in 320 321 322 323 324; do
    check "place $cell holds a photo" test "$(box_colour row-included 2 $cell)" != "$empty_box"
  done
  # Including again: every photo is already there.
  click_control 2 306
  check "the same photos again are refused" grep -q "The photo is already in the storyboard." \
    <<<"$(warning_text)"
  # Adding scrolled to the last photo (the 10th in the 5th place), which is
  # selected; the back button brings the first ones into view, the forward
  # button the last ones.
  gui_screenshot row-end
  local last first l t r b i
  last=$(box_colour row-end 2 324)
  read -r l t r b <<<"$(control_box 2 324)"
  check "the last photo added is selected (red frame)" test "$(gui_pixel row-end $((l + 1)) $((t + 1)))" = "255,0,0"
  for i in 1 2 3 4 5 6; do click_control 2 368; done
  gui_screenshot row-start
  first=$(box_colour row-start 2 320)
  check "the back button scrolls to the first photos" test "$(box_colour row-start 2 324)" != "$last"
  for i in 1 2 3 4 5 6; do click_control 2 369; done
  gui_screenshot row-scrolled
  check "the forward button shows the 6th to 10th photos" test "$(box_colour row-scrolled 2 324)" = "$last"
  check "and the first is out of view" test "$(box_colour row-scrolled 2 320)" != "$first"
  # A photo dragged far below the storyboard is removed: the last box empties
  # after the row scrolled to its end.
  click_control 2 343
  read -r x y <<<"$(thumb_point 2 0)"
  gui_click "$x" "$y"
  click_control 2 305
  gui_screenshot row-one
  check "include puts the selected photo in the first place" \
    test "$(box_colour row-one 2 320)" != "$empty_box"
  local bx by
  read -r bx by <<<"$(control_point 2 320)"
  drag "$bx" "$by" "$bx" $((by + 150))
  check "dropping outside shows no message" no_warning
  gui_screenshot row-removed
  check "the photo dragged outside is removed" test "$(box_colour row-removed 2 320)" = "$empty_box"
  # Photos dragged from the album onto a place; the row's screenshot.
  read -r x y <<<"$(thumb_point 2 0)"
  gui_click "$x" "$y"
  read -r x y <<<"$(thumb_point 2 2)"
  xdotool keydown shift; gui_click "$x" "$y"; xdotool keyup shift
  sleep 0.3
  local tx ty
  read -r tx ty <<<"$(control_point 2 321)"
  drag "$x" "$y" "$tx" "$ty"
  gui_screenshot storyboard-row
  check "three dragged photos fill the first places" \
    test "$(box_colour storyboard-row 2 322)" != "$empty_box"
  check "the fourth place stays empty" test "$(box_colour storyboard-row 2 323)" = "$empty_box"
  close_program
}

case_column() {
  start_as_new_user
  open_storyboard 637 5
  choose_album 5 1
  click_control 5 306
  sleep 2
  check "a column takes eight of ten photos" grep -q "Cannot add more photos to storyboard." <<<"$(warning_text)"
  sleep 1
  check "the message is shown once" no_warning
  gui_screenshot storyboard-column
  local cell
  for cell in 320 321 322 323; do
    check "column place $cell holds a photo" test "$(box_colour storyboard-column 5 $cell)" != "$empty_box"
  done
  close_program
}

case_grid() {
  start_as_new_user
  open_storyboard 639 6
  # The grid album: the third in the list.
  local x y
  choose_album 6 2
  gui_screenshot grid-album
  local photo tx ty
  for photo in 0 1 2 3; do
    read -r x y <<<"$(thumb_point 6 "$photo")"
    gui_click "$x" "$y"
    read -r tx ty <<<"$(control_point 6 $((320 + photo + photo / 2 * 2)))"
    drag "$x" "$y" "$tx" "$ty"
  done
  check "four photos dropped without a message" no_warning
  gui_screenshot storyboard-grid
  check "grid place 0 holds a photo" test "$(box_colour storyboard-grid 6 320)" != "$empty_box"
  check "grid place 5 holds a photo" test "$(box_colour storyboard-grid 6 325)" != "$empty_box"
  check "grid place 2 is empty" test "$(box_colour storyboard-grid 6 322)" = "$empty_box"
  # A fifth photo dropped on an occupied place is refused.
  read -r x y <<<"$(thumb_point 6 4)"
  gui_click "$x" "$y"
  read -r tx ty <<<"$(control_point 6 320)"
  drag "$x" "$y" "$tx" "$ty"
  check "an occupied place refuses a photo" grep -q "Photos can only be moved into empty spaces." \
    <<<"$(warning_text)"
  # A placed photo moved onto another photo is refused the same way.
  local sx sy
  read -r sx sy <<<"$(control_point 6 321)"
  drag "$sx" "$sy" "$tx" "$ty"
  check "a photo moved onto another is refused" grep -q "Photos can only be moved into empty spaces." \
    <<<"$(warning_text)"
  # Moved into an empty place it goes there.
  read -r tx ty <<<"$(control_point 6 335)"
  drag "$sx" "$sy" "$tx" "$ty"
  gui_screenshot grid-moved
  check "the moved photo leaves its place" test "$(box_colour grid-moved 6 321)" = "$empty_box"
  check "and arrives at the last place" test "$(box_colour grid-moved 6 335)" != "$empty_box"
  close_program
}

# A double click edits a storyboard photo on the Edit screen; OK puts it back.
case_edit() {
  start_as_new_user
  open_storyboard 636 2
  click_control 2 306
  sleep 2
  local l t r b x y
  read -r l t r b <<<"$(control_box 2 320)"
  gui_screenshot edit-before
  check "the first place shows a landscape photo to its left edge" \
    test "$(gui_pixel edit-before $((l + 4)) $(((t + b) / 2)))" != "$empty_box"
  read -r x y <<<"$(control_point 2 320)"
  xdotool mousemove "$x" "$y" sleep 0.2 click --repeat 2 --delay 80 1
  expect_screen 1 "a double click opens the photo in the editor"
  sleep 1
  gui_screenshot edit-open
  # The picture (1024 x 768) is shown fitted into the middle of the editor's
  # area; its crop box's lower right corner dragged near its upper left
  # corner leaves a crop too small for the storyboard.
  local al at ar ab pw ph px py
  read -r al at ar ab <<<"$(control_box 1 202)"
  read -r pw ph <<<"$(awk -v w=$((ar - al + 1)) -v h=$((ab - at + 1)) \
    'BEGIN { s = w / 1024; if (h / 768 < s) s = h / 768; printf "%d %d\n", 1024 * s, 768 * s }')"
  px=$((al + (ar - al + 1 - pw) / 2))
  py=$((at + (ab - at + 1 - ph) / 2))
  drag $((px + pw - 2)) $((py + ph - 2)) $((px + 30)) $((py + 25))
  gui_screenshot edit-cropped
  click_control 1 219
  check "a crop too small is refused" grep -q "Please change the crop box again to match the photos you have selected." \
    <<<"$(warning_text)"
  check "the editor stays open" wait_screen 1
  # Turned a quarter to the right, the photo goes back as a portrait one.
  click_control 1 217
  sleep 0.5
  click_control 1 211
  sleep 1
  click_control 1 219
  expect_screen 2 "OK returns to the storyboard"
  sleep 1
  gui_screenshot edit-back
  check "the edited photo is back, upright (the place's left edge now empty)" \
    test "$(gui_pixel edit-back $((l + 4)) $(((t + b) / 2)))" = "$empty_box"
  check "the edited photo fills the place's height" \
    test "$(gui_pixel edit-back $(((l + r) / 2)) $((t + 4)))" != "$empty_box"
  close_program
}

# wait_window TITLE: the visible window of that title, within 10 s.
wait_window() {
  local i w
  for ((i = 0; i < 50; i++)); do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$w" ] && { sleep 0.5; echo "$w"; return 0; }
    sleep 0.2
  done
  return 1
}

# add_through_open_dialog PANEL FOLDER NAMES: Add photos, and in the Open
# dialog the folder typed, then the quoted file names.
add_through_open_dialog() {
  click_control "$1" 302
  local dialog
  if dialog=$(wait_window Open); then
    xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
    sleep 0.3
    xdotool key --clearmodifiers alt+n
    xdotool type --delay 20 "$2"
    xdotool key --clearmodifiers Return
    sleep 1
    xdotool type --delay 20 "$3"
    xdotool key --clearmodifiers Return
  else
    fail "Add photos shows no Open dialog"
  fi
  sleep 3
}

# Add photos: two files chosen together in the Open dialog join the album
# shown at its end, and are there after a restart.
case_add() {
  local work="$WINEPREFIX/drive_c/addwork"
  start_as_new_user
  rm -rf "$work"
  mkdir -p "$work"
  cp "$program_dir/palbums/grid_1.jpg" "$work/first.jpg"
  cp "$program_dir/palbums/grid_2.jpg" "$work/second.jpg"
  GUI_CLEANUPS+=("rm -rf '$work'")
  open_storyboard 636 2
  add_through_open_dialog 2 'C:\addwork\' '"first.jpg" "second.jpg"'
  gui_screenshot album-added
  local x y
  read -r x y <<<"$(thumb_point 2 6)"
  check "the two photos follow the five of the album" test "$(gui_pixel album-added "$x" "$y")" != "255,255,255"
  read -r x y <<<"$(thumb_point 2 7)"
  check "and nothing more" test "$(gui_pixel album-added "$x" "$y")" = "255,255,255"
  check "ALBUMLASTDIR is the folder of the files" \
    grep -Eiq 'ALBUMLASTDIR +REG_SZ +C:\\addwork$' <<<"$(gui_reg query "$branch\\USER" /v ALBUMLASTDIR)"
  close_program
  # The album as it was after a restart.
  launch_program
  open_storyboard 636 2
  gui_screenshot album-restarted
  read -r x y <<<"$(thumb_point 2 6)"
  check "the added photos are in the album after a restart" \
    test "$(gui_pixel album-restarted "$x" "$y")" != "255,255,255"
  close_program
  # A user whose album list is empty: the first photos added start an album.
  gui_reg delete "$branch\\PHOTOS" /f >/dev/null
  launch_program
  open_storyboard 636 2
  add_through_open_dialog 2 'C:\addwork\' '"first.jpg"'
  gui_screenshot first-album
  check "the photo added without an album is shown" thumb_drawn first-album 2 0
  check "alone: the new album did not take over a sample album's file" thumb_empty first-album 2 1
  check "it started an album in the list" \
    grep -Eiq 'album[0-9]+\.abm +REG_SZ +Untitled' <<<"$(gui_reg query "$branch\\PHOTOS")"
  close_program
}

# type_title TITLE [SHOT]: the title typed over the one the "New Album"
# dialog shows selected (its texts and look kept first as SHOT), and Enter.
type_title() {
  local dialog shot=${2:-title-dialog}
  dialog=$(wait_window "New Album") || { fail "no \"New Album\" dialog"; return 1; }
  poke dialog "New Album" >"$GUI_OUT/$shot.txt"
  gui_screenshot "$shot"
  xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
  sleep 0.3
  xdotool type --delay 20 "$1"
  xdotool key --clearmodifiers Return
  sleep 1.5
}

# [New Album], the fourth entry under the three sample albums: a title that
# another album has is refused; the one typed names the new album, which is
# listed, chosen and shown, and still is after a restart.
case_new_album() {
  start_as_new_user
  open_storyboard 636 2
  choose_album 2 3
  type_title "sample ROW"
  check "the title offered is the next untitled one" grep -qx "Untitled-4" "$GUI_OUT/title-dialog.txt"
  check "a title the list has is refused" grep -q "This Album already exists!" <<<"$(warning_text)"
  type_title "Holiday" title-dialog-again
  check "the dialog has gone" no_window "New Album"
  check "the new album is listed under the next number" \
    grep -Eq 'album4\.abm +REG_SZ +Holiday$' <<<"$(gui_reg query "$branch\\PHOTOS")"
  check "and is the current album" \
    grep -Eq 'CURRENT +REG_DWORD +0x3$' <<<"$(gui_reg query "$branch\\ALBUMCUR" /v CURRENT)"
  gui_screenshot new-album
  check "the album shown is the new, empty one" thumb_empty new-album 2 0
  click_control 2 201
  sleep 0.5
  gui_screenshot album-list-new
  press Escape
  close_program
  launch_program
  open_storyboard 636 2
  gui_screenshot new-album-restarted
  check "after a restart the new album is the one shown" thumb_empty new-album-restarted 2 0
  check "and still listed" grep -Eq 'album4\.abm +REG_SZ +Holiday$' <<<"$(gui_reg query "$branch\\PHOTOS")"
  close_program
}

# Copy and Paste with the keys, Cut and Paste with the album's menu, into a
# new album; a photo is not pasted twice, a cut one leaves its album; after
# a restart both albums are as they were.
case_paste() {
  start_as_new_user
  open_storyboard 636 2
  choose_album 2 3
  type_title "Holiday"
  choose_album 2 1
  album_keys 2 0 ctrl+a ctrl+c
  choose_album 2 3
  album_keys 2 0 ctrl+v ctrl+v
  gui_screenshot pasted
  check "the circle album's ten photos are pasted" thumb_drawn pasted 2 9
  check "once, though pasted twice" thumb_empty pasted 2 10
  check "the pasted photos are selected, the first" thumb_selected pasted 2 0
  check "and the last" thumb_selected pasted 2 9
  choose_album 2 0
  album_keys 2 0
  local x y
  read -r x y <<<"$(thumb_point 2 1)"
  xdotool keydown shift; gui_click "$x" "$y"; xdotool keyup shift
  album_menu 2 1 u
  gui_screenshot cut-row
  check "cutting alone leaves the row album whole" thumb_drawn cut-row 2 4
  choose_album 2 3
  album_menu 2 0 p
  check "pasting shows no message" no_warning
  gui_screenshot cut-pasted
  check "the two cut photos follow the ten" thumb_drawn cut-pasted 2 11
  check "and are the ones selected now" thumb_selected cut-pasted 2 10
  check "not the ten before them" thumb_unselected cut-pasted 2 9
  check "and nothing more" thumb_empty cut-pasted 2 12
  choose_album 2 0
  gui_screenshot row-after-cut
  check "the row album keeps three photos" thumb_drawn row-after-cut 2 2
  check "the cut ones have left it" thumb_empty row-after-cut 2 3
  close_program
  launch_program
  open_storyboard 636 2
  gui_screenshot row-restarted
  check "after a restart the row album has its three" thumb_drawn row-restarted 2 2
  check "and not the cut ones" thumb_empty row-restarted 2 3
  choose_album 2 3
  gui_screenshot holiday-restarted
  check "the new album has its twelve photos" thumb_drawn holiday-restarted 2 11
  check "and no more" thumb_empty holiday-restarted 2 12
  close_program
}

# A row takes sixteen photos: the circle album's ten and the grid album's six;
# the row album's photos are refused with one message.
case_row_full() {
  start_as_new_user
  open_storyboard 636 2
  choose_album 2 1
  click_control 2 306
  sleep 2
  choose_album 2 2
  click_control 2 306
  sleep 2
  check "sixteen photos go in without a message" no_warning
  choose_album 2 0
  click_control 2 306
  check "the 17th photo is refused" grep -q "Cannot add more photos to storyboard." <<<"$(warning_text)"
  sleep 1
  check "with one message for the five" no_warning
  gui_screenshot row-full
  check "the last place shows the 16th photo" test "$(box_colour row-full 2 324)" != "$empty_box"
  close_program
}

# A photo of 60 x 60 pixels joins the album but not the storyboard. Escape
# while the album window has the keyboard acts as on the screen: the message
# loop hands it to that window as a dialog's Cancel.
case_tiny() {
  local work="$WINEPREFIX/drive_c/tinywork"
  start_as_new_user
  rm -rf "$work"
  mkdir -p "$work"
  convert -size 60x60 xc:'#c03020' "BMP3:$work/tiny.bmp"
  GUI_CLEANUPS+=("rm -rf '$work'")
  open_storyboard 636 2
  add_through_open_dialog 2 'C:\tinywork\' '"tiny.bmp"'
  gui_screenshot tiny-added
  local x y
  read -r x y <<<"$(thumb_point 2 5)"
  check "the tiny photo is the album's sixth" test "$(gui_pixel tiny-added "$x" "$y")" = "192,48,32"
  click_control 2 305
  check "a photo of 60 x 60 is refused" grep -q "Please select a photo larger than 64x64 pixels." \
    <<<"$(warning_text)"
  gui_screenshot tiny-refused
  check "the storyboard stays empty" test "$(box_colour tiny-refused 2 320)" = "$empty_box"
  album_keys 2 0 Escape
  expect_screen 0 "Escape in the album window goes Home"
  close_program
}

# Sort (by name, reversed) and Delete (thumbnails only) on the sample row album.
case_sort_delete() {
  start_as_new_user
  open_storyboard 636 2
  gui_screenshot sort-before
  local x0 y0 x4 y4 first last dialog
  read -r x0 y0 <<<"$(thumb_point 2 0)"
  read -r x4 y4 <<<"$(thumb_point 2 4)"
  first=$(gui_pixel sort-before "$x0" "$y0")
  last=$(gui_pixel sort-before "$x4" "$y4")
  click_control 2 304
  if dialog=$(wait_window "Sort Album"); then
    xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
    sleep 0.3
    xdotool key --clearmodifiers alt+r
    sleep 0.3
    poke answer "Sort Album" 1
    sleep 2
  else
    fail "Sort shows no \"Sort Album\" dialog"
  fi
  sleep 1.5
  gui_screenshot sort-after
  check "sorted by name in reverse the last photo comes first" test "$(gui_pixel sort-after "$x0" "$y0")" = "$last"
  check "and the first last" test "$(gui_pixel sort-after "$x4" "$y4")" = "$first"
  # The context menu's Properties (its key R) on the first photo, now row_5.
  xdotool mousemove "$x0" "$y0" sleep 0.2 click 3
  sleep 1
  xdotool key r
  if dialog=$(wait_window Properties); then
    local texts
    texts=$(poke dialog Properties)
    echo "$texts" >"$GUI_OUT/properties.txt"
    check "Properties names the photo" grep -qx "row_5.jpg" <<<"$texts"
    check "and its size in pixels" grep -q "1024 x 768 pixels, 24 bits" <<<"$texts"
    poke answer Properties 1
    sleep 2
  else
    fail "the context menu's Properties shows no dialog"
  fi
  # Delete the first thumbnail only: four are left, the photo file stays.
  gui_click "$x0" "$y0"
  click_control 2 301
  if dialog=$(wait_window "Delete Options"); then
    gui_screenshot delete-options
    poke answer "Delete Options" 1
    sleep 2
  else
    fail "Delete shows no \"Delete Options\" dialog"
  fi
  sleep 1.5
  gui_screenshot delete-after
  check "four thumbnails are left" test "$(gui_pixel delete-after "$x4" "$y4")" = "255,255,255"
  check "the fourth is drawn" test "$(gui_pixel delete-after $((x4 - cell_width)) "$y4")" != "255,255,255"
  check "the photo file stays" test -f "$program_dir/palbums/row_5.jpg"
  close_program
}

case "$case_name" in
  row) case_row ;;
  column) case_column ;;
  grid) case_grid ;;
  edit) case_edit ;;
  add) case_add ;;
  sort-delete) case_sort_delete ;;
  new-album) case_new_album ;;
  paste) case_paste ;;
  row-full) case_row_full ;;
  tiny) case_tiny ;;
  *) echo "storyboard: unknown case $case_name"; exit 2 ;;
esac
gui_finish
