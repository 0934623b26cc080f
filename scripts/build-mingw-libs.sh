#!/usr/bin/env bash
# Cross-builds the image codec libraries for 32-bit Windows (i686-w64-mingw32)
# from Debian's own source packages, into $VMD_CACHE/mingw-libs, once.
#   - libjpeg-turbo (with its SIMD code, through nasm)
#   - libtiff (zlib and JPEG compression only)
#   - giflib (including its median-cut colour quantiser)
# zlib comes from Debian's libz-mingw-w64-dev. Static libraries only, so the
# Win32 pixio.dll carries everything it needs.
# Quiet and immediate when the stamp file says the set is built; set
# VMD_MINGW_LIBS_REBUILD=1 to build again.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=env.sh
. "$here/env.sh"

prefix=${VMD_MINGW_PREFIX:-$VMD_CACHE/mingw-libs}
# Bump when the set of libraries or their options change.
recipe=3
stamp="$prefix/.vmd3-mingw-libs-$recipe"
[ -f "$stamp" ] && [ "${VMD_MINGW_LIBS_REBUILD:-0}" != 1 ] && exit 0

log() { echo "build-mingw-libs: $*" >&2; }
need_root() {
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo "$@"; else
      log "needs root to run: $*"; return 1; fi
  else "$@"; fi
}

started=$(date +%s)
work="$VMD_CACHE/mingw-src"
build="$work/build"
logfile="$work/build.log"
mkdir -p "$work"
: >"$logfile"
toolchain="$VMD_ROOT/cmake/mingw-i686.cmake"
jobs=${VMD_JOBS:-2}
sources=(libjpeg-turbo tiff giflib)

# Debian's source lists: a deb-src twin of the binary sources file.
ensure_deb_src() {
  local list=/etc/apt/sources.list.d/vmd3-deb-src.sources
  if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return 0
  fi
  log "adding Debian source lists"
  sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
    need_root tee "$list" >/dev/null
  need_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq >>"$logfile" 2>&1 || true
}

# fetch_source PACKAGE: leaves the unpacked, patched tree's path in $tree.
fetch_source() {
  local pkg=$1 dsc
  dsc=$(ls "$work"/"${pkg}"_*.dsc 2>/dev/null | head -n 1 || true)
  if [ -z "$dsc" ]; then
    # apt-get source can exit non-zero on an unreachable security suite even
    # though some files arrived: look for the files, not the exit code, and
    # fall back to the next older version the lists offer (newest first).
    local v
    for v in $(apt-cache showsrc "$pkg" 2>/dev/null | awk '/^Version:/ {print $2}' | sort -rV); do
      (cd "$work" && apt-get source --download-only "$pkg=$v" >>"$logfile" 2>&1) || true
      dsc=$(ls "$work"/"${pkg}"_*.dsc 2>/dev/null | head -n 1 || true)
      [ -n "$dsc" ] && break
    done
  fi
  [ -n "$dsc" ] || { log "could not download the source of $pkg (see $logfile)"; return 1; }
  local ver=${dsc##*/}; ver=${ver%.dsc}; ver=${ver#"${pkg}"_}; ver=${ver%%-*}
  tree="$work/$pkg-$ver"
  if [ ! -d "$tree" ]; then
    (cd "$work" && dpkg-source --no-check -x "$dsc" "$tree" >>"$logfile" 2>&1) || {
      log "could not unpack $dsc (see $logfile)"; return 1; }
  fi
}

cmake_build() {
  local name=$1 src=$2; shift 2
  rm -rf "$build/$name"
  cmake -S "$src" -B "$build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_POSITION_INDEPENDENT_CODE=OFF "$@" \
    >>"$logfile" 2>&1 &&
    cmake --build "$build/$name" -j "$jobs" >>"$logfile" 2>&1 &&
    cmake --install "$build/$name" >>"$logfile" 2>&1 ||
    { log "$name failed; last lines of $logfile:"; tail -n 30 "$logfile" >&2; return 1; }
}

build_libjpeg_turbo() {
  cmake_build libjpeg-turbo "$1" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm
}

build_giflib() {
  local src=$1 out="$build/giflib" f
  rm -rf "$out"; mkdir -p "$out"
  for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
    [ -f "$src/$f.c" ] || continue
    i686-w64-mingw32-gcc-posix -O2 -c "$src/$f.c" -I"$src" -o "$out/$f.o" >>"$logfile" 2>&1 ||
      { log "giflib: $f.c failed"; tail -n 20 "$logfile" >&2; return 1; }
  done
  mkdir -p "$prefix/lib" "$prefix/include"
  rm -f "$prefix/lib/libgif.a"
  i686-w64-mingw32-ar rcs "$prefix/lib/libgif.a" "$out"/*.o
  cp "$src/gif_lib.h" "$prefix/include/"
}

build_tiff() {
  local off=() o
  for o in libdeflate jbig lerc lzma zstd webp jpeg12 old-jpeg pixarlog cxx \
           tiff-tools tiff-tests tiff-contrib tiff-docs; do off+=("-D$o=OFF"); done
  cmake_build tiff "$1" -DBUILD_SHARED_LIBS=OFF -Dzlib=ON -Djpeg=ON "${off[@]}" \
    -DZLIB_USE_STATIC_LIBS=ON -DJPEG_INCLUDE_DIR="$prefix/include" \
    -DJPEG_LIBRARY="$prefix/lib/libjpeg.a"
}

ensure_deb_src
declare -A trees=()
for pkg in "${sources[@]}"; do
  fetch_source "$pkg"
  trees[$pkg]=$tree
done

log "cross-building libjpeg-turbo, libtiff and giflib into $prefix"
rm -rf "$prefix"
mkdir -p "$prefix"
build_libjpeg_turbo "${trees[libjpeg-turbo]}"
build_giflib "${trees[giflib]}"
build_tiff "${trees[tiff]}"

for lib in libjpeg.a libtiff.a libgif.a; do
  [ -f "$prefix/lib/$lib" ] || { log "missing $prefix/lib/$lib after the build"; exit 1; }
done
rm -rf "$build"
touch "$stamp"
log "done in $(( $(date +%s) - started )) s"
