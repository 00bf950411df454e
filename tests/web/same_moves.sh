#!/usr/bin/env bash
# The WebAssembly engine under Node against the native tool and engine over the bench suite,
# through the UCI stream: one run, "position fen ..." and "go" for every position, in a folder
# without books. Each move must be the native tool's: "brindlet-tool best" where the search
# answered, "brindlet-tool mate" where the mate solver did; and the whole output must be the
# native engine's, byte for byte.
#   same_moves.sh TOOL NATIVE_ENGINE NODE ENGINE_JS SUITE
set -euo pipefail
tool=$1
native=$2
node=$3
engine_js=$4
suite=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/web" "$work/native"

fens=()
while IFS= read -r fen; do
  fen=${fen%$'\r'}
  case "$fen" in "" | "#"*) continue ;; esac
  fens+=("$fen")
  printf 'position fen %s\ngo\n' "$fen" >>"$work/input"
done <"$suite"
printf 'quit\n' >>"$work/input"

(cd "$work/web" && "$node" "$engine_js" <"$work/input" >"$work/web.out")
(cd "$work/native" && "$native" <"$work/input" >"$work/native.out")

mapfile -t sources < <(sed -n 's/^info //p' "$work/web.out")
mapfile -t moves < <(sed -n 's/^bestmove //p' "$work/web.out")
if [ "${#moves[@]}" -ne "${#fens[@]}" ] || [ "${#sources[@]}" -ne "${#fens[@]}" ]; then
  echo "the engine under Node gave ${#moves[@]} moves and ${#sources[@]} sources for ${#fens[@]} positions"
  exit 1
fi

differing=0
searched=0
solved=0
for index in "${!fens[@]}"; do
  fen=${fens[$index]}
  case "${sources[$index]}" in
    BestMove) searched=$((searched + 1)); expected=$("$tool" best "$fen" | sed -n '1s/^bestmove \([^ ]*\).*/\1/p') ;;
    SolveMate) solved=$((solved + 1)); expected=$("$tool" mate "$fen" | head -n 1) ;;
    *) expected="(no move from ${sources[$index]} without books)" ;;
  esac
  if [ "${moves[$index]}" != "$expected" ]; then
    differing=$((differing + 1))
    echo "differs for $fen: ${sources[$index]} ${moves[$index]}, the tool: $expected"
  fi
done
echo "${#fens[@]} positions ($searched searched, $solved mate solver), $differing differ from the tool"

if ! cmp -s "$work/native.out" "$work/web.out"; then
  echo "the output differs from the native engine's:"
  diff "$work/native.out" "$work/web.out" | head -n 20
  exit 1
fi
[ "$differing" -eq 0 ]
