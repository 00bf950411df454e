# Sourced: answers_uci DIR COMMAND... starts a built engine by COMMAND in DIR (where its log
# then lies), sends "uci" and "quit", and succeeds when its last line is "uciok"; otherwise it
# says what the engine answered.
answers_uci() {
  local dir=$1 answer
  shift
  answer=$(cd "$dir" && printf 'uci\nquit\n' | "$@" 2>&1 | tr -d '\r') || true
  if [ "$(printf '%s\n' "$answer" | tail -n 1)" != uciok ]; then
    echo "the engine ($*) answered: $answer" >&2
    return 1
  fi
}
