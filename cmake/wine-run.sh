#!/usr/bin/env bash
# Runs one Windows program under 32-bit Wine with the project's prefix, passing
# its exit code through. CTest uses it as the cross-compiling emulator.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../scripts/env.sh"
exe=$1; shift
exec wine "$exe" "$@"
