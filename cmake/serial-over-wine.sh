#!/bin/sh
# A Windows test program drives a TM-T88IV over a wine COM port whose other
# end is the native virtual printer's pseudo-terminal, so that the Win32 serial
# calls run on a real terminal device. Exit 77 (skipped) when the native
# printer has not been built.
#   serial-over-wine.sh <native zobelso-virtual-printer> <windows test program>
set -u
printer=$1
program=$2
here=$(cd "$(dirname "$0")" && pwd)
[ -x "$printer" ] || { echo "no native virtual printer at $printer: skipped"; exit 77; }
"$printer" --help | grep -q -- '--pty' || { echo "$printer predates --pty: skipped"; exit 77; }

: "${WINEPREFIX:=${ZOBELSO_WINEPREFIX:-$HOME/.zobelso-wine}}"
export WINEPREFIX
"$here/wine-run.sh" --prefix-only || exit 1

work=$(mktemp -d)
link="$WINEPREFIX/dosdevices/com47"
fifo="$work/stdin"
mkfifo "$fifo"
# The printer stops when its standard input ends: hold the fifo open here.
exec 9<>"$fifo"
"$printer" --pty --connections 1 <"$fifo" >"$work/out" 2>&1 &
pid=$!
cleanup() {
  exec 9>&-
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  rm -f "$link"
  rm -rf "$work"
}
trap cleanup EXIT

pty=""
for _ in $(seq 1 100); do
  pty=$(sed -n 's/^listening on \(\/dev\/.*\)$/\1/p' "$work/out")
  [ -n "$pty" ] && break
  sleep 0.1
done
[ -n "$pty" ] || { echo "the virtual printer did not start:"; cat "$work/out"; exit 1; }
ln -sfn "$pty" "$link"

ZOBELSO_SERIAL_E2E_PORT=COM47 "$here/wine-run.sh" "$program" \
  --gtest_filter='SerialOverSystemPort.*' >"$work/test" 2>&1
rc=$?
cat "$work/test"
# A skipped case would pass without having used the port.
grep -q '^\[  PASSED  \] 1 test' "$work/test" && ! grep -q '^\[  SKIPPED' "$work/test" || rc=1

# With the session over the printer prints its transcript and stops.
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
cat "$work/out"
[ $rc -eq 0 ] || exit $rc
fail=0
for want in 'TEXT "Coffee"' 'TEXT "2.50"' 'GS V 0' 'invalid commands in all connections: 0'; do
  grep -qF "$want" "$work/out" || { echo "missing in the transcript: $want"; fail=1; }
done
exit $fail
