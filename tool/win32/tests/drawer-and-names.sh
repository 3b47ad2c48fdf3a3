#!/bin/sh
# The cash-drawer, logical-name and code-page dialogs driven as a person
# would: a drawer added to the known printer through the refusal of a logical
# name in use, its key read back from the registry and shown again by the
# modify flow; a logical name added through its refusals and then renamed;
# the printer's start-up code page set and shown again.
# Arguments: see gui-session.sh.
. "$(dirname "$0")/gui-session.sh"

start_session
start_tool
main=$(text_of FormD_frmDevice)
title=$(text_of _MSG_Title)
root='SOFTWARE\OLEforRetail\ServiceOPOS'
addDrawer=$(text_of FormACD_CashDrawer_Add)
modifyDrawer=$(text_of FormACD_CashDrawer_Modify)
addName=$(text_of FormALN_PrinterLogicName_Add)
renameName=$(text_of FormALN_PrinterLogicName_Modify)
codepage=$(text_of FormSetCodepage_Caption)
drawerKey="$root\\CashDrawer\\TRAIL-3_01_02"
printerKey="$root\\POSPrinter\\TRAIL-3_01"

# Refuses with the message box showing `text`, then waits for `dialog` again.
expect_refusal() {  # expect_refusal <dialog caption> <text>
  await "$title" '[ -n "$(ctl_id 65535 text)" ]'
  check "refusal" "$(ctl_id 65535 text)" "$2"
  xdotool key Return
  await "$1" '[ "$(win enabled)" = 1 ]'
}

# ---- a cash drawer on the known printer ----
click_item Device/CashDrawer
await "$main" 'is_main && [ "$(ctl btnAddDevice visible)$(ctl btnAddDevice enabled)" = 11 ]'
check "add caption" "$(ctl btnAddDevice text)" "$(text_of FormD_AddCashDrawer)"
click_control btnAddDevice
show "$addDrawer" || fail "no \"$addDrawer\" dialog"
check "client area" "$(win w)x$(win h)" 271x327
# Only this edition's printers carry a drawer; the next serial follows _01.
check "printers" "$(ctl cmbPrinterName items)/$(ctl cmbPrinterName selection)" "TRAIL-3_01/0"
check "device name" "$(ctl txtCashDrawerName text)/$(ctl txtCashDrawerName enabled)" "TRAIL-3_01_02/0"
check "logical name" "$(ctl txtLogicName text)/$(ctl txtLogicName visible)" "TRAIL-3_01_02/1"
check "pulse and time-out" "$(ctl txtHigh text)/$(ctl txtLow text)/$(ctl txtWaitTimeOut text)" "10/10/5000"
check "ticks" "$(ctl chkCashDrawer1 checked)$(ctl chkCashDrawer2 checked)" 00
check "status choice" "$(ctl optStatus0 checked)$(ctl optStatus1 checked)" 10
check "voltage choice" "$(ctl optVoltage0 checked)$(ctl optVoltage1 checked)" 01
check "status texts" "$(ctl optStatus0 text)|$(ctl optStatus1 text)" \
  "$(text_of FormACD_StatusItem0)|$(text_of FormACD_StatusItem1)"
