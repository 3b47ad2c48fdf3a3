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
printer=$6
library=$7
printProgram=$8
regsvr32=$9
[ -x "$printer" ] || { echo "no native virtual printer at $printer: skipped"; exit 77; }

start_session
sh "$regsvr32" "$gui_run" "$library" || { echo "regsvr32 failed"; exit 1; }

# The printer stops when its standard input ends. A process of its own holds
# the pipe open, not this shell, whose descriptors wine's processes inherit.
mkfifo "$gui_work/printer-in"
"$printer" --port 9100 <"$gui_work/printer-in" >"$gui_work/printer.out" 2>&1 &
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
trap 'stop_printer; gui_cleanup' EXIT
gui_i=0
until grep -q '^listening on 127.0.0.1:9100$' "$gui_work/printer.out"; do
  gui_i=$((gui_i + 1))
  if [ $gui_i -gt 100 ] || ! kill -0 "$printer_pid" 2>/dev/null; then
    cat "$gui_work/printer.out"
    echo "the virtual printer is not listening on 127.0.0.1:9100 (is the port in use?)"
    stop_printer
    exit 1
  fi
  sleep 0.1
done

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
gui_i=0
until grep -qF "TEXT \"$line\"" "$gui_work/printer.out" || [ $gui_i -gt 100 ]; do
  gui_i=$((gui_i + 1))
  sleep 0.1
done
stop_printer
cat "$gui_work/printer.out"
for want in "TEXT \"$line\"" 'GS V' 'invalid commands in all connections: 0'; do
  grep -qF "$want" "$gui_work/printer.out" && gui_passes=$((gui_passes + 1)) ||
    fail "missing in the transcript: $want"
done

sh "$regsvr32" "$gui_run" "$library" /u || fail "regsvr32 /u failed"
finish
