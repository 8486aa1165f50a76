#!/usr/bin/env bash
# The installer under Wine, in prefixes of its own below build/installer-test: a silent install
# into a fresh prefix (files, per-user keys, the IDE's add-in entry, the uninstall entry, nothing
# under HKLM); the stand-in IDE loading the add-in from where the installer put it; the add-in in
# use during an install or uninstall; an upgrade over an older version; a silent uninstall that
# leaves the user's favourites and nothing else.
#
# The shipped installer is 32-bit and runs where the kernel runs 32-bit programs
# (tools/probe-32bit.sh). Elsewhere the same script is built for the amd64 stub around the 64-bit
# DLL and runs under 64-bit Wine, and the run says so.
#
# Needs the dist built first (make dist, from build/win32) and the stand-in IDE of the preset
# that runs here (build/win32 or build/win64); MARROWBY_WIN32_BUILD and MARROWBY_WIN64_BUILD name
# other build folders of those presets, MARROWBY_DIST_DIR another dist folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
# The stand-in IDE makes windows: one display for the whole run.
[ -n "${DISPLAY:-}" ] || exec cmake/with-display bash "$0" "$@"

work=$root/build/installer-test
dist=${MARROWBY_DIST_DIR:-$root/dist}
mkdir -p "$work"

if why=$(bash tools/probe-32bit.sh); then
  arch=x86
  build=${MARROWBY_WIN32_BUILD:-$root/build/win32}
  export MARROWBY_WINE_ARCH=win32
  echo "installer tests: the shipped 32-bit installer and DLL under 32-bit Wine"
else
  arch=amd64
  build=${MARROWBY_WIN64_BUILD:-$root/build/win64}
  echo "installer tests: $why; so the same installer script built for the amd64 stub around" \
       "the 64-bit DLL, under 64-bit Wine (the shipped 32-bit installer is not run here)"
fi
shipped=${MARROWBY_WIN32_BUILD:-$root/build/win32}
version=$(sed -n 's/^#define MARROWBY_VERSION "\(.*\)"$/\1/p' "$shipped/server/Version.h")
version_text=$(sed -n 's/^#define MARROWBY_VERSION_TEXT "\(.*\)"$/\1/p' "$shipped/server/Version.h")
dll=$build/Marrowby.dll
standin=$build/standin/standin.exe
for f in "$dll" "$standin" "$shipped/Marrowby.dll"; do
  [ -f "$f" ] || { echo "missing $f: build Marrowby and standin" >&2; exit 1; }
done
if [ $arch = amd64 ]; then
  # Stripped, as the shipped DLL is: the win64 preset keeps its debug information.
  x86_64-w64-mingw32-strip -o "$work/Marrowby64.dll" "$dll"
  dll=$work/Marrowby64.dll
fi

