#!/usr/bin/env bash
# Runs a Windows program under Wine, headless, in the build tree's own Wine prefixes, so nothing
# in the user's ~/.wine is touched: a 64-bit program in build/windows/wine, a 32-bit one in
# build/windows/wine32 (the machine is read from the program's PE header), or, with the Wine of
# the Debian 13 root that scripts/wine32-root.sh makes where the host has no wine32, in
# build/windows/wine32-debian13 (BRINDLET_WINE32_ROOT=1 takes that Wine even where the host has
# one, to try it).
#   scripts/wine.sh PROGRAM.exe [ARGS...]  runs it; standard input, output and exit status pass through
#   scripts/wine.sh --start [x86]          creates the prefix if needed and keeps one wineserver and
#                                          Wine's services running, so a program starts in a fraction of
#                                          a second (x86: the 32-bit programs' prefix)
#   scripts/wine.sh --stop [x86]           stops that wineserver
#   scripts/wine.sh --found [x86]          exits 0 when a Wine loader is installed (x86: one that
#                                          runs 32-bit programs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

export WINEDEBUG=-all
# No Mono or Gecko installer dialogs when the prefix is made.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# Debian 12's wine64 package (installed without its recommends) has only /usr/lib/wine/wine64;
# the wine package adds /usr/bin/wine, which picks the 32-bit loader when wine32 is there too:
# 64-bit programs take the 64-bit loader first.
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
# elf_class FILE: 1 for a 32-bit ELF program, 2 for a 64-bit one.
elf_class() { od -An -t u1 -j 4 -N 1 "$1" 2>/dev/null | tr -d ' '; }
# pe_machine FILE: x86 for a 32-bit Windows program (PE machine 0x14c), nothing otherwise.
pe_machine() {
  local bytes offset
  [ -f "$1" ] || return 0
  read -r -a bytes <<<"$(od -An -t u1 -j 60 -N 4 "$1" 2>/dev/null)" || return 0
  [ "${#bytes[@]}" -eq 4 ] || return 0
  offset=$((bytes[0] + 256 * bytes[1] + 65536 * bytes[2] + 16777216 * bytes[3]))
  [ "$(od -An -t x1 -j "$offset" -N 6 "$1" 2>/dev/null | tr -d ' \n')" = 504500004c01 ] && echo x86
  return 0
}

arch=""
case "${1:-}" in
  --start | --stop | --found) [ "${2:-}" = x86 ] && arch=x86 ;;
  -*) ;;
  *) [ -n "${1:-}" ] && arch=$(pe_machine "$1") ;;
esac

# in_root COMMAND...: runs COMMAND in build/windows/wine32-root (scripts/wine32-root.sh), in a
# mount namespace of its own that shows the root with this checkout, /tmp, $TMPDIR, the current
# folder and /usr/share/games at their own paths, so that the paths a caller passes mean the same there.
rootfs=$root/build/windows/wine32-root
in_root() {
  # /usr/share/games too: tests link the books of Debian's chess packages from there.
  local binds=("$root" /tmp) folder bound
  [ ! -d /usr/share/games ] || binds+=(/usr/share/games)
  for folder in "${TMPDIR:-/tmp}" "$PWD"; do
    bound=0
    for known in "${binds[@]}"; do
      case "$folder/" in "$known/" | "${known%/}"/*/ ) bound=1 ;; esac
    done
    [ "$folder" = / ] || [ "$bound" -eq 1 ] || binds+=("$folder")
  done
  unshare --mount --propagation private --fork -- /bin/sh -c '
    rootfs=$1 here=$2 count=$3
    shift 3
    while [ "$count" -gt 0 ]; do
      mkdir -p "$rootfs$1" && mount --rbind "$1" "$rootfs$1" || exit 126
      shift
      count=$((count - 1))
    done
    mount -t proc proc "$rootfs/proc" && mount --rbind /dev "$rootfs/dev" || exit 126
    exec chroot "$rootfs" /bin/sh -c '\''cd "$1" && shift && exec "$@"'\'' sh "$here" "$@"' \
    sh "$rootfs" "$PWD" "${#binds[@]}" "${binds[@]}" "$@"
}

runner=()
if [ "$arch" = x86 ]; then
  export WINEPREFIX="$root/build/windows/wine32"
  # wine32 (i386; Debian 12's Wine 8 and Debian 13's Wine 10 alike) adds the 32-bit loader
  # /usr/lib/wine/wine beside wine64's: it runs in a 32-bit prefix, as on 32-bit Windows. Where
  # the machine has none, the Debian 13 root's is taken.
  wine=/usr/lib/wine/wine
  export WINEARCH=win32
  if [ "${BRINDLET_WINE32_ROOT:-0}" = 1 ] || ! { [ -x "$wine" ] && [ "$(elf_class "$wine")" = 1 ]; }; then
    if [ -x "$rootfs$wine" ] && [ "$(id -u)" -eq 0 ]; then
      runner=(in_root)
      # A prefix of its own: another Wine release must not take over the host Wine's.
      export WINEPREFIX="$root/build/windows/wine32-debian13"
    else
      [ "${1:-}" = --found ] && exit 1
      echo "wine.sh: no Wine loader for 32-bit programs found; scripts/build-windows.sh installs it" >&2
      exit 127
    fi
  fi
  prefix=""
  [ "${#runner[@]}" -eq 0 ] || prefix=$rootfs
  wineserver=$(first_program "$prefix/usr/lib/wine/wineserver32" "$prefix/usr/lib/wine/wineserver64" \
    "$prefix/usr/lib/wine/wineserver" wineserver)
  wineserver=${wineserver#"$prefix"}
else
  export WINEPREFIX="$root/build/windows/wine"
  wine=$(first_program /usr/lib/wine/wine64 wine64 wine /usr/lib/wine/wine) || {
    [ "${1:-}" = --found ] && exit 1
    echo "wine.sh: no Wine loader found; scripts/build-windows.sh installs it" >&2
    exit 127
  }
  wineserver=$(first_program wineserver /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver)
fi

case "${1:-}" in
  --found)
    exit 0
    ;;
  --start)
    mkdir -p "$WINEPREFIX"
    # The server stays ten minutes after the last program ends, so a whole test run keeps one
    # server; if one is running already, that one is used.
    "${runner[@]}" "$wineserver" -p600 </dev/null >/dev/null 2>&1 || true
    # The first start creates the prefix (half a minute); later ones find it ready.
    [ -f "$WINEPREFIX/system.reg" ] || "${runner[@]}" "$wine" wineboot --init </dev/null >/dev/null 2>"$WINEPREFIX.log" ||
      { echo "wine.sh: Wine could not make its prefix $WINEPREFIX (its messages: $WINEPREFIX.log)" >&2; exit 1; }
    # Wine's own background services start with the first program and inherit its standard
    # handles: started here on /dev/null, they never hold a test's pipes open.
    "${runner[@]}" "$wine" cmd /c exit </dev/null >/dev/null 2>&1
    ;;
  --stop)
    "${runner[@]}" "$wineserver" -k 2>/dev/null || true
    ;;
  "")
    echo "usage: scripts/wine.sh PROGRAM.exe [ARGS...] | --start [x86] | --stop [x86] | --found [x86]" >&2
    exit 2
    ;;
  *)
    [ "${#runner[@]}" -eq 0 ] || { in_root "$wine" "$@"; exit; }
    exec "$wine" "$@"
    ;;
esac
