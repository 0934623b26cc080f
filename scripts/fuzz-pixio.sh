#!/usr/bin/env bash
# Builds the PIXIO decoder fuzzers, the skin-file reader's fuzzer and the
# album-file fuzzer (clang, libFuzzer, ASan + UBSan) in $VMD_BUILD/fuzz and
# runs each for SECONDS (default 3) on its seed corpus, which the libraries'
# own writers make at build time. Exits non-zero when a fuzzer finds a crash;
# the reproducer lands in $VMD_BUILD/fuzz/findings.
#   scripts/fuzz-pixio.sh          a brief run of every fuzzer (what test.sh does)
#   scripts/fuzz-pixio.sh 600      ten minutes each
#   scripts/fuzz-pixio.sh 600 jpeg only the JPEG decoder
#   scripts/fuzz-pixio.sh 600 album only the album files
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
seconds=${1:-3}
only=${2:-}
dir="$VMD_BUILD/fuzz"
jobs=${VMD_JOBS:-$(nproc)}

command -v clang++ >/dev/null || { echo "fuzz: clang++ not installed" >&2; exit 1; }
mkdir -p "$dir"
CC=clang CXX=clang++ cmake -S "$VMD_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVMD_FUZZ=ON -DVMD_SANITIZE=ON >"$dir/configure.log" 2>&1 || { tail -n 30 "$dir/configure.log"; exit 1; }
targets=(bmp tiff pcx gif tga jpeg pcd pcd-4base fpx any skin album acquire)
[ -n "$only" ] && targets=("$only")
# The fuzzer program of target $1.
program() {
  case $1 in
    skin) echo fuzz_skin_file ;;
    album) echo fuzz_album ;;
    acquire) echo fuzz_memory_transfer ;;
    *) echo "fuzz_pixio_$1" ;;
  esac
}
programs=()
for t in "${targets[@]}"; do programs+=("$(program "$t")"); done
[[ " ${targets[*]} " == *" album "* ]] && programs+=(album_fuzz_corpus)
cmake --build "$dir" -j "$jobs" --target "${programs[@]}" \
  >"$dir/build.log" 2>&1 || { grep -E -A5 'error|FAILED' "$dir/build.log" | head -n 40; exit 1; }

fuzz="$dir/tests/platform/pixio/fuzz"
mkdir -p "$dir/findings" "$dir/corpus"
failed=0
for t in "${targets[@]}"; do
  seeds=("$fuzz/seeds/$t")
  binary="$fuzz/fuzz_pixio_$t"
  [ "$t" = any ] && seeds=("$fuzz"/seeds/{bmp,tiff,pcx,gif,tga,jpeg,pcd,fpx}/)
  if [ "$t" = skin ]; then
    seeds=("$dir/tests/tools/skin/fuzz/seeds")
    binary="$dir/tests/tools/skin/fuzz/$(program skin)"
  fi
  if [ "$t" = album ]; then
    seeds=("$dir/tests/app/album/fuzz/seeds")
    binary="$dir/tests/app/album/fuzz/fuzz_album"
  fi
  if [ "$t" = acquire ]; then
    seeds=()  # the source's answers start from nothing
    binary="$dir/tests/acquire/fuzz/$(program acquire)"
  fi
  work="$dir/corpus/$t"
  mkdir -p "$work"
  log="$dir/fuzz-$t.log"
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$dir/findings/$t-" "$work" "${seeds[@]}" >"$log" 2>&1
  rc=$?
  runs=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | sed -E 's/^#([0-9]+).*/\1/')
  if [ $rc -ne 0 ]; then
    echo "fuzz $t: FAILED after ${runs:-?} runs (see $log)"
    grep -E 'ERROR|SUMMARY|artifact' "$log" | head -n 5
    failed=1
  else
    echo "fuzz $t: ${runs:-0} runs in ${seconds}s, no findings"
  fi
done
exit $failed
