#!/usr/bin/env bash
# Checks that the Windows zips are reproducible: builds them here (scripts/build-windows.sh), then
# once more in a clone of the same commit at another path, with another umask, time zone and
# locale, and compares the two zips of each kind. Prints each zip's SHA-256; exits non-zero if
# any pair differs (with diffoscope's report, where it is installed, or unzip's listings).
#   scripts/check-windows-repro.sh [WORKDIR]
# WORKDIR (default: a new folder under /tmp, removed afterwards) receives the clone. The working
# tree must be committed: the clone has only the commit.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "check-windows-repro.sh: commit the changes first; the clone would not have them" >&2
  exit 2
fi
if [ -n "${1:-}" ]; then
  work=$1
  mkdir -p "$work"
else
  work=$(mktemp -d /tmp/brindlet-repro.XXXXXX)
  trap 'rm -rf "$work"' EXIT
fi
scripts/build-windows.sh

other=$work/elsewhere/brindlet-checkout
rm -rf "$other"
git clone -q --no-hardlinks "$root" "$other"
git -C "$other" checkout -q "$(git rev-parse HEAD)"
# The PCRE2 source as fetched here (the libraries are built anew there).
mkdir -p "$other/build/pcre2"
cp -a build/pcre2/source "$other/build/pcre2/"
(umask 0077 && cd "$other" && TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 LANG=C.UTF-8 scripts/build-windows.sh)

failed=0
for zip in build/windows/brindlet-*-windows-x86_64.zip build/windows/brindlet-*-windows-x86.zip; do
  here=$(sha256sum <"$zip" | cut -d' ' -f1)
  there=$(sha256sum <"$other/$zip" | cut -d' ' -f1)
  echo "$here  $zip"
  echo "$there  (the other build's)"
  if [ "$here" != "$there" ]; then
    failed=1
    echo "check-windows-repro.sh: $zip differs" >&2
    if command -v diffoscope >/dev/null 2>&1; then
      diffoscope "$zip" "$other/$zip" || true
    else
      diff <(unzip -Zv "$zip") <(unzip -Zv "$other/$zip") || true
    fi
  fi
done
exit "$failed"
