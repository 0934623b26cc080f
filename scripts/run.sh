#!/usr/bin/env bash
# The program's main job: installs what is missing, builds both trees, then
# starts the program vmd3.exe (scripts/start-program.sh): in a window on the
# display, or on a virtual screen with a screenshot when there is none.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/env.sh"
"$here/setup.sh"
jobs=${VMD_JOBS:-$(nproc)}
runs=ON
vmd_runs_32bit || runs=OFF
cmake -S "$VMD_ROOT" -B "$VMD_BUILD/win32" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_TOOLCHAIN_FILE="$VMD_ROOT/cmake/mingw-i686.cmake" -DVMD_RUN_WIN32_PROGRAMS=$runs >/dev/null
if [ "$runs" = OFF ]; then
  # Wine's 32-bit loader cannot run here, nor the build steps that use it.
  cmake --build "$VMD_BUILD/win32" -j "$jobs" --target vmd3 >/dev/null
  echo "run: built $VMD_BUILD/win32/app/vmd3.exe, but this machine's kernel refuses 32-bit" >&2
  echo "run: programs, so Wine cannot start it here; run it on a machine that allows them." >&2
  exit 1
fi
cmake --build "$VMD_BUILD/win32" -j "$jobs" >/dev/null
cmake -S "$VMD_ROOT" -B "$VMD_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$VMD_BUILD/native" -j "$jobs" >/dev/null
exe="$VMD_BUILD/win32/app/vmd3.exe"
if [ ! -f "$exe" ]; then
  echo "run: built the engine ($VMD_BUILD/win32/engine/seamcore.dll, $VMD_BUILD/native/engine/libseamcore.so);"
  echo "run: the program vmd3.exe arrives with a later change."
  exit 0
fi
exec "$here/start-program.sh" "$exe"
