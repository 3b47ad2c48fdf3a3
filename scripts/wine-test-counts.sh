#!/bin/sh
# Sums the test cases that the Windows test programs ran under wine (ctest
# counts one test per program there).
log="$1/Testing/Temporary/LastTest.log"
[ -f "$log" ] || exit 0
awk '/^\[  PASSED  \] [0-9]+ test/ { passed += $4 }
     /^\[  FAILED  \] [0-9]+ test/ { failed += $4 }
     END { printf "wine: %d passed, %d failed\n", passed, failed }' "$log"
