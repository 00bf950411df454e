#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the default books need.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libpcre3-dev libgtest-dev libgmock-dev libbenchmark-dev
  stockfish polyglot gnuchess-book pgn-extract
  clang libclang-rt-14-dev valgrind
  xboard xvfb xauth
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

# Node may come from another source that bundles npm (and conflicts with Debian's npm).
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)

if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi

# The game tests' npm packages (node-uci, chess.js), pinned by tests/games/package-lock.json.
cd "$(dirname "$0")/.."
if [ ! -d tests/games/node_modules/node-uci ] || [ ! -d tests/games/node_modules/chess.js ]; then
  npm ci --prefix tests/games --no-audit --no-fund
fi
