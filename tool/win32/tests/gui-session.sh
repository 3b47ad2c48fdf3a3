# Sourced by the setting tool's window tests. A session is a headless X
# server, a wine prefix of its own holding known devices, the tool running in
# it, and helpers that read its windows through the window probe and act on
# them with the mouse and the keyboard, as a person would. Every wait polls
# for what should appear, with a bound; nothing is taken as absent because a
# moment passed.
#
# The test is called as
#   <test>.sh <wine-run.sh> <VORNAOPOSPrintSetting.exe> <zobelso-window-probe.exe>
#             <wine prefix> <artefact folder>
# and exits 0 when every check held, 1 otherwise, 77 (skipped) when the
# headless X server or xdotool is not installed.

set -u
gui_run=$1
gui_tool=$2
gui_probe=$3
WINEPREFIX=$4
gui_artefacts=$5
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
gui_here=$(cd "$(dirname "$0")" && pwd)

for gui_need in Xvfb xdotool import; do
  command -v "$gui_need" >/dev/null 2>&1 ||
    { echo "$gui_need is missing (scripts/install-deps.sh all installs it): skipped"; exit 77; }
done

gui_work=$(mktemp -d)
gui_passes=0
gui_failures=0
gui_xvfb_pid=""
gui_tool_pid=""
gui_wait_seconds=60
mkdir -p "$gui_artefacts"

# The texts the tool shows come from its language file; the tests read the
# English section of the copy beside the program, without the quotes that
# keep blanks at a value's ends.
gui_language="$(dirname "$gui_tool")/Language.ini"
text_of() {
  awk -v key="$1" '
    { sub(/\r$/, "") }
    /^\[/ { section = $0; next }
    section == "[1033]" && index($0, key "=") == 1 {
      value = substr($0, length(key) + 2)
      if (value ~ /^".*"$/ && length(value) >= 2) value = substr(value, 2, length(value) - 2)
      print value
      exit
    }' "$gui_language"
}

gui_cleanup() {
  [ -n "$gui_tool_pid" ] && kill "$gui_tool_pid" 2>/dev/null
  # Ends what still runs in this session's own prefix: only what it started.
  wineserver -k >/dev/null 2>&1
  [ -n "$gui_xvfb_pid" ] && kill "$gui_xvfb_pid" 2>/dev/null
  rm -rf "$gui_work"
}
trap gui_cleanup EXIT

# ---- checks ---------------------------------------------------------------

check() {  # check <what> <actual> <expected>
  if [ "$2" = "$3" ]; then
    gui_passes=$((gui_passes + 1))
  else
    echo "FAIL: $1: got '$2', expected '$3'"
    gui_failures=$((gui_failures + 1))
  fi
}

fail() {
  echo "FAIL: $*"
  gui_failures=$((gui_failures + 1))
}

# Ends the test with its verdict and the count of checks.
finish() {
  echo "$gui_passes passed, $gui_failures failed"
  [ "$gui_failures" -eq 0 ]
  exit $?
}

# ---- the session ------------------------------------------------------------

start_display() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$gui_work/display" \
    >"$gui_work/xvfb.log" 2>&1 &
  gui_xvfb_pid=$!
  gui_i=0
  while ! grep -q '[0-9]' "$gui_work/display" 2>/dev/null; do
    gui_i=$((gui_i + 1))
    [ $gui_i -gt 100 ] && { cat "$gui_work/xvfb.log"; echo "Xvfb did not start"; exit 1; }
    sleep 0.1
  done
  DISPLAY=":$(tr -dc '0-9' <"$gui_work/display")"
  export DISPLAY
}

# The prefix is made once and kept; its fonts are wine's own (Tahoma for the
# dialogs, Marlett for the caption buttons), and wine draws the window
# frames, as there is no window manager.
prepare_prefix() {
  "$gui_run" --prefix-only || { echo "the wine prefix could not be made"; exit 1; }
  gui_fonts="$WINEPREFIX/drive_c/windows/Fonts"
  for gui_font in tahoma.ttf tahomabd.ttf marlett.ttf; do
    if [ ! -f "$gui_fonts/$gui_font" ] && [ -f "/usr/share/wine/fonts/$gui_font" ]; then
      cp "/usr/share/wine/fonts/$gui_font" "$gui_fonts/"
    fi
  done
  "$gui_run" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
}

# The OPOS tree holds the known devices and nothing else, in the registry's
# own view; the 32-bit view, which the tool also writes, starts empty.
seed_registry() {
  "$gui_run" reg delete 'HKLM\SOFTWARE\OLEforRetail' /f >/dev/null 2>&1
  "$gui_run" reg delete 'HKLM\SOFTWARE\OLEforRetail' /f /reg:32 >/dev/null 2>&1
  gui_reg=$("$gui_run" winepath -w "$gui_here/known-devices.reg" | tr -d '\r')
  "$gui_run" reg import "$gui_reg" >/dev/null 2>&1 || { echo "known-devices.reg not imported"; exit 1; }
}

start_session() {
  start_display
  prepare_prefix
  seed_registry
}

start_tool() {
  "$gui_run" "$gui_tool" >"$gui_work/tool.log" 2>&1 &
  gui_tool_pid=$!
  show "$(text_of FormD_frmDevice)" || { echo "the tool's main window did not appear"; exit 1; }
}

