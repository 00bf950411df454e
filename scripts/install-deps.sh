#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the default books need.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libpcre3-dev libgtest-dev libgmock-dev libbenchmark-dev
  stockfish polyglot gnuchess-book pgn-extract
  clang libclang-rt-14-dev valgrind
  nodejs npm xboard xvfb xauth
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "${missing[@]}"
fi
