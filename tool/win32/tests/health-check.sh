#!/bin/sh
# The health-check button end to end: the tool calls the OPOS control objects
# (a minimal pair registered in this prefix only), which open the registered
# service object on the native virtual printer. First a check without the
# control objects registered, then a printer (the service object's
# interactive box, then the tool's box with the check's text), the cash
# drawer on it (pulsed before its interactive check), and a printer whose
# port cannot be opened.
# Arguments: those of gui-session.sh, then <native zobelso-virtual-printer>
# <ZOBELSO.dll> <TestOposControlObjects.dll> <regsvr32.sh>.
# Skipped (77) when the native virtual printer has not been built.
. "$(dirname "$0")/gui-session.sh"
printer=$6
library=$7
controlObjects=$8
regsvr32=$9
[ -x "$printer" ] || { echo "no native virtual printer at $printer: skipped"; exit 77; }

# The control objects' library links everything it needs into itself.
if command -v objdump >/dev/null 2>&1; then
  imports=$(objdump -p "$controlObjects" | sed -n 's/^[ \t]*DLL Name: //p' | tr '[:upper:]' '[:lower:]' |
            sort | tr '\n' ' ')
  check "control objects' imports" "$imports" "advapi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll "
fi

start_session
registered=""
unregister() {
  for dll in $registered; do sh "$regsvr32" "$gui_run" "$dll" /u || fail "regsvr32 /u $dll failed"; done
  registered=""
}
register() {
  sh "$regsvr32" "$gui_run" "$1" || { echo "regsvr32 $1 failed"; unregister; exit 1; }
  registered="$registered $1"
}
register "$library"
# A registration an earlier run left behind would hide the first check.
sh "$regsvr32" "$gui_run" "$controlObjects" /u >/dev/null 2>&1

# The printer on a free port; it stops when its standard input ends, which a
# process of its own holds open (wine's processes inherit this shell's).
mkfifo "$gui_work/printer-in"
"$printer" --port 0 <"$gui_work/printer-in" >"$gui_work/printer.out" 2>&1 &
printer_pid=$!
sleep 86400 >"$gui_work/printer-in" &
holder_pid=$!
stop_printer() {
  [ -n "$printer_pid" ] || return 0
  kill "$holder_pid" 2>/dev/null
  gui_i=0
  while kill -0 "$printer_pid" 2>/dev/null && [ $gui_i -lt 100 ]; do
    gui_i=$((gui_i + 1))
    sleep 0.1
  done
  kill "$printer_pid" 2>/dev/null
  printer_pid=""
}
trap 'stop_printer; unregister; gui_cleanup' EXIT
gui_i=0
until grep -q '^listening on 127.0.0.1:[0-9]*$' "$gui_work/printer.out" 2>/dev/null; do
  gui_i=$((gui_i + 1))
  if [ $gui_i -gt 100 ] || ! kill -0 "$printer_pid" 2>/dev/null; then
    cat "$gui_work/printer.out"
    echo "the virtual printer did not start listening"
    exit 1
  fi
  sleep 0.1
done
port=$(sed -n 's/^listening on 127.0.0.1:\([0-9]*\)$/\1/p' "$gui_work/printer.out")

# TRAIL-3_02 on the virtual printer with a drawer, TRAIL-3_03 on a port where
# nothing listens.
printer_key() {  # printer_key <device> <port settings>
  cat <<KEY

[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter\\$1]
@="TarrowOposPrinterU1.13"
"DeviceDescription"="Tarrow POS Printer"
"DriverModel"="TRAIL-3"
"DriverName"="$1"
"BitMapMode"="RasterBitImage"
"PortType"="TCP/IP"
"ReadTimeout"="2000"
"WriteTimeout"="2000"
"InputBufSize"="2048"
"OutputBufSize"="2048"
"Notes"=""
"PortSettings"="$2"
"CodepageID"="437"
KEY
}
{
  echo 'Windows Registry Editor Version 5.00'
  printer_key TRAIL-3_02 "127.0.0.1,$port"
  printer_key TRAIL-3_03 "127.0.0.1,1"
  cat <<'KEY'

[HKEY_LOCAL_MACHINE\SOFTWARE\OLEforRetail\ServiceOPOS\CashDrawer\TRAIL-3_02_01]
@="TarrowOposPrinterU1.13"
"PrinterName"="TRAIL-3_02"
"CapDrawStatus"="1"
"CashDrawerName"="TRAIL-3_02_01"
"DrawerPin"="1"
"OpenVoltage"="1"
"SignalOnTime"="10"
"SignalOffTime"="10"
"WaitForDrawerCloseTimeOut"="5000"
KEY
} >"$gui_work/health-devices.reg"
"$gui_run" reg import "$("$gui_run" winepath -w "$gui_work/health-devices.reg" | tr -d '\r')" >/dev/null 2>&1 ||
  { echo "the devices were not imported"; exit 1; }

# Every call the tool makes on a control object, with its result code.
ZOBELSO_TEST_CO_LOG=$("$gui_run" winepath -w "$gui_work/calls.log" | tr -d '\r')
export ZOBELSO_TEST_CO_LOG
calls() { tr -d '\r' <"$gui_work/calls.log" 2>/dev/null | tr '\n' ';'; }

