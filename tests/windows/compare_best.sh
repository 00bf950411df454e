#!/usr/bin/env bash
# "brindlet-tool best" of the Linux build against the Windows build under Wine over the bench
# suite: the same move, result code, node count, root scores and tie-breaks for every position,
# byte for byte apart from the line ends and the time taken.
#   compare_best.sh LINUX_TOOL WINDOWS_TOOL RUNNER SUITE
set -euo pipefail
linux_tool=$1
windows_tool=$2
runner=$3
suite=$4

# The Windows tool ends its lines in CR LF; the first line ends with the milliseconds taken.
comparable() { tr -d '\r' | sed -E '1s/ ms [0-9]+$//'; }

positions=0
differing=0
while IFS= read -r fen <&3; do
  fen=${fen%$'\r'}
  case "$fen" in "" | "#"*) continue ;; esac
  positions=$((positions + 1))
  linux=$("$linux_tool" best "$fen" </dev/null | comparable)
  windows=$("$runner" "$windows_tool" best "$fen" </dev/null | comparable)
  if [ -z "$linux" ] || [ "$linux" != "$windows" ]; then
    differing=$((differing + 1))
    echo "differs for $fen"
    diff <(printf '%s\n' "$linux") <(printf '%s\n' "$windows") || true
  fi
done 3<"$suite"

echo "$positions positions, $differing differ"
[ "$positions" -gt 0 ] && [ "$differing" -eq 0 ]
