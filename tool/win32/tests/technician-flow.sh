#!/bin/sh
# A technician's whole visit in one session, against the native virtual
# printer: a TCP/IP printer added with the printer dialog, its cash drawer
# with the drawer dialog, the health check of both through the registered
# service object (the printer prints its check, the drawer is pulsed), a
# logical name added and renamed, the start-up code page set. The registry is
# read back after every step that writes it; at the end the printer's
# transcript holds the check's print and the pulse, and nothing it could not
# read.
# Arguments: those of gui-session.sh, then <native zobelso-virtual-printer>
# <ZOBELSO.dll> <TestOposControlObjects.dll> <regsvr32.sh>.
# Skipped (77) when the native virtual printer has not been built.
. "$(dirname "$0")/gui-session.sh"
. "$(dirname "$0")/printer-session.sh"

start_session
register "$library"
register "$controlObjects"
# The printer dialog points every TCP/IP printer at port 9100 of the address.
start_printer 9100
log_calls
start_tool

main=$(text_of FormD_frmDevice)
title=$(text_of _MSG_Title)
adding=$(text_of FormAP_AddPrinter)
addDrawer=$(text_of FormACD_CashDrawer_Add)
addName=$(text_of FormALN_PrinterLogicName_Add)
renameName=$(text_of FormALN_PrinterLogicName_Modify)
codepage=$(text_of FormSetCodepage_Caption)
root='SOFTWARE\OLEforRetail\ServiceOPOS'
printerKey="$root\\POSPrinter\\TRAIL-3_02"
drawerKey="$root\\CashDrawer\\TRAIL-3_02_01"

# expect_values <key> <name=value>...: each value as `reg query` reads it.
expect_values() {
  key=$1
  shift
  for pair in "$@"; do
    check "${key##*\\} ${pair%%=*}" "$(reg_value "$key" "${pair%%=*}")" "${pair#*=}"
  done
}

# ---- the printer, on the virtual printer's address ----
click_item Device/POSPrinter
await "$main" 'is_main && [ "$(ctl btnAddDevice enabled)" = 1 ]'
click_control btnAddDevice
show "$adding" || fail "no \"$adding\" dialog"
check "next printer name" "$(ctl txtPrinterName text)" TRAIL-3_02
choose_with_keys cmbPortType End
await "$adding" '[ "$(ctl pnlTCPIP visible)" = 1 ]'
type_into txtIP 127.0.0.1
type_into txtLogicName Kitchen
await "$adding" '[ "$(ctl txtLogicName text)" = Kitchen ] && [ "$(ctl txtIP text)" = 127.0.0.1 ]'
click_control btnOK
await_closed "$adding"
expect_values "$printerKey" "=TarrowOposPrinterU1.13" "DriverModel=TRAIL-3" "DriverName=TRAIL-3_02" \
  "PortType=TCP/IP" "PortSettings=127.0.0.1,$printer_port" "CodepageID=437"
expect_values "$root\\POSPrinter" "Kitchen=TRAIL-3_02"
await "$main" 'is_main && [ "$(item Device/POSPrinter/TRAIL-3_02/Kitchen image)" = 4 ]'

# ---- its cash drawer: first kick output, a pulse of its own length ----
click_item Device/CashDrawer
await "$main" 'is_main && [ "$(ctl btnAddDevice visible)$(ctl btnAddDevice enabled)" = 11 ]'
click_control btnAddDevice
show "$addDrawer" || fail "no \"$addDrawer\" dialog"
check "printers carrying a drawer" "$(ctl cmbPrinterName items)" "TRAIL-3_01|TRAIL-3_02"
choose_with_keys cmbPrinterName End
await "$addDrawer" '[ "$(ctl cmbPrinterName text)" = TRAIL-3_02 ]'
check "drawer name follows the printer" "$(ctl txtCashDrawerName text)" TRAIL-3_02_01
click_control chkCashDrawer1
type_into txtHigh 40
type_into txtLow 20
type_into txtLogicName CashBox
await "$addDrawer" '[ "$(ctl txtLogicName text)/$(ctl txtHigh text)/$(ctl txtLow text)" = CashBox/40/20 ]'
check "first output ticked" "$(ctl chkCashDrawer1 checked)$(ctl chkCashDrawer2 checked)" 10
click_button_id 1
await_closed "$addDrawer"
expect_values "$drawerKey" "=TarrowOposPrinterU1.13" "PrinterName=TRAIL-3_02" \
  "CashDrawerName=TRAIL-3_02_01" "DrawerPin=1" "SignalOnTime=40" "SignalOffTime=20"
