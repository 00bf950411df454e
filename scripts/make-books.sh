#!/usr/bin/env bash
# Puts the default opening books into DIR: mainbook.bin (Debian's gnuchess-book, a
# Polyglot book) and tourbook.bin (built from books/tourbook.pgn with polyglot make-book).
# Existing files are replaced, so a re-run brings them back to the project's versions.
set -euo pipefail

if [ "$#" -ne 1 ]; then
  echo "usage: scripts/make-books.sh DIR" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
mkdir -p "$dir"

main_source=/usr/share/games/gnuchess/book.bin
polyglot=/usr/games/polyglot
for needed in "$main_source" "$polyglot"; do
  if [ ! -e "$needed" ]; then
    echo "make-books: $needed is missing (install gnuchess-book and polyglot)" >&2
    exit 1
  fi
done

cp "$main_source" "$dir/mainbook.bin.tmp"
mv "$dir/mainbook.bin.tmp" "$dir/mainbook.bin"

# polyglot writes its progress to standard output and always exits 0, so the result is checked.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && "$polyglot" make-book -pgn "$root/books/tourbook.pgn" -bin tourbook.bin -min-game 1 >make-book.log 2>&1)
if [ ! -s "$work/tourbook.bin" ]; then
  cat "$work/make-book.log" >&2
  echo "make-books: polyglot make-book wrote no tourbook.bin" >&2
  exit 1
fi
mv "$work/tourbook.bin" "$dir/tourbook.bin"
