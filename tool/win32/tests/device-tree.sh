#!/bin/sh
# The main window over known devices: the tree as read from the registry, the
# layout, what each kind of node does to the buttons and the info line, and
# deleting logical names through the confirmation, clicked as a person would.
# Arguments: see gui-session.sh.
. "$(dirname "$0")/gui-session.sh"

start_session
start_tool
main=$(text_of FormD_frmDevice)
title=$(text_of _MSG_Title)
root='SOFTWARE\OLEforRetail\ServiceOPOS'

# The tree: class keys and devices in registry order, logical names under
# their devices, no other device class.
check "tree" "$(tree_items | tr '\n' ';')" \
  "Device 0;Device/CashDrawer 2;Device/CashDrawer/TRAIL-3_01_01 3;\
Device/CashDrawer/TRAIL-3_01_01/Till 5;Device/POSPrinter 0;Device/POSPrinter/FX-310_01 1;\
Device/POSPrinter/FX-310_01/Counter 4;Device/POSPrinter/TRAIL-3_01 1;\
Device/POSPrinter/TRAIL-3_01/Front 4;Device/POSPrinter/TRAIL-3_01/Receipt 4;"
check "device expanded" "$(item Device/POSPrinter/TRAIL-3_01 expanded)" 1

# Where everything sits (client pixels) and what the window starts with.
check "client area" "$(win w)x$(win h)" 404x398
for placement in lblDeviceList:4,3,197,13 tvwDeviceList:4,19,253,353 btnAddDevice:262,19,137,33 \
            btnModifyDevice:262,59,137,33 btnDeleteDevice:262,99,137,33 \
            btnAddLogicName:262,139,137,33 btnSetCodepage:262,179,137,33 \
            btnSelfTest:262,219,137,33 btnQuit:262,338,137,33 lblDeviceInf:3,379,62,13 \
            lblDeviceInfoValue:72,379,177,13; do
  name=${placement%%:*}
  check "$name at" "$(ctl "$name" x),$(ctl "$name" y),$(ctl "$name" w),$(ctl "$name" h)" "${placement#*:}"
done
for name in btnAddDevice btnModifyDevice btnDeleteDevice btnAddLogicName btnSetCodepage; do
  check "$name at start" "$(ctl "$name" enabled)" 0
done
check "health check hidden at start" "$(ctl btnSelfTest visible)" 0
check "quit caption" "$(ctl btnQuit text)" "$(text_of FormD_btnQuit)"

# A printer of this edition.
click_item Device/POSPrinter/TRAIL-3_01
await "$main" 'is_main && [ "$(ctl lblDeviceInfoValue text)" = "TRAIL-3_01 | USB" ]'
for name in btnModifyDevice btnDeleteDevice btnAddLogicName btnSetCodepage btnSelfTest; do
  check "$name on a printer" "$(ctl "$name" visible)$(ctl "$name" enabled)" 11
done
check "add on a printer" "$(ctl btnAddDevice visible)" 0
check "modify caption" "$(ctl btnModifyDevice text)" "$(text_of FormD_ModifyPrinter)"
check "health check caption" "$(ctl btnSelfTest text)" "$(text_of FormD_btnSelfTest1)"
screenshot "$main" main-window.png

# Another maker's printer: shown, but nothing may be done to it.
click_item Device/POSPrinter/FX-310_01
await "$main" 'is_main && [ "$(ctl lblDeviceInfoValue text)" = "$(text_of FormD_TIP_Unsupport)" ]'
for name in btnModifyDevice btnDeleteDevice btnAddLogicName btnSetCodepage btnSelfTest; do
  check "$name on a foreign printer" "$(ctl "$name" enabled)" 0
done

# A cash drawer.
click_item Device/CashDrawer/TRAIL-3_01_01
await "$main" 'is_main && [ "$(ctl lblDeviceInfoValue text)" = "TRAIL-3_01_01" ]'
check "drawer modify caption" "$(ctl btnModifyDevice text)" "$(text_of FormD_ModifyCashDrawer)"
check "drawer health check caption" "$(ctl btnSelfTest text)" "$(text_of FormD_btnSelfTest2)"
check "code page on a drawer" "$(ctl btnSetCodepage visible)" 0

# The printers' class node: only adding.
click_item Device/POSPrinter
await "$main" 'is_main && [ "$(ctl btnModifyDevice visible)" = 0 ]'
check "add on the class" "$(ctl btnAddDevice visible)$(ctl btnAddDevice enabled)" 11
check "add caption" "$(ctl btnAddDevice text)" "$(text_of FormD_AddPrinter)"
for name in btnDeleteDevice btnAddLogicName btnSetCodepage btnSelfTest; do
  check "$name on the class" "$(ctl "$name" visible)" 0
done
check "info on the class" "$(ctl lblDeviceInfoValue text)" ""

# One of two logical names: asked for, then deleted.
show "$main"
click_item Device/POSPrinter/TRAIL-3_01/Receipt
await "$main" 'is_main && [ "$(ctl btnDeleteDevice text)" = "$(text_of FormD_DeleteLogicName)" ]'
check "logical name button" "$(ctl btnAddLogicName text)" "$(text_of FormD_ModifyLogicName)"
check "modify on a logical name" "$(ctl btnModifyDevice visible)" 0
click_control btnDeleteDevice
await "$title" '[ -n "$(ctl_id 65535 text)" ]'
check "delete question" "$(ctl_id 65535 text)" "$(text_of FormD_MSG_DeleteNode)\"Receipt\"?"
check "delete question defaults to Cancel" "$(ctl_id 2 default)$(ctl_id 1 default)" 10
screenshot "$title" delete-question.png
click_button_id 1
await "$main" 'is_main && [ -z "$(item Device/POSPrinter/TRAIL-3_01/Receipt text)" ]'
check "deleted logical name" "$(reg_value "$root\\POSPrinter" Receipt)" "<missing>"
check "other logical name kept" "$(reg_value "$root\\POSPrinter" Front)" TRAIL-3_01
check "device kept" "$(reg_value "$root\\POSPrinter\\TRAIL-3_01" DriverModel)" TRAIL-3

# The last logical name of a device stays.
click_item Device/POSPrinter/TRAIL-3_01/Front
await "$main" 'is_main && [ "$(ctl btnDeleteDevice text)" = "$(text_of FormD_DeleteLogicName)" ]'
click_control btnDeleteDevice
await "$title" '[ -n "$(ctl_id 65535 text)" ]'
click_button_id 1
await "$title" '[ "$(ctl_id 65535 text)" = "$(text_of FormD_LastLogicName1)\n$(text_of FormD_LastLogicName2)" ]'
xdotool key Return
await "$main" 'is_main && [ "$(win enabled)" = 1 ]'
check "last logical name kept" "$(reg_value "$root\\POSPrinter" Front)" TRAIL-3_01
check "last logical name still shown" "$(item Device/POSPrinter/TRAIL-3_01/Front text)" Front

# Quitting asks first; Cancel keeps the tool running, OK ends it.
click_control btnQuit
await "$title" '[ "$(ctl_id 65535 text)" = "$(text_of FormD_MSG_Quit)" ]'
click_button_id 2
await "$main" 'is_main && [ "$(win enabled)" = 1 ]'
click_control btnQuit
await "$title" '[ "$(ctl_id 65535 text)" = "$(text_of FormD_MSG_Quit)" ]'
click_button_id 1
tool_ended || fail "the tool did not end after a confirmed Quit"
finish
