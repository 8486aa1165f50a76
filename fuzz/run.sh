#!/usr/bin/env bash
# Runs every fuzz target of build/fuzz for FUZZ_SECONDS seconds (default 60), starting from the
# committed seeds in fuzz/corpus/<target>. New inputs go to a working corpus under build/fuzz, so
# a run leaves the repository as it was. A crash or a broken invariant fails the run; the input
# is saved in build/fuzz/artifacts/<target>/ (run the target on it, with MARROWBY_FUZZ_TRACE=1
# for a description of each step).
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
targets=(fuzz_reader fuzz_key_values fuzz_lists)
status=0
for target in "${targets[@]}"; do
  work=build/fuzz/corpus/$target
  artifacts=build/fuzz/artifacts/$target
  log=build/fuzz/$target.log
  mkdir -p "$work" "$artifacts"
  if build/fuzz/fuzz/$target -max_total_time="$seconds" -max_len=4096 -timeout=30 -print_final_stats=1 \
       -artifact_prefix="$artifacts/" "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} executions in $seconds s (log: $log)"
  else
    grep -v -E "^#[0-9]+" "$log" | tail -n 40
    echo "$target: FAILED; the input is in $artifacts/ (log: $log)"
    status=1
  fi
done
exit $status
