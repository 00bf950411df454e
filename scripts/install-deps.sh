#!/usr/bin/env bash
# Installs the Debian packages Brindlet needs, on Debian 12 (bookworm) and Debian 13 (trixie):
#   scripts/install-deps.sh play   what building the engine and making its default books needs
#                                  (scripts/play.sh)
#   scripts/install-deps.sh test   that and everything the tests need, with the game tests' npm
#                                  packages (scripts/test.sh); the default
# Safe to run again: it installs only what is missing, and when nothing is missing it runs
# neither apt nor npm. Packages come without the extras they recommend: where something here
# uses one, it is named below.
set -euo pipefail

set_name=${1:-test}
case "$set_name" in
  play | test) ;;
  *)
    echo "usage: scripts/install-deps.sh [play|test]" >&2
    exit 2
    ;;
esac

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
# missing_of NAME...: the names of the packages not installed yet, one a line.
missing_of() {
  local package
  for package in "$@"; do
    installed "$package" || echo "$package"
  done
}

# To build the engine and make the default books: the compiler, the build tools, PCRE2, PolyGlot
# (which makes the tour book) and GNU Chess's book (the main book).
play_packages=(g++ cmake ninja-build pkg-config libpcre2-dev polyglot gnuchess-book)
mapfile -t missing < <(missing_of "${play_packages[@]}")

if [ "$set_name" = test ]; then
  # ca-certificates lets npm reach its registry over HTTPS; a minimal Debian lacks it. xboard
  # leaves at start without X fonts for its font set: xfonts-100dpi is the first of those it
  # recommends.
  mapfile -t -O "${#missing[@]}" missing < <(missing_of libgtest-dev libgmock-dev libbenchmark-dev \
    stockfish pgn-extract valgrind xboard xfonts-100dpi xvfb xauth ca-certificates lintian)

  # The fuzz build links clang's sanitizer and fuzzer runtime, which Debian ships once per clang
  # version. A clang that is already here needs the runtime of its own major version. Without
  # one, the release's default clang and default runtime come together: both metapackages are
  # built from the same source, so their versions match on every release.
  clang_major=""
  if command -v clang >/dev/null 2>&1; then
    clang_major=$(clang -dumpversion 2>/dev/null | cut -d. -f1)
  fi
  if [[ "$clang_major" =~ ^[0-9]+$ ]]; then
    installed "libclang-rt-$clang_major-dev" || missing+=("libclang-rt-$clang_major-dev")
  else
    missing+=(clang libclang-rt-dev)
  fi

  # Node may come from another source that bundles npm (and conflicts with Debian's npm).
  command -v node >/dev/null 2>&1 || missing+=(nodejs)
  command -v npm >/dev/null 2>&1 || missing+=(npm)
fi

if [ "${#missing[@]}" -gt 0 ] && ! command -v apt-get >/dev/null 2>&1; then
  # Not Debian: the names above mean nothing to this system's package manager.
  echo "install-deps: no apt-get here; install what README.md lists under \"Other systems\"" >&2
elif [ "${#missing[@]}" -gt 0 ]; then
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      {
        echo "install-deps: these Debian packages are missing: ${missing[*]}"
        echo "install-deps: install them as root with this command, then run this again:"
        echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
      } >&2
      exit 1
    fi
    as_root=(sudo)
  fi
  "${as_root[@]}" apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The game tests' npm packages (node-uci, chess.js), pinned by tests/games/package-lock.json.
if [ "$set_name" = test ]; then
  cd "$(dirname "$0")/.."
  if [ ! -d tests/games/node_modules/node-uci ] || [ ! -d tests/games/node_modules/chess.js ]; then
    npm ci --prefix tests/games --no-audit --no-fund
  fi
fi
