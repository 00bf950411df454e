#!/usr/bin/env bash
# Builds PCRE2's 8-bit library, static, for one target toolchain, from Debian's own pcre2 source
# package (scripts/pcre2-source.sh, fetched once into build/pcre2 and shared by every target):
#   scripts/pcre2-build.sh PREFIX HOST [CC]
# PREFIX receives lib/libpcre2-8.a, include/ and lib/pkgconfig/libpcre2-8.pc. HOST is the GNU
# triplet (x86_64-w64-mingw32, s390x-linux-gnu, wasm32-unknown-emscripten, ...); CC defaults to
# HOST-gcc. For wasm32-unknown-emscripten, configure and make run under emconfigure and emmake.
# Safe to run again: a PREFIX that holds the library is kept as it is.
set -euo pipefail
if [ "$#" -lt 2 ] || [ "$#" -gt 3 ]; then
  echo "usage: pcre2-build.sh PREFIX HOST [CC]" >&2
  exit 2
fi
prefix=$1
host=$2
cc=${3:-$host-gcc}
cd "$(dirname "$0")/.."
root=$PWD
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)
if [ -f "$prefix/lib/libpcre2-8.a" ] && [ -f "$prefix/lib/pkgconfig/libpcre2-8.pc" ]; then
  exit 0
fi

source_dir=$root/build/pcre2/source/pcre2
# Several builds may start at once: the first fetches the source, the others wait for it.
mkdir -p "$root/build"
(
  flock 9
  [ -x "$source_dir/configure" ] || scripts/pcre2-source.sh "$root/build/pcre2"
) 9>"$root/build/pcre2.lock"

case "$host" in
  wasm32-*) configure_wrap=(emconfigure) make_wrap=(emmake) ;;
  *) configure_wrap=(env "CC=$cc") make_wrap=(env) ;;
esac
work=$prefix.build
rm -rf "$work"
mkdir -p "$work"
cd "$work"
# The same source gives the same library: no build path or date in the objects.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-0}
"${configure_wrap[@]}" "$source_dir/configure" --host="$host" --prefix="$prefix" \
  --disable-shared --enable-static --enable-pcre2-8 --disable-pcre2-16 --disable-pcre2-32 \
  CFLAGS="-O2 -ffile-prefix-map=$source_dir=pcre2 -ffile-prefix-map=$work=pcre2"
"${make_wrap[@]}" make -j "$(nproc)" libpcre2-8.la
"${make_wrap[@]}" make install-libLTLIBRARIES install-nodist_includeHEADERS install-pkgconfigDATA
cd "$root"
rm -rf "$work"
