#!/usr/bin/env bash
# Real-window tests of the main window's skinned screens: every screen a user
# reaches by buttons and keys, the panorama type screen's options, tool tips,
# disabled buttons, the title-band buttons and a damaged skin; the panorama
# viewer and View Detail with their skinned bars; printing across pages.
# Controls are found by id in the skin file (vmd3-skin list), the bars'
# buttons by the bar layout (vmd3-skin bar), never by pixel numbers here.
#   screens_test.sh CASE PROGRAM-FOLDER OUTPUT-FOLDER WINDOW-POKE-EXE VMD3-SKIN
. "$(dirname "${BASH_SOURCE[0]}")/gui_lib.sh"
. "$(dirname "${BASH_SOURCE[0]}")/vmd3_lib.sh"

vmd3_case_setup "$@"

case_walk() {
  gui_start 1024x768
  start_program
  expect_screen 0 "the program opens on Home"
  gui_screenshot screen-00-home
  click_control 0 6
  expect_screen 4 "Stitch Wizard shows the panorama type screen"
  gui_screenshot screen-04-kind-row
  click_control 4 637
  expect_screen 10 "the vertical kind"
  gui_screenshot screen-10-kind-column
  click_control 4 638
  expect_screen 11 "the 360-degree kind"
  gui_screenshot screen-11-kind-circle
  click_control 4 639
  expect_screen 12 "the tile kind"
  gui_screenshot screen-12-kind-tile
  click_control 4 636
  expect_screen 4 "back to the horizontal kind"
  # Tab steps the kinds row, column, 360 degrees, tile and round again.
  local expected
  for expected in 10 11 12 4; do
    press Tab
    expect_screen "$expected" "Tab"
  done
  click_control 4 370
  expect_screen 2 "Next shows the row storyboard"
  gui_screenshot screen-02-storyboard-row
  press BackSpace
  expect_screen 4 "Backspace returns to the panorama type"
  click_control 4 639
  press Return
  expect_screen 6 "Enter on the tile kind shows the grid storyboard"
  gui_screenshot screen-06-storyboard-grid
  press Escape
  expect_screen 0 "Escape on a storyboard goes Home"
  press Return
  expect_screen 12 "Enter on Home starts the wizard with the last kind"
  click_control 4 637
  click_control 4 370
  expect_screen 5 "the column storyboard"
  gui_screenshot screen-05-storyboard-column
  click_control 5 345
  expect_screen 10 "Back returns to the panorama type"
  click_control 4 638
  click_control 4 370
  expect_screen 2 "a 360-degree panorama uses the row storyboard"
  gui_screenshot screen-02-storyboard-circle
  click_control 2 346
  expect_screen 0 "Cancel on the storyboard goes Home"
  press Return
  click_control 4 371
  expect_screen 0 "Cancel on the panorama type goes Home"
  close_program
}

case_kind_options() {
  gui_start 1024x768
  start_program
  click_control 0 6
  expect_screen 4 "the panorama type screen"
  check "the lens label says Automatic" test "$(poke text 202)" = "Automatic"
  check "the size label says Medium" test "$(poke text 203)" = "Medium"
  click_control 4 361
  check "Size steps Medium to Large" wait_text 203 Large
  click_control 4 361
  check "then Small" wait_text 203 Small
  click_control 4 361
  check "then Medium again" wait_text 203 Medium
  # The lens list: "Automatic", ten focal lengths, "Telephoto ".
  click_control 4 202
  sleep 0.5
  gui_screenshot lens-list
  local i
  for ((i = 0; i < 7; i++)); do press Down; done
  press Return
  sleep 0.5
  check "choosing the seventh focal length shows 28 mm" wait_text 202 "28 mm Lens"
  gui_screenshot lens-chosen
  # The exposure toggle flips its look and back.
  gui_screenshot exposure-on
  click_control 4 367
  mousemove_away
  gui_screenshot exposure-off
  click_control 4 367
  mousemove_away
  gui_screenshot exposure-on-again
  local on off again
  on=$(control_pixel exposure-on 4 367)
  off=$(control_pixel exposure-off 4 367)
  again=$(control_pixel exposure-on-again 4 367)
  check "exposure balance looks different when off ($on / $off)" test "$on" != "$off"
  check "and as before when on again" test "$on" = "$again"
  # A full circle takes the automatic lens alone.
  click_control 4 638
  check "a 360-degree panorama sets the automatic lens" wait_text 202 Automatic
  click_control 4 202
  sleep 0.5
  gui_screenshot lens-list-circle
  press Escape
  click_control 4 371
  expect_screen 0 "Cancel goes Home"
  check "the labels are gone with the screen" test -z "$(poke text 202)"
  close_program
}

