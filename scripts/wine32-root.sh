#!/usr/bin/env bash
# Makes build/windows/wine32-root, a Debian 13 root with i386 as its foreign architecture and
# wine32 installed, for a machine whose own apt cannot install wine32 (its i386 index cannot be
# read, or i386 cannot be added to it). The root reads its own package indexes, so the host's
# apt is left as it is. scripts/wine.sh then runs 32-bit Windows programs with the root's Wine,
# in a mount namespace that shows the root with this checkout, /tmp and the caller's folders at
# their own paths. Needs root (mmdebstrap, and chroot later). Its log:
# build/windows/wine32-root.log. Safe to run again: a root that is there is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
. scripts/lib/mirror.sh
rootfs=build/windows/wine32-root
log=build/windows/wine32-root.log
[ ! -x "$rootfs/usr/lib/wine/wine" ] || exit 0
if [ "$(id -u)" -ne 0 ] || [ "$(dpkg --print-architecture)" != amd64 ]; then
  echo "wine32-root.sh: makes its root as root on amd64 only" >&2
  exit 1
fi
need_packages mmdebstrap || exit 1
mkdir -p build/windows
rm -rf --one-file-system "$rootfs.tmp"
echo "wine32-root.sh: making $rootfs (log: $log)" >&2
if ! mmdebstrap --variant=apt --architectures=amd64,i386 --include=wine32:i386 trixie "$rootfs.tmp" \
    "deb $(debian_mirror) trixie main" "deb $(debian_mirror) trixie-updates main" \
    "deb $(debian_security_mirror) trixie-security main" >"$log" 2>&1; then
  tail -n 5 "$log" >&2
  rm -rf --one-file-system "$rootfs.tmp"
  exit 1
fi
rm -rf --one-file-system "$rootfs"
mv "$rootfs.tmp" "$rootfs"
