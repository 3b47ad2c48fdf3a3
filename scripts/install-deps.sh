#!/bin/sh
# Installs the Debian packages the build and the tests need; does nothing when
# they are all there. Works as root and through sudo.
#   scripts/install-deps.sh            everything (native, sanitizers, Windows, wine)
#   scripts/install-deps.sh native     only what the native build and the demo need
# Everything also fetches libzint's source package for the Windows builds into
# $ZOBELSO_ZINT_SOURCE (default build/zint/source); scripts/build-zint.sh
# compiles it.
set -eu

# The virtual printer draws receipts with the misc-fixed bitmap fonts
# (xfonts-base, gzip-compressed: zlib1g-dev) and reads their codes back with
# zbar (libzbar-dev) and, PDF417, ZXing (libzxing-dev) in the tests, both
# found through pkg-config.
native="cmake ninja-build g++ make googletest libgtest-dev libgmock-dev libbenchmark-dev clang libzint-dev libstb-dev xfonts-base zlib1g-dev libzbar-dev libzxing-dev pkg-config"
# The 32-bit library is built and checked statically (objdump reads its
# headers); widl takes stdole2.tlb from libwine, which wine64 brings.
# apt-get source unpacks with dpkg-source (dpkg-dev). makensis (nsis) builds
# the installer.
windows="g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools binutils wine wine64 libwine dpkg-dev nsis"
# The setting tool's window tests: a headless X server, synthetic clicks and
# keys, PNG screenshots of the windows (ImageMagick's import), and the
# fonts wine draws dialogs and captions with.
gui="xvfb xdotool imagemagick fonts-wine"

case "${1:-all}" in
  native) wanted="$native" ;;
  *) wanted="$native $windows $gui" ;;
esac

missing=""
for pkg in $wanted; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $pkg"
  fi
done

# Root for apt: ourselves, or sudo; asked for only when something is missing.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "needs root: $* (run as root or install sudo)" >&2
    exit 1
  fi
}

if [ -n "$missing" ]; then
  echo "installing:$missing"
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
fi

[ "${1:-all}" = native ] && exit 0

# libzint's source package for the Windows builds. apt-get source needs a
# deb-src entry: it is copied from the machine's own entry that supplies
# libzint, so the same mirror and keyring serve it and nothing names a host.
zint_source="${ZOBELSO_ZINT_SOURCE:-$(cd "$(dirname "$0")/.." && pwd)/build/zint/source}"
[ -f "$zint_source/backend/zint.h" ] && exit 0

src_entry=/etc/apt/sources.list.d/zobelso-deb-src
if ! apt-cache showsrc zint >/dev/null 2>&1; then
  uri=$(apt-cache policy libzint-dev | awk '$2 ~ /:\/\// && $NF == "Packages" { print $2; exit }')
  if [ -z "$uri" ]; then
    echo "no apt source supplies libzint-dev" >&2
    exit 1
  fi
  tmp=$(mktemp -d)
  # One-line entries: the deb lines of that archive, as deb-src.
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && [ "$f" != "$src_entry.list" ] || continue
    awk -v uri="$uri" '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i == uri) { $1 = "deb-src"; print; next } }' "$f"
  done >"$tmp/entry.list"
  # deb822 stanzas: those listing that archive among their URIs, as deb-src.
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "$src_entry.sources" ] || continue
    awk -v uri="$uri" '
      function flush() {
        if (n && hit && deb) { for (i = 1; i <= n; i++) print line[i]; print "" }
        n = 0; hit = 0; deb = 0
      }
      /^[ \t]*$/ { flush(); next }
      {
        line[++n] = $0
        if ($1 == "URIs:") for (i = 2; i <= NF; i++) if ($i == uri) hit = 1
        if ($1 == "Types:") {
          for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1
          line[n] = "Types: deb-src"
        }
      }
      END { flush() }' "$f"
  done >"$tmp/entry.sources"
  found=""
  for kind in list sources; do
    if [ -s "$tmp/entry.$kind" ]; then
      as_root cp "$tmp/entry.$kind" "$src_entry.$kind"
      as_root chmod 644 "$src_entry.$kind"
      found="$found $src_entry.$kind"
    fi
  done
  rm -rf "$tmp"
  if [ -z "$found" ]; then
    echo "no apt entry for $uri to derive a deb-src entry from" >&2
    exit 1
  fi
  # Only the new entries are read again: the binary indexes are current.
  for entry in $found; do
    as_root apt-get update -q -o Dir::Etc::SourceList="$entry" -o Dir::Etc::SourceParts=- \
      -o APT::Get::List-Cleanup=false
  done
fi

echo "fetching libzint's source package into $zint_source"
parent=$(dirname "$zint_source")
mkdir -p "$parent"
fetch=$(mktemp -d "$parent/fetch.XXXXXX")
(cd "$fetch" && apt-get source -q zint >/dev/null)
rm -rf "$zint_source"
mv "$fetch"/zint-*/ "$zint_source"
rm -rf "$fetch"
