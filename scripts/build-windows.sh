#!/usr/bin/env bash
# Cross-builds the engine for 64-bit Windows with Debian's mingw-w64 compilers:
#   build/windows/brindlet.exe and build/windows/brindlet-tool.exe, each one static .exe.
# It installs what is missing (the compilers, Wine to try the result, the tools to unpack a
# Debian source package), builds PCRE2's 8-bit library for Windows from Debian's own pcre2
# source package, and checks that the engine answers "uci" under Wine. Safe to run again:
# what is already there is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
jobs=$(nproc)
mkdir -p "$out"

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
apt_install() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "$@"; }

missing=()
for package in g++-mingw-w64-x86-64-posix cmake ninja-build pkg-config make dpkg-dev xz-utils bzip2; do
  installed "$package" || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ] || ! scripts/wine.sh --found; then
  $SUDO apt-get update
fi
[ "${#missing[@]}" -eq 0 ] || apt_install "${missing[@]}"
# Wine, to run the result: Debian 12's wine64 is the 64-bit loader alone. Where wine64 is gone
# or only a transitional package, the wine package carries the loader.
if ! scripts/wine.sh --found; then
  if apt-cache show wine64 >/dev/null 2>&1 && ! apt-cache show wine64 | grep -qi '^Description.*transitional'; then
    apt_install wine64
  fi
  scripts/wine.sh --found || apt_install wine
fi

# PCRE2 from the host release's own source package (scripts/pcre2-source.sh), built static and
# 8-bit only.
deps=$out/deps
if [ ! -f "$deps/lib/libpcre2-8.a" ] || [ ! -f "$deps/lib/pkgconfig/libpcre2-8.pc" ]; then
  pcre=$out/pcre2
  scripts/pcre2-source.sh "$pcre"
  mkdir -p "$pcre/build"
  (
    cd "$pcre/build"
    "$pcre/source/pcre2/configure" --host=x86_64-w64-mingw32 CC=x86_64-w64-mingw32-gcc-posix \
      --prefix="$deps" --disable-shared --enable-static \
      --enable-pcre2-8 --disable-pcre2-16 --disable-pcre2-32
    make -j "$jobs" libpcre2-8.la
    make install-libLTLIBRARIES install-nodist_includeHEADERS install-pkgconfigDATA
  )
fi

# The engine and the tool, with the toolchain file that points pkg-config at $deps.
cmake -S . -B "$out/engine" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$out" -DBUILD_TESTING=OFF
cmake --build "$out/engine" -j "$jobs" --target brindlet brindlet-tool

# The engine must start and answer under Wine (in build/windows, where its log then lies).
scripts/wine.sh --start
answer=$(cd "$out" && printf 'uci\nquit\n' | "$root/scripts/wine.sh" "$out/brindlet.exe")
scripts/wine.sh --stop
if [ "$(printf '%s' "$answer" | tr -d '\r' | tail -n 1)" != uciok ]; then
  echo "build-windows.sh: brindlet.exe under Wine answered: $answer" >&2
  exit 1
fi
ls -l "$out/brindlet.exe" "$out/brindlet-tool.exe"
