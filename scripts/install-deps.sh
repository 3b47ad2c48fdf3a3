#!/bin/sh
# Installs the Debian packages the build and the tests need; does nothing when
# they are all there. Works as root and through sudo.
#   scripts/install-deps.sh            everything (native, sanitizers, Windows, wine)
#   scripts/install-deps.sh native     only what the native build and the demo need
set -eu

native="cmake ninja-build g++ make googletest libgtest-dev libgmock-dev libbenchmark-dev clang"
# The 32-bit library is built and checked statically (objdump reads its
# headers); widl takes stdole2.tlb from libwine, which wine64 brings.
windows="g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools binutils wine wine64 libwine"

case "${1:-all}" in
  native) wanted="$native" ;;
  *) wanted="$native $windows" ;;
esac

missing=""
for pkg in $wanted; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $pkg"
  fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  run=""
elif command -v sudo >/dev/null 2>&1; then
  run="sudo"
else
  echo "missing packages:$missing (run as root or install sudo)" >&2
  exit 1
fi

echo "installing:$missing"
$run apt-get update -q
DEBIAN_FRONTEND=noninteractive $run apt-get install -y -q --no-install-recommends $missing
