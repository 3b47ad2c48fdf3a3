#!/bin/sh
# The printer dialog driven as a person would: a TCP/IP printer added through
# the refusals of a bad address and of a logical name in use, the device key
# read back from the registry, then modified and deleted.
# Arguments: see gui-session.sh.
. "$(dirname "$0")/gui-session.sh"

start_session
start_tool
main=$(text_of FormD_frmDevice)
title=$(text_of _MSG_Title)
adding=$(text_of FormAP_AddPrinter)
modifying=$(text_of FormAP_AddModifyPrinter)
classKey='SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter'
key="$classKey\\TRAIL-3_02"

# Adding from the printers' class node: the next free device name.
click_item Device/POSPrinter
await "$main" 'is_main && [ "$(ctl btnAddDevice enabled)" = 1 ]'
click_control btnAddDevice
show "$adding" || fail "no \"$adding\" dialog"
check "client area" "$(win w)x$(win h)" 260x303
check "drivers" "$(ctl cmbPrinterDriver items)/$(ctl cmbPrinterDriver selection)" "TRAIL-3|TRAIL-3e/0"
check "device name" "$(ctl txtPrinterName text)/$(ctl txtPrinterName enabled)" "TRAIL-3_02/0"
check "logical name" "$(ctl txtLogicName text)" TRAIL-3_02
check "port types" "$(ctl cmbPortType items)/$(ctl cmbPortType text)" "USB|COM|LPT|TCP/IP/USB"
check "USB panel shown" "$(ctl pnlUSB visible)$(ctl pnlCOM visible)$(ctl pnlLPT visible)$(ctl pnlTCPIP visible)" 1000
# Each panel: 5 pixels right of the group box, 5 below the port-type list.
panelAt="$(($(ctl grbPortInf x) + 5)),$(($(ctl cmbPortType y) + $(ctl cmbPortType h) + 5)),237,77"
for panel in pnlUSB pnlCOM pnlLPT pnlTCPIP; do
  check "$panel at" "$(ctl $panel x),$(ctl $panel y),$(ctl $panel w),$(ctl $panel h)" "$panelAt"
done
check "baud rates" "$(ctl cmbBaudRate items)/$(ctl cmbBaudRate text)" \
  "4800|9600|19200|38400|57600|115200/115200"
check "OK is the default button" "$(ctl btnOK default)" 1

# The last port type, picked with the keys in the open list.
choose_with_keys cmbPortType End
await "$adding" '[ "$(ctl pnlTCPIP visible)" = 1 ]'
check "TCP/IP chosen" "$(ctl cmbPortType text)" TCP/IP
check "only the TCP/IP panel" "$(ctl pnlUSB visible)$(ctl pnlCOM visible)$(ctl pnlLPT visible)" 000

# An address with two dots is refused, and the dialog keeps what was typed.
type_into txtIP 10.0.1
await "$adding" '[ "$(ctl txtIP text)" = 10.0.1 ]'
click_control btnOK
await "$title" '[ "$(ctl_id 65535 text)" = "$(text_of FormAP_IPErr)" ]'
xdotool key Return
await "$adding" '[ "$(win enabled)" = 1 ]'
check "address kept after the refusal" "$(ctl txtIP text)" 10.0.1

# A logical name in use is refused.
type_into txtIP 127.0.0.1
type_into txtLogicName Front
await "$adding" '[ "$(ctl txtLogicName text)" = Front ]'
click_control btnOK
await "$title" '[ "$(ctl_id 65535 text)" = "$(text_of FormAP_LogicNameErr)" ]'
xdotool key Return
await "$adding" '[ "$(win enabled)" = 1 ]'

type_into txtLogicName Kitchen
type_into txtNotes "back counter"
await "$adding" '[ "$(ctl txtNotes text)" = "back counter" ]'
screenshot "$adding" printer-dialog.png
click_control btnOK
await_closed "$adding"

