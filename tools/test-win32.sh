#!/usr/bin/env bash
# The 32-bit tests (preset win32): where the kernel runs 32-bit programs, the whole Wine suite
# again as 32-bit programs against build/win32/Marrowby.dll, in the prefix build/win32/wineprefix;
# elsewhere one line saying why not, and the shipped DLL's check alone.
set -euo pipefail
cd "$(dirname "$0")/.."

if why=$(bash tools/probe-32bit.sh); then
  start=$(date +%s)
  cmake/with-display ctest --preset win32
  echo "32-bit run: the Wine tests as 32-bit programs under 32-bit Wine took $(($(date +%s) - start)) s"
else
  echo "32-bit run skipped: $why; only the shipped 32-bit DLL is checked"
  ctest --preset win32 -R '^Marrowby_dll$'
fi