start_tool
main=$(text_of FormD_frmDevice)
title=$(text_of _MSG_Title)
box_text() { ctl_id 65535 text; }
printer_box='OPOS Check Health:INTERACTIVE!\nPlease click the '"'"'OK'"'"' button to continue...'
drawer_box='OPOS CashDrawer Check Health:INTERACTIVE!\nPlease click the '"'"'OK'"'"' button to continue...'

# Selects a device and presses the health-check button.
check_health_of() {
  click_item "$1" || return 1
  await "$main" 'is_main && [ "$(ctl btnSelfTest visible)$(ctl btnSelfTest enabled)" = 11 ]' || return 1
  click_control btnSelfTest
}

# Waits for the box with this caption and text, then presses its OK.
answer_box() {  # answer_box <caption> <text>
  expected_text=$2
  await "$1" '[ "$(box_text)" = "$expected_text" ]' || return 1
  click_button_id 1
}

# Until the printer has written the transcript of a closed connection that
# holds this line.
await_transcript() {
  gui_i=0
  until grep -qF "$1" "$gui_work/printer.out"; do
    gui_i=$((gui_i + 1))
    [ $gui_i -gt $((gui_wait_seconds * 10)) ] && { fail "missing in the transcript: $1"; return 1; }
    sleep 0.1
  done
}

# Without control objects installed the environment's own text is shown, in
# a box with the program's caption, and the tool goes on.
check_health_of Device/POSPrinter/TRAIL-3_02
await VORNAOPOSPrintSetting '[ -n "$(box_text)" ]' &&
  printf "without control objects: %s\n" "$(box_text)"
click_button_id 1
await "$main" is_main
check "calls without control objects" "$(calls)" ""
register "$controlObjects"

# The printer: the service object's interactive box, then the check's text.
check_health_of Device/POSPrinter/TRAIL-3_02
answer_box Opos "$printer_box"
await "$title" 'case "$(box_text)" in "INTERACTIVE HealthCheck: Complete."*) true ;; *) false ;; esac' &&
  printf "printer's check text: %s\n" "$(box_text)"
click_button_id 1
# The main window takes input again as soon as the box is gone; the closing
# calls follow.
expected_calls="POSPrinter Open 0;POSPrinter ClaimDevice 0;POSPrinter DeviceEnabled=1 0;\
POSPrinter CheckHealth 0;POSPrinter DeviceEnabled=0 0;POSPrinter ReleaseDevice 0;POSPrinter Close 0;"
await "$main" 'is_main && [ "$(calls)" = "$expected_calls" ]' || echo "calls: $(calls)"
await_transcript 'TEXT "OPOS Printer CheckHealth INTERACTIVE:"'
await_transcript 'TEXT "Manufacturer: '
: >"$gui_work/calls.log"

# The drawer: pulsed as it is opened, so before the interactive check, which
# is still under way while its box is shown.
check_health_of Device/CashDrawer/TRAIL-3_02_01
await Opos '[ "$(box_text)" = "$drawer_box" ]'
check "drawer calls until its interactive check" "$(calls)" \
  "CashDrawer Open 0;CashDrawer ClaimDevice 0;CashDrawer DeviceEnabled=1 0;CashDrawer OpenDrawer 0;"
click_button_id 1
answer_box "$title" 'INTERACTIVE HealthCheck: Success!'
expected_calls="CashDrawer Open 0;CashDrawer ClaimDevice 0;CashDrawer DeviceEnabled=1 0;\
CashDrawer OpenDrawer 0;CashDrawer CheckHealth 0;CashDrawer DeviceEnabled=0 0;CashDrawer ReleaseDevice 0;\
CashDrawer Close 0;"
await "$main" 'is_main && [ "$(calls)" = "$expected_calls" ]' || echo "calls: $(calls)"
await_transcript 'DRAWER OPENED'
# The pulse came on a connection after the one of the printer's check.
check "pulse after the printer's check" "$(awk '
  index($0, "TEXT \"OPOS Printer CheckHealth INTERACTIVE:\"") == 1 { text = NR }
  /^ESC p / && text && !pulse { pulse = NR }
  /^DRAWER OPENED$/ && pulse && !opened { opened = NR }
  END { print (text && pulse > text && opened == pulse + 1) ? "yes" : "no" }' "$gui_work/printer.out")" yes
: >"$gui_work/calls.log"

# A printer whose port cannot be opened: the open's reason, then the
# check's own message; nothing is left open.
check_health_of Device/POSPrinter/TRAIL-3_03
answer_box "$title" 'PosPrinter Failed Open: Configured port is invalid or inaccessible!'
answer_box "$title" "Cann't print anything due to printer fail!"
await "$main" is_main
check "unopenable printer calls" "$(calls | sed 's/Open 10[0-9];/Open failed;/')" "POSPrinter Open failed;"

click_control btnQuit
await "$title" '[ "$(box_text)" = "$(text_of FormD_MSG_Quit)" ]'
click_button_id 1
tool_ended || fail "the tool did not end after a confirmed Quit"

stop_printer
cat "$gui_work/printer.out"
grep -qF 'invalid commands in all connections: 0' "$gui_work/printer.out" && gui_passes=$((gui_passes + 1)) ||
  fail "the printer got invalid commands"
finish
