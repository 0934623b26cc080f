# Sourced by the project's scripts: where caches, the Wine prefix and build trees live.
VMD_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VMD_CACHE=${VMD_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vmd3}
VMD_BUILD=${VMD_BUILD:-$VMD_ROOT/build}
export WINEPREFIX=${VMD_WINEPREFIX:-$VMD_CACHE/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# The codec libraries cross-built for 32-bit Windows (scripts/build-mingw-libs.sh);
# the MinGW toolchain file searches it.
VMD_MINGW_PREFIX=${VMD_MINGW_PREFIX:-$VMD_CACHE/mingw-libs}
export VMD_ROOT VMD_CACHE VMD_BUILD VMD_MINGW_PREFIX

# False when this machine's kernel refuses 32-bit x86 programs ("Exec format
# error", as on some virtual machines). Wine's loader is one, so there the
# Win32 tree can be built but not run. True when the 32-bit loader is not
# installed yet: the set-up installs it, then asks again.
vmd_runs_32bit() {
  local rc=0
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || rc=$?
  [ "$rc" -ne 126 ]
}
