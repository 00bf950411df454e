#!/usr/bin/env bash
# Prints the time of one "go" in Debian's chromium (the WebAssembly engine in a Web Worker)
# against the native engine over the bench suite, median and slowest; the sizes of the site's
# parts; the site's first load on an emulated slow mobile network (Lighthouse's "Slow 4G":
# 1.6 Mbit/s down, 150 ms latency) from an empty cache: the bytes sent before Brindlet's first
# reply (file by file), when the board takes moves, when the reply to 1.e4 comes, and when the
# service worker holds the whole site for offline play; and Lighthouse's mobile scores
# (performance, accessibility, best practices) with its three largest opportunities left.
# Lighthouse comes from web/bench/package.json (its own lock), installed here only, so that the
# tests' npm ci stays small.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-web.sh --for-tests >/dev/null
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target brindlet >/dev/null
site=build/site
node web/bench/go-time.mjs "$site" build/release/frontend/brindlet tests/data/search/bench_positions.txt build/web
sum() { awk '{ total += $1 } END { print total }'; }
wasm=$(gzip -d -c "$site/brindlet.wasm.gz" | wc -c)
echo "the engine: brindlet.js $(stat -c %s "$site/brindlet.js") bytes, brindlet.wasm.gz" \
  "$(stat -c %s "$site/brindlet.wasm.gz") bytes (the .wasm: $wasm bytes)"
pieces=$(find "$site/book" -name '*.pack.gz' -printf '%s\n')
echo "the books in pieces: $(echo "$pieces" | wc -l) pieces, $(echo "$pieces" | sum) bytes, the largest" \
  "$(echo "$pieces" | sort -n | tail -n 1) bytes, and book/index.json $(stat -c %s "$site/book/index.json") bytes" \
  "(as files: $(stat -c %s build/web/tourbook.bin build/web/mainbook.bin | sum) bytes)"
echo "the whole site: $(find "$site" -type f -printf '%s\n' | sum) bytes in $(find "$site" -type f | wc -l) files"
node web/bench/first-load.mjs "$site"
if [ ! -d web/bench/node_modules/lighthouse ] || [ web/bench/package-lock.json -nt web/bench/node_modules/.package-lock.json ]; then
  npm ci --prefix web/bench --no-audit --no-fund >/dev/null
fi
node web/bench/lighthouse.mjs "$site"
