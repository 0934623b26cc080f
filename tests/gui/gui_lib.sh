# Shared steps of the real-window tests: a private Xvfb, a Wine prefix of
# their own, the program started and driven with xdotool, screenshots, and a
# cleanup that always runs. Sourced by gui_test.sh.
#
# The prefix: "<project prefix>-gui", or "-gui-N" for slot N (VMD_GUI_SLOT,
# so that two tests can run side by side, each with its own program registry
# and running copy; VMD_GUI_WINEPREFIX overrides), made by scripts/setup.sh on
# first use. Each test runs its own wineserver there,
# started with its own virtual screen, so the program sees that screen's size;
# a warm wineserver of the surrounding test run (scripts/test.sh) belongs to
# the project prefix and is never touched. Xvfb and every program this script
# started are ended by their PIDs.

set -uo pipefail

gui_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../scripts/env.sh
. "$gui_here/../../scripts/env.sh"
export WINEDEBUG=-all
gui_slot_suffix=""
[ "${VMD_GUI_SLOT:-1}" != 1 ] && gui_slot_suffix="-$VMD_GUI_SLOT"
GUI_PREFIX=${VMD_GUI_WINEPREFIX:-$WINEPREFIX-gui$gui_slot_suffix}
export WINEPREFIX=$GUI_PREFIX

GUI_XVFB_PID=""
GUI_OWN_SERVER=0
GUI_PIDS=()
GUI_CLEANUPS=()
GUI_FAILED=0

log() { echo "gui: $*"; }
fail() { echo "gui: FAIL: $*"; GUI_FAILED=1; }
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then log "ok: $what"; else fail "$what"; fi
}

# The wineserver of this prefix runs in a folder named after the prefix's
# device and inode; find it by its working folder.
prefix_server_running() {
  local tag p c
  tag="server-$(stat -c '%D' "$WINEPREFIX" | sed 's/^0*//')-$(printf '%x' "$(stat -c '%i' "$WINEPREFIX")")"
  for p in /proc/[0-9]*; do
    c=$(cat "$p/comm" 2>/dev/null) || continue
    case $c in wineserver*) ;; *) continue ;; esac
    case $(readlink "$p/cwd" 2>/dev/null) in */"$tag") return 0 ;; esac
  done
  return 1
}

gui_cleanup() {
  local pid f
  for pid in "${GUI_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  for f in "${GUI_CLEANUPS[@]}"; do eval "$f" >/dev/null 2>&1; done
  if [ "$GUI_OWN_SERVER" = 1 ]; then wineserver -k >/dev/null 2>&1; fi
  if [ -n "$GUI_XVFB_PID" ]; then
    kill "$GUI_XVFB_PID" 2>/dev/null
    wait "$GUI_XVFB_PID" 2>/dev/null
  fi
}

# gui_start SCREEN [DEPTH]: Xvfb (e.g. 1024x768, 24 bits) on a free display,
# the prefix's server.
gui_start() {
  local screen=${1:-1024x768} depth=${2:-24} fifo display
  if [ ! -f "$GUI_PREFIX/.vmd3-ready" ] || [ ! -f "$GUI_PREFIX/.vmd3-printer" ]; then
    echo "gui: making the prefix of the real-window tests in $GUI_PREFIX"
    env -u DISPLAY VMD_WINEPREFIX="$GUI_PREFIX" "$VMD_ROOT/scripts/setup.sh" || { echo "gui: set-up failed"; exit 1; }
  fi
  trap gui_cleanup EXIT
  trap 'exit 2' INT TERM
  fifo=$(mktemp -u "${TMPDIR:-/tmp}/vmd3-gui-XXXXXX")
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${screen}x${depth}" -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
  GUI_XVFB_PID=$!
  read -r -t 10 display <"$fifo"
  rm -f "$fifo"
  [ -n "${display:-}" ] || { echo "gui: Xvfb did not start"; exit 1; }
  export DISPLAY=":$display"
  # A server left by an interrupted run would keep that run's desktop size.
  if prefix_server_running; then wineserver -k >/dev/null 2>&1; sleep 0.5; fi
  wineserver -p </dev/null >/dev/null 2>&1
  GUI_OWN_SERVER=1
  log "display $DISPLAY ($screen), prefix $WINEPREFIX"
}

# gui_launch EXE [ARGS]: starts a Windows program; its PID in GUI_LAST_PID.
gui_launch() {
  wine "$@" </dev/null >>"$GUI_OUT/wine.log" 2>&1 &
  GUI_LAST_PID=$!
  GUI_PIDS+=("$GUI_LAST_PID")
}

# gui_wait_exit PID SECONDS: waits for the program; its exit code in GUI_EXIT.
gui_wait_exit() {
  local pid=$1 limit=$2 i
  for ((i = 0; i < limit * 10; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      GUI_EXIT=$?
      return 0
    fi
    sleep 0.1
  done
  GUI_EXIT=""
  return 1
}

# gui_windows: the visible windows titled exactly "Vistameld 3.0".
gui_windows() { xdotool search --onlyvisible --name '^Vistameld 3\.0$' 2>/dev/null; }

# gui_wait_windows COUNT SECONDS: waits until COUNT such windows show.
gui_wait_windows() {
  local count=$1 limit=$2 i
  for ((i = 0; i < limit * 10; i++)); do
    [ "$(gui_windows | wc -l)" -ge "$count" ] && { sleep 0.3; return 0; }
    sleep 0.1
  done
  return 1
}

# gui_geometry WINDOW: "X Y WIDTH HEIGHT".
gui_geometry() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y $WIDTH $HEIGHT"
}

# gui_window_sized W H: the "Vistameld 3.0" window of that size.
gui_window_sized() {
  local w x y ww hh
  for w in $(gui_windows); do
    read -r x y ww hh <<<"$(gui_geometry "$w")"
    if [ "$ww" = "$1" ] && [ "$hh" = "$2" ]; then echo "$w"; return 0; fi
  done
  return 1
}

gui_screenshot() {  # gui_screenshot NAME -> $GUI_OUT/NAME.png
  import -window root "$GUI_OUT/$1.png" 2>/dev/null
  log "screenshot $GUI_OUT/$1.png"
}

# gui_pixel NAME X Y: "R,G,B" of a screenshot pixel.
gui_pixel() {
  convert "$GUI_OUT/$1.png" -crop "1x1+$2+$3" -depth 8 txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -n 1
}

# region_sum NAME X Y W H: a checksum of a screenshot region.
region_sum() {
  convert "$GUI_OUT/$1.png" -crop "${4}x${5}+${2}+${3}" -depth 8 rgb:- 2>/dev/null | md5sum | cut -c1-32
}

# gui_key WINDOW KEYS: focuses the window and types a key combination.
gui_key() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.2
  xdotool key --clearmodifiers "$2"
}

# gui_click X Y: a left click at a screen position.
gui_click() { xdotool mousemove "$1" "$2" sleep 0.1 click 1; }

# gui_reg ARGS: the registry tool of the prefix (64-bit view unless /reg:32).
gui_reg() { wine reg "$@" </dev/null 2>/dev/null | tr -d '\r'; }

gui_finish() {
  if [ "$GUI_FAILED" = 0 ]; then log "passed"; exit 0; fi
  log "see $GUI_OUT"
  exit 1
}
