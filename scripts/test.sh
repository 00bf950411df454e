#!/usr/bin/env bash
# Builds everything in Release and with AddressSanitizer + UndefinedBehaviorSanitizer, runs
# every test in both builds, then runs each libFuzzer target for a fixed number of inputs.
# The Release run includes the tests labelled "windows": the end-to-end tests against the
# Windows build (scripts/build-windows.sh) under Wine, and those labelled "web": the WebAssembly
# build (scripts/build-web.sh) under Node and its page in Debian's chromium.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

jobs=$(nproc)
# A Windows build that fails fails the test command, as a failing test does.
scripts/build-windows.sh
# So does a failed WebAssembly build (scripts/build-web.sh): its tests carry the label "web".
scripts/build-web.sh --for-tests
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DBRINDLET_WINDOWS_TESTS=ON \
  -DBRINDLET_WEB_TESTS=ON -DBRINDLET_INSTALL_BOOKS=ON
cmake --build build/release -j "$jobs"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLET_SANITIZE=ON
cmake --build build/sanitize -j "$jobs"

# libFuzzer targets, each for a fixed number of inputs.
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLET_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
cmake --build build/fuzz -j "$jobs"

# All three runs happen even when one fails; the script fails if any did.
failed=0
ctest --test-dir build/release --output-on-failure -j "$jobs" || failed=1
ctest --test-dir build/sanitize --output-on-failure -j "$jobs" -LE no-sanitize || failed=1
ctest --test-dir build/fuzz --output-on-failure -j "$jobs" || failed=1
# The engine cross-built for s390x (big-endian) and armhf (32-bit, unsigned char), under qemu-user.
scripts/check-arch.sh s390x armhf || failed=1
# Then the Debian package, whatever the runs gave: built (without its tests, which just ran),
# lintian-clean, its file list.
scripts/check-deb.sh || failed=1
exit "$failed"
