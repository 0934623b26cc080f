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
