#!/bin/sh
# Cross-compiles libzint's backend (only the static library: no PNG, no Qt,
# no frontend, no tests) for one Windows target and installs lib/ and
# include/ under a prefix. Does nothing when the prefix already holds it, so
# repeated builds cost nothing.
#   scripts/build-zint.sh <toolchain file> <prefix> [<source folder>]
# The source folder defaults to $ZOBELSO_ZINT_SOURCE, else build/zint/source,
# where scripts/install-deps.sh fetches the distribution's source package.
set -eu

if [ $# -lt 2 ]; then
  echo "usage: $0 <toolchain file> <prefix> [<source folder>]" >&2
  exit 2
fi
toolchain=$1
prefix=$2
root=$(cd "$(dirname "$0")/.." && pwd)
source=${3:-${ZOBELSO_ZINT_SOURCE:-$root/build/zint/source}}
library="$prefix/lib/libzint-static.a"

[ -f "$library" ] && exit 0

if [ ! -f "$source/backend/zint.h" ]; then
  echo "libzint's source is not in $source: run scripts/install-deps.sh all first" >&2
  exit 1
fi

echo "building libzint for $(basename "$toolchain" .cmake) into $prefix"
work="$prefix.build"
rm -rf "$work"
cmake -S "$source" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DZINT_STATIC=ON -DZINT_USE_PNG=OFF -DZINT_USE_QT=OFF -DZINT_TEST=OFF >/dev/null
cmake --build "$work" -j "${JOBS:-2}" --target zint-static >/dev/null
mkdir -p "$prefix/include" "$prefix/lib"
cp "$source/backend/zint.h" "$prefix/include/"
# The library comes last: its presence marks a complete prefix.
cp "$work/backend/libzint-static.a" "$library.tmp"
mv "$library.tmp" "$library"
rm -rf "$work"
