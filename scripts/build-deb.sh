#!/usr/bin/env bash
# Builds the Debian package build/deb/brindlet_VERSION-REVISION_ARCH.deb with
# dpkg-buildpackage -us -uc -b, after installing its build dependencies (apt-get build-dep)
# where any is missing. In a git checkout it first builds the source package
# (scripts/build-source.sh, into build/source/) and builds the .deb from that .dsc unpacked
# in build/deb/src/; elsewhere from a copy of the sources there. Nothing is written next to
# the checkout. The build's log is build/deb/brindlet_VERSION-REVISION_ARCH.build.
# DEB_BUILD_OPTIONS=nocheck skips the tests in the package build and their build dependencies.
set -euo pipefail
[ "$#" -eq 0 ] || { echo "usage: scripts/build-deb.sh (no arguments; DEB_BUILD_OPTIONS=nocheck skips the tests)" >&2; exit 2; }
cd "$(dirname "$0")/.."
root=$(pwd)

. scripts/lib/packages.sh
. scripts/lib/version.sh
# The package's upstream version is the project's.
version=$(brindlet_version)
changelog_matches "$version" || exit 1

profiles=()
case " ${DEB_BUILD_OPTIONS:-} " in *" nocheck "*) profiles=(-Pnocheck) ;; esac
need_build_deps "$root" "${profiles[@]}" || exit 1

out=$root/build/deb
src=$out/src/brindlet-$version
rm -rf "$out"
mkdir -p "$out/src"
if git -C "$root" rev-parse --git-dir >/dev/null 2>&1; then
  scripts/build-source.sh
  dpkg-source -x build/source/brindlet_*.dsc "$src"
else
  mkdir -p "$src"
  tar -C "$root" --exclude=./.git --exclude=./build --exclude=./run --exclude=./tests/games/node_modules -cf - . |
    tar -C "$src" -xf -
fi
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
revision=$(sed -n '1s/^brindlet (\([^)]*\)).*/\1/p' debian/changelog)
log=$out/brindlet_${revision}_$arch.build
(cd "$src" && dpkg-buildpackage -us -uc -b "${profiles[@]}") 2>&1 | tee "$log"
mv "$out"/src/*.deb "$out"/src/*.changes "$out"/src/*.buildinfo "$out"/
rm -rf "$out/src"
ls "$out"/*.deb
