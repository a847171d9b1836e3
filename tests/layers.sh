#!/usr/bin/env bash
# The code's folders layer: each includes from itself and the folders before
# it in this list only, so that a folder never reaches up. Also keeps each
# source file within 450 lines.
# usage: layers.sh SRC_DIR
set -euo pipefail
src=$1
layers=(update/record update/release update/run update/station selection window app)
failed=0
for i in "${!layers[@]}"; do
  folder=${layers[$i]}
  allowed=("${layers[@]:0:$((i + 1))}")
  pattern=$(IFS='|'; echo "${allowed[*]}")
  while IFS= read -r line; do
    echo "layers: $line reaches up" >&2
    failed=1
  done < <(grep -rnE '^#include "(update/[a-z]+|[a-z]+)/' "$src/$folder" | grep -vE "#include \"($pattern)/" || true)
done
while read -r count file; do
  [ "$file" = total ] && continue
  [ "$count" -le 450 ] || { echo "layers: $file has $count lines" >&2; failed=1; }
done < <(find "$src" -name '*.cpp' -o -name '*.h' | xargs wc -l)
[ $failed -eq 0 ] && echo "layers: ${#layers[@]} folders, none reaching up"
exit $failed
