# Sourced after gui-session.sh by the window tests that reach the native
# virtual printer through the registered service object: the printer on a
# port of this machine, registrations undone at the end whatever happens, the
# calls the tool makes on the test control objects, and the health check
# driven through its boxes.
#
# The test is called with the arguments of gui-session.sh, then
#   <native zobelso-virtual-printer> <ZOBELSO.dll> <a file of the test's own>
#   <regsvr32.sh>
# and is skipped (77) when the native virtual printer has not been built.
# The file of the test's own is the test control objects' library for the
# health-check tests.

printer=$6
library=$7
controlObjects=$8
regsvr32=$9
[ -x "$printer" ] || { echo "no native virtual printer at $printer: skipped"; exit 77; }

printer_pid=""
holder_pid=""
registered=""

unregister() {
  for dll in $registered; do sh "$regsvr32" "$gui_run" "$dll" /u || fail "regsvr32 /u $dll failed"; done
  registered=""
}
register() {
  sh "$regsvr32" "$gui_run" "$1" || { echo "regsvr32 $1 failed"; unregister; exit 1; }
  registered="$registered $1"
}

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

# start_printer <port, 0 for a free one>: sets printer_port once it listens.
# The printer stops when its standard input ends, which a process of its own
# holds open (wine's processes inherit this shell's descriptors).
start_printer() {
  mkfifo "$gui_work/printer-in"
  "$printer" --port "$1" <"$gui_work/printer-in" >"$gui_work/printer.out" 2>&1 &
  printer_pid=$!
  sleep 86400 >"$gui_work/printer-in" &
  holder_pid=$!
  gui_i=0
  until grep -q '^listening on 127.0.0.1:[0-9]*$' "$gui_work/printer.out" 2>/dev/null; do
    gui_i=$((gui_i + 1))
    if [ $gui_i -gt 100 ] || ! kill -0 "$printer_pid" 2>/dev/null; then
      cat "$gui_work/printer.out"
      echo "the virtual printer did not start listening on port $1 (is it in use?)"
      exit 1
    fi
    sleep 0.1
  done
  printer_port=$(sed -n 's/^listening on 127.0.0.1:\([0-9]*\)$/\1/p' "$gui_work/printer.out")
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

# Stops the printer and counts the verdict of its final line.
printer_had_no_invalid_commands() {
  stop_printer
  cat "$gui_work/printer.out"
  grep -qF 'invalid commands in all connections: 0' "$gui_work/printer.out" &&
    gui_passes=$((gui_passes + 1)) || fail "the printer got invalid commands"
}

# Every call the tool makes on a control object from now on, with its result
# code (once the prefix is made; before the tool starts).
log_calls() {
  ZOBELSO_TEST_CO_LOG=$("$gui_run" winepath -w "$gui_work/calls.log" | tr -d '\r')
  export ZOBELSO_TEST_CO_LOG
}
calls() { tr -d '\r' <"$gui_work/calls.log" 2>/dev/null | tr '\n' ';'; }
forget_calls() { : >"$gui_work/calls.log"; }

# ---- the health check, once the tool runs ($main and $title are set) ----

printer_box='OPOS Check Health:INTERACTIVE!\nPlease click the '"'"'OK'"'"' button to continue...'
drawer_box='OPOS CashDrawer Check Health:INTERACTIVE!\nPlease click the '"'"'OK'"'"' button to continue...'
printer_calls="POSPrinter Open 0;POSPrinter ClaimDevice 0;POSPrinter DeviceEnabled=1 0;\
POSPrinter CheckHealth 0;POSPrinter DeviceEnabled=0 0;POSPrinter ReleaseDevice 0;POSPrinter Close 0;"
drawer_calls_until_check="CashDrawer Open 0;CashDrawer ClaimDevice 0;CashDrawer DeviceEnabled=1 0;\
CashDrawer OpenDrawer 0;"
drawer_calls="${drawer_calls_until_check}CashDrawer CheckHealth 0;CashDrawer DeviceEnabled=0 0;\
CashDrawer ReleaseDevice 0;CashDrawer Close 0;"
box_text() { ctl_id 65535 text; }

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

# The printer's check: the service object's interactive box, then the tool's
# box with the check's text; the main window takes input again as soon as
# that box is gone, and the closing calls follow.
printer_health_check() {  # printer_health_check <tree path>
  forget_calls
  check_health_of "$1"
  answer_box Opos "$printer_box"
  await "$title" 'case "$(box_text)" in "INTERACTIVE HealthCheck: Complete."*) true ;; *) false ;; esac' &&
    printf "printer's check text: %s\n" "$(box_text)"
  click_button_id 1
  await "$main" 'is_main && [ "$(calls)" = "$printer_calls" ]' || echo "calls: $(calls)"
  await_transcript 'TEXT "OPOS Printer CheckHealth INTERACTIVE:"'
  await_transcript 'TEXT "Manufacturer: '
}

# The drawer's check: pulsed as it is opened, so before the interactive
# check, which is still under way while its box is shown.
drawer_health_check() {  # drawer_health_check <tree path>
  forget_calls
  check_health_of "$1"
  await Opos '[ "$(box_text)" = "$drawer_box" ]'
  check "drawer calls until its interactive check" "$(calls)" "$drawer_calls_until_check"
  click_button_id 1
  answer_box "$title" 'INTERACTIVE HealthCheck: Success!'
  await "$main" 'is_main && [ "$(calls)" = "$drawer_calls" ]' || echo "calls: $(calls)"
  await_transcript 'DRAWER OPENED'
}

# Whether the printer's check text came first and the pulse, on a later
# connection, was followed at once by the drawer opening.
pulse_after_printer_check() {
  awk '
    index($0, "TEXT \"OPOS Printer CheckHealth INTERACTIVE:\"") == 1 { text = NR }
    /^ESC p / && text && !pulse { pulse = NR }
    /^DRAWER OPENED$/ && pulse && !opened { opened = NR }
    END { print (text && pulse > text && opened == pulse + 1) ? "yes" : "no" }' "$gui_work/printer.out"
}
