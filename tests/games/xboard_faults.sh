#!/usr/bin/env bash
# The xboard match must fail, and fail fast, when the engine misbehaves. The real
# engine is put behind a wrapper that breaks one thing: it answers for the position
# before the opponent's last move (so every move it sends is illegal), or it is
# killed in the middle of a game, at its 5th go (xboard would then wait on a dialog
# for ever).
#
#   tests/games/xboard_faults.sh ENGINE BOOKS_DIR
set -euo pipefail

if [ "$#" -ne 2 ]; then
  echo "usage: $0 ENGINE BOOKS_DIR" >&2
  exit 2
fi
engine=$(realpath "$1")
books=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
# expect NAME WRAPPER_BODY PATTERN: the match must exit non-zero, within the limit,
# and its output must match PATTERN.
expect() {
  local name=$1 body=$2 pattern=$3
  printf '#!/usr/bin/env bash\nENGINE=%q\nHERE=%q\n%s\n' "$engine" "$here" "$body" >"$work/$name.sh"
  chmod +x "$work/$name.sh"
  local status=0
  XBOARD_MATCH_LIMIT=120 "$here/xboard_match.sh" "$work/$name.sh" "$books" "$work/$name" 2 >"$work/$name.out" 2>&1 || status=$?
  if [ "$status" -ne 0 ] && grep -qE "$pattern" "$work/$name.out"; then
    echo "ok: $name"
  else
    echo "FAILED: $name (exit status $status; expected output matching: $pattern)"
    cat "$work/$name.out"
    failures=$((failures + 1))
  fi
}

expect stale_position \
  'sed -u -E "s/ [a-h][1-8][a-h][1-8][nbrq]?\$//" | "$ENGINE"' \
  'FAULT: game 1: ended by a fault: .*illegal engine move'
expect killed_engine \
  'exec "$HERE/kill_at_go.sh" 5 "$ENGINE"' \
  'xboard-match: stopped: .*terminated with signal 9'

echo "$((2 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
