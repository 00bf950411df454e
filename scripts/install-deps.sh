#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the default books need, on Debian 12
# (bookworm) and Debian 13 (trixie). Safe to run again: it installs only what is missing, and when
# nothing is missing it runs neither apt nor npm.
set -euo pipefail

# ca-certificates lets npm reach its registry over HTTPS; a minimal Debian lacks it.
packages=(
  g++ cmake ninja-build pkg-config
  libpcre2-dev libgtest-dev libgmock-dev libbenchmark-dev
  stockfish polyglot gnuchess-book pgn-extract
  valgrind xboard xvfb xauth ca-certificates lintian
)

missing=()
installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done

# The fuzz build links clang's sanitizer and fuzzer runtime, which Debian ships once per clang
# version. A clang that is already here needs the runtime of its own major version. Without one,
# the release's default clang and default runtime come together: both metapackages are built from
# the same source, so their versions match on every release.
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
        echo "  apt-get update && apt-get install -y ${missing[*]}"
      } >&2
      exit 1
    fi
    as_root=(sudo)
  fi
  "${as_root[@]}" apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi

# The game tests' npm packages (node-uci, chess.js), pinned by tests/games/package-lock.json.
cd "$(dirname "$0")/.."
if [ ! -d tests/games/node_modules/node-uci ] || [ ! -d tests/games/node_modules/chess.js ]; then
  npm ci --prefix tests/games --no-audit --no-fund
fi
