#!/usr/bin/env bash
# The default books along real games, in this build's engine and in another build run by RUNNER:
# for each of the first COUNT games of GAMES, one run that is sent "position startpos moves" with
# each of the game's first PLIES moves and "go" after each. The two give the same answers, byte
# for byte: the book's moves until its first miss, then the mate solver's and the search's.
#   same_book_lines.sh NATIVE_ENGINE RUNNER ENGINE MAKE_BOOKS GAMES COUNT PLIES
set -euo pipefail
native=$1
runner=$2
engine=$3
make_books=$4
games=$5
count=$6
plies=$7

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$make_books" "$work/native" >/dev/null
mkdir "$work/other"
cp "$work/native/tourbook.bin" "$work/native/mainbook.bin" "$work/other/"

game=0
differing=0
book_moves=0
while IFS= read -r line <&3 && [ "$game" -lt "$count" ]; do
  game=$((game + 1))
  read -r -a moves <<<"${line#position startpos moves }"
  {
    echo "position startpos"
    echo go
    for ((ply = 1; ply < plies && ply <= ${#moves[@]}; ply++)); do
      echo "position startpos moves ${moves[*]:0:ply}"
      echo go
    done
    echo quit
  } >"$work/input"
  (cd "$work/native" && "$native" <"$work/input" >"$work/native.out")
  (cd "$work/other" && "$runner" "$engine" <"$work/input" >"$work/other.out")
  if ! cmp -s "$work/native.out" "$work/other.out"; then
    differing=$((differing + 1))
    echo "game $game differs:"
    diff "$work/native.out" "$work/other.out" || true
  fi
  book_moves=$((book_moves + $(grep -c '^info BookMove' "$work/native.out" || true)))
done 3<"$games"

echo "$game games, $book_moves book moves, $differing differ"
# The books answered: a real line leaves them only after some moves.
[ "$game" -eq "$count" ] && [ "$differing" -eq 0 ] && [ "$book_moves" -ge "$count" ]
