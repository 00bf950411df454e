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

[ "$#" -le 1 ] || { echo "usage: scripts/install-deps.sh [play|test]" >&2; exit 2; }
set_name=${1:-test}
case "$set_name" in
  play | test) ;;
  *)
    echo "usage: scripts/install-deps.sh [play|test]" >&2
    exit 2
    ;;
esac

cd "$(dirname "$0")/.."
. scripts/lib/packages.sh

# To build the engine and make the default books: the compiler, the build tools, PCRE2, PolyGlot
# (which makes the tour book) and GNU Chess's book (the main book).
packages=(g++ cmake ninja-build pkg-config libpcre2-dev polyglot gnuchess-book)

if [ "$set_name" = test ]; then
  # ca-certificates lets npm reach its registry over HTTPS; a minimal Debian lacks it. xboard
  # leaves at start without X fonts for its font set: xfonts-100dpi is the first of those it
  # recommends.
  packages+=(libgtest-dev libgmock-dev libbenchmark-dev stockfish pgn-extract valgrind xboard xfonts-100dpi
    xvfb xauth ca-certificates)

  # The fuzz build links clang's sanitizer and fuzzer runtime, which Debian ships once per clang
  # version. A clang that is already here needs the runtime of its own major version. Without
  # one, the release's default clang and default runtime come together: both metapackages are
  # built from the same source, so their versions match on every release.
  clang_major=""
  if command -v clang >/dev/null 2>&1; then
    clang_major=$(clang -dumpversion 2>/dev/null | cut -d. -f1)
  fi
  if [[ "$clang_major" =~ ^[0-9]+$ ]]; then
    packages+=("libclang-rt-$clang_major-dev")
  else
    packages+=(clang libclang-rt-dev)
  fi

  # Node may come from another source that bundles npm (and conflicts with Debian's npm).
  command -v node >/dev/null 2>&1 || packages+=(nodejs)
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi
need_packages "${packages[@]}" || exit 1

# The game tests' npm packages (node-uci, chess.js), pinned by tests/games/package-lock.json.
if [ "$set_name" = test ]; then
  if [ ! -d tests/games/node_modules/node-uci ] || [ ! -d tests/games/node_modules/chess.js ]; then
    npm ci --prefix tests/games --no-audit --no-fund
  fi
fi
