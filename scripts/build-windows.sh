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

. scripts/packages.sh

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

# PCRE2's 8-bit library, static, from Debian's own pcre2 source (scripts/pcre2-build.sh).
deps=$out/deps
scripts/pcre2-build.sh "$deps" x86_64-w64-mingw32 x86_64-w64-mingw32-gcc-posix

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

# --- The zip for Windows users -----------------------------------------------------------------
# build/windows/brindlet-VERSION-windows-x86_64.zip holds one folder, brindlet-VERSION/, with the
# two programs, the default books, README.txt and COPYING.txt (both with CR LF line ends). The
# version is CMake's project version, as the configured build read it.
zip_missing=()
for package in zip unzip polyglot gnuchess-book; do
  installed "$package" || zip_missing+=("$package")
done
if [ "${#zip_missing[@]}" -gt 0 ]; then
  $SUDO apt-get update
  apt_install "${zip_missing[@]}"
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/engine/CMakeCache.txt")
if [ -z "$version" ]; then
  echo "build-windows.sh: no project version in $out/engine/CMakeCache.txt" >&2
  exit 1
fi
name=brindlet-$version
stage=$out/zip
rm -rf "$stage"
mkdir -p "$stage/$name"
cp "$out/brindlet.exe" "$out/brindlet-tool.exe" "$stage/$name/"
scripts/make-books.sh "$stage/$name"
# PCRE2's license asks for its notice beside the programs that contain the library.
pcre_licence=$(ls "$root"/build/pcre2/source/pcre2/LICENCE* 2>/dev/null | head -n 1 || true)
if [ -z "$pcre_licence" ]; then
  echo "build-windows.sh: PCRE2's LICENCE is missing in build/pcre2/source/pcre2" >&2
  exit 1
fi
crlf() { sed 's/\r$//; s/$/\r/'; }
{
  sed "s/@VERSION@/$version/g" packaging/windows/README.txt
  echo
  cat "$pcre_licence"
} | crlf >"$stage/$name/README.txt"
crlf <COPYING >"$stage/$name/COPYING.txt"
# The same files give the same zip: fixed times, no Unix extra fields.
touch -d "@$(git log -1 --format=%ct 2>/dev/null || date +%s)" "$stage/$name" "$stage/$name"/*
rm -f "$out/$name-windows-x86_64.zip"
(cd "$stage" && zip -q -X -r "$out/$name-windows-x86_64.zip" "$name")
rm -rf "$stage"
ls -l "$out/$name-windows-x86_64.zip"
