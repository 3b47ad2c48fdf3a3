#!/bin/sh
# Registers the library in the wine prefix the tests run in, as an installer
# does: regsvr32 with the library's Windows path. Extra arguments (/u) go to
# regsvr32 before the path.
# Usage: regsvr32.sh <wine-run.sh> <library> [regsvr32 options]
set -e
run="$1"
library="$2"
shift 2
windowsPath=$("$run" winepath -w "$library" | tr -d '\r')
exec "$run" regsvr32 "$@" /s "$windowsPath"
