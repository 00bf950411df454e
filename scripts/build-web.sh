#!/usr/bin/env bash
# Builds the engine as WebAssembly with Debian's emscripten, and the page that plays it.
# build/web/ holds the engine's build: brindlet.js (the engine, its .wasm embedded; a Web
# Worker script and a Node program at once), the default books, the CMake tree and PCRE2.
# build/site/ is the site, only what the page serves (scripts/web-site.mjs): the page and its
# modules bundled, the engine with its .wasm gzipped beside it, the books in pieces read on demand, a web app
# manifest and a service worker for offline play; build/brindlet-VERSION-web.zip holds that
# folder as it is, for any static host, the same bytes at every build of the same sources.
# It installs what is missing (emscripten and the tools it runs, the tools to unpack a Debian
# source package, Node and npm for the page), builds PCRE2's 8-bit library for WebAssembly from
# Debian's own pcre2 source package, and checks that the engine answers "uci" under Node. Safe
# to run again. With --for-tests it also installs Debian's chromium, in which the web tests play
# the page; where chromium cannot be had, the reason is written to build/skips/web and
# scripts/test.sh reports the web tests as skipped. --deps only installs.
#   scripts/build-web.sh [--for-tests] [--deps]
set -euo pipefail
for_tests=false
deps_only=false
for arg in "$@"; do
  case "$arg" in
    --for-tests) for_tests=true ;;
    --deps) deps_only=true ;;
    *) echo "usage: scripts/build-web.sh [--for-tests] [--deps]" >&2; exit 2 ;;
  esac
done
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/web
jobs=$(nproc)
mkdir -p "$out" build/skips

. scripts/lib/packages.sh
. scripts/lib/smoke.sh
. scripts/lib/version.sh

# emscripten brings the clang, lld, llvm and binaryen of its release; em++ runs its JavaScript
# optimizer under Node with Debian's acorn. The books come from PolyGlot and GNU Chess's book;
# Python serves the page and writes the zip.
# Node may come from another source that bundles npm (and conflicts with Debian's npm).
node_packages=()
command -v node >/dev/null 2>&1 || node_packages+=(nodejs)
command -v npm >/dev/null 2>&1 || node_packages+=(npm)
rm -f build/skips/web
if ! need_packages emscripten node-acorn "${node_packages[@]}"; then
  # Without its compiler the target cannot be built here: exit 3 says so to scripts/test.sh.
  echo "no emscripten: $packages_error" >build/skips/web
  exit 3
fi
need_packages cmake ninja-build pkg-config make dpkg-dev xz-utils bzip2 python3 polyglot gnuchess-book \
  ca-certificates
if [ "$for_tests" = true ]; then
  need_packages chromium || echo "no chromium: $packages_error" >build/skips/web
fi
[ "$deps_only" = false ] || exit 0
# A Node from outside Debian finds Debian's acorn only on this path.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# PCRE2's 8-bit library, static, from Debian's own pcre2 source (scripts/pcre2-build.sh), as
# for Windows.
deps=$out/deps
scripts/pcre2-build.sh "$deps" wasm32-unknown-emscripten

# The engine, its pkg-config pointed at $deps. Later emscripten releases set PKG_CONFIG_LIBDIR to
# their own sysroot (their toolchain file) and PKG_CONFIG_PATH to EM_PKG_CONFIG_PATH (emcmake),
# so $deps is named in all three.
PKG_CONFIG_LIBDIR=$deps/lib/pkgconfig PKG_CONFIG_PATH=$deps/lib/pkgconfig EM_PKG_CONFIG_PATH=$deps/lib/pkgconfig \
  emcmake cmake -S . -B "$out/engine" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_FIND_ROOT_PATH="$deps" -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$out" -DBUILD_TESTING=OFF
cmake --build "$out/engine" -j "$jobs" --target brindlet

# The engine must start and answer under Node (in a folder of its own, where its log then lies).
check=$(mktemp -d)
answers_uci "$check" node "$out/brindlet.js" || { echo "build-web.sh: brindlet.js does not answer under Node" >&2; exit 1; }
rm -rf "$check"

# The page: its npm packages (pinned by web/package-lock.json), bundled with its own modules
# by esbuild (one of them), nothing from another site. The version is the one the engine's
# build took from CMakeLists.txt.
if [ ! -d web/node_modules/cm-chessboard ] || [ ! -d web/node_modules/chess.js ] || [ ! -d web/node_modules/esbuild ] ||
    [ ! -d web/node_modules/puppeteer-core ] || [ web/package-lock.json -nt web/node_modules/.package-lock.json ]; then
  npm ci --prefix web --no-audit --no-fund
fi
version=$(brindlet_version)
# The default books, which the site ships packed.
[ -f "$out/tourbook.bin" ] && [ -f "$out/mainbook.bin" ] || scripts/make-books.sh "$out"
# Earlier builds wrote the page into build/web/.
rm -rf "$out/src" "$out/vendor" "$out/index.html" "$out/COPYING"
site=$root/build/site
node scripts/web-site.mjs "$out" "$site" "$version"

# The site as a zip, its files under brindlet-VERSION-web/, every entry with the same fixed
# time, so that a rebuild of the same sources gives the same bytes.
zip=$root/build/brindlet-$version-web.zip
python3 scripts/lib/reproducible-zip.py "$zip" "brindlet-$version-web" "$site" 315532800

ls -l "$out/brindlet.js" "$zip"
