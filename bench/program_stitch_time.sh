#!/usr/bin/env bash
# Times the program's stitch of a sample album under Wine against vmd3-stitch
# on the same photos: Start on the storyboard until the preview shows
# (progress window, preview set-up and painting included; the time before the
# 322 x 67 progress window shows, while it shows, and after it went is found
# by watching the X windows), and vmd3-stitch.exe
# writing a BMP (Wine's process start included; an empty run of the window
# helper gives that start-up time). On demand, from the Win32 build tree:
#   bench/program_stitch_time.sh build/win32 [RUNS]
# with VMD_WINEPREFIX set as for the window tests. Without a window manager
# (plain Xvfb) Wine waits up to 2 s for one to withdraw a window that was
# activated, as the progress window is, when it closes: that wait shows in the
# time with the progress window. With Wine's "Managed" X11 setting off it
# goes.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tree=$(cd "$1" && pwd)
runs=${2:-5}
. "$here/../tests/gui/gui_lib.sh"
. "$here/../tests/gui/vmd3_lib.sh"
vmd3_case_setup bench-stitch-time "$tree/app" "$tree/bench" "$tree/tests/gui/window_poke.exe" \
  "$tree/tools/skin/host/vmd3-skin"
stitcher="$tree/tools/stitch/vmd3-stitch.exe"

now() { date +%s.%N; }
# Prints the time whenever the progress window is seen, until killed.
watch_progress() {
  while :; do
    xwininfo -root -tree 2>/dev/null | grep -q ' 322x67+' && now
  done
}
mean() { awk '{ s += $1; n++ } END { printf "%.2f", s / n }'; }

start_as_new_user
open_storyboard 636 2
click_control 2 306
sleep 2
program_times=()
phases=()
for ((run = 0; run < runs; run++)); do
  read -r x y <<<"$(control_point 2 344)"
  watch_progress >"$GUI_OUT/progress.txt" &
  watcher=$!
  t0=$(now)
  gui_click "$x" "$y"
  for ((i = 0; i < 2000; i++)); do [ "$(screen_now)" = 7 ] && break; done
  t1=$(now)
  kill "$watcher"
  wait "$watcher" 2>/dev/null
  program_times+=("$(echo "$t1 - $t0" | bc)")
  if [ -s "$GUI_OUT/progress.txt" ]; then
    p0=$(head -n 1 "$GUI_OUT/progress.txt")
    p1=$(tail -n 1 "$GUI_OUT/progress.txt")
    phases+=("$(printf '%.2f/%.2f/%.2f' "$(echo "$p0 - $t0" | bc)" "$(echo "$p1 - $p0" | bc)" "$(echo "$t1 - $p1" | bc)")")
  fi
  sleep 1
  press BackSpace
  wait_screen 2 || { fail "no storyboard"; break; }
  sleep 1
done
# The pointer's polling: one screen query alone.
t0=$(now)
for ((run = 0; run < runs; run++)); do screen_now >/dev/null; done
query=$(echo "($(now) - $t0) / $runs" | bc -l)
close_program

photos=()
for i in 1 2 3 4 5; do photos+=("$(winepath -w "$program_dir/palbums/row_$i.jpg" 2>/dev/null)"); done
stitch_times=()
for ((run = 0; run < runs; run++)); do
  t0=$(now)
  wine "$stitcher" -o "$(winepath -w "$GUI_OUT/row.bmp" 2>/dev/null)" "${photos[@]}" </dev/null >/dev/null 2>&1
  stitch_times+=("$(echo "$(now) - $t0" | bc)")
done
t0=$(now)
for ((run = 0; run < runs; run++)); do wine "$poke_exe" >/dev/null 2>&1 </dev/null; done
empty=$(echo "($(now) - $t0) / $runs" | bc -l)

log "program, Start to preview (s): ${program_times[*]} mean $(printf '%s\n' "${program_times[@]}" | mean)"
log "before/with/after the progress window (s): ${phases[*]}"
log "one screen query (s): $(printf '%.2f' "$query") (the preview is seen up to one query late)"
log "vmd3-stitch.exe (s): ${stitch_times[*]} mean $(printf '%s\n' "${stitch_times[@]}" | mean)"
log "an empty Wine program (s): $(printf '%.2f' "$empty")"
gui_finish
