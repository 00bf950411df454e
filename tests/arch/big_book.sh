#!/usr/bin/env bash
# A tour book of 2 GiB and one entry, past the offsets a 32-bit long holds: 2^27 empty entries
# (key 0, no move) and last the start position's e2e4. A build run by RUNNER (for a 32-bit
# system) lists it with "brindlet-tool book", and its engine plays e2e4 from it. The file is
# sparse: it takes no room on disk.
#   big_book.sh RUNNER TOOL ENGINE
set -euo pipefail
runner=$1
tool=$2
engine=$3
start='rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
truncate -s 2G "$work/tourbook.bin"
# Key 463b96181691fc9c, move e2e4 (from e2, to e4: 0x031c), weight 1, learn 0.
printf '\x46\x3b\x96\x18\x16\x91\xfc\x9c\x03\x1c\x00\x01\x00\x00\x00\x00' >>"$work/tourbook.bin"

listed=$(cd "$work" && "$runner" "$tool" book "$start" || true)
echo "$listed"
failed=0
grep -q 'tourbook.bin: 134217729 entries in the book, 1 for this position' <<<"$listed" &&
  grep -qx 'move: e2e4' <<<"$listed" || { echo "the tool does not list the book's entry"; failed=1; }
answer=$(cd "$work" && printf 'position startpos\ngo\nquit\n' | "$runner" "$engine")
[ "$answer" = $'info BookMove\nbestmove e2e4' ] || { echo "the engine answered: $answer"; failed=1; }
[ "$failed" -eq 0 ]