# Succeeds once the tool's process has ended (bounded).
tool_ended() {
  gui_i=0
  while kill -0 "$gui_tool_pid" 2>/dev/null; do
    gui_i=$((gui_i + 1))
    [ $gui_i -gt $((gui_wait_seconds * 10)) ] && return 1
    sleep 0.1
  done
  wait "$gui_tool_pid" 2>/dev/null
  gui_tool_pid=""
  return 0
}

# ---- reading the windows ----------------------------------------------------

probe() {
  "$gui_run" "$gui_probe" "$@" >"$gui_work/probe.out" 2>&1
  gui_rc=$?
  tr -d '\r' <"$gui_work/probe.out"
  return $gui_rc
}

# Reads the window with this caption (waiting for it to appear) into the
# listing that ctl, item and win answer from.
show() {
  probe show "$1" --wait $((gui_wait_seconds * 1000)) >"$gui_work/show.txt"
}

# field <kind> <selector key=value or empty> <key>: a value from the listing.
field() {
  awk -F'\t' -v kind="$1" -v sel="$2" -v key="$3=" '
    $1 != kind { next }
    {
      hit = (sel == "")
      for (i = 2; i <= NF; i++) if ($i == sel) hit = 1
      if (!hit) next
      for (i = 2; i <= NF; i++) if (index($i, key) == 1) { print substr($i, length(key) + 1); exit }
    }' "$gui_work/show.txt"
}
ctl() { field control "name=$1" "$2"; }
ctl_id() { field control "id=$1" "$2"; }
item() { field item "path=$1" "$2"; }
win() { field window "" "$1"; }
# Every tree item as "<path> <image>", one a line, in display order.
tree_items() {
  awk -F'\t' '$1 == "item" {
    p = ""; m = ""
    for (i = 2; i <= NF; i++) {
      if (index($i, "path=") == 1) p = substr($i, 6)
      if (index($i, "image=") == 1) m = substr($i, 7)
    }
    print p " " m
  }' "$gui_work/show.txt"
}

# Whether the listing is the main window taking input (a message box may
# carry the same caption).
is_main() {
  [ -n "$(ctl tvwDeviceList id)" ] && [ "$(win enabled)" = 1 ]
}

# await <caption> <shell condition over the listing>: reads the window again
# until the condition holds; false (and a failure) when it never does.
await() {
  gui_deadline=$(($(date +%s) + gui_wait_seconds))
  while :; do
    if show "$1" && eval "$2"; then return 0; fi
    if [ "$(date +%s)" -ge "$gui_deadline" ]; then
      fail "\"$1\" never met: $2"
      return 1
    fi
    sleep 0.2
  done
}

# Succeeds once no window has this caption any more.
await_closed() {
  probe closed "$1" --wait $((gui_wait_seconds * 1000)) >/dev/null || fail "\"$1\" stayed open"
}

# ---- acting on the windows ---------------------------------------------------

click_at() {
  xdotool mousemove --sync "$1" "$2" click 1
}

# Clicks the middle of a control of the window read last.
click_control() {
  gui_x=$(ctl "$1" cx)
  gui_y=$(ctl "$1" cy)
  [ -n "$gui_x" ] || { fail "no control $1 to click"; return 1; }
  click_at "$gui_x" "$gui_y"
}

# Clicks a message box's button by its identifier (1 OK, 2 Cancel).
click_button_id() {
  gui_x=$(ctl_id "$1" cx)
  gui_y=$(ctl_id "$1" cy)
  [ -n "$gui_x" ] || { fail "no button $1 to click"; return 1; }
  click_at "$gui_x" "$gui_y"
}

# Clicks the text of a tree item of the window read last.
click_item() {
  gui_x=$(item "$1" cx)
  gui_y=$(item "$1" cy)
  [ -n "$gui_x" ] || { fail "no tree item $1 to click"; return 1; }
  click_at "$gui_x" "$gui_y"
}

# Clicks into an edit field, selects what it holds and types over it.
type_into() {
  click_control "$1" || return 1
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 30 "$2"
}

# Opens a drop-down list with the mouse and picks an entry with the keys.
choose_with_keys() {
  click_control "$1" || return 1
  xdotool key "$2" Return
}

# Keeps a picture of the window (frame included) as a test artefact.
screenshot() {
  show "$1" || { fail "no window \"$1\" to photograph"; return 1; }
  probe paint "$1" >/dev/null
  import -window root -crop "$(win ow)x$(win oh)+$(win ox)+$(win oy)" +repage \
    "$gui_artefacts/$2" || fail "screenshot $2 not taken"
}

# ---- the registry --------------------------------------------------------------

# reg_value <key below HKLM> <value name, empty for the default>: the string,
# or "<missing>". With reg_view=/reg:32 (or /reg:64) it reads that view of
# the registry.
reg_value() {
  if [ -z "$2" ]; then
    "$gui_run" reg query "HKLM\\$1" /ve ${reg_view:-} >"$gui_work/reg.out" 2>&1
  else
    "$gui_run" reg query "HKLM\\$1" /v "$2" ${reg_view:-} >"$gui_work/reg.out" 2>&1
  fi || { echo "<missing>"; return 0; }
  tr -d '\r' <"$gui_work/reg.out" | awk '/ REG_SZ/ { sub(/^.*REG_SZ    /, ""); print; found = 1; exit }
    END { if (!found) print "<missing>" }'
}

reg_key_exists() {
  "$gui_run" reg query "HKLM\\$1" >/dev/null 2>&1
}
