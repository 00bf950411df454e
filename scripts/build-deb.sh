#!/usr/bin/env bash
# Builds the Debian package build/deb/brindlet_VERSION-REVISION_ARCH.deb with
# dpkg-buildpackage -us -uc -b, after installing its build dependencies (apt-get build-dep)
# where any is missing. In a git checkout it first builds the source package
# (scripts/build-source.sh, into build/source/) and builds the .deb from that .dsc unpacked
# in build/deb/src/; elsewhere from a copy of the sources there. Nothing is written next to
# the checkout. The build's log is build/deb/brindlet_VERSION-REVISION_ARCH.build.
# DEB_BUILD_OPTIONS=nocheck skips the tests in the package build and their build dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# The package's upstream version is the one the top CMakeLists.txt sets.
cmake_version=$(sed -n 's/^project(brindlet VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
changelog_version=$(sed -n '1s/^brindlet (\([^-)]*\)-[^)]*).*/\1/p' debian/changelog)
if [ -z "$cmake_version" ] || [ "$cmake_version" != "$changelog_version" ]; then
  echo "build-deb: debian/changelog has version '$changelog_version', CMakeLists.txt '$cmake_version'" >&2
  exit 1
fi

profiles=()
case " ${DEB_BUILD_OPTIONS:-} " in *" nocheck "*) profiles=(-Pnocheck) ;; esac

if ! command -v dpkg-checkbuilddeps >/dev/null 2>&1 || ! dpkg-checkbuilddeps "${profiles[@]}" >/dev/null 2>&1; then
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
      echo "build-deb: build dependencies are missing; as root, run: apt-get build-dep ${profiles[*]} $root" >&2
      exit 1
    fi
    as_root=(sudo)
  fi
  "${as_root[@]}" apt-get update
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -o DPkg::Lock::Timeout=600 \
    "${profiles[@]}" "$root"
fi

out=$root/build/deb
src=$out/src/brindlet-$cmake_version
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