# The fields follow their labels by 5 pixels; the printer list and the name
# field end 10 pixels before the right edge, the unit 5 pixels after its field.
for pair in lblPrinterName:cmbPrinterName lblCashDrawerName:txtCashDrawerName \
            lblWaitTimeOut:txtWaitTimeOut txtWaitTimeOut:lblmm lblLogicName:txtLogicName; do
  label=${pair%%:*}
  field=${pair#*:}
  check "$field after $label" "$(ctl "$field" x)" "$(($(ctl "$label" x) + $(ctl "$label" w) + 5))"
done
check "printer list's right edge" "$(($(ctl cmbPrinterName x) + $(ctl cmbPrinterName w)))" 261
check "name field's right edge" "$(($(ctl txtCashDrawerName x) + $(ctl txtCashDrawerName w)))" 261

click_control chkCashDrawer2
click_control optVoltage0
type_into txtHigh 300
# The time-out field drops every key but digits, backspace and Enter.
click_control txtWaitTimeOut
xdotool key End BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 30 "7x5-"
await "$addDrawer" '[ "$(ctl txtWaitTimeOut text)" = 75 ]'
check "time-out typed" "$(ctl txtWaitTimeOut text)" 75

# A logical name in use among the drawers is refused.
type_into txtLogicName Till
await "$addDrawer" '[ "$(ctl txtLogicName text)" = Till ]'
click_button_id 1
expect_refusal "$addDrawer" "$(text_of FormACD_LogicNameExist)"
check "input kept" "$(ctl txtHigh text)/$(ctl chkCashDrawer2 checked)" 300/1
type_into txtLogicName Drawer2
await "$addDrawer" '[ "$(ctl txtLogicName text)" = Drawer2 ]'
screenshot "$addDrawer" cash-drawer-dialog.png
click_button_id 1
await_closed "$addDrawer"

for pair in "=TarrowOposPrinterU1.13" "PrinterName=TRAIL-3_01" "CapDrawStatus=1" \
            "CashDrawerName=TRAIL-3_01_02" "DrawerPin=2" "OpenVoltage=1" "SignalOnTime=300" \
            "SignalOffTime=10" "WaitForDrawerCloseTimeOut=75"; do
  check "drawer ${pair%%=*}" "$(reg_value "$drawerKey" "${pair%%=*}")" "${pair#*=}"
done
check "no description for a drawer" "$(reg_value "$drawerKey" DeviceDescription)" "<missing>"
check "drawer's logical name" "$(reg_value "$root\\CashDrawer" Drawer2)" TRAIL-3_01_02
check "refused name untouched" "$(reg_value "$root\\CashDrawer" Till)" TRAIL-3_01_01
await "$main" 'is_main && [ "$(item Device/CashDrawer/TRAIL-3_01_02/Drawer2 image)" = 5 ]'

# The modify flow reads the key back; its logical name is not offered.
click_item Device/CashDrawer/TRAIL-3_01_02
await "$main" 'is_main && [ "$(ctl btnModifyDevice visible)$(ctl btnModifyDevice enabled)" = 11 ]'
click_control btnModifyDevice
show "$modifyDrawer" || fail "no \"$modifyDrawer\" dialog"
check "modify: read back" \
  "$(ctl cmbPrinterName text)/$(ctl txtCashDrawerName text)/$(ctl chkCashDrawer1 checked)$(ctl chkCashDrawer2 checked)/$(ctl optVoltage0 checked)/$(ctl txtHigh text)/$(ctl txtWaitTimeOut text)" \
  "TRAIL-3_01/TRAIL-3_01_02/01/1/300/75"
check "modify: no logical name" "$(ctl txtLogicName visible)$(ctl lblLogicName visible)" 00
click_button_id 2
await_closed "$modifyDrawer"
await "$main" 'is_main'

# ---- a further logical name for the printer, then renamed ----
click_item Device/POSPrinter/TRAIL-3_01
await "$main" 'is_main && [ "$(ctl btnAddLogicName visible)$(ctl btnAddLogicName enabled)" = 11 ]'
click_control btnAddLogicName
show "$addName" || fail "no \"$addName\" dialog"
check "client area" "$(win w)x$(win h)" 308x131
check "empty name" "$(ctl txtLogicName text)" ""
type_into txtLogicName "   "
click_button_id 1
expect_refusal "$addName" "$(text_of FormALN_NullLogicName)"
type_into txtLogicName Receipt
await "$addName" '[ "$(ctl txtLogicName text)" = Receipt ]'
click_button_id 1
expect_refusal "$addName" "$(text_of FormALN_LogicNameExist)"
type_into txtLogicName Kitchen
await "$addName" '[ "$(ctl txtLogicName text)" = Kitchen ]'
screenshot "$addName" logical-name-dialog.png
click_button_id 1
await_closed "$addName"
check "added name" "$(reg_value "$root\\POSPrinter" Kitchen)" TRAIL-3_01
await "$main" 'is_main && [ "$(item Device/POSPrinter/TRAIL-3_01/Kitchen image)" = 4 ]'

click_item Device/POSPrinter/TRAIL-3_01/Kitchen
await "$main" 'is_main && [ "$(ctl btnAddLogicName text)" = "$(text_of FormD_ModifyLogicName)" ]'
click_control btnAddLogicName
show "$renameName" || fail "no \"$renameName\" dialog"
check "old name shown" "$(ctl txtLogicName text)" Kitchen
type_into txtLogicName Bar
await "$renameName" '[ "$(ctl txtLogicName text)" = Bar ]'
click_button_id 1
await_closed "$renameName"
check "old name gone" "$(reg_value "$root\\POSPrinter" Kitchen)" "<missing>"
check "new name" "$(reg_value "$root\\POSPrinter" Bar)" TRAIL-3_01
await "$main" 'is_main && [ "$(item Device/POSPrinter/TRAIL-3_01/Bar image)" = 4 ]'

# ---- the printer's start-up code page ----
click_item Device/POSPrinter/TRAIL-3_01
await "$main" 'is_main && [ "$(ctl btnSetCodepage visible)$(ctl btnSetCodepage enabled)" = 11 ]'
click_control btnSetCodepage
show "$codepage" || fail "no \"$codepage\" dialog"
check "client area" "$(win w)x$(win h)" 281x80
check "current code page" "$(ctl cmbCodepage selection)/$(ctl cmbCodepage text)" "0/437 USA"
choose_with_keys cmbCodepage End
await "$codepage" '[ "$(ctl cmbCodepage selection)" = 17 ]'
screenshot "$codepage" codepage-dialog.png
click_button_id 1
await_closed "$codepage"
check "code page written" "$(reg_value "$printerKey" CodepageID)" 1256

# Shown again, the dialog selects what the key holds; Cancel writes nothing.
await "$main" 'is_main'
click_control btnSetCodepage
show "$codepage" || fail "no \"$codepage\" dialog the second time"
check "code page read back" "$(ctl cmbCodepage text)" "1256 Arabic"
choose_with_keys cmbCodepage Home
await "$codepage" '[ "$(ctl cmbCodepage selection)" = 0 ]'
click_button_id 2
await_closed "$codepage"
check "cancel writes nothing" "$(reg_value "$printerKey" CodepageID)" 1256
finish
