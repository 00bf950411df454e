#!/usr/bin/env bash
# A Windows zip as a user gets it: unpacked into an empty folder, it holds exactly the two
# programs, built for the zip's machine (brindlet-VERSION-windows-x86_64.zip: x64,
# brindlet-VERSION-windows-x86.zip: x86), the two books, README.txt and COPYING.txt (these two
# with CR LF line ends), and brindlet.exe started in its own folder under Wine answers the start
# position from its book.
#   zip_book_move.sh ZIP RUNNER
set -euo pipefail
zip=$1
runner=$2
base=$(basename "$zip" .zip)
name=${base%-windows-*}
machine=${base##*-windows-}
case "$machine" in
  x86_64) pe_machine=6486 bits=64 ;;
  x86) pe_machine=4c01 bits=32 ;;
  *) echo "zip_book_move.sh: $zip is no brindlet-VERSION-windows-{x86_64,x86}.zip" >&2; exit 2 ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

unzip -q "$zip" -d "$work"
listed=$(cd "$work" && find . -mindepth 1 | sort | tr '\n' ' ')
expected=". ./$name ./$name/COPYING.txt ./$name/README.txt ./$name/brindlet-tool.exe ./$name/brindlet.exe ./$name/mainbook.bin ./$name/tourbook.bin "
[ ". $listed" = "$expected" ] || fail "the zip holds: $listed"
# The PE header's machine field (little-endian, after "PE\0\0" at the offset stored at 0x3c).
for program in brindlet.exe brindlet-tool.exe; do
  file=$work/$name/$program
  [ -f "$file" ] || continue
  read -r -a bytes <<<"$(od -An -t u1 -j 60 -N 4 "$file")"
  offset=$((bytes[0] + 256 * bytes[1] + 65536 * bytes[2] + 16777216 * bytes[3]))
  found=$(od -An -t x1 -j "$offset" -N 6 "$file" | tr -d ' \n')
  [ "$found" = "50450000$pe_machine" ] || fail "$program is not an $machine program (PE header: $found)"
done
grep -q "for Windows ($bits-bit)" "$work/$name/README.txt" || fail "README.txt does not say it is for $bits-bit Windows"
for text in README.txt COPYING.txt; do
  # Every line ends in CR LF: no LF without its CR, and the file ends in a line end.
  if grep -q $'[^\r]$' "$work/$name/$text" || grep -qx '' "$work/$name/$text" ||
    [ "$(tail -c 2 "$work/$name/$text" | od -An -c | tr -d ' ')" != '\r\n' ]; then
    fail "$text does not end every line in CR LF"
  fi
done

answer=$(cd "$work/$name" && printf 'uci\nisready\nposition startpos\ngo\nquit\n' | "$runner" ./brindlet.exe | tr -d '\r')
echo "$answer"
grep -qx 'info BookMove' <<<"$answer" || fail "brindlet.exe did not answer the start position with info BookMove"
grep -qE '^bestmove [a-h][1-8][a-h][1-8]$' <<<"$answer" || fail "brindlet.exe gave no bestmove"
grep -q 'book loaded' "$work/$name/brindlet.log" || fail "brindlet.log in the folder does not say the book loaded"

[ "$failures" -eq 0 ] && echo "zip_book_move: ok"
