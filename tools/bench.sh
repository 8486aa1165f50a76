#!/usr/bin/env bash
# make bench: builds the benchmark programs (presets bench and bench-win64, only their targets)
# and, when it is missing, the shipped DLL (preset win32); then runs the native benchmarks, the
# Windows ones under Wine (on an Xvfb of their own when there is no display), the Windows ones
# again as 32-bit programs where the kernel runs them (preset bench-win32), and measures the
# stripped DLL. stdout gets one line a figure:
#   BENCH <name> <value> <unit>
#   RATIO <name> <value>
#   TARGET <name> met|missed <value> <= or >= <limit>
# Build output and the programs' own chatter go to stderr and to build/bench*/bench-*.log.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh >&2

cmake --preset bench >/dev/null
cmake --build --preset bench --target marrowby_bench >&2
cmake --preset bench-win64 >/dev/null
cmake --build --preset bench-win64 --target marrowby_bench_win >&2
dll=build/win32/Marrowby.dll
if [ ! -f "$dll" ]; then
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 --target Marrowby >&2
fi

# Runs a benchmark program, its stderr kept in a log that is shown when it fails.
run() {
  local log=$1
  shift
  if ! "$@" 2>"$log"; then
    cat "$log" >&2
    echo "bench: $* failed (log: $log)" >&2
    exit 1
  fi
}

# Natively: Google Benchmark's table goes to the log.
run build/bench/bench-native.log build/bench/bench/marrowby_bench --files=build/bench/files

# Under Wine, in the prefix of the build (build/bench-win64/wineprefix).
run build/bench-win64/bench-wine.log \
  cmake/with-display cmake/wine-run build/bench-win64/bench/marrowby_bench_win.exe

# Under 32-bit Wine, where the kernel runs 32-bit programs: the same program built for i686
# (preset bench-win32, prefix build/bench-win32/wineprefix), its figures named wine32_.
if why=$(bash tools/probe-32bit.sh); then
  cmake --preset bench-win32 >/dev/null
  cmake --build --preset bench-win32 --target marrowby_bench_win >&2
  run build/bench-win32/bench-wine.log \
    cmake/with-display cmake/wine-run build/bench-win32/bench/marrowby_bench_win.exe |
    sed -E 's/^(BENCH|RATIO|TARGET) wine_/\1 wine32_/'
else
  echo "bench: no 32-bit figures: $why" >&2
fi

# The shipped DLL, stripped as a release would strip it.
limit=1000000
stripped=$(mktemp -d)
trap 'rm -rf "$stripped"' EXIT
cp "$dll" "$stripped/Marrowby.dll"
i686-w64-mingw32-strip "$stripped/Marrowby.dll"
size=$(stat -c %s "$dll")
stripped_size=$(stat -c %s "$stripped/Marrowby.dll")
echo "BENCH dll_size $size bytes"
echo "BENCH dll_stripped_size $stripped_size bytes"
echo "BENCH dll_stripped_size_limit $limit bytes"
awk -v s="$stripped_size" -v l="$limit" 'BEGIN {
  printf "RATIO dll_stripped_size_vs_limit %.3f\n", s / l
  printf "TARGET dll_stripped_size %s %d <= %d\n", (s <= l ? "met" : "missed"), s, l
}'
