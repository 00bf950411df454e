#!/usr/bin/env bash
# Builds the Debian source package into build/source/: the upstream tarball
# brindlet_VERSION.orig.tar.xz made from git, then with dpkg-buildpackage -S (unsigned) the
# .dsc, the .debian.tar.xz (debian/, which the upstream tarball leaves out) and the
# _source.changes. The files are those git tracks at HEAD, or, where tracked files were changed
# and not committed, the tree as it is now. The tarball's bytes depend only on those files and
# HEAD's commit date (entries in git's order, that date as every mtime, owner root, modes
# 0644/0755, single-threaded xz): one commit always gives the same tarball. --committed refuses
# a tree with changes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/lib/packages.sh
. scripts/lib/version.sh
# debian/rules clean, which dpkg-buildpackage -S runs, needs debhelper.
need_packages debhelper dpkg-dev xz-utils || exit 1

committed=0
case "${1:-}" in
  --committed) committed=1 ;;
  "") ;;
  *) echo "usage: scripts/build-source.sh [--committed]" >&2; exit 2 ;;
esac

version=$(brindlet_version)
changelog_matches "$version" || exit 1

# The tree to pack: HEAD, or a commit of the working tree dated as HEAD (git stash create
# writes that commit object without touching the tree, the index or the stash).
tree=HEAD
if ! git diff --quiet HEAD --; then
  if [ "$committed" -eq 1 ]; then
    echo "build-source: the working tree has changes that are not committed" >&2
    exit 1
  fi
  head_date=$(git log -1 --format=%ct HEAD)
  tree=$(GIT_AUTHOR_DATE="@$head_date +0000" GIT_COMMITTER_DATE="@$head_date +0000" git stash create)
  echo "build-source: packing the working tree's uncommitted changes too" >&2
fi

out=$root/build/source
rm -rf "$out"
mkdir -p "$out"
orig=$out/brindlet_$version.orig.tar.xz
# Debian's packaging, debian/, goes into the .debian.tar.xz, not into the upstream tarball.
git -c tar.umask=0022 archive --format=tar --prefix="brindlet-$version/" "$tree" -- . ':(exclude)debian' |
  xz -T1 -6 -c >"$orig"

# The package is built from the tarball unpacked, as a Debian builder would.
work=$out/work
mkdir -p "$work"
tar -C "$work" -xpf "$orig"
git -c tar.umask=0022 archive --format=tar --prefix="brindlet-$version/" "$tree" -- debian | tar -C "$work" -xpf -
cp "$orig" "$work/"
(cd "$work/brindlet-$version" && dpkg-buildpackage -S -us -uc -d)
mv "$work"/brindlet_*.dsc "$work"/brindlet_*.debian.tar.xz "$work"/brindlet_*_source.changes \
  "$work"/brindlet_*_source.buildinfo "$out"/
rm -rf "$work"
ls "$out"
