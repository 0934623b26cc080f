# Sourced by the project's scripts: where caches, the Wine prefix and build trees live.
VMD_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VMD_CACHE=${VMD_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vmd3}
VMD_BUILD=${VMD_BUILD:-$VMD_ROOT/build}
export WINEPREFIX=${VMD_WINEPREFIX:-$VMD_CACHE/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export VMD_ROOT VMD_CACHE VMD_BUILD
