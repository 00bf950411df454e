#!/usr/bin/env bash
# Builds a release of the current commit into dist/ (emptied first), in one command:
#   brindlet_VERSION.orig.tar.xz          the source tarball, made from git (scripts/build-source.sh)
#   brindlet_VERSION-REV.dsc, .debian.tar.xz   the Debian source package
#   brindlet_VERSION-REV_amd64.deb        the package, built from that .dsc (scripts/build-deb.sh)
#   brindlet-VERSION-windows-*.zip        the Windows zips (scripts/build-windows.sh)
#   brindlet-VERSION-web.zip              the page (scripts/build-web.sh)
#   SHA256SUMS                            sha256sum of each file above
# All of them come from one run of the test command with BRINDLET_REQUIRE_ALL=1, so no release
# is made from a run that skipped a target or failed a test; a file missing afterwards fails the
# release. Each build is reproducible, so the same commit gives the same SHA256SUMS. A tree with
# uncommitted changes is refused.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$#" -eq 0 ] || { echo "usage: scripts/release.sh (no arguments)" >&2; exit 2; }
. scripts/lib/version.sh

if ! git diff --quiet HEAD --; then
  echo "release: the working tree has changes that are not committed" >&2
  exit 1
fi
version=$(brindlet_version)

# Every part, none skipped: it builds the source package and the .deb (scripts/check-deb.sh), the
# Windows zips and the site's zip, and tests them all.
BRINDLET_REQUIRE_ALL=1 scripts/test.sh

files=(build/source/brindlet_"$version".orig.tar.xz build/source/brindlet_"$version"-*.dsc
  build/source/brindlet_"$version"-*.debian.tar.xz build/deb/brindlet_"$version"-*_amd64.deb
  build/windows/brindlet-"$version"-windows-x86_64.zip build/windows/brindlet-"$version"-windows-x86.zip
  build/brindlet-"$version"-web.zip)
for file in "${files[@]}"; do
  [ -f "$file" ] || { echo "release: $file is missing" >&2; exit 1; }
done
rm -rf dist
mkdir -p dist
cp "${files[@]}" dist/
(cd dist && LC_ALL=C sha256sum -- * >SHA256SUMS)
cat dist/SHA256SUMS
