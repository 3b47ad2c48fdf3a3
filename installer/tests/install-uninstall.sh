#!/bin/sh
# The installer on a machine that has never seen ZOBELSO: a fresh wine prefix
# of this test's own, a device key a technician configured beforehand, a
# silent installation, printing through the installed 64-bit library, then a
# silent uninstallation that must leave no file and no class registration
# behind, and the device key untouched.
#
# Usage: install-uninstall.sh <ZOBELSO-setup.exe> <the x64 ZOBELSO.dll it ships>
#          <the x86 ZOBELSO.dll it ships> <zobelso_com_e2e.exe>
#          <zobelso-print-through-logical-name.exe> <native zobelso-virtual-printer>
#          <work folder>
# Exit status 0 when every check held, 1 otherwise, 77 (skipped) when all the
# rest held but the native virtual printer has not been built.
set -u
installer=$1
x64Library=$2
x86Library=$3
e2eProgram=$4
printProgram=$5
nativePrinter=$6
work=$7

# The prefix is created anew on every run: the test is about a fresh
# machine. Start-menu entries stay inside it (no desktop files for the host).
export WINEPREFIX="$work/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"

passes=0
failures=0
pass() { passes=$((passes + 1)); echo "ok: $1"; }
fail() { failures=$((failures + 1)); echo "FAILED: $1"; }
check() { if eval "$2"; then pass "$1"; else fail "$1"; fi; }

printer_pid=""
holder_pid=""
stop_printer() {
  [ -n "$printer_pid" ] || return 0
  # The printer ends when its standard input does, and writes its summary.
  kill "$holder_pid" 2>/dev/null
  i=0
  while kill -0 "$printer_pid" 2>/dev/null && [ $i -lt 100 ]; do
    i=$((i + 1))
    sleep 0.1
  done
  kill "$printer_pid" 2>/dev/null
  printer_pid=""
}
cleanup() {
  stop_printer
  # Ends only this prefix's server, which this test started.
  wineserver -k >/dev/null 2>&1
}
trap cleanup EXIT

rm -rf "$work"
mkdir -p "$work"
wine wineboot -i >/dev/null 2>&1
wineserver -w

drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/Program Files/ZOBELSO"
startMenu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/ZOBELSO"
clsidKey='HKLM\Software\Classes\CLSID\{502264C6-EADD-45C2-9920-CDB8BF95FB72}'
progIdKey='HKLM\Software\Classes\TarrowOposPrinterU1.13'
typeLibKey='HKLM\Software\Classes\TypeLib\{5FF87DA1-50F8-40A5-9CE3-17D0194AEBCE}'
uninstallKey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZOBELSO'
oposRoot='HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS'
device=INSTALLED-3_01
logicalName=Counter

reg_value() {  # <key> <value name, or empty for the default value>
  if [ -n "$2" ]; then
    wine reg query "$1" /v "$2" 2>/dev/null
  else
    wine reg query "$1" /ve 2>/dev/null
  fi | tr -d '\r' | awk '$2 ~ /^REG_/ { sub(/^[ \t]*[^ \t]+[ \t]+REG_[A-Z_]+[ \t]+/, ""); print; exit }'
}
reg_has_key() { wine reg query "$1" >/dev/null 2>&1; }

# The native virtual printer on a free port, and the device key that points
# the technician's logical name at it, written before anything is installed.
if [ -x "$nativePrinter" ]; then
  mkfifo "$work/printer-in"
  "$nativePrinter" --port 0 <"$work/printer-in" >"$work/printer.out" 2>&1 &
  printer_pid=$!
  # A process of its own holds the pipe open: wine's processes would inherit
  # this shell's descriptors and keep the printer alive past its end.
  sleep 86400 >"$work/printer-in" &
  holder_pid=$!
  i=0
  until grep -q '^listening on 127.0.0.1:[0-9]*$' "$work/printer.out"; do
    i=$((i + 1))
    if [ $i -gt 100 ] || ! kill -0 "$printer_pid" 2>/dev/null; then
      cat "$work/printer.out"
      echo "the native virtual printer did not start"
      exit 1
    fi
    sleep 0.1
  done
  port=$(sed -n 's/^listening on 127.0.0.1:\([0-9]*\)$/\1/p' "$work/printer.out")
else
  port=9100
fi
cat >"$work/device.reg" <<EOF
Windows Registry Editor Version 5.00

[$oposRoot\\POSPrinter]
"$logicalName"="$device"

[$oposRoot\\POSPrinter\\$device]
@="TarrowOposPrinterU1.13"
"DeviceDescription"="Tarrow POS Printer"
"DriverModel"="TRAIL-3"
"DriverName"="$device"
"BitMapMode"="RasterBitImage"
"PortType"="TCP/IP"
"ReadTimeout"="2000"
"WriteTimeout"="2000"
"InputBufSize"="2048"
"OutputBufSize"="2048"
"Notes"="configured before the installation"
"PortSettings"="127.0.0.1,$port"
"CodepageID"="437"
EOF
wine reg import "$(wine winepath -w "$work/device.reg" | tr -d '\r')" >/dev/null 2>&1
check "the device key is written before the installation" \
  '[ "$(reg_value "$oposRoot\\POSPrinter\\$device" PortSettings)" = "127.0.0.1,$port" ]'

