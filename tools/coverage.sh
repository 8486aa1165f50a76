#!/usr/bin/env bash
# make coverage: the native tests built with gcov's counters (preset coverage), run, and the
# line and branch coverage of the code they reach (tests, fuzz targets and benchmarks left out)
# printed per folder, then in all. One line a folder:
#   COVERAGE <folder> lines <percent> branches <percent>
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh >&2
cmake --preset coverage >/dev/null
cmake --build --preset coverage >&2
find build/coverage -name "*.gcda" -delete
# The compiler probe CMake built is not ours.
find build/coverage/CMakeFiles -name "*.gc*" -delete
ctest --preset coverage >&2

report=build/coverage/coverage.json
# Only this build's counters: other builds under build/ may hold counters of their own.
gcovr build/coverage --root . --object-directory build/coverage --exclude '.*/tests/.*' --exclude 'fuzz/.*' \
  --exclude 'bench/.*' --exclude 'build/.*' --exclude-unreachable-branches \
  --exclude-throw-branches --json "$report" >&2
python3 - "$report" <<'PY'
import collections, json, sys
files = json.load(open(sys.argv[1]))["files"]
sums = collections.defaultdict(lambda: [0, 0, 0, 0])
for f in files:
    folder = f["file"].split("/")[0]
    for key in (folder, "all"):
        s = sums[key]
        for line in f["lines"]:
            if line.get("gcovr/noncode"):
                continue
            s[0] += 1
            s[1] += line["count"] > 0
            for b in line.get("branches", []):
                s[2] += 1
                s[3] += b["count"] > 0
for folder in sorted(sums, key=lambda k: (k == "all", k)):
    lines, hit, branches, taken = sums[folder]
    print("COVERAGE %s lines %.1f branches %.1f" % (
        folder, 100.0 * hit / max(lines, 1), 100.0 * taken / max(branches, 1)))
PY
