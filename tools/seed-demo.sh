#!/usr/bin/env bash
# Seeds the demonstration: copies the sample projects of demo/ to build/run/demo and, in the
# Wine prefix of the build that make run uses (MARROWBY_BUILD_DIR, build/win64 by default),
# names them in the IDE's recent list (one of them missing on disk), adds two favourites and asks
# the add-in to show its window at start-up.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
export MARROWBY_BUILD_DIR=${MARROWBY_BUILD_DIR:-$root/build/win64}

demo=$root/build/run/demo
rm -rf "$demo"
mkdir -p "$demo"
cp demo/*.vbp "$demo/"

# The Windows path of a Linux path: Wine maps the Linux root to Z:.
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

reg() { cmake/wine-run reg "$@" >/dev/null 2>&1; }

recent='HKCU\Software\Microsoft\Visual Basic\6.0\RecentFiles'
favorites='HKCU\Software\Tolvane\Skeldra\Favorites'
setting='HKCU\Software\VB and VBA Program Settings\Microsoft Visual Basic AddIns\Skeldra'

reg delete "$recent" /f || true
reg delete "$favorites" /f || true
n=0
for name in InventoryPro Ledger TextTools Archive ReportServer GaugeControl; do
  n=$((n + 1))
  # Archive.vbp is listed but never written: the list shows how a missing file looks.
  reg add "$recent" /v "$n" /t REG_SZ /d "$(winpath "$demo/$name.vbp")" /f
done
reg add "$favorites" /v 1 /t REG_SZ /d "$(winpath "$demo/Ledger.vbp")" /f
reg add "$favorites" /v 2 /t REG_SZ /d "$(winpath "$demo/GaugeControl.vbp")" /f
reg add "$setting" /v DisplayOnConnect /t REG_SZ /d 1 /f
echo "seeded $demo"
