#!/usr/bin/env bash
# Real-window tests of acquiring photos: our own TWAIN data source (built with
# the tests) takes the place of the prefix's placeholder sane.ds and serves
# three BMP pictures; the program is driven to a storyboard screen, where the
# Acquire button, Wine's "Select Source" dialog and the named-source command
# bring the pictures in as JPEG files and album thumbnails.
#   acquire_test.sh CASE PROGRAM-FOLDER OUTPUT-FOLDER WINDOW-POKE-EXE VMD3-SKIN TEST-SOURCE-DS
. "$(dirname "${BASH_SOURCE[0]}")/gui_lib.sh"
. "$(dirname "${BASH_SOURCE[0]}")/vmd3_lib.sh"

vmd3_case_setup "$@"
source_ds=$6
branch='HKCU\Software\Quorvex\Vistameld 3.0'
# Our source calls itself "Vistameld Test Scanner"; the named cases spell it loosely.
cell_width=80
cell_height=92
acquire_button=303

# The source and its pictures in the prefix, the acquisition folder in the
# program's "vmd3.set" (restored afterwards). Done once the prefix exists.
set_up_source() {
  local root="$WINEPREFIX/drive_c/vmdtest" twain="$WINEPREFIX/drive_c/windows/twain_32"
  rm -rf "$root"
  mkdir -p "$root/pictures" "$root/scans" "$twain"
  convert -size 64x48 gradient:red-blue BMP3:"$root/pictures/a.bmp"
  convert -size 64x48 gradient:yellow-green -fill black -draw 'rectangle 5,5 20,30' BMP3:"$root/pictures/b.bmp"
  convert -size 48x64 plasma:fractal -seed 7 BMP3:"$root/pictures/c.bmp" 2>/dev/null ||
    convert -size 48x64 gradient:white-purple BMP3:"$root/pictures/c.bmp"
  cp "$source_ds" "$twain/sane.ds"
  printf '[source]\r\nFolder=C:\\vmdtest\\pictures\r\nLog=C:\\vmdtest\\source.log\r\n' >"$twain/vmd_test_source.ini"
  source_log="$root/source.log"
  scans="$root/scans"
  local set_file="$program_dir/vmd3.set"
  if [ -f "$set_file" ]; then
    cp "$set_file" "$GUI_OUT/vmd3.set.saved"
    GUI_CLEANUPS+=("cp '$GUI_OUT/vmd3.set.saved' '$set_file'")
  else
    GUI_CLEANUPS+=("rm -f '$set_file'")
  fi
  printf '[USER]\r\nDefaultTwainDir=C:\\vmdtest\\scans\r\n' >"$set_file"
}

# start_with OPTIONS...: a new user's program (the sample albums, a fresh
# photo counter) with the acquisition options of "vmd3.ini".
start_with() {
  {
    printf '[USER]\r\n'
    local option
    for option in "$@"; do printf '%s\r\n' "$option"; done
  } >"$WINEPREFIX/drive_c/windows/vmd3.ini"
  gui_reg delete "$branch" /f >/dev/null
  rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Quorvex/Vistameld/3.0/palbums
  : >"$source_log"
  launch_program
}

open_row_storyboard() {
  click_control 0 6
  expect_screen 4 "Stitch Wizard"
  click_control 4 636
  click_control 4 370
  expect_screen 2 "Next shows the storyboard"
  sleep 1
}

# thumb_point INDEX: the centre of the album window's thumbnail INDEX.
thumb_point() {
  local l t r b columns
  read -r l t r b <<<"$(control_box 2 300)"
  columns=$(((r - l + 1) / cell_width))
  echo "$((l + (($1 % columns) * cell_width) + cell_width / 2)) $((t + ($1 / columns) * cell_height + cell_height / 2))"
}
thumb_drawn() {  # thumb_drawn SHOT INDEX
  local x y
  read -r x y <<<"$(thumb_point "$2")"
  test "$(gui_pixel "$1" "$x" "$y")" != "255,255,255"
}

# The names photo naming gives today's pictures 1 to N: month, day, the year's
# mark ((years since 1900 + 3) mod 5 of "_#-^$"), the counter.
expected_names() {
  local marks='_#-^$' year mark i
  year=$(date +%Y)
  mark=${marks:$(((year - 1900 + 3) % 5)):1}
  for ((i = 1; i <= $1; i++)); do printf '%s%s%02d.jpg\n' "$(LC_ALL=C date +%b%d)" "$mark" "$i"; done
}

wait_files() {  # wait_files COUNT: up to 10 s for COUNT files in the scans folder
  local i
  for ((i = 0; i < 50; i++)); do
    [ "$(ls "$scans" | wc -l)" -ge "$1" ] && { sleep 0.5; return 0; }
    sleep 0.2
  done
  return 1
}

pick_first_source() {
  local dialog
  dialog=$(wait_box "Select Source")
  check "Acquire opens the \"Select Source\" dialog" test -n "$dialog"
  [ -n "$dialog" ] || return 1
  gui_screenshot select-source
  xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
  sleep 0.3
  xdotool key --clearmodifiers Return
}

