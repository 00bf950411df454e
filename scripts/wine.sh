#!/usr/bin/env bash
# Runs a Windows program under Wine, headless, in the build tree's own Wine prefix
# (build/windows/wine), so nothing in the user's ~/.wine is touched:
#   scripts/wine.sh PROGRAM.exe [ARGS...]  runs it; standard input, output and exit status pass through
#   scripts/wine.sh --start                creates the prefix if needed and keeps one wineserver and
#                                          Wine's services running, so a program starts in a fraction of
#                                          a second
#   scripts/wine.sh --stop                 stops that wineserver
#   scripts/wine.sh --found                exits 0 when a Wine loader is installed
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

export WINEPREFIX="$root/build/windows/wine"
export WINEDEBUG=-all
# No Mono or Gecko installer dialogs when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# Debian 12's wine64 package (installed without its recommends) has only /usr/lib/wine/wine64;
# the wine package adds /usr/bin/wine.
first_program() {
  for candidate in "$@"; do
    if [[ "$candidate" == /* ]]; then
      [ -x "$candidate" ] && { echo "$candidate"; return 0; }
    elif command -v "$candidate" >/dev/null 2>&1; then
      command -v "$candidate"
      return 0
    fi
  done
  return 1
}
wine=$(first_program wine /usr/lib/wine/wine64 wine64 /usr/lib/wine/wine) || {
  [ "${1:-}" = --found ] && exit 1
  echo "wine.sh: no Wine loader found; scripts/build-windows.sh installs it" >&2
  exit 127
}
wineserver=$(first_program wineserver /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver)

case "${1:-}" in
  --found)
    exit 0
    ;;
  --start)
    mkdir -p "$WINEPREFIX"
    # The server stays ten minutes after the last program ends, so a whole test run keeps one
    # server; if one is running already, that one is used.
    "$wineserver" -p600 2>/dev/null || true
    # The first start creates the prefix (half a minute); later ones find it ready.
    [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot --init </dev/null >/dev/null 2>&1
    # Wine's own background services start with the first program and inherit its standard
    # handles: started here on /dev/null, they never hold a test's pipes open.
    "$wine" cmd /c exit </dev/null >/dev/null 2>&1
    ;;
  --stop)
    "$wineserver" -k 2>/dev/null || true
    ;;
  "")
    echo "usage: scripts/wine.sh PROGRAM.exe [ARGS...] | --start | --stop | --found" >&2
    exit 2
    ;;
  *)
    exec "$wine" "$@"
    ;;
esac
