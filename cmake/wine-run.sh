#!/bin/sh
# Runs a Windows test program under wine with a private prefix and without
# the Mono/Gecko installers, so that ctest can drive it like a native one.
# With --prefix-only it only makes sure the prefix exists.
: "${WINEPREFIX:=${ZOBELSO_WINEPREFIX:-$HOME/.zobelso-wine}}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wine wineboot -i >/dev/null 2>&1
  # The prefix is complete only once the server has written it out.
  wineserver -w >/dev/null 2>&1 || true
fi
[ "${1:-}" = "--prefix-only" ] && exit 0
exec wine "$@"
