#!/usr/bin/env bash
# Prints the time of one "go" in Debian's chromium (the WebAssembly engine in a Web Worker)
# against the native engine over the bench suite, median and slowest, and the sizes of the
# engine's script and of the whole page.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-web.sh >/dev/null
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target brindlet >/dev/null
node web/bench/go-time.mjs build/web build/release/frontend/brindlet tests/data/search/bench_positions.txt
site=build/web
sum() { awk '{ total += $1 } END { print total }'; }
wasm=$(node -e 'const text = require("fs").readFileSync(process.argv[1], "utf8");
  const data = /data:application\/octet-stream;base64,([A-Za-z0-9+\/=]+)/.exec(text)[1];
  console.log(Buffer.from(data, "base64").length)' "$site/brindlet.js")
echo "brindlet.js (the engine, its .wasm embedded): $(stat -c %s "$site/brindlet.js") bytes," \
  "gzip -9: $(gzip -9 -c "$site/brindlet.js" | wc -c) bytes; the .wasm in it: $wasm bytes"
page=$(find "$site" -maxdepth 1 -type f \( -name '*.html' -o -name COPYING \) -printf '%s\n' | sum)
assets=$(find "$site/src" "$site/vendor" -type f -printf '%s\n' | sum)
books=$(stat -c %s "$site/tourbook.bin" "$site/mainbook.bin" | sum)
echo "the page without the engine: $((page + assets)) bytes (index.html, COPYING, src/, vendor/); the books: $books bytes"
