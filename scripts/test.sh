#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, in parts:
#   scripts/test.sh [PART...]    the parts named (default: all of them)
#   scripts/test.sh --list       the parts, one a line, with what each tests
# Independent builds and checks run side by side (BRINDLET_TEST_SLOTS at a time, default 3),
# each part's output in build/test-logs/TASK.log. A part whose runtime cannot be had here (Wine,
# qemu-user, chromium, emscripten, a cross compiler) has its programs built where their compiler
# installed, and its tests are reported as skipped with the reason; every other part still runs
# and decides the result. The last lines are a summary, one line a part, then the count of tests.
# BRINDLET_REQUIRE_ALL=1 makes any skipped part a failure (scripts/release.sh sets it).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/test-parts.sh

all_parts=(native sanitizers fuzz windows windows32 web s390x armhf deb)
describe() {
  case "$1" in
    native) echo "the Release build's tests (unit, end-to-end, books, games against GUIs and oracles)" ;;
    sanitizers) echo "every test that can run so, built with AddressSanitizer + UndefinedBehaviorSanitizer" ;;
    fuzz) echo "the libFuzzer targets, each for a fixed number of inputs" ;;
    windows) echo "the x64 Windows build and its zip under Wine (wine64)" ;;
    windows32) echo "the x86 Windows build and its zip under 32-bit Wine (wine32, or a Debian 13 root with it)" ;;
    web) echo "the WebAssembly build under Node, and the page in Debian's chromium" ;;
    s390x) echo "the s390x build (big-endian) under qemu-user against this machine's" ;;
    armhf) echo "the armhf build (32-bit, unsigned char) under qemu-user against this machine's" ;;
    deb) echo "the Debian source package and .deb: lintian, blhc, the file list" ;;
  esac
}

parts=()
for arg in "$@"; do
  case "$arg" in
    --list)
      for part in "${all_parts[@]}"; do printf '%-11s %s\n' "$part" "$(describe "$part")"; done
      exit 0 ;;
    *)
      if [[ " ${all_parts[*]} " != *" $arg "* ]]; then
        echo "usage: scripts/test.sh [--list] [PART...]; the parts: ${all_parts[*]}" >&2
        exit 2
      fi
      parts+=("$arg") ;;
  esac
done
[ "${#parts[@]}" -gt 0 ] || parts=("${all_parts[@]}")
selected() { [[ " ${parts[*]} " == *" $1 "* ]]; }

logs=build/test-logs
rm -rf "$logs"
mkdir -p "$logs" build/skips
jobs=$(nproc)

# --- What the parts need, installed one after the other (apt takes one run at a time) ----------
setup_start=$(date +%s)
echo "== test.sh [$(date +%T)]: installing what is missing (log: $logs/setup.log)"
{
  scripts/install-deps.sh test
  windows_targets=()
  selected windows && windows_targets+=(x64)
  selected windows32 && windows_targets+=(x86)
  [ "${#windows_targets[@]}" -eq 0 ] || scripts/build-windows.sh --deps "${windows_targets[@]}"
  ! selected web || scripts/build-web.sh --deps --for-tests
  arches=()
  for arch in s390x armhf; do selected "$arch" && arches+=("$arch"); done
  [ "${#arches[@]}" -eq 0 ] || scripts/check-arch.sh --deps "${arches[@]}"
  ! selected deb || scripts/check-deb.sh --deps
} >"$logs/setup.log" 2>&1 || {
  tail -n 30 "$logs/setup.log" >&2
  echo "test.sh: installing what the tests need failed ($logs/setup.log)" >&2
  exit 1
}
echo "== test.sh [$(date +%T)]: installed in $(($(date +%s) - setup_start)) s"

# --- The tasks: builds, then the checks that use them ----------------------------------------
arch_list=$(IFS=';' && echo "${arches[*]}")
release_build() {
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON \
    -DBRINDLET_WINDOWS_TESTS=ON -DBRINDLET_WEB_TESTS=ON -DBRINDLET_INSTALL_BOOKS=ON \
    -DBRINDLET_ARCH_TESTS="$arch_list"
  cmake --build build/release -j "$jobs"
}
sanitizers_run() {
  cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLET_SANITIZE=ON
  cmake --build build/sanitize -j "$jobs"
  run_ctest build/sanitize -LE no-sanitize
}
fuzz_run() {
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINDLET_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
  cmake --build build/fuzz -j "$jobs"
  run_ctest build/fuzz
}
# The Release build's tests of one part: those with LABEL (or, for native, without any target's).
release_check() {
  local part=$1
  shift
  skipped_part "$part" && return 3
  run_ctest build/release "$@"
}
# check_task PART DEPENDENCIES CTEST_OPTIONS...: PART's tests in the Release build, as a task; its
# options are kept in $logs/PART.filter, from which the summary counts the tests of a skipped part.
check_task() {
  local part=$1 deps=$2
  shift 2
  printf '%s\n' "$@" >"$logs/$part.filter"
  add_task "$part" "$deps" release_check "$part" "$@"
}
deb_run() {
  # Built without its tests, which the other parts run; its checks count as one test.
  if scripts/check-deb.sh; then echo "1 0 0" >"$logs/$task.count"; else echo "0 1 0" >"$logs/$task.count"; return 1; fi
}

# In the order they start when they can: the longest chains first (the builds whose checks take
# longest), the short independent parts last.
selected native || selected windows || selected windows32 || selected web || selected s390x ||
  selected armhf && add_task release-build "" release_build
selected sanitizers && add_task sanitizers "" sanitizers_run
for arch in "${arches[@]}"; do
  add_task "$arch-build" "" scripts/check-arch.sh --build "$arch"
done
selected web && add_task web-build "" scripts/build-web.sh --for-tests
for arch in "${arches[@]}"; do
  check_task "$arch" "release-build $arch-build" -L "^arch-$arch\$" -V
done
selected web && check_task web "release-build web-build" -L '^web$'
selected native && check_task native release-build -LE '^(windows|windows32|web|arch-.*)$'
selected windows && add_task windows-build "" scripts/build-windows.sh x64
selected windows32 && add_task windows32-build "" scripts/build-windows.sh x86
selected windows && check_task windows "release-build windows-build" -L '^windows$' -LE '^windows32$'
selected windows32 && check_task windows32 "release-build windows32-build" -L '^windows32$'
selected deb && add_task deb "" deb_run
selected fuzz && add_task fuzz "" fuzz_run
# The sanitizers' build and tests are the longest chain; everything else waits for the Release build.
urgent release-build sanitizers

run_tasks "${BRINDLET_TEST_SLOTS:-3}"

# --- The summary ------------------------------------------------------------------------------
for part in "${parts[@]}"; do
  case "$part" in
    native | sanitizers | fuzz | deb) part_tasks "$part" "$part" ;;
    *) part_tasks "$part" "$part-build" "$part" ;;
  esac
done
echo "== test.sh [$(date +%T)]: done in $(($(date +%s) - setup_start)) s, installs included"
summarize "${parts[@]}"
