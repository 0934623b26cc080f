#!/bin/bash
# The image windows' unit tests (result view, photo editor, detail view,
# fitted painting) on a display of their own: without one they skip.
#   image_windows_test.sh TEST_PROGRAM SHOTS_DIR
. "$(dirname "${BASH_SOURCE[0]}")/gui_lib.sh"

tests=$1
GUI_OUT=$2/image-windows
rm -rf "$GUI_OUT"
mkdir -p "$GUI_OUT"
gui_start 1024x768
(cd "$(dirname "$tests")" && wine "$tests" </dev/null >"$GUI_OUT/windows.txt" 2>&1)
code=$?
check "the image windows test passes (exit $code)" test "$code" = 0
check "it ran five tests" grep -q '\[  PASSED  \] 5 tests' "$GUI_OUT/windows.txt"
check "none skipped" bash -c "! grep -q SKIPPED '$GUI_OUT/windows.txt'"
gui_finish
