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
. "$(dirname "$0")/printer-session.sh"

# The control objects' library links everything it needs into itself.
if command -v objdump >/dev/null 2>&1; then
  imports=$(objdump -p "$controlObjects" | sed -n 's/^[ \t]*DLL Name: //p' | tr '[:upper:]' '[:lower:]' |
            sort | tr '\n' ' ')
  check "control objects' imports" "$imports" "advapi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll "
fi

start_session
register "$library"
# A registration an earlier run left behind would hide the first check.
sh "$regsvr32" "$gui_run" "$controlObjects" /u >/dev/null 2>&1

start_printer 0
port=$printer_port

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

log_calls
start_tool
main=$(text_of FormD_frmDevice)
title=$(text_of _MSG_Title)

# Without control objects installed the environment's own text is shown, in
# a box with the program's caption, and the tool goes on.
check_health_of Device/POSPrinter/TRAIL-3_02
await VORNAOPOSPrintSetting '[ -n "$(box_text)" ]' &&
  printf "without control objects: %s\n" "$(box_text)"
click_button_id 1
await "$main" is_main
check "calls without control objects" "$(calls)" ""
register "$controlObjects"

printer_health_check Device/POSPrinter/TRAIL-3_02
drawer_health_check Device/CashDrawer/TRAIL-3_02_01
check "pulse after the printer's check" "$(pulse_after_printer_check)" yes
forget_calls

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

printer_had_no_invalid_commands
finish
