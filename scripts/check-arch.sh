#!/usr/bin/env bash
# Builds the engine and brindlet-tool for other architectures with Debian's cross compilers and
# checks under qemu-user that they answer as the build for this machine does:
#   scripts/check-arch.sh [--deps | --build] ARCH...
#   ARCH: amd64 i386 arm64 armhf ppc64el s390x riscv64, or all
# For each ARCH in turn: PCRE2 from the one shared source (scripts/pcre2-build.sh), the two
# programs in build/arch/ARCH/ (cmake/linux-cross.cmake) with build/arch/ARCH/run, which starts a
# program under "qemu-ARCH -L /usr/TRIPLET" (the machine's own architecture runs directly), and
# the tests labelled arch-ARCH of the Release build, build/release (configured for them here):
# the bench with its nodes signature and every move, the engine's end-to-end tests,
# "brindlet-tool best" over the bench suite, the default books' answers in one session and along
# real games, each equal to this machine's build, and on 32-bit systems a book past 2 GiB. Each
# test's output is kept in build/arch/ARCH/tests.log; a summary ends the run.
# --deps only installs what is needed (the cross compilers, qemu-user); --build also builds, and
# leaves the checks to scripts/test.sh. Where qemu-user cannot be had, the programs are still
# built, and why they cannot be run is written to build/skips/ARCH. Safe to run again: what is
# already built is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/lib/packages.sh

all=(amd64 i386 arm64 armhf ppc64el s390x riscv64)
mode=check
arches=()
for arg in "$@"; do
  case "$arg" in
    --deps) mode=deps ;;
    --build) mode=build ;;
    all) arches+=("${all[@]}") ;;
    -*) arches=(); break ;;
    *) arches+=("$arg") ;;
  esac
done
if [ "${#arches[@]}" -eq 0 ]; then
  echo "usage: scripts/check-arch.sh [--deps | --build] ARCH... (from ${all[*]}, or all)" >&2
  exit 2
fi
# Debian's architecture, its GNU triplet and qemu's name for it.
triplet_of() {
  case "$1" in
    amd64) echo x86_64-linux-gnu ;; i386) echo i686-linux-gnu ;; arm64) echo aarch64-linux-gnu ;;
    armhf) echo arm-linux-gnueabihf ;; ppc64el) echo powerpc64le-linux-gnu ;;
    s390x) echo s390x-linux-gnu ;; riscv64) echo riscv64-linux-gnu ;; *) return 1 ;;
  esac
}
qemu_of() {
  case "$1" in
    amd64) echo x86_64 ;; i386) echo i386 ;; arm64) echo aarch64 ;; armhf) echo arm ;;
    ppc64el) echo ppc64le ;; *) echo "$1" ;;
  esac
}
for arch in "${arches[@]}"; do
  triplet_of "$arch" >/dev/null || { echo "check-arch.sh: unknown architecture $arch (${all[*]})" >&2; exit 2; }
done
mapfile -t arches < <(printf '%s\n' "${arches[@]}" | awk '!seen[$0]++')
native=$(dpkg --print-architecture)

qemu_binary() { command -v "qemu-$1" || command -v "qemu-$1-static" || true; }

echo "== check-arch [$(date +%T)]: ${arches[*]}"
# --- What it needs ----------------------------------------------------------------------------
# The native build and its tests, PCRE2's source (dpkg-source), the default books, stockfish for
# the tracker's tests; per architecture its cross compiler (which brings that architecture's C
# library) and qemu-user.
need_packages g++ cmake ninja-build pkg-config make dpkg-dev xz-utils bzip2 libpcre2-dev libgtest-dev \
  libgmock-dev polyglot gnuchess-book stockfish
mkdir -p build/skips
for arch in "${arches[@]}"; do
  rm -f "build/skips/$arch"
  [ "$arch" != "$native" ] || continue
  if ! need_packages "g++-$(triplet_of "$arch")"; then
    echo "no cross compiler g++-$(triplet_of "$arch"): $packages_error" >"build/skips/$arch"
    continue
  fi
  [ -z "$(qemu_binary "$(qemu_of "$arch")")" ] || continue
  # Debian 12's qemu-user holds the emulators; where a release turned it into a transitional
  # package, qemu-user-static holds them (named qemu-ARCH-static there on Debian 12).
  need_packages qemu-user || true
  [ -n "$(qemu_binary "$(qemu_of "$arch")")" ] || need_packages qemu-user-static || true
  [ -n "$(qemu_binary "$(qemu_of "$arch")")" ] ||
    echo "no qemu-$(qemu_of "$arch"): $packages_error" >"build/skips/$arch"
