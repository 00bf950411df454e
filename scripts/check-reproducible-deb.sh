#!/usr/bin/env bash
# check-reproducible-deb.sh DSC DIR: builds the .deb files from the source package DSC twice (without
# the tests, which do not touch the package's files) and compares them byte for byte. The second
# build differs from the first in what reproducible-builds.org varies: the build path (longer and
# elsewhere), the clock (faketime, 400 days on: the package takes its dates from
# SOURCE_DATE_EPOCH, which dpkg-buildpackage sets from debian/changelog), the umask, the time
# zone and the locale. On any difference diffoscope writes DIR/diffoscope.txt and the script
# fails. Needs the build dependencies installed, faketime, diffoscope and locales-all.
set -euo pipefail
if [ "$#" -ne 2 ]; then
  echo "usage: check-reproducible-deb.sh DSC DIR" >&2
  exit 2
fi
dsc=$(readlink -f -- "$1")
dir=$2
rm -rf "$dir"
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

build() { # build NAME SOURCE_DIR, then the variations as env and command prefix
  local name=$1 src=$2
  shift 2
  mkdir -p "$(dirname "$src")"
  dpkg-source -x "$dsc" "$src" >/dev/null
  (cd "$src" && "$@" dpkg-buildpackage -us -uc -b -Pnocheck) >"$dir/$name.log" 2>&1 ||
    { tail -n 30 "$dir/$name.log"; echo "check-reproducible-deb: build $name failed" >&2; exit 1; }
  mkdir -p "$dir/$name"
  mv "$(dirname "$src")"/*.deb "$dir/$name/"
}

build first "$dir/a/brindlet" \
  env DEB_BUILD_OPTIONS="nocheck parallel=2" TZ=UTC LANG=C.UTF-8 LC_ALL=C.UTF-8 sh -c 'umask 022; exec "$@"' sh
build second "$dir/the/second/build/path/is/elsewhere/brindlet-1.0.0" \
  env DEB_BUILD_OPTIONS="nocheck parallel=2" TZ=Pacific/Kiritimati LANG=fr_CH.UTF-8 LC_ALL=fr_CH.UTF-8 \
  sh -c 'umask 002; exec faketime -f "+400d" "$@"' sh

status=0
for deb in "$dir"/first/*.deb; do
  name=$(basename "$deb")
  if cmp -s "$deb" "$dir/second/$name"; then
    echo "check-reproducible-deb: $name identical: $(sha256sum <"$deb" | cut -d' ' -f1)"
  else
    echo "check-reproducible-deb: $name differs; see $dir/diffoscope.txt"
    diffoscope --text "$dir/diffoscope.txt" "$deb" "$dir/second/$name" || true
    status=1
  fi
done
exit "$status"
