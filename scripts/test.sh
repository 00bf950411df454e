#!/usr/bin/env bash
# Builds everything twice (Release, and AddressSanitizer + UndefinedBehaviorSanitizer)
# and runs every test in both builds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build/release -j "$jobs"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLET_SANITIZE=ON
cmake --build build/sanitize -j "$jobs"

ctest --test-dir build/release --output-on-failure -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure -j "$jobs" -LE no-sanitize
