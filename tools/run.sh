#!/usr/bin/env bash
# make run: builds the win64 preset, registers the add-in in the build's Wine prefix, seeds the
# sample projects and starts the stand-in IDE with the add-in loaded. With a display it stays
# open for the user; without one it runs on a virtual display, saves a screenshot as
# build/run/standin.png and exits.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ -z "${MARROWBY_RUN_STAGE:-}" ]; then
  bash tools/install-deps.sh
  cmake --preset win64 >/dev/null
  cmake --build --preset win64
  # Every Wine step below shares one display: without the user's, a virtual one of the run's own.
  export MARROWBY_RUN_STAGE=wine
  if [ -z "${DISPLAY:-}" ]; then
    MARROWBY_RUN_SCREENSHOT=1 exec cmake/with-display bash "$0"
  fi
  exec bash "$0"
fi

export MARROWBY_BUILD_DIR=$root/build/win64
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

# For the machine: Wine 8 does not merge per-user classes into HKEY_CLASSES_ROOT. The DLL's
# registration also lists it with the IDE, to load at start-up.
cmake/wine-run regsvr32 /s "$(winpath "$root/build/win64/Marrowby.dll")"
bash tools/seed-demo.sh

standin=build/win64/host/standin.exe
if [ -n "${MARROWBY_RUN_SCREENSHOT:-}" ]; then
  mkdir -p build/run
  rm -f build/run/standin.bmp build/run/standin.png
  cmake/wine-run "$standin" --screenshot "$(winpath "$root/build/run/standin.bmp")"
  convert build/run/standin.bmp build/run/standin.png
  # Wine's own processes leave before the virtual display goes.
  WINEPREFIX=$MARROWBY_BUILD_DIR/wineprefix timeout 10 /usr/lib/wine/wineserver -w || true
  echo "screenshot: $root/build/run/standin.png"
else
  echo "starting the stand-in IDE; close it to end make run"
  cmake/wine-run "$standin"
fi
