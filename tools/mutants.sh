#!/usr/bin/env bash
# make mutants: applies each deliberate fault of tools/mutants/ in turn, builds the preset it
# names, runs the tests it names (under Wine for win64) and reports whether they caught it,
# then takes the fault out again. One line a mutant, then the count:
#   MUTANT <name> caught|MISSED|NOT-BUILT|NOT-APPLIED
#   MUTANTS <caught> of <all> caught
# Each patch starts with "# preset: native|win64" and "# tests: <ctest name regex>". The work
# tree must be clean of changes to the patched files; a fault is always taken out, even when the
# run is interrupted. MUTANTS=<regex> runs only the mutants whose names match it.
set -uo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh >&2
for preset in native win64; do
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" >&2 || exit 1
done

current=""
restore() { [ -n "$current" ] && git apply -R "$current" 2>/dev/null; current=""; }
trap 'restore; exit 130' INT TERM

caught=0 all=0
for patch in tools/mutants/*.patch; do
  name=$(basename "$patch" .patch)
  [[ "$name" =~ ${MUTANTS:-.} ]] || continue
  preset=$(sed -n 's/^# preset: //p' "$patch")
  tests=$(sed -n 's/^# tests: //p' "$patch")
  all=$((all + 1))
  if ! git apply "$patch" 2>/dev/null; then
    echo "MUTANT $name NOT-APPLIED"
    continue
  fi
  current=$patch
  log=build/$preset/mutant-$name.log
  if ! cmake --build --preset "$preset" >"$log" 2>&1; then
    echo "MUTANT $name NOT-BUILT (log: $log)"
  else
    run=(ctest --preset "$preset" -R "^($tests)\$" --timeout 600)
    [ "$preset" = win64 ] && run=(cmake/with-display "${run[@]}")
    if "${run[@]}" >>"$log" 2>&1; then
      echo "MUTANT $name MISSED (log: $log)"
    else
      echo "MUTANT $name caught"
      caught=$((caught + 1))
    fi
  fi
  restore
done
# The tree as it was, built again.
for preset in native win64; do cmake --build --preset "$preset" >/dev/null 2>&1; done
echo "MUTANTS $caught of $all caught"
[ "$caught" = "$all" ]
