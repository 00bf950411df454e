#!/usr/bin/env bash
# Cross-builds the engine for Windows with Debian's mingw-w64 compilers, each program one static
# .exe:
#   64-bit (x64):  build/windows/brindlet.exe, build/windows/brindlet-tool.exe
#   32-bit (x86):  build/windows/x86/brindlet.exe, build/windows/x86/brindlet-tool.exe
# and the zips for Windows users, build/windows/brindlet-VERSION-windows-x86_64.zip and
# build/windows/brindlet-VERSION-windows-x86.zip. It installs what is missing (the compilers,
# Wine with its 32-bit part to try the results, the tools to unpack a Debian source package),
# builds PCRE2's 8-bit library for each target from Debian's own pcre2 source package, and checks
# that each engine answers "uci" under Wine. Safe to run again: what is already there is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
jobs=$(nproc)
mkdir -p "$out"

. scripts/packages.sh

# apt-get update and install, each waiting for another apt run, and once more if the lock was
# still held.
apt_update() {
  $SUDO apt-get -o DPkg::Lock::Timeout=600 update || $SUDO apt-get -o DPkg::Lock::Timeout=600 update
}
apt_install_again() { apt_install "$@" || apt_install "$@"; }

missing=()
for package in g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix cmake ninja-build pkg-config make \
  dpkg-dev xz-utils bzip2 zip unzip polyglot gnuchess-book; do
  installed "$package" || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ] || ! scripts/wine.sh --found || ! scripts/wine.sh --found x86; then
  # Wine's 32-bit part comes from the i386 architecture.
  if [ "$(dpkg --print-architecture)" = amd64 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  apt_update
fi
[ "${#missing[@]}" -eq 0 ] || apt_install_again "${missing[@]}"
# Wine, to run the results: Debian 12's wine64 is the 64-bit loader alone. Where wine64 is gone
# or only a transitional package, the wine package carries the loader.
if ! scripts/wine.sh --found; then
  if apt-cache show wine64 >/dev/null 2>&1 && ! apt-cache show wine64 | grep -qi '^Description.*transitional'; then
    apt_install_again wine64
  fi
  scripts/wine.sh --found || apt_install_again wine
fi
# And its 32-bit part: wine32 (i386), the 32-bit loader beside the 64-bit one.
if ! scripts/wine.sh --found x86; then
  apt_install_again wine32:i386
  scripts/wine.sh --found x86 || {
    echo "build-windows.sh: no Wine that runs 32-bit programs after installing wine32:i386" >&2
    exit 1
  }
fi

version=""
# build_target ARCH DIR [x86]: PCRE2 and the two programs for Windows on ARCH (x86_64 or i686) in
# DIR, checked under Wine (x86: in the 32-bit programs' prefix).
build_target() {
  local arch=$1 dir=$2 wine_arch=${3:-}
  # PCRE2's 8-bit library, static, from Debian's own pcre2 source (scripts/pcre2-build.sh); the
  # toolchain file points pkg-config at DIR/deps.
  scripts/pcre2-build.sh "$dir/deps" "$arch-w64-mingw32" "$arch-w64-mingw32-gcc-posix"
  # No build path in the programs: the same source gives the same .exe from any checkout.
  # --fresh: the toolchain file's flags are taken anew each time (they are cached otherwise).
  cmake --fresh -S . -B "$dir/engine" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DBRINDLET_WINDOWS_ARCH="$arch" \
    -DCMAKE_CXX_FLAGS="-ffile-prefix-map=$root=." \
    -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$dir" -DBUILD_TESTING=OFF
  cmake --build "$dir/engine" -j "$jobs" --target brindlet brindlet-tool

  # The engine must start and answer under Wine (in DIR, where its log then lies).
  local answer
  scripts/wine.sh --start $wine_arch
  answer=$(cd "$dir" && printf 'uci\nquit\n' | "$root/scripts/wine.sh" "$dir/brindlet.exe")
  if [ "$(printf '%s' "$answer" | tr -d '\r' | tail -n 1)" != uciok ]; then
    echo "build-windows.sh: $dir/brindlet.exe under Wine answered: $answer" >&2
    exit 1
  fi
  ls -l "$dir/brindlet.exe" "$dir/brindlet-tool.exe"
  # The version is CMake's project version, as the configured build read it.
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/engine/CMakeCache.txt")
  if [ -z "$version" ]; then
    echo "build-windows.sh: no project version in $dir/engine/CMakeCache.txt" >&2
    exit 1
  fi
}

# --- The zips for Windows users ----------------------------------------------------------------
# build/windows/brindlet-VERSION-windows-SUFFIX.zip holds one folder, brindlet-VERSION/, with the
# two programs, the default books, README.txt and COPYING.txt (both with CR LF line ends).
# The same files give the same bytes, whatever the checkout's path, umask, time zone or locale:
# every entry has the time of SOURCE_DATE_EPOCH (else the commit's), fixed modes, sorted names
# and no extra fields.
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
crlf() { sed 's/\r$//; s/$/\r/'; }
# make_zip DIR SUFFIX BITS: the zip of the programs in DIR, for BITS-bit Windows.
make_zip() {
  local dir=$1 suffix=$2 bits=$3
  local name=brindlet-$version stage=$dir/zip zip=$out/brindlet-$version-windows-$suffix.zip
  rm -rf "$stage"
  mkdir -p "$stage/$name"
  cp "$dir/brindlet.exe" "$dir/brindlet-tool.exe" "$stage/$name/"
  scripts/make-books.sh "$stage/$name"
  # PCRE2's license asks for its notice beside the programs that contain the library.
  local pcre_licence
  pcre_licence=$(ls "$root"/build/pcre2/source/pcre2/LICENCE* 2>/dev/null | head -n 1 || true)
  if [ -z "$pcre_licence" ]; then
    echo "build-windows.sh: PCRE2's LICENCE is missing in build/pcre2/source/pcre2" >&2
    exit 1
  fi
  {
    sed "s/@VERSION@/$version/g; s/@BITS@/$bits/g" packaging/windows/README.txt
    echo
    cat "$pcre_licence"
  } | crlf >"$stage/$name/README.txt"
  crlf <COPYING >"$stage/$name/COPYING.txt"
  chmod 0755 "$stage/$name"
  chmod 0644 "$stage/$name"/*
  chmod 0755 "$stage/$name"/*.exe
  touch -d "@$stamp" "$stage/$name" "$stage/$name"/*
  rm -f "$zip"
  # zip stores local times: in UTC they are the same everywhere. -X: no extra fields.
  (cd "$stage" && { echo "$name/"; find "$name" -mindepth 1 | LC_ALL=C sort; } |
    TZ=UTC LC_ALL=C zip -q -X "$zip" -@)
  rm -rf "$stage"
  ls -l "$zip"
}

build_target x86_64 "$out"
make_zip "$out" x86_64 64
build_target i686 "$out/x86" x86
make_zip "$out/x86" x86 32
scripts/wine.sh --stop
scripts/wine.sh --stop x86
