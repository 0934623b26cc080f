#!/usr/bin/env bash
# Runs every test of both builds: installs what is missing, builds the native
# tree (plain and with AddressSanitizer + UBSan) and the Win32 tree, and runs
# CTest in each; the Win32 tests run under Wine. Exits non-zero on any failure.
#   scripts/test.sh            everything
#   scripts/test.sh native     only the native trees (no Wine)
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
only=${1:-all}
jobs=${VMD_JOBS:-$(nproc)}

"$here/setup.sh" || { echo "test: set-up failed" >&2; exit 1; }

declare -a summary=()
failed=0
total_passed=0
total_failed=0

# configure_and_build NAME CMAKE-ARGS...
configure_and_build() {
  local name=$1; shift
  local dir="$VMD_BUILD/$name"
  echo "== building $name"
  cmake -S "$VMD_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" \
    >"$VMD_BUILD/$name-configure.log" 2>&1 || { tail -n 40 "$VMD_BUILD/$name-configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs" >"$VMD_BUILD/$name-build.log" 2>&1 ||
    { grep -E -A5 'error|FAILED' "$VMD_BUILD/$name-build.log" | head -n 60; return 1; }
}

# run_ctest NAME [ctest args...]
run_ctest() {
  local name=$1; shift
  local dir="$VMD_BUILD/$name"
  local log="$VMD_BUILD/$name-ctest.log"
  echo "== testing $name"
  (cd "$dir" && ctest --output-on-failure -j "$jobs" "$@") >"$log" 2>&1
  local rc=$?
  grep -E 'tests passed|Total Test time|\*\*\*Failed|Not Run|Timeout|Exception' "$log" | head -n 40
  local line p f
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    local all
    all=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    p=$((all - f))
    total_passed=$((total_passed + p))
    total_failed=$((total_failed + f))
    summary+=("$name: $p passed, $f failed")
  else
    summary+=("$name: no result")
  fi
  if [ $rc -ne 0 ]; then
    echo "---- failures in $name (full log: $log)"
    sed -n '/The following tests FAILED/,$p' "$log" | head -n 40
    failed=1
  fi
}

mkdir -p "$VMD_BUILD"

if configure_and_build native; then run_ctest native; else failed=1; summary+=("native: build failed"); fi
if configure_and_build native-asan -DVMD_SANITIZE=ON; then
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
    run_ctest native-asan -LE slow
else failed=1; summary+=("native-asan: build failed"); fi

# The decoder fuzzers, a few seconds each (scripts/fuzz-pixio.sh SECONDS for longer runs).
echo "== fuzzing the image decoders"
if "$here/fuzz-pixio.sh" "${VMD_FUZZ_SECONDS:-3}"; then summary+=("fuzz: no findings"); else
  failed=1; summary+=("fuzz: findings or build failure (see $VMD_BUILD/fuzz)"); fi

if [ "$only" != native ] && ! vmd_runs_32bit; then
  # Some virtual machines' kernels refuse 32-bit programs, Wine's loader among
  # them. The program, its libraries and its tests still cross-compile; the
  # steps that run Win32 programs cannot, and the summary says so.
  if configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$VMD_ROOT/cmake/mingw-i686.cmake" \
       -DVMD_RUN_WIN32_PROGRAMS=OFF; then
    summary+=("win32: built, NOT RUN: this machine cannot run 32-bit programs")
    not_run=" (the Win32 tests were not run: this machine cannot run 32-bit programs)"
  else failed=1; summary+=("win32: build failed"); fi
elif [ "$only" != native ]; then
  if configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$VMD_ROOT/cmake/mingw-i686.cmake" \
       -DVMD_RUN_WIN32_PROGRAMS=ON; then
    # One warm wineserver for the whole run: without it every test waits for
    # Wine's background processes to let go of CTest's pipe.
    # No desktop display for it or the tests: test programs that open windows
    # stay off your screen (the real-window tests bring their own, tests/gui).
    saved_display=${DISPLAY-}
    unset DISPLAY
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
    trap 'wineserver -k >/dev/null 2>&1' EXIT
    run_ctest win32
    [ -n "$saved_display" ] && export DISPLAY=$saved_display
    wineserver -k >/dev/null 2>&1
    trap - EXIT
  else failed=1; summary+=("win32: build failed"); fi
fi

echo
echo "== summary"
printf '  %s\n' "${summary[@]}"
echo "test: $total_passed passed, $total_failed failed${not_run-}"
exit $failed
