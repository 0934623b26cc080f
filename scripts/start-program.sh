#!/usr/bin/env bash
# Starts the program vmd3.exe under Wine with the project's prefix.
#   start-program.sh PATH-TO-vmd3.exe
# With a display (DISPLAY set) the program opens there and this script waits
# until it is closed. Without one it runs on a private virtual screen (Xvfb),
# says so, keeps a screenshot of the screen up to date for VMD_RUN_SECONDS
# seconds (default 15, Ctrl+C ends early), then closes the program.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
export WINEDEBUG=${WINEDEBUG:--all}

exe=${1:?usage: start-program.sh PATH-TO-vmd3.exe}
[ -f "$exe" ] || { echo "start-program: $exe not found" >&2; exit 1; }
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
log() { echo "start-program: $*"; }

if [ -n "${DISPLAY:-}" ]; then
  log "starting $exe on display $DISPLAY"
  wine "$exe"
  code=$?
  log "the program ended with exit code $code"
  exit $code
fi

for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "start-program: $tool is missing (run scripts/setup.sh)" >&2; exit 1; }
done
shots="$VMD_BUILD/screenshots"
mkdir -p "$shots"
shot="$shots/vmd3.png"
seconds=${VMD_RUN_SECONDS:-15}

xvfb_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fifo=$(mktemp -u "${TMPDIR:-/tmp}/vmd3-screen-XXXXXX")
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 10 display <"$fifo"
rm -f "$fifo"
[ -n "${display:-}" ] || { echo "start-program: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"
log "no display found: running the program on a virtual 1024 x 768 screen (Xvfb $DISPLAY)"

wine "$exe" </dev/null >"$shots/wine.log" 2>&1 &
program_pid=$!
main=""
for _ in $(seq 1 300); do
  main=$(xdotool search --onlyvisible --name '^Vistameld 3\.0$' 2>/dev/null | tail -n 1)
  [ -n "$main" ] && break
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$main" ]; then
  wait "$program_pid"
  code=$?
  program_pid=""
  log "the program ended with exit code $code before showing a window"
  exit 1
fi
sleep 1
import -window root "$shot"
log "the program runs; screenshot: $shot"
log "it stays up for $seconds s (VMD_RUN_SECONDS), Ctrl+C ends it earlier"
for ((i = 0; i < seconds; i++)); do
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 1
  (( i % 5 == 4 )) && import -window root "$shot"
done
if kill -0 "$program_pid" 2>/dev/null; then
  import -window root "$shot"
  xdotool windowfocus --sync "$main" 2>/dev/null
  xdotool key --clearmodifiers alt+F4
  for _ in $(seq 1 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
fi
wait "$program_pid" 2>/dev/null
code=$?
program_pid=""
log "the program was closed (Alt+F4) and ended with exit code $code; screenshot: $shot"
exit $code
