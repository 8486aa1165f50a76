#!/usr/bin/env bash
# make run: builds the stand-in IDE and the add-in, registers the add-in in the build's Wine
# prefix, seeds the sample projects and starts the stand-in with the add-in loaded. Where the
# kernel runs 32-bit programs they are the 32-bit pair (preset win32), as a user's IDE is; else
# the 64-bit pair (preset win64). With a display it stays open for the user; without one it runs
# on a virtual display, saves a screenshot as build/run/standin.png and exits.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ -z "${MARROWBY_RUN_STAGE:-}" ]; then
  bash tools/install-deps.sh
  if why=$(bash tools/probe-32bit.sh); then
    export MARROWBY_RUN_PRESET=win32
    echo "make run: the 32-bit stand-in IDE with the 32-bit add-in, under 32-bit Wine"
  else
    export MARROWBY_RUN_PRESET=win64
    echo "make run: the 64-bit stand-in IDE with the 64-bit add-in ($why)"
  fi
  cmake --preset "$MARROWBY_RUN_PRESET" >/dev/null
  cmake --build --preset "$MARROWBY_RUN_PRESET" --target standin Marrowby
  # Every Wine step below shares one display: without the user's, a virtual one of the run's own.
  export MARROWBY_RUN_STAGE=wine
  if [ -z "${DISPLAY:-}" ]; then
    MARROWBY_RUN_SCREENSHOT=1 exec cmake/with-display bash "$0"
  fi
  exec bash "$0"
fi

preset=${MARROWBY_RUN_PRESET:-win64}
export MARROWBY_BUILD_DIR=$root/build/$preset
[ "$preset" = win32 ] && export MARROWBY_WINE_ARCH=win32
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

# For the machine: Wine 8 does not merge per-user classes into HKEY_CLASSES_ROOT. The DLL's
# registration also lists it with the IDE, to load at start-up.
cmake/wine-run regsvr32 /s "$(winpath "$root/build/$preset/Marrowby.dll")"
bash tools/seed-demo.sh

standin=build/$preset/standin/standin.exe
if [ -n "${MARROWBY_RUN_SCREENSHOT:-}" ]; then
  mkdir -p build/run
  rm -f build/run/standin.bmp build/run/standin.png
  # The picture shows the filter in use: Ctrl+F, then "er" typed into the box.
  cmake/wine-run "$standin" --screenshot "$(winpath "$root/build/run/standin.bmp")" --keys "^Fer"
  convert build/run/standin.bmp build/run/standin.png
  # Wine's own processes leave before the virtual display goes.
  WINEPREFIX=$MARROWBY_BUILD_DIR/wineprefix timeout 10 /usr/lib/wine/wineserver -w || true
  echo "screenshot: $root/build/run/standin.png"
else
  echo "starting the stand-in IDE; close it to end make run"
  cmake/wine-run "$standin"
fi
