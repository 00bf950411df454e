#!/usr/bin/env bash
# Every performance figure from one Release build, in one run: the search over its bench
# suite, the mate solver on real positions and puzzle sets, the opening book, and the whole
# engine over its pipes.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh >/dev/null
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target brindlet brindlet-tool search_bench matesolver_bench book_bench engine_bench >/dev/null

echo "== machine"
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== search: brindlet-tool bench"
build/release/tools/brindlet-tool bench | tail -n 8
echo "== search: Google Benchmark"
build/release/bench/search_bench
echo "== mate solver"
build/release/bench/matesolver_bench
echo "== opening book"
build/release/bench/book_bench
echo "== whole engine over its pipes"
build/release/bench/engine_bench 1000
