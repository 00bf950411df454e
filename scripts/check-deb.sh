#!/usr/bin/env bash
# Builds the Debian package without its tests (scripts/build-deb.sh with nocheck: the test
# command has just run them), then checks it: lintian reports no error and no warning, and the
# package holds exactly the files below.
set -euo pipefail
cd "$(dirname "$0")/.."

DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}" scripts/build-deb.sh >build/deb-build.log 2>&1 ||
  { tail -n 40 build/deb-build.log >&2; echo "check-deb: the package build failed (build/deb-build.log)" >&2; exit 1; }
debs=(build/deb/brindlet_*.deb)
deb=${debs[0]}

failed=0
# Only lintian's tags count (as root it also warns that it should not run as root).
lintian_out=$(lintian --pedantic "$deb" 2>&1 || true)
[ -z "$lintian_out" ] || echo "$lintian_out"
if grep -qE '^[EW]: ' <<<"$lintian_out"; then
  echo "check-deb: lintian reports errors or warnings on $deb" >&2
  failed=1
fi

expected=$(cat <<'LIST'
./usr/games/brindlet
./usr/games/brindlet-tool
./usr/libexec/brindlet/brindlet
./usr/share/doc/brindlet/changelog.Debian.gz
./usr/share/doc/brindlet/copyright
./usr/share/doc/brindlet/examples/engines.conf
./usr/share/doc/brindlet/examples/engines.json
./usr/share/games/brindlet/bench_positions.fen
./usr/share/games/brindlet/mainbook.bin
./usr/share/games/brindlet/tourbook.bin
./usr/share/games/plugins/logos/brindlet.png
./usr/share/games/plugins/uci/brindlet.eng
./usr/share/lintian/overrides/brindlet
./usr/share/man/man6/brindlet-tool.6.gz
./usr/share/man/man6/brindlet.6.gz
LIST
)
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
if [ "$actual" != "$expected" ]; then
  echo "check-deb: the package's files differ from the layout (< expected, > in the package):" >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  failed=1
fi
# The launcher and the engine are programs; the logo is the size XBoard shows.
for program in ./usr/games/brindlet ./usr/games/brindlet-tool ./usr/libexec/brindlet/brindlet; do
  dpkg-deb -c "$deb" | awk -v f="$program" '$6 == f && $1 ~ /^-rwxr-xr-x/ { found = 1 } END { exit !found }' ||
    { echo "check-deb: $program is not an executable file" >&2; failed=1; }
done
# A PNG: its signature, then the IHDR chunk with width 100 and height 50.
logo_head=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/games/plugins/logos/brindlet.png | od -An -tx1 -N24 | tr -d ' \n')
if [ "$logo_head" != 89504e470d0a1a0a0000000d494844520000006400000032 ]; then
  echo "check-deb: the logo is not a 100 x 50 PNG" >&2
  failed=1
fi
[ "$failed" -eq 0 ] && echo "check-deb: $deb ($(stat -c %s "$deb") bytes): lintian clean, layout as expected"
exit "$failed"
