#!/usr/bin/env bash
# Builds a release of the current commit into dist/ (emptied first), in one command:
#   brindlet_VERSION.orig.tar.xz          the source tarball, made from git (scripts/build-source.sh)
#   brindlet_VERSION-REV.dsc, .debian.tar.xz   the Debian source package
#   brindlet_VERSION-REV_amd64.deb        the package, built from that .dsc (scripts/build-deb.sh)
#   brindlet-VERSION-windows-*.zip        the Windows zips (scripts/build-windows.sh)
#   brindlet-VERSION-web.zip              the page, where scripts/build-web.sh makes it
#   SHA256SUMS                            sha256sum of each file above
# Each build is reproducible, so the same commit gives the same SHA256SUMS. A tree with
# uncommitted changes is refused. DEB_BUILD_OPTIONS=nocheck skips the package's tests.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! git diff --quiet HEAD --; then
  echo "release: the working tree has changes that are not committed" >&2
  exit 1
fi
version=$(sed -n 's/^project(brindlet VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)

scripts/build-deb.sh  # builds the source package into build/source/ first
scripts/build-windows.sh
[ ! -x scripts/build-web.sh ] || scripts/build-web.sh

rm -rf dist
mkdir -p dist
cp build/source/brindlet_"$version".orig.tar.xz build/source/brindlet_"$version"-*.dsc \
  build/source/brindlet_"$version"-*.debian.tar.xz dist/
cp build/deb/brindlet_"$version"-*_amd64.deb dist/
cp build/windows/brindlet-"$version"-windows-*.zip dist/
[ ! -f build/brindlet-"$version"-web.zip ] || cp build/brindlet-"$version"-web.zip dist/
(cd dist && LC_ALL=C sha256sum -- * >SHA256SUMS)
cat dist/SHA256SUMS
