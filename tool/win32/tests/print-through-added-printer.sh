#!/bin/sh
# End to end: a TCP/IP printer added with the setting tool, nothing else
# written to the registry, prints through the registered service object.
# The native virtual printer listens where the tool points every TCP/IP
# printer (port 9100 of the address typed); the print program opens the
# printer by the logical name typed in the dialog, as a POS application does.
# Arguments: those of gui-session.sh, then <native zobelso-virtual-printer>
# <ZOBELSO.dll> <zobelso-print-through-logical-name.exe> <regsvr32.sh>.
# Skipped (77) when the native virtual printer has not been built.
. "$(dirname "$0")/gui-session.sh"
. "$(dirname "$0")/printer-session.sh"
printProgram=$8

start_session
register "$library"
start_printer 9100

start_tool
main=$(text_of FormD_frmDevice)
title=$(text_of _MSG_Title)
adding=$(text_of FormAP_AddPrinter)
click_item Device/POSPrinter
await "$main" 'is_main && [ "$(ctl btnAddDevice enabled)" = 1 ]'
click_control btnAddDevice
show "$adding" || fail "no \"$adding\" dialog"
choose_with_keys cmbPortType End
await "$adding" '[ "$(ctl pnlTCPIP visible)" = 1 ]'
type_into txtIP 127.0.0.1
type_into txtLogicName Kitchen
await "$adding" '[ "$(ctl txtLogicName text)" = Kitchen ] && [ "$(ctl txtIP text)" = 127.0.0.1 ]'
click_control btnOK
await_closed "$adding"
await "$main" 'is_main && [ "$(item Device/POSPrinter/TRAIL-3_02/Kitchen image)" = 4 ]'
click_control btnQuit
await "$title" '[ "$(ctl_id 65535 text)" = "$(text_of FormD_MSG_Quit)" ]'
click_button_id 1
tool_ended || fail "the tool did not end after a confirmed Quit"

line="Printed through the setting tool"
"$gui_run" "$printProgram" Kitchen "$line" >"$gui_work/print.out" 2>&1
rc=$?
tr -d '\r' <"$gui_work/print.out"
check "print program" "$rc" 0
for step in OpenService ClaimDevice DeviceEnabled PrintNormal CutPaper ReleaseDevice CloseService; do
  check "$step" "$(tr -d '\r' <"$gui_work/print.out" | sed -n "s/^$step //p")" 0
done

# The printer writes a connection's transcript once it closes.
await_transcript "TEXT \"$line\""
stop_printer
cat "$gui_work/printer.out"
for want in "TEXT \"$line\"" 'GS V' 'invalid commands in all connections: 0'; do
  grep -qF "$want" "$gui_work/printer.out" && gui_passes=$((gui_passes + 1)) ||
    fail "missing in the transcript: $want"
done

unregister
finish
