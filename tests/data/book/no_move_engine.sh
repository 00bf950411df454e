#!/bin/sh
# A UCI engine that knows no move: behind polyglot it makes every answer that is not
# "bestmove 0000" a move from polyglot's own book.
while read -r line; do
  case "$line" in
    uci) echo "id name no-move"; echo "uciok" ;;
    isready) echo "readyok" ;;
    go*) echo "bestmove 0000" ;;
    quit) exit 0 ;;
  esac
done
