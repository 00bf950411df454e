#!/usr/bin/env bash
# Cross-builds the engine for Windows with Debian's mingw-w64 compilers, each program one static
# .exe, and the zips for Windows users:
#   x64:  build/windows/brindlet.exe, build/windows/brindlet-tool.exe,
#         build/windows/brindlet-VERSION-windows-x86_64.zip
#   x86:  build/windows/x86/brindlet.exe, build/windows/x86/brindlet-tool.exe,
#         build/windows/brindlet-VERSION-windows-x86.zip
#   scripts/build-windows.sh [--deps] [x64] [x86]     (default: both)
# It installs what is missing: the compilers, the tools to unpack Debian's pcre2 source (PCRE2's
# 8-bit library is built for each target by scripts/pcre2-build.sh), and Wine to try the
# results: wine64 for x64; for x86 wine32 from the i386 architecture or, where that cannot be
# had, a Debian 13 root that holds it (scripts/wine32-root.sh). Each engine built must answer
# "uci" under its Wine. A target whose Wine cannot be had is still built; why its programs
# cannot be run is written to build/skips/windows (x64) or build/skips/windows32 (x86), and
# scripts/test.sh reports their tests as skipped with that reason. --deps only installs.
# Safe to run again: what is already there is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/windows
. scripts/lib/packages.sh
. scripts/lib/smoke.sh
. scripts/lib/version.sh

deps_only=0
targets=()
for arg in "$@"; do
  case "$arg" in
    --deps) deps_only=1 ;;
    x64 | x86) targets+=("$arg") ;;
    *) echo "usage: scripts/build-windows.sh [--deps] [x64] [x86]" >&2; exit 2 ;;
  esac
done
[ "${#targets[@]}" -gt 0 ] || targets=(x64 x86)
mkdir -p "$out" build/skips

skip() {  # skip PART REASON: PART's programs are built but cannot be run here
  echo "$2" >"build/skips/$1"
  echo "build-windows.sh: $1: $2" >&2
}

need_packages cmake ninja-build pkg-config make dpkg-dev xz-utils bzip2 unzip python3 polyglot gnuchess-book
# Each target's compiler, then its Wine, unless it is already there. A target without its
# compiler cannot be built here: it is left out, and the script exits 3 to say so.
buildable=()
for target in "${targets[@]}"; do
  part=$([ "$target" = x64 ] && echo windows || echo windows32)
  compiler=$([ "$target" = x64 ] && echo g++-mingw-w64-x86-64-posix || echo g++-mingw-w64-i686-posix)
  rm -f "build/skips/$part"
  if ! need_packages "$compiler"; then
    skip "$part" "no compiler $compiler: $packages_error"
    continue
  fi
  buildable+=("$target")
  if [ "$target" = x64 ]; then
    scripts/wine.sh --found && continue
    # Debian 12's wine64 is the 64-bit loader alone; where wine64 is gone or only a transitional
    # package, the wine package carries the loader.
    need_packages wine64 || true
    scripts/wine.sh --found || need_packages wine || true
    scripts/wine.sh --found || skip windows "no 64-bit Wine: $packages_error"
  else
    scripts/wine.sh --found x86 && continue
    reason=""
    if [ "$(dpkg --print-architecture)" = amd64 ] && add_foreign_arch i386; then
      need_packages wine32:i386 || reason="wine32:i386: $packages_error"
      drop_unused_foreign_arch i386
    else
      reason="i386 cannot be added to dpkg here"
    fi
    scripts/wine.sh --found x86 && continue
    # The same Wine from a Debian 13 root of its own, whose i386 index is read apart from the host's.
    echo "build-windows.sh: no wine32 on this machine ($reason); trying a Debian 13 root that holds it" >&2
    if scripts/wine32-root.sh; then
      scripts/wine.sh --found x86 && continue
    fi
    skip windows32 "no 32-bit Wine: $reason; and no Debian 13 root with wine32 (build/windows/wine32-root.log)"
  fi
done
left_out=$((${#targets[@]} - ${#buildable[@]}))
[ "$deps_only" -eq 0 ] || exit 0

version=$(brindlet_version)
# build_target ARCH DIR PART [x86]: PCRE2 and the two programs for Windows on ARCH (x86_64 or
# i686) in DIR, checked under Wine where it can run them (x86: in the 32-bit programs' prefix).
build_target() {
  local arch=$1 dir=$2 part=$3 wine_arch=${4:-}
  # PCRE2's 8-bit library, static; the toolchain file points pkg-config at DIR/deps.
  scripts/pcre2-build.sh "$dir/deps" "$arch-w64-mingw32" "$arch-w64-mingw32-gcc-posix"
  # No build path in the programs: the same source gives the same .exe from any checkout.
  # --fresh: the toolchain file's flags are taken anew each time (they are cached otherwise).
  cmake --fresh -S . -B "$dir/engine" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DBRINDLET_WINDOWS_ARCH="$arch" \
    -DCMAKE_CXX_FLAGS="-ffile-prefix-map=$root=." \
    -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$dir" -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$dir/engine" -j "$(nproc)" --target brindlet brindlet-tool
  ls -l "$dir/brindlet.exe" "$dir/brindlet-tool.exe"
  [ ! -f "build/skips/$part" ] || return 0
  scripts/wine.sh --start $wine_arch
  local answered=0
  answers_uci "$dir" "$root/scripts/wine.sh" "$dir/brindlet.exe" || answered=$?
  # Only this prefix's server: the other target's tests may be running in theirs right now.
  scripts/wine.sh --stop $wine_arch 2>/dev/null || true
  [ "$answered" -eq 0 ] ||
    { echo "build-windows.sh: $dir/brindlet.exe does not answer under Wine" >&2; return 1; }
}

# --- The zips for Windows users ----------------------------------------------------------------
# build/windows/brindlet-VERSION-windows-SUFFIX.zip holds one folder, brindlet-VERSION/, with the
# two programs, the default books, README.txt and COPYING.txt (both with CR LF line ends). The
# same files give the same bytes, whatever the checkout's path, umask, time zone or locale:
# every entry has the time of SOURCE_DATE_EPOCH (else the commit's).
stamp=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
crlf() { sed 's/\r$//; s/$/\r/'; }
# make_zip DIR SUFFIX BITS: the zip of the programs in DIR, for BITS-bit Windows.
make_zip() {
  local dir=$1 suffix=$2 bits=$3
  local name=brindlet-$version stage=$dir/zip
  rm -rf "$stage"
  mkdir -p "$stage"
  cp "$dir/brindlet.exe" "$dir/brindlet-tool.exe" "$stage/"
  scripts/make-books.sh "$stage"
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
  } | crlf >"$stage/README.txt"
  crlf <COPYING >"$stage/COPYING.txt"
  chmod 0644 "$stage"/*
  chmod 0755 "$stage"/*.exe
  python3 scripts/lib/reproducible-zip.py "$out/$name-windows-$suffix.zip" "$name" "$stage" "$stamp"
  rm -rf "$stage"
  ls -l "$out/$name-windows-$suffix.zip"
}

for target in "${buildable[@]}"; do
  if [ "$target" = x64 ]; then
    build_target x86_64 "$out" windows
    make_zip "$out" x86_64 64
  else
    build_target i686 "$out/x86" windows32 x86
    make_zip "$out/x86" x86 32
  fi
done
[ "$left_out" -eq 0 ] || exit 3
