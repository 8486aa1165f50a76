#!/usr/bin/env bash
# make dist: the shipped add-in (the 32-bit DLL of the win32 preset), then
#   dist/Marrowby-<version>-setup.exe   the installer (installer/Marrowby.nsi)
#   dist/Marrowby-<version>.zip         the DLL and the README, for those who register by hand
# The version is the build's (server/Version.h, from CMakeLists.txt). MARROWBY_DIST_BUILD names
# another build folder of the win32 preset (default build/win32), MARROWBY_DIST_DIR another
# output folder (default dist).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${MARROWBY_DIST_BUILD:-$root/build/win32}
out=${MARROWBY_DIST_DIR:-$root/dist}

seconds() { local ms=$(( ($(date +%s%N) - $1) / 1000000 )); printf '%d.%d' $((ms / 1000)) $((ms % 1000 / 100)); }
start=$(date +%s%N)
cmake --preset win32 -B "$build" >/dev/null
cmake --build "$build" --target Marrowby
version=$(sed -n 's/^#define MARROWBY_VERSION "\(.*\)"$/\1/p' "$build/server/Version.h")
[ -n "$version" ] || { echo "no MARROWBY_VERSION in $build/server/Version.h" >&2; exit 1; }

mkdir -p "$out"
setup=$out/Marrowby-$version-setup.exe
zip=$out/Marrowby-$version.zip
dll_time=$(seconds "$start")
built=$(date +%s%N)
# One copy of the README for both, whatever happens to the tree's meanwhile.
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
cp README.md "$staging/README.md"
MARROWBY_README=$staging/README.md bash installer/build-setup.sh "$setup" "$build/Marrowby.dll" "$version" x86
rm -f "$zip"
zip -q -j -X "$zip" "$build/Marrowby.dll" "$staging/README.md"
printf 'dist: %s (%s bytes), %s (%s bytes), version %s; the DLL in %s s, installer and zip in %s s\n' \
  "${setup#"$root"/}" "$(stat -c %s "$setup")" "${zip#"$root"/}" "$(stat -c %s "$zip")" \
  "$version" "$dll_time" "$(seconds "$built")"