case_tips_and_disabled() {
  gui_start 1024x768
  start_program
  local x y
  read -r x y <<<"$(control_point 0 5)"
  xdotool mousemove "$x" "$y"
  sleep 1.5
  gui_screenshot tooltip-open
  check "a tool tip shows under the pointer" test "$(gui_pixel tooltip-open $((x + 7)) $((y + 24)))" = "252,250,238"
  mousemove_away
  gui_screenshot no-tooltip
  check "and goes when the pointer leaves" test "$(gui_pixel no-tooltip $((x + 7)) $((y + 24)))" != "252,250,238"
  # Without an image, Save, Export, Edit, View Detail, View Panorama and Print do nothing.
  local id
  for id in 4 111 2 1 327 3; do
    click_control 0 "$id"
    check "disabled control $id keeps Home" test "$(screen_now)" = 0
  done
  check "no dialog opened" test -z "$(xdotool search --onlyvisible --name '^(Save As|Export|Warning)$' 2>/dev/null)"
  # The title band: About opens the about box, which Escape closes.
  click_control 0 996
  sleep 1
  gui_screenshot about
  check "the about box names the product" grep -q "Vistameld 3.0" <<<"$(poke dialog 'About Vistameld')"
  check "and the libraries' licences" grep -q "zlib" <<<"$(poke dialog 'About Vistameld')"
  local about
  about=$(xdotool search --onlyvisible --name '^About Vistameld$' 2>/dev/null | head -n 1)
  if [ -n "$about" ]; then
    xdotool windowfocus "$about" 2>/dev/null
    sleep 0.3
    xdotool key --window "$about" Escape
  fi
  local i
  for ((i = 0; i < 10; i++)); do
    [ -z "$(xdotool search --onlyvisible --name '^About Vistameld$' 2>/dev/null)" ] && break
    sleep 0.3
  done
  check "Escape closes the about box" test -z "$(xdotool search --onlyvisible --name '^About Vistameld$' 2>/dev/null)"
  close_program
}

case_title_buttons() {
  gui_start 1024x768
  start_program
  click_control 0 998
  sleep 1
  wine "$poke_exe" iconic "Vistameld background" </dev/null >/dev/null 2>&1
  check "Minimize minimizes the program" test $? = 1
  wine "$poke_exe" post "Vistameld Window" 0x0010 0 </dev/null >/dev/null 2>&1  # WM_CLOSE
  if gui_wait_exit "$PROGRAM_PID" 15; then
    check "closes from the minimized state with code 0" test "$GUI_EXIT" = 0
  else
    fail "still running after WM_CLOSE"
  fi
  start_program
  click_control 0 999
  if gui_wait_exit "$PROGRAM_PID" 15; then
    check "Exit ends the program with code 0 (got $GUI_EXIT)" test "$GUI_EXIT" = 0
  else
    fail "still running after Exit"
  fi
}

