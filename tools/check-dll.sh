#!/usr/bin/env bash
# Checks a built add-in DLL: its machine, its five exports by their plain names, and that it
# imports system DLLs only (the C++ runtime is linked in).
# usage: check-dll.sh DLL i386|x86-64
set -euo pipefail
dll=$1
machine=$2
case "$machine" in
  i386) objdump=i686-w64-mingw32-objdump; format="pei-i386" ;;
  x86-64) objdump=x86_64-w64-mingw32-objdump; format="pei-x86-64" ;;
  *) echo "unknown machine $machine"; exit 2 ;;
esac

fail() { echo "check-dll: $dll: $*"; exit 1; }
[ -f "$dll" ] || fail "missing"
headers=$($objdump -p "$dll")
grep -q "file format $format" <<<"$headers" || fail "not a $machine DLL"

exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[ \t]*\[/{print $NF} t&&/^$/{t=0}' <<<"$headers" | sort)
expected=$(printf '%s\n' DllCanUnloadNow DllGetClassObject DllInstall DllRegisterServer DllUnregisterServer)
[ "$exports" = "$expected" ] || fail "exports are: $(echo $exports)"

system="advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll"
for name in $(awk '/DLL Name:/{print tolower($3)}' <<<"$headers"); do
  grep -qw "$name" <<<"$system" || fail "imports $name, which is not a system DLL"
done
size=$(stat -c %s "$dll")
echo "check-dll: $dll: $machine, five exports, system imports only, $size bytes"