# Installation.
wine "$installer" /S
check "the silent installation exits with 0" "[ $? -eq 0 ]"
for file in ZOBELSO.dll x86/ZOBELSO.dll VORNAOPOSPrintSetting.exe Language.ini uninstall.exe; do
  check "installed: $file" '[ -f "$installed/$file" ]'
done
check "the installed x64 library is the one built" 'cmp -s "$installed/ZOBELSO.dll" "$x64Library"'
check "the installed x86 library is the one built" 'cmp -s "$installed/x86/ZOBELSO.dll" "$x86Library"'
check "the Start-menu entry for the setting tool" '[ -f "$startMenu/OPOS Printer Setting.lnk" ]'
check "the class is registered for the installed x64 library" \
  '[ "$(reg_value "$clsidKey\\InprocServer32" "")" = "C:\\Program Files\\ZOBELSO\\ZOBELSO.dll" ]'
check "the ProgID names the class" \
  '[ "$(reg_value "$progIdKey\\CLSID" "")" = "{502264C6-EADD-45C2-9920-CDB8BF95FB72}" ]'
check "the type library is registered" 'reg_has_key "$typeLibKey"'
check "Add/Remove Programs runs the installed uninstaller silently" \
  '[ "$(reg_value "$uninstallKey" QuietUninstallString)" = "\"C:\\Program Files\\ZOBELSO\\uninstall.exe\" /S" ]'
# Which 32-bit registration happened depends on the system: with a 32-bit
# regsvr32 the 32-bit view holds the class, without one the log says so.
if [ -f "$drive_c/windows/syswow64/regsvr32.exe" ]; then
  check "the class is registered in the 32-bit view for the x86 library" \
    'wine reg query "$clsidKey\\InprocServer32" /ve /reg:32 2>/dev/null | tr -d "\r" | grep -qF "C:\\Program Files\\ZOBELSO\\x86\\ZOBELSO.dll"'
else
  check "the installation log notes the missing 32-bit regsvr32" \
    'iconv -f UTF-16LE -t UTF-8 "$installed/install.log" | grep -q "no 32-bit regsvr32"'
fi

# A point-of-sale program reaches the installed library through its
# registration: the module COM loads is the registered, installed one.
wine "$e2eProgram" \
  --gtest_filter='ReceiptThroughRegisteredClass.*:ModuleEntryPoints.TheRegistrationNamesTheLoadedModule' \
  >"$work/e2e.out" 2>&1
rc=$?
tr -d '\r' <"$work/e2e.out"
check "a receipt through the installed library (zobelso_com_e2e)" "[ $rc -eq 0 ]"

if [ -n "$printer_pid" ]; then
  line="Printed through the installed library"
  wine "$printProgram" "$logicalName" "$line" >"$work/print.out" 2>&1
  rc=$?
  tr -d '\r' <"$work/print.out"
  check "the print program, by the logical name configured before" "[ $rc -eq 0 ]"
  # The printer writes a connection's transcript once the connection closes.
  i=0
  until grep -qF "TEXT \"$line\"" "$work/printer.out" || [ $i -gt 100 ]; do
    i=$((i + 1))
    sleep 0.1
  done
  stop_printer
  cat "$work/printer.out"
  for want in "TEXT \"$line\"" 'GS V' 'invalid commands in all connections: 0'; do
    check "at the native virtual printer: $want" 'grep -qF "$want" "$work/printer.out"'
  done
fi

# Uninstallation. The uninstaller runs from a copy of itself, so the wait
# is for every process of the prefix, not for the one started.
wine "C:\\Program Files\\ZOBELSO\\uninstall.exe" /S
check "the silent uninstallation exits with 0" "[ $? -eq 0 ]"
wineserver -w
check "no installed file is left" '[ ! -e "$installed" ]'
check "no Start-menu entry is left" '[ ! -e "$startMenu" ]'
check "no class registration is left" '! reg_has_key "$clsidKey"'
check "no ProgID is left" '! reg_has_key "$progIdKey" && ! reg_has_key "HKLM\\Software\\Classes\\TarrowOposPrinterU1"'
check "no type library registration is left" '! reg_has_key "$typeLibKey"'
check "no Add/Remove Programs entry is left" '! reg_has_key "$uninstallKey"'
# The uninstaller's own copy, which it ran from, is gone too.
check "no copy of the uninstaller is left in the temporary folders" \
  '[ -z "$(find "$drive_c/users" -iname "Un_*.exe" 2>/dev/null)" ]'
check "the device key is kept" \
  '[ "$(reg_value "$oposRoot\\POSPrinter\\$device" "")" = TarrowOposPrinterU1.13 ] && [ "$(reg_value "$oposRoot\\POSPrinter\\$device" PortSettings)" = "127.0.0.1,$port" ]'
check "the logical name is kept" '[ "$(reg_value "$oposRoot\\POSPrinter" "$logicalName")" = "$device" ]'

echo "installer: $passes passed, $failures failed"
[ $failures -eq 0 ] || exit 1
if [ ! -x "$nativePrinter" ]; then
  echo "no native virtual printer at $nativePrinter (make native builds it): printing to it skipped"
  exit 77
fi
exit 0