case_damaged_skin() {
  gui_start 1024x768
  local copy="$GUI_OUT/program"
  mkdir -p "$copy/UI"
  cp "$program_dir"/*.exe "$program_dir"/*.dll "$program_dir"/*.DLL "$copy/" 2>/dev/null
  head -c 5000 "$skin" >"$copy/UI/button.800"
  rm -f "$WINEPREFIX/drive_c/windows/vmd3.ini"
  gui_launch "$copy/vmd3.exe"
  PROGRAM_PID=$GUI_LAST_PID
  local i box=""
  for ((i = 0; i < 100; i++)); do
    box=$(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null | head -n 1)
    [ -n "$box" ] && break
    sleep 0.2
  done
  check "a damaged skin gives a message" test -n "$box"
  gui_screenshot damaged-skin
  check "naming the skin file" grep -q 'button.800' <<<"$(poke dialog Warning)"
  [ -n "$box" ] && gui_key "$box" Return
  if gui_wait_exit "$PROGRAM_PID" 15; then
    check "then the program ends with code 0 (got $GUI_EXIT)" test "$GUI_EXIT" = 0
  else
    fail "still running after the message"
  fi
}

# open_photo NAME: Open on Home with a photo of the sample albums.
open_photo() {
  click_control 0 5
  dialog_type Open "$(winepath -w "$program_dir/palbums/$1" 2>/dev/null)"
}

case_export() {
  gui_start 1024x768
  start_program
  open_photo row_2.jpg
  local out="$GUI_OUT/exported"
  mkdir -p "$out"
  # Save writes the picture in the type of its name.
  click_control 0 4
  dialog_type "Save As" "$(winepath -w "$out" 2>/dev/null)\\saved.jpg"
  local i
  for ((i = 0; i < 25; i++)); do
    [ -s "$out/saved.jpg" ] && break
    sleep 0.2
  done
  check "Save writes a JPEG file" test "$(head -c 2 "$out/saved.jpg" | xxd -p)" = ffd8
  # The web page: the page, its world and 24 strips in the companion folder.
  click_control 0 111
  dialog_type "Export Panorama" "$(winepath -w "$out" 2>/dev/null)\\lake.htm"
  sleep 2
  gui_screenshot after-web-export
  check "the page is written" test -s "$out/lake.htm"
  check "with its VRML world" test -s "$out/lake_files/panorama.wrl"
  check "and 24 strips" test "$(ls "$out/lake_files"/*.jpg 2>/dev/null | wc -l)" = 24
  check "and the decoration images" test -s "$out/lake_files/vistameld.gif"
  # The panorama movie, through our movie layer beside the program.
  click_control 0 111
  dialog_type "Export Panorama" "$(winepath -w "$out" 2>/dev/null)\\lake.mov"
  local i
  for ((i = 0; i < 50; i++)); do
    [ -s "$out/lake.mov" ] && break
    sleep 0.3
  done
  gui_screenshot after-movie-export
  check "the movie is written" test -s "$out/lake.mov"
  check "it is a movie file (its moov atom first)" grep -q "moov" <(head -c 16 "$out/lake.mov")
  # Pictures that cannot be exported are refused before the dialog.
  convert -size 71x64 xc:'#3060a0' "BMP3:$out/narrow.bmp"
  convert -size 100x200 xc:'#3060a0' "BMP3:$out/portrait.bmp"
  expect_export_refusal narrow.bmp "The photo is too small to export."
  expect_export_refusal portrait.bmp "Panorama view available for landscape images only."
  close_program
}

# expect_export_refusal FILE TEXT: opens FILE of the export folder, presses
# Export and expects the message TEXT, then answers it.
expect_export_refusal() {
  click_control 0 5
  dialog_type Open "$(winepath -w "$GUI_OUT/exported/$1" 2>/dev/null)"
  click_control 0 111
  local box="" i
  for ((i = 0; i < 25; i++)); do
    box=$(xdotool search --onlyvisible --name '^Warning$' 2>/dev/null | head -n 1)
    [ -n "$box" ] && break
    sleep 0.2
  done
  check "Export of $1 is refused" grep -qF "$2" <<<"$(poke dialog Warning)"
  gui_screenshot "refused-${1%.bmp}"
  [ -n "$box" ] && xdotool key --window "$box" Return
  sleep 0.5
}

case_print() {
  gui_start 1024x768
  start_program
  open_photo row_1.jpg
  # Print: the printer set-up, the print layout screen, and the job on the
  # test printer of the prefix.
  click_control 0 3
  local setup
  setup=$(wait_box "Print Setup")
  check "Print asks for the printer set-up" test -n "$setup"
  [ -n "$setup" ] && gui_key "$setup" Return
  expect_screen 3 "the print layout screen"
  sleep 1
  gui_screenshot print-layout
  rm -f "$WINEPREFIX/printed/printed.ps"
  click_control 3 522
  local i
  for ((i = 0; i < 50; i++)); do
    [ -s "$WINEPREFIX/printed/printed.ps" ] && break
    sleep 0.3
  done
  check "Begin printing sends the job to the printer" test -s "$WINEPREFIX/printed/printed.ps"
  if [ -s "$WINEPREFIX/printed/printed.ps" ]; then
    sleep 1
    gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r30 -sOutputFile="$GUI_OUT/printed-%d.png" \
      "$WINEPREFIX/printed/printed.ps"
    check "the printed page is not blank" \
      test "$(convert "$GUI_OUT/printed-1.png" -format '%[fx:mean<0.99]' info: 2>/dev/null)" = 1
  fi
  press Escape
  expect_screen 0 "Escape on the print layout goes Home"
  close_program
}

# gradient_image FILE W H: red runs 0 to 255 left to right, green 0 to 255
# top to bottom, blue half: a page's part of the picture says where it lies.
gradient_image() {
  convert -size "${2}x${3}" xc: -channel R -fx 'i/(w-1)' -channel G -fx 'j/(h-1)' \
    -channel B -fx 0.5 +channel "BMP3:$1"
}

# content_box SHOT: "LEFT TOP RIGHT BOTTOM" (inclusive) of what is printed on a page.
content_box() {
  convert "$GUI_OUT/$1.png" -fuzz 6% -format '%@' info: 2>/dev/null |
    awk -F'[x+]' '{ printf "%d %d %d %d\n", $3, $4, $3 + $1 - 1, $4 + $2 - 1 }'
}

# channel SHOT X Y N: colour channel N (1 red, 2 green) of a page pixel.
channel() { gui_pixel "$1" "$2" "$3" | cut -d, -f"$4"; }

near() { [ $(($1 > $2 ? $1 - $2 : $2 - $1)) -le "$3" ]; }

# type_into FIELD TEXT: the text of the print layout's edit field at control
# FIELD replaced by TEXT.
type_into() {
  click_control 3 "$1"
  xdotool key --clearmodifiers Home shift+End
  xdotool type --delay 50 "$2"
  sleep 0.5
}

# print_arranged FILE FIELD NAME COPIES-BY: opens FILE, Print, pages FIELD
# (540 across, 541 down) set to 2 in its edit field, 2 copies by the copy
# button ("button", from 1) or typed into the copies field ("type"), Begin
# printing; the PostScript turned into pages NAME-1.png, NAME-2.png ... (72 dpi).
print_arranged() {
  local field=$2 edit=$(($2 - 440)) ps="$WINEPREFIX/printed/printed.ps" i setup
  click_control 0 5
  dialog_type Open "$(winepath -w "$1" 2>/dev/null)"
  click_control 0 3
  setup=$(wait_box "Print Setup")
  [ -n "$setup" ] && gui_key "$setup" Return
  expect_screen 3 "the print layout screen for $3"
  sleep 0.5
  type_into "$field" 2
  check "$3: 2 pages typed into field $edit" test "$(poke text "$edit")" = 2
  if [ "$4" = button ]; then
    check "$3: one copy to start with" test "$(poke text 102)" = 1
    click_control 3 520
  else
    type_into 542 2
  fi
  check "$3: 2 copies" test "$(poke text 102)" = 2
  gui_screenshot "$3-layout"
  rm -f "$ps"
  click_control 3 522
  for ((i = 0; i < 50; i++)); do
    [ -s "$ps" ] && break
    sleep 0.3
  done
  sleep 1
  cp "$ps" "$GUI_OUT/$3.ps" 2>/dev/null
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r72 -sOutputFile="$GUI_OUT/$3-%d.png" "$GUI_OUT/$3.ps"
  press Escape
  expect_screen 0 "Escape on the print layout goes Home"
}

# copies_asked NAME: 2 copies, as the driver's job ticket or as pages repeated.
copies_asked() {
  local pages
  pages=$(ls "$GUI_OUT/$1"-[0-9].png 2>/dev/null | wc -l)
  if [ "$pages" = 2 ]; then grep -aq '^%cupsJobTicket: copies=2$' "$GUI_OUT/$1.ps"; return; fi
  [ "$pages" = 4 ] && cmp -s "$GUI_OUT/$1-1.png" "$GUI_OUT/$1-3.png" && cmp -s "$GUI_OUT/$1-2.png" "$GUI_OUT/$1-4.png"
}

case_print_pages() {
  gui_start 1024x768
  start_program
  local margin=18  # the test printer's unprintable edge, points = pixels at 72 dpi
  local l1 t1 r1 b1 l2 t2 r2 b2 pw ph
  gradient_image "$GUI_OUT/wide.bmp" 600 300
  gradient_image "$GUI_OUT/tall.bmp" 300 600
  # 2 pages across: the left page holds the left half, the right page the rest.
  print_arranged "$GUI_OUT/wide.bmp" 540 across button
  check "2 x 1: two pages" test -s "$GUI_OUT/across-2.png" -a ! -s "$GUI_OUT/across-3.png" -o -s "$GUI_OUT/across-4.png"
  check "2 x 1: 2 copies" copies_asked across
  read -r pw ph <<<"$(identify -format '%w %h' "$GUI_OUT/across-1.png")"
  read -r l1 t1 r1 b1 <<<"$(content_box across-1)"
  read -r l2 t2 r2 b2 <<<"$(content_box across-2)"
  log "across: page ${pw}x${ph}, left page $l1 $t1 $r1 $b1, right page $l2 $t2 $r2 $b2"
  check "2 x 1: the left page is printed to its right edge" near "$r1" $((pw - 1 - margin)) 2
  check "2 x 1: the right page from its left edge" near "$l2" "$margin" 2
  check "2 x 1: centred across the block" near "$l1" $((pw - 1 - r2)) 2
  check "2 x 1: centred down" near "$t1" $((ph - 1 - b1)) 2
  check "2 x 1: both pages at one height" test "$t1 $b1" = "$t2 $b2"
  local mid=$(((t1 + b1) / 2)) a b
  check "2 x 1: the picture's left edge on the left page" near "$(channel across-1 $((l1 + 1)) "$mid" 1)" 0 4
  check "2 x 1: its right edge on the right page" near "$(channel across-2 $((r2 - 1)) "$mid" 1)" 255 4
  a=$(channel across-1 $((r1 - 1)) "$mid" 1)
  b=$(channel across-2 $((l2 + 1)) "$mid" 1)
  check "2 x 1: the right page goes on where the left one ends (red $a, $b)" near "$a" "$b" 4
  check "2 x 1: the whole height" near "$(channel across-1 $((l1 + 20)) $((b1 - 1)) 2)" 255 4
  # 2 pages down: the top page holds the upper half.
  print_arranged "$GUI_OUT/tall.bmp" 541 down type
  check "1 x 2: two pages" test -s "$GUI_OUT/down-2.png" -a ! -s "$GUI_OUT/down-3.png" -o -s "$GUI_OUT/down-4.png"
  check "1 x 2: 2 copies" copies_asked down
  read -r l1 t1 r1 b1 <<<"$(content_box down-1)"
  read -r l2 t2 r2 b2 <<<"$(content_box down-2)"
  log "down: top page $l1 $t1 $r1 $b1, bottom page $l2 $t2 $r2 $b2"
  check "1 x 2: the top page is printed to its bottom edge" near "$b1" $((ph - 1 - margin)) 2
  check "1 x 2: the bottom page from its top edge" near "$t2" "$margin" 2
  check "1 x 2: centred down the block" near "$t1" $((ph - 1 - b2)) 2
  check "1 x 2: centred across" near "$l1" $((pw - 1 - r1)) 2
  check "1 x 2: both pages at one width" test "$l1 $r1" = "$l2 $r2"
  mid=$(((l1 + r1) / 2))
  check "1 x 2: the picture's top on the top page" near "$(channel down-1 "$mid" $((t1 + 1)) 2)" 0 4
  check "1 x 2: its bottom on the bottom page" near "$(channel down-2 "$mid" $((b2 - 1)) 2)" 255 4
  a=$(channel down-1 "$mid" $((b1 - 1)) 2)
  b=$(channel down-2 "$mid" $((t2 + 1)) 2)
  check "1 x 2: the bottom page goes on where the top one ends (green $a, $b)" near "$a" "$b" 4
  close_program
}

case_open_edit() {
  gui_start 1024x768
  start_program
  # A photo the build makes for the sample albums, opened by typing its path.
  open_photo row_3.jpg
  local i
  mousemove_away
  gui_screenshot opened
  local cx cy
  read -r cx cy <<<"$(control_centre 0 110)"
  check "the photo shows in the Home image area" \
    test "$(screen_pixel opened "$cx" "$cy")" != "$(skin_pixel 0 "$cx" "$cy")"
  # Edit is enabled now; +90 degrees and OK turn the picture upright.
  click_control 0 2
  expect_screen 1 "Edit opens the photo editor"
  sleep 1
  gui_screenshot edit
  click_control 1 211
  sleep 1.5
  gui_screenshot edit-turned
  press Return
  expect_screen 0 "OK returns Home"
  mousemove_away
  gui_screenshot edited
  # A landscape photo turned upright leaves the sides of the wide area empty.
  local left=$((cx - 250))
  check "the area's left part shows the photo before" \
    test "$(screen_pixel opened "$left" "$cy")" != "$(skin_pixel 0 "$left" "$cy")"
  check "and the empty well after the turn" \
    test "$(screen_pixel edited "$left" "$cy")" = "$(skin_pixel 0 "$left" "$cy")"
  # The edit is unsaved work: closing asks. Cancel keeps the program; Yes
  # with the Save dialog cancelled asks again; No closes.
  local box
  press alt+F4
  box=$(wait_box Warning)
  check "closing with unsaved work asks first" test -n "$box"
  gui_screenshot save-question
  check "the question is the program's" grep -q "Do you want to save the image?" <<<"$(poke dialog Warning)"
  [ -n "$box" ] && xdotool key --window "$box" Escape
  sleep 1
  check "Cancel keeps the program" kill -0 "$PROGRAM_PID"
  press alt+F4
  box=$(wait_box Warning)
  [ -n "$box" ] && xdotool key --window "$box" y
  local save
  save=$(wait_box "Save As")
  check "Yes opens the Save dialog" test -n "$save"
  [ -n "$save" ] && xdotool key --window "$save" Escape
  box=$(wait_box Warning)
  check "a cancelled Save asks again" test -n "$box"
  [ -n "$box" ] && xdotool key --window "$box" n
  if gui_wait_exit "$PROGRAM_PID" 15; then
    check "No closes the program with code 0 (got $GUI_EXIT)" test "$GUI_EXIT" = 0
  else
    fail "still running after No"
  fi
}

# wait_class_window CLASS SECONDS [gone]: until a visible window of CLASS shows, or
# with "gone" until there is no such window at all. (Without a window manager
# Wine spends about 2 s hiding a full-screen window; a click in that time is
# lost, so the next step waits for the window's end.)
wait_class_window() {
  local i rc
  for ((i = 0; i < $2 * 5; i++)); do
    poke shown "$1" >/dev/null
    rc=$?
    if [ "${3:-}" = gone ]; then [ "$rc" = 2 ] && return 0
    else [ "$rc" = 0 ] && return 0; fi
    sleep 0.2
  done
  return 1
}

# bar_button BAR-CLASS LAYOUT B: "LEFT TOP RIGHT BOTTOM" on the screen of button B
# of a full-screen view's bar (the window of BAR-CLASS), its place from the
# bar layout (vmd3-skin bar LAYOUT).
bar_button() {
  local bl bt br bb
  read -r bl bt br bb <<<"$(poke shown "$1")"
  "$skin_tool" bar "$2" | awk -v b="$3" -v ox="$bl" -v oy="$bt" \
    '$1 == b { printf "%d %d %d %d\n", ox + $2, oy + $3, ox + $4, oy + $5 }'
}

# click_bar BAR-CLASS LAYOUT B [COUNT]: a click (or COUNT quick ones) in the
# middle of a bar button.
click_bar() {
  local l t r b
  read -r l t r b <<<"$(bar_button "$1" "$2" "$3")"
  xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) sleep 0.1 click --repeat "${4:-1}" --delay 150 1
  sleep 0.4
}

# bar_face_matches SHOT BAR-CLASS LAYOUT B STATE: the screenshot shows button B
# exactly as the skin's strip (UI/LAYOUT.btn) draws it in STATE (0 normal,
# 1 down, 2 disabled).
bar_face_matches() {
  local l t r b w h shown strip
  read -r l t r b <<<"$(bar_button "$2" "$3" "$4")"
  w=$((r - l + 1))
  h=$((b - t + 1))
  shown=$(region_sum "$1" "$l" "$t" "$w" "$h")
  strip=$(convert "BMP:$program_dir/UI/$3.btn" -crop "${w}x${h}+$(((3 * $4 + $5) * w))+0" \
    -depth 8 rgb:- 2>/dev/null | md5sum | cut -c1-32)
  [ "$shown" = "$strip" ]
}

case_viewer() {
  gui_start 1024x768
  start_program
  # The viewport: the frame image's inside, centred on the screen.
  local fw fh vw vh vx vy
  read -r fw fh <<<"$(identify -format '%w %h' "BMP:$program_dir/UI/panovw.log")"
  vw=$((fw - 8)) vh=$((fh - 8)) vx=$(((1024 - fw + 8) / 2)) vy=$(((768 - fh + 8) / 2))
  open_photo row_1.jpg
  click_control 0 327
  check "View Panorama opens the viewer" wait_class_window "PanoViewer Window" 10
  check "with its bar" wait_class_window DetailWindowPano 5
  sleep 1
  gui_screenshot viewer
  check "black around the frame" test "$(gui_pixel viewer 10 10)" = "0,0,0"
  check "a picture in the viewport" test \
    "$(convert "$GUI_OUT/viewer.png" -crop "${vw}x${vh}+${vx}+${vy}" -format '%[fx:standard_deviation>0.02]' info:)" = 1
  check "the bar is drawn from the skin: zoom in as normal" bar_face_matches viewer DetailWindowPano detail 0 0
  check "zoom out disabled at 1.0" bar_face_matches viewer DetailWindowPano detail 1 2
  check "close as normal" bar_face_matches viewer DetailWindowPano detail 2 0
  local start dragged zoomed back
  start=$(region_sum viewer "$vx" "$vy" "$vw" "$vh")
  # Dragging to the left keeps turning the view while the button is held.
  drag $((vx + vw / 2)) $((vy + vh / 2)) $((vx + vw / 2 - 150)) $((vy + vh / 2))
  xdotool mousemove 5 5
  sleep 0.5
  gui_screenshot dragged
  dragged=$(region_sum dragged "$vx" "$vy" "$vw" "$vh")
  check "dragging turns the view" test "$dragged" != "$start"
  # Zoom in twice by a quick double click, then out once and once more: back
  # to 1.0 and the very same view.
  click_bar DetailWindowPano detail 0 2
  xdotool mousemove 5 5
  sleep 0.5
  gui_screenshot zoomed
  zoomed=$(region_sum zoomed "$vx" "$vy" "$vw" "$vh")
  check "zooming in changes the view" test "$zoomed" != "$dragged"
  check "zoom out is enabled above 1.0" bar_face_matches zoomed DetailWindowPano detail 1 0
  click_bar DetailWindowPano detail 1
  xdotool mousemove 5 5
  sleep 0.5
  gui_screenshot zoomed-once
  local once
  once=$(region_sum zoomed-once "$vx" "$vy" "$vw" "$vh")
  check "each click is a step: one step out is neither the start nor two steps in" \
    test "$once" != "$dragged" -a "$once" != "$zoomed"
  check "zoom out still enabled at 1.1" bar_face_matches zoomed-once DetailWindowPano detail 1 0
  click_bar DetailWindowPano detail 1
  xdotool mousemove 5 5
  sleep 0.5
  gui_screenshot zoomed-out
  back=$(region_sum zoomed-out "$vx" "$vy" "$vw" "$vh")
  check "zooming out to 1.0 gives the view before zooming" test "$back" = "$dragged"
  check "and disables zoom out again" bar_face_matches zoomed-out DetailWindowPano detail 1 2
  # The bar's close button, then Esc on a viewer opened again.
  click_bar DetailWindowPano detail 2
  check "the close button closes the viewer" wait_class_window "PanoViewer Window" 8 gone
  check "and its bar" wait_class_window DetailWindowPano 2 gone
  expect_screen 0 "Home again"
  click_control 0 327
  check "the viewer opens again" wait_class_window "PanoViewer Window" 10
  sleep 0.5
  xdotool key Escape
  check "Esc closes the viewer" wait_class_window "PanoViewer Window" 8 gone
  sleep 0.5
  gui_screenshot closed
  # View Detail's bar comes from the same skin at the smallest zoom step.
  click_control 0 1
  check "View Detail opens" wait_class_window DetailWindow 10
  sleep 0.5
  gui_screenshot detail
  check "its bar is drawn from the skin: zoom in as normal" bar_face_matches detail DetailWindow pano 0 0
  check "zoom out disabled at the first step" bar_face_matches detail DetailWindow pano 1 2
  click_bar DetailWindow pano 2
  check "its close button closes it" wait_class_window MaxWindow 8 gone
  # A perspective view: on a picture whose green says the row, the middle
  # column of the view shows the whole height, its sides less of it.
  convert -size 1200x600 gradient:black-lime "BMP3:$GUI_OUT/rows.bmp"
  click_control 0 5
  dialog_type Open "$(winepath -w "$GUI_OUT/rows.bmp" 2>/dev/null)"
  click_control 0 327
  check "the viewer opens on the second picture" wait_class_window "PanoViewer Window" 10
  sleep 0.5
  gui_screenshot perspective
  local mid=$((vx + vw / 2)) last=$((vy + vh - 1))
  check "the middle column starts at the picture's top" near "$(channel perspective "$mid" "$vy" 2)" 0 8
  check "and ends at its bottom" near "$(channel perspective "$mid" "$last" 2)" 255 8
  check "the sides show less of the height" \
    test "$(channel perspective "$vx" "$vy" 2)" -gt 50 -a "$(channel perspective $((vx + vw - 1)) "$last" 2)" -lt 205
  xdotool key Escape
  check "Esc closes it" wait_class_window "PanoViewer Window" 8 gone
  # A portrait picture has no panorama view.
  convert -size 300x400 xc:'#3060a0' "BMP3:$GUI_OUT/portrait.bmp"
  click_control 0 5
  dialog_type Open "$(winepath -w "$GUI_OUT/portrait.bmp" 2>/dev/null)"
  click_control 0 327
  local text
  text=$(warning_text)
  check "a portrait picture is refused" grep -qF "Panorama view available for landscape images only." <<<"$text"
  check "without a viewer" wait_class_window "PanoViewer Window" 1 gone
  close_program
}

# Start on a storyboard with too few photos, or a grid the layout check
# refuses: the check speaks, and the storyboard stays with its photos.
case_stitch_refusals() {
  start_as_new_user
  open_storyboard 636 2
  press Return
  expect_warning "Must include at least 2 photos." "Enter on an empty row"
  local x y tx ty
  read -r x y <<<"$(thumb_point 2 0)"
  gui_click "$x" "$y"
  read -r tx ty <<<"$(control_point 2 320)"
  drag "$x" "$y" "$tx" "$ty"
  press Return
  expect_warning "Must include at least 2 photos." "Enter with one photo in a row"
  expect_screen 2 "the row storyboard stays"
  gui_screenshot stitch-refused-row
  check "with its photo" test "$(box_colour stitch-refused-row 2 320)" != "$empty_box"
  # A grid: two photos are too few; three on a diagonal touch only at corners.
  click_control 2 345
  expect_screen 4 "back to the panorama type"
  click_control 4 639
  click_control 4 370
  expect_screen 6 "the grid storyboard"
  sleep 1
  local photo
  for photo in 0 1 2; do
    read -r x y <<<"$(thumb_point 6 "$photo")"
    gui_click "$x" "$y"
    read -r tx ty <<<"$(control_point 6 $((320 + 5 * photo)))"
    drag "$x" "$y" "$tx" "$ty"
    if [ "$photo" = 1 ]; then
      click_control 6 344
      expect_warning "Must include at least 3 photos." "Start with two photos in a grid"
    fi
  done
  click_control 6 344
  expect_warning "Please place photos into proper space." "Start with three photos on a diagonal"
  expect_screen 6 "the grid storyboard stays"
  gui_screenshot stitch-refused-grid
  check "with its photos" test "$(box_colour stitch-refused-grid 6 330)" != "$empty_box"
  # A circle of the five photos of the row album.
  click_control 6 345
  expect_screen 12 "back to the panorama type"
  click_control 4 638
  click_control 4 370
  expect_screen 2 "the circle's storyboard"
  sleep 1
  click_control 2 306
  sleep 2
  press Return
  expect_warning "Must include at least 6 photos." "Enter with five photos in a circle"
  expect_screen 2 "the storyboard stays"
  close_program
}

# The main job: the sample row album into a row storyboard, Start, the
# preview, Back and Start again, Finish, and the panorama on Home.
case_stitch_row() {
  gui_start 1024x768
  # A new user, who finds the sample albums with the row album current.
  gui_reg delete 'HKCU\Software\Quorvex\Vistameld 3.0' /f >/dev/null
  rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Quorvex/Vistameld/3.0/palbums
  start_program
  click_control 0 6
  expect_screen 4 "the panorama type screen"
  click_control 4 370
  expect_screen 2 "the row storyboard"
  sleep 2
  click_control 2 306
  sleep 2
  gui_screenshot storyboard-filled
  press Return
  if wait_screen_long 7 90; then log "ok: Start stitches and shows the preview (screen 7)"; else fail "no preview after Start"; fi
  sleep 1
  mousemove_away
  gui_screenshot preview
  local cx cy
  read -r cx cy <<<"$(control_centre 7 700)"
  check "the preview shows the panorama" test "$(screen_pixel preview "$cx" "$cy")" != "$(skin_pixel 7 "$cx" "$cy")"
  press BackSpace
  expect_screen 2 "Backspace returns to the storyboard"
  gui_screenshot storyboard-kept
  press Return
  if wait_screen_long 7 90; then log "ok: the photos were kept: Start again (screen 7)"; else fail "no preview the second time"; fi
  sleep 1
  press Return
  expect_screen 0 "Finish shows the panorama on Home"
  mousemove_away
  gui_screenshot home-panorama
  read -r cx cy <<<"$(control_centre 0 110)"
  check "the panorama is on Home" test "$(screen_pixel home-panorama "$cx" "$cy")" != "$(skin_pixel 0 "$cx" "$cy")"
  # The panorama is unsaved work.
  press alt+F4
  local box
  box=$(wait_box Warning)
  check "closing asks to save the panorama" test -n "$box"
  [ -n "$box" ] && xdotool key --window "$box" n
  if gui_wait_exit "$PROGRAM_PID" 15; then
    check "No closes the program (exit $GUI_EXIT)" test "$GUI_EXIT" = 0
  else
    fail "still running after No"
  fi
}

case $case_name in
  stitch-row) case_stitch_row ;;
  open-edit) case_open_edit ;;
  stitch-refusals) case_stitch_refusals ;;
  print) case_print ;;
  viewer) case_viewer ;;
  print-pages) case_print_pages ;;
  export) case_export ;;
  walk) case_walk ;;
  kind-options) case_kind_options ;;
  tips-and-disabled) case_tips_and_disabled ;;
  title-buttons) case_title_buttons ;;
  damaged-skin) case_damaged_skin ;;
  *) echo "gui: unknown case $case_name"; exit 2 ;;
esac
gui_finish