case_multi() {
  gui_start 1024x768
  set_up_source
  start_with MultiScan=1
  open_row_storyboard
  click_control 2 $acquire_button
  pick_first_source
  check "three pictures arrive as files" wait_files 3
  check "named by the photo naming" test "$(ls "$scans")" = "$(expected_names 3)"
  local f
  for f in "$scans"/*.jpg; do
    check "$(basename "$f") is a JPEG file of a source picture" \
      grep -Eq '^JPEG (64x48|48x64)$' <<<"$(identify -format '%m %wx%h' "$f" 2>/dev/null)"
  done
  sleep 1
  gui_screenshot acquired-album
  check "the sixth to eighth thumbnails are drawn" \
    eval 'thumb_drawn acquired-album 5 && thumb_drawn acquired-album 6 && thumb_drawn acquired-album 7'
  check "there is no ninth" eval '! thumb_drawn acquired-album 8'
  check "the source was shown its interface request, native transfers" \
    grep -q 'enable showui=1' "$source_log"
  check "three native transfers" test "$(grep -c '^native' "$source_log")" = 3
  check "the source was disabled and closed" eval "grep -q '^disable' '$source_log' && grep -q '^close' '$source_log'"
  check "the album file records the photos with their paths" \
    grep -alq 'vmdtest' "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Quorvex/Vistameld/3.0/palbums/*.abm
  check "no message" no_warning
  close_program
  gui_finish
}

# MemoryScan: the same pictures by memory transfer, pixel for pixel; without
# MultiScan only the first picture comes.
case_memory() {
  gui_start 1024x768
  set_up_source
  start_with MultiScan=0
  open_row_storyboard
  click_control 2 $acquire_button
  pick_first_source
  check "one picture arrives without MultiScan" wait_files 1
  sleep 1
  check "only one" test "$(ls "$scans" | wc -l)" = 1
  check "the others are dropped" grep -q '^reset pending 0' "$source_log"
  close_program
  mkdir -p "$GUI_OUT/native"
  mv "$scans"/*.jpg "$GUI_OUT/native/"
  start_with MemoryScan=1 MultiScan=1
  open_row_storyboard
  click_control 2 $acquire_button
  pick_first_source
  check "three pictures arrive by memory transfer" wait_files 3
  check "the source was asked for memory transfers" grep -q '^mechanism memory' "$source_log"
  check "in several strips" test "$(grep -c '^memory strip' "$source_log")" -ge 6
  check "and no native transfer" eval "! grep -q '^native' '$source_log'"
  local first
  first=$(ls "$scans" | head -n 1)
  check "the first file has the first photo's name again (a new user's counter)" \
    test "$first" = "$(expected_names 1)"
  check "memory transfer gives the same pixels as native transfer" \
    test "$(compare -metric AE "$scans/$first" "$GUI_OUT/native/$first" null: 2>&1)" = 0
  gui_screenshot memory-album
  check "the thumbnails are drawn" eval 'thumb_drawn memory-album 5 && thumb_drawn memory-album 7'
  close_program
  gui_finish
}

# Command 40051 with the source's name (as a still-image device's second copy
# hands it over: StiDeviceNAME, then the command): refused on Home, taken on a
# storyboard screen; the name is matched without white space and case.
case_named() {
  gui_start 1024x768
  set_up_source
  start_with MultiScan=1
  gui_reg add "$branch\\USER" /v StiDeviceNAME /t REG_SZ /d "vistameld testSCANNER" /f >/dev/null
  poke post "Vistameld Window" 0x111 40051
  sleep 2
  check "on Home nothing is acquired" test "$(ls "$scans" | wc -l)" = 0
  check "the source was not even opened" test ! -s "$source_log"
  check "the program stays on Home" test "$(screen_now)" = 0
  check "no dialog is left open" eval '! xdotool search --onlyvisible --name "^Select Source$" >/dev/null 2>&1'
  open_row_storyboard
  gui_reg add "$branch\\USER" /v StiDeviceNAME /t REG_SZ /d "vistameld testSCANNER" /f >/dev/null
  poke post "Vistameld Window" 0x111 40051
  check "on the storyboard the named source gives three pictures" wait_files 3
  check "without the Select Source dialog" eval '! xdotool search --onlyvisible --name "^Select Source$" >/dev/null 2>&1'
  sleep 1
  gui_screenshot named-album
  check "the thumbnails are drawn" eval 'thumb_drawn named-album 5 && thumb_drawn named-album 7'
  # An unknown name acquires nothing.
  : >"$source_log"
  gui_reg add "$branch\\USER" /v StiDeviceNAME /t REG_SZ /d "No Such Scanner" /f >/dev/null
  poke post "Vistameld Window" 0x111 40051
  sleep 2
  check "an unknown source name acquires nothing" test "$(ls "$scans" | wc -l)" = 3
  check "and opens no source" test ! -s "$source_log"
  close_program
  gui_finish
}

# Without a source manager the user is told so.
case_no-manager() {
  gui_start 1024x768
  set_up_source
  export WINEDLLOVERRIDES="twain_32=d"
  start_with
  open_row_storyboard
  click_control 2 $acquire_button
  check "Acquire without TWAIN_32.DLL says so" \
    grep -q "Could not find TWAIN_32.DLL in your windows directory." <<<"$(warning_text)"
  check "the program stays on the storyboard" test "$(screen_now)" = 2
  close_program
  gui_finish
}

"case_$case_name"
