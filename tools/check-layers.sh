#!/usr/bin/env bash
# Checks that every folder includes only itself and the folders of the layers below it. The
# layers, bottom to top; folders on one line share a layer and do not include each other:
layers=(
  "platform"
  "registry"
  "catalogue"
  "ui ide"
  "browser about"
  "addin"
  "server"
  "standin"
)
# Tests (files under a tests/ folder) may also include the stand-in IDE, which plays the IDE for
# them. No folder's target compiles another folder's sources. Prints each place that breaks a
# rule and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A level
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do level[$folder]=$i; done
done

bad=0
for folder in "${!level[@]}"; do
  while IFS=: read -r file line include; do
    target=${include#*\"}
    target=${target%%/*}
    [ "$target" = "$folder" ] && continue
    allowed=0
    if [ -n "${level[$target]:-}" ] && [ "${level[$target]}" -lt "${level[$folder]}" ]; then
      allowed=1
    elif [ "$target" = standin ] && [[ $file == */tests/* ]]; then
      allowed=1
    fi
    if [ $allowed = 0 ]; then
      echo "$file:$line: $folder may not include $target (${include#*#include })"
      bad=1
    fi
  done < <(grep -rnE '^\s*#\s*include\s+"[a-z0-9_]+/' "$folder" \
             --include='*.cpp' --include='*.h' --include='*.rc' --include='*.idl' || true)
done
while IFS= read -r use; do
  echo "$use: a target compiles another folder's source"
  bad=1
done < <(grep -nE '(PROJECT_SOURCE_DIR\}|\.\.)/[A-Za-z0-9_/]+\.cpp' -- */CMakeLists.txt || true)
if [ $bad = 0 ]; then echo "layers: every include points down, every folder compiles its own"; fi
exit $bad
