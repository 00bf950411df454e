#!/usr/bin/env bash
# "brindlet-tool bench" of this build and of another build run by RUNNER: the same move and node
# count for every position and the same total, the nodes signature; only the times may differ.
# Prints the other build's signature and its time.
#   same_bench.sh NATIVE_TOOL RUNNER TOOL SUITE
set -euo pipefail
native_tool=$1
runner=$2
tool=$3
suite=$4

# Each position's line without its milliseconds, and the two counts.
comparable() { sed -nE 's/ ms +[0-9.]+ / /p; /^(positions|total nodes) /p'; }

native=$("$native_tool" bench "$suite")
other=$("$runner" "$tool" bench "$suite")
if [ -z "$(comparable <<<"$native")" ] || ! diff <(comparable <<<"$native") <(comparable <<<"$other"); then
  echo "the bench differs (above)"
  exit 1
fi
grep -E '^(positions|total nodes|total ms) ' <<<"$other" | tr '\n' ' '
echo
