#!/usr/bin/env bash
# Builds the engine and the default books, then starts the engine in run/, where it finds
# tourbook.bin and mainbook.bin and writes brindlet.log. Type "uci", "isready", "go", "quit".
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh play >&2
# The tests need GoogleTest, which play does not install: they are left out of the build unless
# an earlier configure (scripts/test.sh) found it.
testing=(-DBUILD_TESTING=OFF)
if grep -qsE '^(GTest_DIR|GTEST_INCLUDE_DIR):PATH=/' build/release/CMakeCache.txt; then
  testing=()
fi
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release "${testing[@]}" >&2
cmake --build build/release -j "$(nproc)" --target brindlet >&2
mkdir -p run
if [ ! -f run/mainbook.bin ] || [ ! -f run/tourbook.bin ]; then
  scripts/make-books.sh run >&2
fi
cd run
exec ../build/release/frontend/brindlet
