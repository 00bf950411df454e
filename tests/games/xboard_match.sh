#!/usr/bin/env bash
# A match of Brindlet against stockfish in Debian's xboard, headless under Xvfb, with
# our engine behind the polyglot adapter as a GUI user would run it. The games start
# from the opening lines (each line twice, colours swapped), and are then checked by
# check_match.mjs.
#
#   tests/games/xboard_match.sh ENGINE BOOKS_DIR OUT_DIR [GAMES]
#
# OUT_DIR receives match.pgn, xboard.debug (every line between xboard and the two
# adapters) and xboard.out; the engine runs in OUT_DIR/engine, where its books and
# brindlet.log are.
set -euo pipefail

if [ "$#" -lt 3 ] || [ "$#" -gt 4 ]; then
  echo "usage: $0 ENGINE BOOKS_DIR OUT_DIR [GAMES]" >&2
  exit 2
fi
engine=$(realpath "$1")
books=$2
out=$3
games=${4:-10}
here=$(cd "$(dirname "$0")" && pwd)
openings=$here/../data/games/openings/openings.pgn
# The whole match is bounded; a GUI that hangs on a dialog must not hang the test.
limit_seconds=${XBOARD_MATCH_LIMIT:-600}

# xboard starts the adapter by name, and Debian puts it in /usr/games.
export PATH=/usr/games:$PATH
for needed in xboard polyglot stockfish xvfb-run node; do
  command -v "$needed" >/dev/null || { echo "xboard-match: $needed is not installed" >&2; exit 1; }
done

mkdir -p "$out"
out=$(realpath "$out")
# Only what an earlier run left here goes (xboard appends to the PGN).
rm -rf "$out/engine" "$out/stockfish" "$out/match.pgn" "$out/xboard.debug" "$out/xboard.out" "$out/xboardrc"
mkdir -p "$out/engine" "$out/stockfish"
for book in tourbook.bin mainbook.bin; do
  cp "$books/$book" "$out/engine/$book"
done

# Our engine ignores the clock and answers each go in well under a second, so 40
# moves in 5 minutes cannot run out; the time control is there so that a forfeit
# would show up if the engine ever stalled. Stockfish is held to depth 4 at skill 3,
# which takes milliseconds. The settings file is the run's own, so a user's
# ~/.xboardrc neither changes the match nor gets overwritten.
started=$(date +%s)
setsid timeout --kill-after=10 "$limit_seconds" \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  xboard \
    -settingsFile "$out/xboardrc" -saveSettingsOnExit false \
    -fcp "$engine" -fd "$out/engine" -fUCI -fn Brindlet \
    -scp stockfish -sd "$out/stockfish" -sUCI -sn "stockfish skill 3" \
    -secondOptions "Skill Level=3,Threads=1,Hash=16" \
    -matchGames "$games" -matchPause 200 \
    -loadGameFile "$openings" -loadGameIndex -2 \
    -tc 5 -mps 40 -depth 4 -autoCallFlag true -ponderNextMove false \
    -adjudicateDrawMoves 150 \
    -saveGameFile "$out/match.pgn" \
    -debugMode true -nameOfDebugFile "$out/xboard.debug" \
    -popupExitMessage false -animateMoving false -soundProgram true \
    >"$out/xboard.out" 2>&1 &
match=$!

# xboard shows an engine's death in a dialog and then waits for a click that never
# comes, so the debug log is watched and the match is ended at the first such message.
stalled=""
while kill -0 "$match" 2>/dev/null; do
  sleep 1
  if [ -z "$stalled" ] && [ -f "$out/xboard.debug" ]; then
    stalled=$(grep -m1 -E 'tellusererror|terminated with signal|exited unexpectedly' "$out/xboard.debug" || true)
    if [ -n "$stalled" ]; then
      # xboard does not leave on SIGTERM while its dialog is up, so the whole
      # process group of the match (setsid made it) gets SIGKILL.
      kill -KILL -- "-$match" 2>/dev/null || true
    fi
  fi
done
status=0
wait "$match" || status=$?
echo "xboard-match: $games games in $(( $(date +%s) - started )) s (xboard exit status $status)"
if [ -n "$stalled" ]; then
  echo "xboard-match: stopped: ${stalled#* : }" >&2
elif [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
  echo "xboard-match: the match did not finish within $limit_seconds s" >&2
fi

# The engine ran in its own directory (so it had the books) and logged the source of
# every move it sent; the log is truncated at each start, so with xboard reusing the
# engine it covers the whole match.
log=$out/engine/brindlet.log
if [ ! -f "$log" ]; then
  echo "xboard-match: no brindlet.log in $out/engine: the engine did not run there" >&2
  exit 1
fi
count() { grep -c -F "$1" "$log" || true; }
echo "xboard-match: our moves by source: book $(count '[BookMove]'), mate $(count '[SolveMate]'), search $(count '[BestMove]')"

node "$here/check_match.mjs" "$out/match.pgn" "$games" Brindlet || exit 1
[ "$status" -eq 0 ] && [ -z "$stalled" ] || { echo "xboard-match: xboard ended with status $status" >&2; tail -20 "$out/xboard.out" >&2; exit 1; }
