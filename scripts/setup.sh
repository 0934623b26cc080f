#!/usr/bin/env bash
# Installs everything the project needs on a Debian 12 machine, once.
# Quiet and quick when everything is already there; safe to run again.
#   - Debian packages (compilers, CMake, MinGW, 32-bit Wine, Xvfb, codec libraries)
#   - the Wine prefix the tests use, in the cache folder (never the user's ~/.wine)
#   - the codec libraries cross-built for 32-bit Windows, in the cache folder
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=env.sh
. "$here/env.sh"

log() { echo "setup: $*" >&2; }

packages=(
  build-essential cmake ninja-build pkg-config git ca-certificates
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-i686 libz-mingw-w64-dev nasm
  wine wine64 wine32:i386 fonts-wine
  xvfb xdotool imagemagick x11-utils
  halibut
  libjpeg62-turbo-dev libtiff-dev libgif-dev libpng-dev zlib1g-dev libimagequant-dev libjpeg-turbo-progs
  dpkg-dev xz-utils
  libcairo2-dev libpango1.0-dev fonts-dejavu-core
  lomiri-wallpapers-16.04
  ffmpeg view3dscene chromium
  ghostscript
  python3-opencv
)

need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo "$@"; else
      log "needs root to run: $*"; return 1; fi
  else "$@"; fi
}

install_packages() {
  local missing=()
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root dpkg --add-architecture i386
    rm -f "$VMD_CACHE/apt-updated"
  fi
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing ${#missing[@]} packages: ${missing[*]}"
  need_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq >/dev/null
  need_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >"$VMD_CACHE/apt-install.log" 2>&1 || {
      tail -n 30 "$VMD_CACHE/apt-install.log" >&2; return 1; }
}

make_wine_prefix() {
  local stamp="$WINEPREFIX/.vmd3-ready"
  [ -f "$stamp" ] && return 0
  log "creating the Wine prefix in $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i </dev/null >"$VMD_CACHE/wineboot.log" 2>&1 || true
  wineserver -w || true
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # A crash must end the test, not open a dialog that waits for a click.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    </dev/null >/dev/null 2>&1
  wineserver -w || true
  [ -d "$WINEPREFIX/drive_c/windows" ] || { log "wineboot failed, see $VMD_CACHE/wineboot.log"; return 1; }
  touch "$stamp"
}

# A PostScript printer that writes every job to $WINEPREFIX/printed/printed.ps,
# made the default: Wine has no printer of its own and there is no CUPS here.
# The printing tests turn that file into PNG pages with Ghostscript.
make_file_printer() {
  local stamp="$WINEPREFIX/.vmd3-printer" src="$VMD_ROOT/tools/printer"
  local exe="$VMD_CACHE/add_file_printer.exe" tmp ppd
  [ -f "$stamp" ] && return 0
  if [ ! -f "$exe" ] || [ "$src/add_file_printer.c" -nt "$exe" ]; then
    tmp=$(mktemp "$VMD_CACHE/add_file_printer.XXXXXX")
    i686-w64-mingw32-gcc -O2 -s -o "$tmp" "$src/add_file_printer.c" -lwinspool &&
      mv -f "$tmp" "$exe" || { rm -f "$tmp"; log "could not build the printer set-up"; return 1; }
  fi
  log "adding the file printer to $WINEPREFIX"
  mkdir -p "$WINEPREFIX/printed"
  ppd="Z:${src//\//\\}\\vmd3-file-printer.ppd"
  wine "$exe" "Vistameld Test Printer" "$ppd" "$WINEPREFIX/printed/printed.ps" \
    </dev/null >"$VMD_CACHE/printer.log" 2>&1 || {
      log "the printer set-up failed, see $VMD_CACHE/printer.log"; return 1; }
  # The printer lives in the registry, written when the server lets go of it.
  timeout 20 wineserver -w || true
  touch "$stamp"
}

mkdir -p "$VMD_CACHE"
install_packages
if vmd_runs_32bit; then
  make_wine_prefix
  make_file_printer
else
  log "this machine cannot run 32-bit programs (its kernel refuses them), so Wine cannot run"
  log "the Win32 programs here: no Wine prefix; the Win32 tree is built but not run"
fi
if [ -x "$here/build-mingw-libs.sh" ]; then "$here/build-mingw-libs.sh"; fi
