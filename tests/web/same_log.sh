#!/usr/bin/env bash
# One scripted session with the default books, given to the native engine and to the
# WebAssembly engine under Node, each in a folder of its own: the same answers, and the same log
# lines, apart from the start time in the first one.
#   same_log.sh NATIVE_ENGINE NODE ENGINE_JS MAKE_BOOKS
set -euo pipefail
native=$1
node=$2
engine_js=$3
make_books=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$make_books" "$work/native" >/dev/null
mkdir "$work/web"
cp "$work/native/tourbook.bin" "$work/native/mainbook.bin" "$work/web/"

# Book moves until the first miss, a mate in 2 for the solver, a refused FEN, the search,
# commands the engine ignores, several items on one line, a CR LF line end.
cat >"$work/input" <<'SESSION'
uci
debug on
isready
ucinewgame
position startpos
go
position startpos moves e2e4 e7e5 g1f3
go
setoption name Hash value 16
position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1
go infinite
position fen r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 12
go
position fen 8/8/8/8/8/8/8/8 w - - 0 1
go
position fen rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2 moves g1f3
go
isready stop
SESSION
printf 'isready\r\nquit\n' >>"$work/input"

(cd "$work/native" && "$native" <"$work/input" >"$work/native.out")
(cd "$work/web" && "$node" "$engine_js" <"$work/input" >"$work/web.out")

comparable_log() { sed '1s/\[[0-9][0-9]:[0-9][0-9]:[0-9][0-9]\]\r$/[time]\r/' "$1"; }
failed=0
if ! cmp -s "$work/native.out" "$work/web.out"; then
  echo "the answers differ:"
  diff "$work/native.out" "$work/web.out" || true
  failed=1
fi
if ! diff <(comparable_log "$work/native/brindlet.log") <(comparable_log "$work/web/brindlet.log"); then
  echo "the logs differ (above)"
  failed=1
fi
sources=$(grep -c '^info ' "$work/web.out" || true)
echo "$(wc -l <"$work/web/brindlet.log") log lines, $sources moves: $(sed -n 's/^info //p' "$work/web.out" | sort | uniq -c | tr -s ' \n' ' ')"
[ "$failed" -eq 0 ] && grep -q '^info BookMove' "$work/web.out" && grep -q '^info SolveMate' "$work/web.out" &&
  grep -q '^info BestMove' "$work/web.out"
