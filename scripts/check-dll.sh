#!/bin/sh
# Static checks of a built service-object library, for builds that cannot run
# it (the 32-bit one) and as a gate on the 64-bit one:
#   scripts/check-dll.sh <ZOBELSO.dll> <pe32|pe32+>
# - the PE format of the wanted bitness;
# - the five COM entry points exported under their plain names (a 32-bit
#   stdcall name left decorated, _Name@n, is not found by GetProcAddress);
# - imports only from DLLs that every Windows has (no compiler runtime DLL
#   that would have to ship beside it);
# - the type library as resource TYPELIB 1 and a version block.
# OBJDUMP may name the objdump to use (it must know the pei formats).
set -u

dll="${1:-}"
kind="${2:-}"
objdump="${OBJDUMP:-objdump}"

case "$kind" in
  pe32) format="pei-i386"; magic="(PE32)" ;;
  pe32+) format="pei-x86-64"; magic="(PE32+)" ;;
  *) echo "usage: $0 <dll> <pe32|pe32+>" >&2; exit 2 ;;
esac
if [ ! -f "$dll" ]; then
  echo "check-dll: $dll: no such file" >&2
  exit 1
fi

dump=$("$objdump" -p "$dll" 2>&1) || {
  echo "check-dll: $dll: $objdump cannot read it:" >&2
  echo "$dump" >&2
  exit 1
}

failures=""
fail() { failures="$failures
  $1"; }

# Format and optional-header magic.
echo "$dump" | grep -q "file format $format\$" ||
  fail "not $format: $(echo "$dump" | grep -m1 'file format' | sed 's/.*file format //')"
echo "$dump" | grep -q "^Magic.*$magic" || fail "optional header is not $magic"

# Exported names, one a line.
exports=$(echo "$dump" | awk '
  /^\[Ordinal\/Name Pointer\] Table/ { inside = 1; next }
  inside && /^[ \t]*$/ { inside = 0 }
  inside { sub(/^[ \t]*\[[ 0-9]*\][ \t]*/, ""); print }')
for name in DllGetClassObject DllCanUnloadNow DllRegisterServer DllUnregisterServer DllInstall; do
  echo "$exports" | grep -qx "$name" || {
    decorated=$(echo "$exports" | grep -E "^_?$name(@[0-9]+)?\$" | head -n 1)
    if [ -n "$decorated" ]; then
      fail "export $name is decorated: $decorated"
    else
      fail "export $name missing"
    fi
  }
done
odd=$(echo "$exports" | grep -E '@[0-9]+$' | tr '\n' ' ' | sed 's/ $//')
[ -z "$odd" ] || fail "decorated exports: $odd"

# Imported DLLs against the system's.
imports=$(echo "$dump" | sed -n 's/^[ \t]*DLL Name: //p')
[ -n "$imports" ] || fail "no import table found"
for lib in $imports; do
  lower=$(echo "$lib" | tr '[:upper:]' '[:lower:]')
  case "$lower" in
    kernel32.dll | advapi32.dll | ole32.dll | oleaut32.dll | user32.dll | ws2_32.dll | \
    msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll | api-ms-win-core-*.dll | gdi32.dll | \
    gdiplus.dll | shell32.dll | shlwapi.dll | setupapi.dll | cfgmgr32.dll | version.dll | \
    comctl32.dll | comdlg32.dll | bcrypt.dll | ntdll.dll | winspool.drv) ;;
    *) fail "imports $lib, which is not a system DLL" ;;
  esac
done

# Resources: a top-level type entry, then its name entries one level deeper.
resources=$(echo "$dump" | awk '
  /^The \.rsrc Resource Directory section:/ { inside = 1; next }
  !inside { next }
  /^[0-9a-f]+   Entry: / {
    type = $0
    if (type ~ /Entry: name:/) { sub(/.*\]: /, "", type); sub(/, Value.*/, "", type) }
    else { sub(/.*ID: /, "", type); sub(/,.*/, "", type) }
    next
  }
  /^[0-9a-f]+     Entry: ID: / {
    id = $0; sub(/.*ID: /, "", id); sub(/,.*/, "", id)
    print type " " id
  }')
echo "$resources" | grep -qx "TYPELIB 0x000001" || fail "no resource TYPELIB 1"
echo "$resources" | grep -q "^0x000010 " || fail "no version resource"

if [ -n "$failures" ]; then
  echo "check-dll: $dll ($kind) failed:$failures" >&2
  exit 1
fi
echo "check-dll: $dll: $kind, COM entry points exported undecorated, imports only" \
  "$(echo "$imports" | tr '\n' ' ')and TYPELIB 1 present"
