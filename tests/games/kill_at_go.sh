#!/usr/bin/env bash
# An engine that dies in the middle of a game, on a game event rather than on a clock: the
# commands are passed on to ENGINE line by line, and the Nth "go" is not: ENGINE gets SIGKILL
# instead, and so does this wrapper once ENGINE is gone, so whoever started the wrapper sees
# its engine killed by signal 9 with that go unanswered, however fast or slow the machine.
# Until then it is ENGINE: it ends when ENGINE ends, with ENGINE's exit status.
#
#   tests/games/kill_at_go.sh N ENGINE
set -euo pipefail

if [ "$#" -ne 2 ]; then
  echo "usage: $0 N ENGINE" >&2
  exit 2
fi
nth=$1
engine_path=$2

# ENGINE reads from a named pipe that the forwarder below writes to, and writes straight to
# this script's standard output.
fifo_dir=$(mktemp -d)
mkfifo "$fifo_dir/in"
"$engine_path" <"$fifo_dir/in" &
engine=$!

# The forwarder reads this script's standard input (named explicitly: a background job would
# otherwise read /dev/null).
exec 4<&0
(
  exec 3>"$fifo_dir/in"
  rm -rf "$fifo_dir"
  gos=0
  while IFS= read -r line; do
    if [[ "$line" == go || "$line" == "go "* ]]; then
      gos=$((gos + 1))
      if [ "$gos" -eq "$nth" ]; then
        kill -KILL "$engine"
        exit 0
      fi
    fi
    printf '%s\n' "$line" >&3 || exit 0
  done
) <&4 &
forwarder=$!
exec 4<&-

status=0
wait "$engine" || status=$?
kill "$forwarder" 2>/dev/null || true
# ENGINE was killed: so is this wrapper.
[ "$status" -ne 137 ] || kill -KILL $$
exit "$status"