done
echo "== check-arch [$(date +%T)]: what it needs is installed"
[ "$mode" != deps ] || exit 0

# --- The builds and the checks ---------------------------------------------------------------
jobs=$(nproc)
out=$root/build/arch
mkdir -p "$out"
if [ "$mode" = check ]; then
  # The Release build, whose tests drive the others, configured for these architectures.
  list=$(IFS=';' && echo "${arches[*]}")
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DBRINDLET_ARCH_TESTS="$list" >/dev/null
  cmake --build build/release -j "$jobs" --target brindlet brindlet-tool engine_session_tests hostile_gui_tests \
    tracker_engine_tests book_real_tests
fi

# PCRE2 and the two programs for one architecture, with its launcher build/arch/ARCH/run.
build_for() {
  local arch=$1 triplet=$2 dir=$3
  scripts/pcre2-build.sh "$dir/deps" "$triplet" || return 1
  cmake -S . -B "$dir/engine" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/linux-cross.cmake" -DBRINDLET_CROSS_TRIPLET="$triplet" \
    -DBRINDLET_CROSS_DEPS="$dir/deps" -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$dir" -DBUILD_TESTING=OFF >/dev/null || return 1
  cmake --build "$dir/engine" -j "$jobs" --target brindlet brindlet-tool || return 1
  if [ "$arch" = "$native" ]; then
    printf '#!/bin/sh\nexec "$@"\n' >"$dir/run"
  else
    printf '#!/bin/sh\n# %s programs under qemu-user, with its own C and C++ libraries.\nexec %s -L /usr/%s "$@"\n' \
      "$arch" "$(qemu_binary "$(qemu_of "$arch")")" "$triplet" >"$dir/run"
  fi
  chmod +x "$dir/run"
}

# Each architecture is built and checked before the next.
failed=()
summary=()
for arch in "${arches[@]}"; do
  triplet=$(triplet_of "$arch")
  dir=$out/$arch
  if grep -qs '^no cross compiler' "build/skips/$arch"; then
    summary+=("$arch: skipped: $(cat "build/skips/$arch")")
    continue
  fi
  echo "== check-arch [$(date +%T)]: building for $arch ($triplet)"
  start=$(date +%s)
  if ! build_for "$arch" "$triplet" "$dir"; then
    failed+=("$arch")
    summary+=("$arch: FAILED to build")
    continue
  fi
  built=$(date +%s)
  if [ "$mode" = build ]; then
    summary+=("$arch: built in $((built - start)) s")
    continue
  fi
  if [ -f "build/skips/$arch" ]; then
    summary+=("$arch: skipped: $(cat "build/skips/$arch")")
    continue
  fi

  echo "== check-arch [$(date +%T)]: checking $arch"
  status=0
  # Every test's output, the passed ones' too, goes to tests.log.
  ctest --test-dir build/release -L "^arch-$arch\$" -V -j "$jobs" >"$dir/tests.log" 2>&1 || status=1
  grep -q '100% tests passed' "$dir/tests.log" || status=1
  [ "$status" -eq 0 ] || failed+=("$arch")
  bench=$(grep -m 1 -o 'positions .*total ms [0-9]*' "$dir/tests.log" || true)
  tests=$(sed -n 's/.* tests passed, \([0-9]*\) tests failed out of \([0-9]*\)/\2 tests, \1 failed/p' "$dir/tests.log")
  summary+=("$arch: $([ "$status" -eq 0 ] && echo passed || echo FAILED) ($tests; bench: ${bench:-none}); built in $((built - start)) s, checked in $(($(date +%s) - built)) s")
done
echo "== check-arch:"
printf '  %s\n' "${summary[@]}"
[ "${#failed[@]}" -eq 0 ] || { echo "check-arch.sh: failed for ${failed[*]} (build/arch/ARCH/tests.log)" >&2; exit 1; }