expect_values "$root\\CashDrawer" "CashBox=TRAIL-3_02_01" "Till=TRAIL-3_01_01"
await "$main" 'is_main && [ "$(item Device/CashDrawer/TRAIL-3_02_01/CashBox image)" = 5 ]'

# ---- the health check of both, on the virtual printer ----
printer_health_check Device/POSPrinter/TRAIL-3_02
drawer_health_check Device/CashDrawer/TRAIL-3_02_01
check "pulse after the printer's check" "$(pulse_after_printer_check)" yes
# The first output is m = 0; the times go out in the key's units.
check "the pulse" "$(grep '^ESC p ' "$gui_work/printer.out")" "ESC p 0 40 20"

# ---- a further logical name for the printer, then renamed ----
click_item Device/POSPrinter/TRAIL-3_02
await "$main" 'is_main && [ "$(ctl btnAddLogicName visible)$(ctl btnAddLogicName enabled)" = 11 ]'
click_control btnAddLogicName
show "$addName" || fail "no \"$addName\" dialog"
type_into txtLogicName Bar
await "$addName" '[ "$(ctl txtLogicName text)" = Bar ]'
click_button_id 1
await_closed "$addName"
expect_values "$root\\POSPrinter" "Bar=TRAIL-3_02" "Kitchen=TRAIL-3_02"
await "$main" 'is_main && [ "$(item Device/POSPrinter/TRAIL-3_02/Bar image)" = 4 ]'

click_item Device/POSPrinter/TRAIL-3_02/Bar
await "$main" 'is_main && [ "$(ctl btnAddLogicName text)" = "$(text_of FormD_ModifyLogicName)" ]'
click_control btnAddLogicName
show "$renameName" || fail "no \"$renameName\" dialog"
check "old name shown" "$(ctl txtLogicName text)" Bar
type_into txtLogicName Patio
await "$renameName" '[ "$(ctl txtLogicName text)" = Patio ]'
click_button_id 1
await_closed "$renameName"
expect_values "$root\\POSPrinter" "Bar=<missing>" "Patio=TRAIL-3_02" "Kitchen=TRAIL-3_02"
await "$main" 'is_main && [ "$(item Device/POSPrinter/TRAIL-3_02/Patio image)" = 4 ]'

# ---- the printer's start-up code page: the last of the list ----
click_item Device/POSPrinter/TRAIL-3_02
await "$main" 'is_main && [ "$(ctl btnSetCodepage visible)$(ctl btnSetCodepage enabled)" = 11 ]'
click_control btnSetCodepage
show "$codepage" || fail "no \"$codepage\" dialog"
check "current code page" "$(ctl cmbCodepage text)" "437 USA"
choose_with_keys cmbCodepage End
await "$codepage" '[ "$(ctl cmbCodepage selection)" = 17 ]'
click_button_id 1
await_closed "$codepage"
expect_values "$printerKey" "CodepageID=1256" "PortSettings=127.0.0.1,$printer_port"
# The other devices' keys are as they were.
expect_values "$root\\POSPrinter\\TRAIL-3_01" "CodepageID=437" "PortSettings=TRAIL-3"
expect_values "$drawerKey" "PrinterName=TRAIL-3_02" "DrawerPin=1"

# 32-bit applications, with the OPOS control objects they load, read the
# registry's 32-bit view: what the tool configured is there as well.
reg_view=/reg:32
expect_values "$printerKey" "=TarrowOposPrinterU1.13" "PortSettings=127.0.0.1,$printer_port" "CodepageID=1256"
expect_values "$root\\POSPrinter" "Patio=TRAIL-3_02" "Kitchen=TRAIL-3_02" "Bar=<missing>"
expect_values "$drawerKey" "PrinterName=TRAIL-3_02" "DrawerPin=1"
reg_view=

await "$main" is_main
click_control btnQuit
await "$title" '[ "$(box_text)" = "$(text_of FormD_MSG_Quit)" ]'
click_button_id 1
tool_ended || fail "the tool did not end after a confirmed Quit"

# The check's print, the pulse and the drawer opening were read from the
# transcript above; nothing in any connection was unreadable.
printer_had_no_invalid_commands
finish