failures=0
check() {  # what expected actual
  if [ "$2" != "$3" ]; then
    echo "FAIL $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}

# --- What make dist made, on any machine -------------------------------------------------------
# A 32-bit installer (machine 332, i386, in its PE header), the zip of the shipped DLL and the
# README, and one version in the DLL's record, the installer's and the names.
setup=$dist/Marrowby-$version-setup.exe
zip=$dist/Marrowby-$version.zip
for f in "$setup" "$zip"; do
  [ -f "$f" ] || { echo "missing $f: run make dist first" >&2; exit 1; }
done
pe=$(od -An -tu4 -j60 -N4 "$setup" | tr -d ' ')
check "the installer's machine" 332 "$(od -An -tu2 -j$((pe + 4)) -N2 "$setup" | tr -d ' ')"
check "the zip's files" "Marrowby.dll README.md" "$(unzip -Z1 "$zip" | sort | tr '\n' ' ' | sed 's/ $//')"
unzip -p "$zip" Marrowby.dll | cmp -s - "$shipped/Marrowby.dll" ||
  check "the zip's Marrowby.dll" "$shipped/Marrowby.dll" "another file"
# The README make dist shipped, as the installed one must be (the tree's may have moved on since).
unzip -p "$zip" README.md >"$work/README.md"
export MARROWBY_README=$work/README.md
record() { strings -el "$1" | grep -A1 -x "$2" | sed -n 2p; }
check "the DLL's FileVersion" "$version_text" "$(record "$shipped/Marrowby.dll" FileVersion)"
# The About box's line, read as it reads it: major, minor and the fourth number (the revision) of
# the record's fixed file version, which follows its signature 0xFEEF04BD and structure version.
fixed=$(LC_ALL=C grep -obUaP '\xBD\x04\xEF\xFE' "$shipped/Marrowby.dll" | head -1 | cut -d: -f1)
read -r ms ls < <(od -An -tu4 -j$((fixed + 8)) -N8 "$shipped/Marrowby.dll")
check "the About box's version line" "Version $version" \
  "Version $((ms >> 16)).$((ms & 0xFFFF)).$((ls & 0xFFFF))"
check "the installer's ProductVersion" "$version" "$(record "$setup" ProductVersion)"
echo "SIZE $(basename "$setup"): $(stat -c %s "$setup") bytes"

seconds() { date +%s%N; }
elapsed() { local ms=$(( ($(seconds) - $1) / 1000000 )); printf '%d.%d' $((ms / 1000)) $((ms % 1000 / 100)); }

# The installers under test: the current one (the shipped one on x86), and an older version
# whose DLL differs from the current one in its bytes (a trailer after the image, which the
# loader ignores), so that an upgrade that leaves the old file in place is seen.
older=0.9.0
cp "$dll" "$work/older.dll"
echo "an older build" >>"$work/older.dll"
start=$(seconds)
if [ $arch = amd64 ]; then
  setup=$work/Marrowby-$version-setup-amd64.exe
  bash installer/build-setup.sh "$setup" "$dll" "$version" amd64
fi
bash installer/build-setup.sh "$work/Marrowby-$older-setup-$arch.exe" "$work/older.dll" "$older" $arch
# A newer version whose DLL cannot be registered (it is no DLL at all).
printf 'not a DLL\n' >"$work/broken.dll"
bash installer/build-setup.sh "$work/Marrowby-99.0.0-setup-$arch.exe" "$work/broken.dll" 99.0.0 $arch
echo "TIME build of the test installers: $(elapsed "$start") s"
[ $arch = amd64 ] && echo "SIZE $(basename "$setup"): $(stat -c %s "$setup") bytes"

# A prefix booted once per run, copied for each scenario: each starts from a fresh one.
template=$work/template
export WINEPREFIX=$template
rm -rf "$template" "$template.lock"
cmake/wine-run reg query 'HKCU\Software' >/dev/null
timeout 60 /usr/lib/wine/wineserver -w || true
fresh_prefix() {
  export WINEPREFIX=$work/$1
  rm -rf "$WINEPREFIX"
  cp -a "$template" "$WINEPREFIX"
}

# Every Windows program runs under a time limit: a dialog nobody answers ends the run as a failure
# (exit code 124), never hangs it.
wine() { timeout -k 5 120 cmake/wine-run "$@"; }
# One value's data as `reg query` prints it; empty when the key or value is missing (reg query
# says so on standard output, so its output is parsed, never trusted whole).
value() {
  local v=(/v "$2")
  [ -z "$2" ] && v=(/ve) && set -- "$1" "(Default)"
  wine reg query "$1" "${v[@]}" 2>/dev/null | tr -d '\r' |
    sed -n "s/^    $(printf '%s' "$2" | sed 's/[][\.*^$]/\\&/g')    REG_[A-Z_]*    //p" || true
}
# A registry tree as text, to compare before and after, without the keys whose names hold one of
# the identifiers listed in $3, if given.
hive() {
  wine reg export "$1" "$(winpath "$2.reg")" /y >/dev/null
  iconv -f UTF-16 -t UTF-8 "$2.reg" | tr -d '\r' |
    awk -v skip_keys="${3:-}" '
      BEGIN { n = split(toupper(skip_keys), ids, " ") }
      /^\[/ { skipping = 0; for (i = 1; i <= n; i++) if (index(toupper($0), ids[i])) skipping = 1 }
      !skipping' >"$2"
}
# What an installer or a registration could write for the machine lies below HKLM\Software (its
# classes, its list of installed programs). HKLM\System is left out: Wine rewrites its display
# adapters' keys there whenever its desktop starts, and the uninstaller's copy of itself in the
# temporary folder asks there to be deleted at the next start (PendingFileRenameOperations, which
# Wine lets a user write and Windows does not).
machine='HKEY_LOCAL_MACHINE\Software'

winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
run_setup() { wine "$@" >/dev/null 2>&1; }

# The identifiers of server/Marrowby.idl: the uuid(...) just before "library Name",
# "interface Name" or "coclass Name".
guid() {
  sed -n -e 's/.*uuid(\([^)]*\)).*/\1/p' -e 's/^ *\(library\|interface\|coclass\) \([A-Za-z_]*\).*/=\2/p' \
    server/Marrowby.idl |
    awk -v want="=$1" '$0 == want { print "{" toupper(last) "}"; exit } { last = $0 }'
}
lib=$(guid Marrowby)
connect=$(guid Connect)
skeldra=$(guid Skeldra)
[ $arch = amd64 ] && syskind=win64 || syskind=win32
# Wine 8's RegisterTypeLibForUser registers the type library for the machine, as RegisterTypeLib
# does (seen here: its TypeLib and Interface keys appear under HKLM\Software\Classes); Windows
# writes them below HKCU\Software\Classes. The install's checks look for them where Wine puts
# them and leave exactly those keys out of "nothing under HKLM"; the uninstall must remove them.
typelib_root=HKLM
ours_under_hklm="$(guid Marrowby) $(guid _Connect) $(guid _Skeldra)"

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Marrowby'
addin_key='HKCU\Software\Microsoft\Visual Basic\6.0\Addins\Marrowby.Connect'
favorites_key='HKCU\Software\Tolvane\Skeldra\Favorites'
setting_key='HKCU\Software\VB and VBA Program Settings\Microsoft Visual Basic AddIns\Skeldra'

# Where the installer puts the add-in: $LOCALAPPDATA\Programs\Marrowby, as Windows and Linux paths.
install_dir() {
  local local_app_data
  local_app_data=$(wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')
  win_dir="$local_app_data\\Programs\\Marrowby"
  dir=$(wine winepath -u "$win_dir" 2>/dev/null | tr -d '\r')
  dir=${dir%/}
}

# What an installed version must show: its files (the DLL byte for byte), its per-user
# registration and its uninstall entry.
check_installed() {  # version dll
  check "files in $dir" "Marrowby.dll README.md uninstall.exe" "$(ls "$dir" | tr '\n' ' ' | sed 's/ $//')"
  cmp -s "$2" "$dir/Marrowby.dll" || check "the installed Marrowby.dll" "$2" "another file"
  cmp -s "$MARROWBY_README" "$dir/README.md" ||
    check "the installed README.md" "the one of $zip" "another file"
  local kb=$(( $(cat "$dir"/* | wc -c) / 1024 ))
  local size
  size=$(value "$uninstall_key" EstimatedSize)
  [ -n "$size" ] && [ $((size)) -ge $((kb - 1)) ] && [ $((size)) -le $((kb + 1)) ] ||
    check "EstimatedSize (KB)" "$kb" "$size"
  local key name expected
  while IFS='|' read -r key name expected; do
    check "$key [${name:-(Default)}]" "$expected" "$(value "$key" "$name")"
  done <<EOF
HKCU\\Software\\Classes\\Marrowby.Connect\\CLSID||$connect
HKCU\\Software\\Classes\\Marrowby.Skeldra\\CLSID||$skeldra
HKCU\\Software\\Classes\\CLSID\\$connect\\InprocServer32||$win_dir\\Marrowby.dll
HKCU\\Software\\Classes\\CLSID\\$skeldra\\InprocServer32||$win_dir\\Marrowby.dll
$typelib_root\\Software\\Classes\\TypeLib\\$lib\\1.0\\0\\$syskind||$win_dir\\Marrowby.dll
$addin_key|FriendlyName|Tolvane Skeldra
$addin_key|LoadBehavior|0x1
$uninstall_key|DisplayName|Tolvane Skeldra Add-In for VB6
$uninstall_key|DisplayVersion|$1
$uninstall_key|Publisher|Tolvane
$uninstall_key|DisplayIcon|$win_dir\\Marrowby.dll,0
$uninstall_key|InstallLocation|$win_dir
$uninstall_key|UninstallString|"$win_dir\\uninstall.exe"
$uninstall_key|QuietUninstallString|"$win_dir\\uninstall.exe" /S
EOF
}

# --- A silent install into a fresh prefix ------------------------------------------------------
fresh_prefix fresh
hive "$machine" "$work/hklm-before" "$ours_under_hklm"
start=$(seconds)
status=0; run_setup "$setup" /S || status=$?
echo "TIME silent install: $(elapsed "$start") s"
check "exit code of the install" 0 "$status"
install_dir
check_installed "$version" "$dll"
# Nothing of ours under HKLM: its software keys are as they were.
hive "$machine" "$work/hklm-after" "$ours_under_hklm"
diff -u "$work/hklm-before" "$work/hklm-after" >"$work/hklm-install.diff" ||
  check "changes under $machine (see $work/hklm-install.diff)" "none" \
    "$(grep -c '^[-+][^-+]' "$work/hklm-install.diff")"

# --- The stand-in IDE, started as a user starts the IDE, loads the add-in from there -----------
# Wine 8 does not merge the user's classes (HKCU\Software\Classes) into HKEY_CLASSES_ROOT as
# Windows does, so CoCreateInstance would not find the classes registered for the user alone.
# This prefix stands in for that merged view: the user's class keys are copied to the machine's.
wine reg export 'HKCU\Software\Classes' "$(winpath "$work/classes.reg")" /y >/dev/null
iconv -f UTF-16 -t UTF-8 "$work/classes.reg" |
  sed 's/^\[HKEY_CURRENT_USER\\Software\\Classes/[HKEY_LOCAL_MACHINE\\Software\\Classes/' |
  iconv -f UTF-8 -t UTF-16 >"$work/classes-machine.reg"
wine reg import "$(winpath "$work/classes-machine.reg")" >/dev/null 2>&1
# The add-in writes DisplayOnConnect when it disconnects: "1" if its window was showing. With the
# setting absent it starts hidden and writes "0", which shows it ran; with "1" it shows its window
# at start-up, and "1" comes back only if the window was still showing when the stand-in closed.
# Wine's loader trace shows which Marrowby.dll was loaded.
while IFS='|' read -r before after; do
  if [ -z "$before" ]; then
    wine reg delete "$setting_key" /v DisplayOnConnect /f >/dev/null 2>&1 || true
  else
    wine reg add "$setting_key" /v DisplayOnConnect /t REG_SZ /d "$before" /f >/dev/null
  fi
  rm -f "$work/standin.bmp"
  status=0
  WINEDEBUG=+loaddll wine "$standin" --screenshot "$(winpath "$work/standin.bmp")" \
    >/dev/null 2>"$work/standin.log" || status=$?
  check "stand-in IDE exit code (DisplayOnConnect [$before])" 0 "$status"
  check "DisplayOnConnect after the stand-in closed (was [$before])" "$after" \
    "$(value "$setting_key" DisplayOnConnect)"
  loaded=$(grep -i -o 'Loaded L"[^"]*marrowby\.dll"' "$work/standin.log" | head -1 | tr -d '\r')
  check "the DLL the stand-in IDE loaded" "Loaded L\"${win_dir//\\/\\\\}\\\\Marrowby.dll\"" \
    "$loaded"
done <<EOF
|0
1|1
EOF

# --- The add-in in use: neither the installer nor the uninstaller touches anything -------------
# The stand-in IDE stays open without --screenshot; it holds the DLL once the loader says so.
WINEDEBUG=+loaddll cmake/wine-run "$standin" >/dev/null 2>"$work/standin-held.log" &
held=$!
for _ in $(seq 300); do
  grep -qi 'Loaded L"[^"]*marrowby\.dll"' "$work/standin-held.log" && break
  sleep 0.1
done
cp "$dir/Marrowby.dll" "$work/held.dll"
while IFS='|' read -r what command; do
  status=0
  eval "wine $command" >/dev/null 2>&1 || status=$?
  check "exit code of the $what while the DLL is in use" 3 "$status"
  check "files after the refused $what" "Marrowby.dll README.md uninstall.exe" \
    "$(ls "$dir" | tr '\n' ' ' | sed 's/ $//')"
  check "InprocServer32 after the refused $what" "$win_dir\\Marrowby.dll" \
    "$(value "HKCU\\Software\\Classes\\CLSID\\$connect\\InprocServer32" "")"
  check "DisplayVersion after the refused $what" "$version" "$(value "$uninstall_key" DisplayVersion)"
done <<EOF
install|"\$setup" /S
uninstall|"\$dir/uninstall.exe" /S "_?=\$win_dir"
EOF
cmp -s "$work/held.dll" "$dir/Marrowby.dll" || check "the held DLL" "unchanged" "changed"
kill "$held" 2>/dev/null || true
wait "$held" 2>/dev/null || true
status=0; run_setup "$setup" /S || status=$?
check "exit code of the install once the DLL is free" 0 "$status"
check_installed "$version" "$dll"
/usr/lib/wine/wineserver -k

# --- Upgrade over an older version, then a silent uninstall ------------------------------------
fresh_prefix upgrade
# A user's Windows with the IDE has these keys before any add-in comes: the user's classes and
# its CLSID key, the IDE's add-in list, the user's list of installed programs. They stay.
for key in 'HKCU\Software\Classes\CLSID' 'HKCU\Software\Microsoft\Visual Basic\6.0\Addins' \
           'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'; do
  wine reg add "$key" /f >/dev/null
done
wine reg add "$favorites_key" /v 1 /t REG_SZ /d 'C:\Projects\Ledger.vbp' /f >/dev/null
hive HKEY_CURRENT_USER "$work/hkcu-before"
hive "$machine" "$work/hklm-before"
status=0; run_setup "$work/Marrowby-$older-setup-$arch.exe" /S || status=$?
check "exit code of the older version's install" 0 "$status"
install_dir
check_installed "$older" "$work/older.dll"
# The add-in at work: its setting, beside the favourite.
wine reg add "$setting_key" /v DisplayOnConnect /t REG_SZ /d 1 /f >/dev/null
start=$(seconds)
status=0; run_setup "$setup" /S || status=$?
echo "TIME silent upgrade: $(elapsed "$start") s"
check "exit code of the upgrade" 0 "$status"
check_installed "$version" "$dll"
# A version that cannot be registered fails and puts the installed one back, registered.
status=0; run_setup "$work/Marrowby-99.0.0-setup-$arch.exe" /S || status=$?
check "exit code of an install whose DLL cannot be registered" 4 "$status"
check_installed "$version" "$dll"

# The uninstaller as the system's list of programs starts it, silently: it copies itself to the
# temporary folder, starts the copy and returns at once, so the run waits for the folder to go.
quiet=$(value "$uninstall_key" QuietUninstallString)
program=${quiet#\"}; program=${program%%\"*}
start=$(seconds)
status=0
wine "$(wine winepath -u "$program" 2>/dev/null | tr -d '\r')" ${quiet##*\" } \
  >/dev/null 2>&1 || status=$?
for _ in $(seq 300); do [ -e "$dir" ] || break; sleep 0.1; done
echo "TIME silent uninstall: $(elapsed "$start") s"
check "exit code of the uninstaller" 0 "$status"
check "the install folder after uninstalling" "gone" "$([ -e "$dir" ] && ls "$dir" | tr '\n' ' ' || echo gone)"
check "the favourite after uninstalling" 'C:\Projects\Ledger.vbp' "$(value "$favorites_key" 1)"
# Everything else the install, the add-in and the uninstall wrote is gone: the user's hive and
# the machine's software keys are as they were before the install.
for h in "hkcu:HKEY_CURRENT_USER" "hklm:$machine"; do
  hive "${h#*:}" "$work/${h%%:*}-after"
  diff -u "$work/${h%%:*}-before" "$work/${h%%:*}-after" >"$work/${h%%:*}.diff" ||
    check "changes under ${h#*:} after uninstalling (see $work/${h%%:*}.diff)" "none" \
      "$(grep -c '^[-+][^-+]' "$work/${h%%:*}.diff")"
done
/usr/lib/wine/wineserver -k

if [ $failures -ne 0 ]; then
  echo "installer tests: $failures failed ($arch); the prefixes stay in $work"
  exit 1
fi
# Three prefixes of some 700 MB each: kept only when something failed.
rm -rf "$template" "$work/fresh" "$work/upgrade"
echo "installer tests: passed ($arch)"