# The device key as the service object will read it.
for pair in "=TarrowOposPrinterU1.13" "DeviceDescription=Tarrow POS Printer" \
            "DriverModel=TRAIL-3" "DriverName=TRAIL-3_02" "BitMapMode=RasterBitImage" \
            "PortType=TCP/IP" "ReadTimeout=2000" "WriteTimeout=2000" "InputBufSize=2048" \
            "OutputBufSize=2048" "Notes=back counter" "PortSettings=127.0.0.1,9100" \
            "CodepageID=437"; do
  check "added ${pair%%=*}" "$(reg_value "$key" "${pair%%=*}")" "${pair#*=}"
done
check "added logical name" "$(reg_value "$classKey" Kitchen)" TRAIL-3_02
check "refused logical name untouched" "$(reg_value "$classKey" Front)" TRAIL-3_01
await "$main" 'is_main && [ "$(item Device/POSPrinter/TRAIL-3_02/Kitchen image)" = 4 ]'
check "new printer node" "$(item Device/POSPrinter/TRAIL-3_02 image)" 1

# Modifying: model and logical name fixed, the rest read from the key; a save
# starts the printer again with code page 437.
"$gui_run" reg add "HKLM\\$key" /v CodepageID /d 850 /f >/dev/null 2>&1
click_item Device/POSPrinter/TRAIL-3_02
await "$main" 'is_main && [ "$(ctl lblDeviceInfoValue text)" = "TRAIL-3_02 | TCP/IP" ]'
click_control btnModifyDevice
show "$modifying" || fail "no \"$modifying\" dialog"
check "model fixed" "$(ctl cmbPrinterDriver text)/$(ctl cmbPrinterDriver enabled)" TRAIL-3/0
check "logical name fixed" "$(ctl txtLogicName text)/$(ctl txtLogicName enabled)" Kitchen/0
check "port read back" "$(ctl cmbPortType text)/$(ctl pnlTCPIP visible)/$(ctl txtIP text)" \
  TCP/IP/1/127.0.0.1
check "notes read back" "$(ctl txtNotes text)" "back counter"
type_into txtIP 127.0.0.2
await "$modifying" '[ "$(ctl txtIP text)" = 127.0.0.2 ]'
click_control btnOK
await_closed "$modifying"
check "modified settings" "$(reg_value "$key" PortSettings)" 127.0.0.2,9100
check "code page reset" "$(reg_value "$key" CodepageID)" 437
check "logical name rewritten" "$(reg_value "$classKey" Kitchen)" TRAIL-3_02
await "$main" 'is_main && [ "$(item Device/POSPrinter/TRAIL-3_02 selected)" = 1 ]'

# Deleting the printer, confirmed by a click on OK.
click_item Device/POSPrinter/TRAIL-3_02
await "$main" 'is_main && [ "$(ctl btnDeleteDevice visible)$(ctl btnDeleteDevice enabled)" = 11 ]'
click_control btnDeleteDevice
await "$title" '[ -n "$(ctl_id 65535 text)" ]'
check "delete question" "$(ctl_id 65535 text)" "$(text_of FormD_MSG_DeleteNode)\"TRAIL-3_02\"?"
click_button_id 1
await "$main" 'is_main && [ -z "$(item Device/POSPrinter/TRAIL-3_02 text)" ]'
reg_key_exists "$key" && fail "the device key is still there"
check "its logical name" "$(reg_value "$classKey" Kitchen)" "<missing>"
check "the other printer" "$(reg_value "$classKey\\TRAIL-3_01" DriverModel)" TRAIL-3
check "the drawer on the other printer" \
  "$(reg_value 'SOFTWARE\OLEforRetail\ServiceOPOS\CashDrawer\TRAIL-3_01_01' PrinterName)" TRAIL-3_01

# The system menu's Close ends the program as well.
xdotool mousemove --sync "$(ctl tvwDeviceList cx)" "$(ctl tvwDeviceList cy)" key alt+F4
tool_ended || fail "the tool did not end on Alt+F4"
finish
