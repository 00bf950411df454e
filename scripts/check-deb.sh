#!/usr/bin/env bash
# Checks the Debian packages. Without arguments (the test command's run): builds the source
# package and, from its .dsc, the .deb without its tests (scripts/build-deb.sh with nocheck:
# the test command has just run them); lintian --pedantic on the .dsc, the .deb and both
# .changes reports no error and no warning; blhc finds every hardening flag in the build log;
# the .deb holds exactly the files below.
#
# --archive also checks what Debian's archive asks of a package, in build/archive/:
#   sbuild     the .dsc built with its tests in a clean chroot of Debian 12 and of Debian 13
#              (mmdebstrap's buildd variant: build-essential, then only the Build-Depends),
#              in sbuild's unshare mode
#   autopkgtest  debian/tests against each release's .deb, in a fresh unshare testbed
#   piuparts   install, remove and purge of each release's .deb in a clean minimal root of it
#   reproducible  two builds of the .dsc in different paths, at different dates (faketime;
#              SOURCE_DATE_EPOCH comes from debian/changelog), umask, time zone and locale
#              give the same .deb files; diffoscope shows any difference
# The chroot tarballs are made once into build/chroots/ from Debian's mirror. Each step's time
# is printed. Runs as root (apt, and the unshare modes map root's subordinate ids).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/lib/packages.sh
. scripts/lib/mirror.sh

archive=0
deps_only=0
for arg in "$@"; do
  case "$arg" in
    --archive) archive=1 ;;
    --deps) deps_only=1 ;;
    *) echo "usage: scripts/check-deb.sh [--deps] [--archive]" >&2; exit 2 ;;
  esac
done

tools=(lintian blhc debhelper)
[ "$archive" -eq 0 ] || tools+=(sbuild mmdebstrap autopkgtest piuparts diffoscope-minimal faketime uidmap locales-all)
need_packages "${tools[@]}" || exit 1
need_build_deps "$root" -Pnocheck || exit 1
[ "$deps_only" -eq 0 ] || exit 0

failed=0
times=()
step_start=0
begin() { step_start=$(date +%s); echo "check-deb: $1 ..."; }
took() { times+=("$(printf '%-34s %5d s' "$1" "$(($(date +%s) - step_start))")"); }

begin "source package and .deb"
mkdir -p build
DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}" scripts/build-deb.sh >build/deb-build.log 2>&1 ||
  { tail -n 40 build/deb-build.log >&2; echo "check-deb: the package build failed (build/deb-build.log)" >&2; exit 1; }
took "source package, .deb (nocheck)"
debs=(build/deb/brindlet_*_amd64.deb)
deb=${debs[0]}

# Only lintian's tags count (as root it also warns that it should not run as root). The
# pedantic (P) and informational (I) tags are shown, not counted.
begin lintian
lintian_out=$(lintian --pedantic --info build/source/brindlet_*.dsc build/source/brindlet_*_source.changes \
  build/deb/brindlet_*_amd64.changes "$deb" 2>&1 | grep -E '^[EWIPXO]: ' || true)
[ -z "$lintian_out" ] || echo "$lintian_out"
if grep -qE '^[EW]: ' <<<"$lintian_out"; then
  echo "check-deb: lintian reports errors or warnings" >&2
  failed=1
fi
took "lintian (.dsc, .changes, .deb)"

# blhc reads the compiler and linker lines of the build log: each must carry the hardening
# flags dpkg-buildflags gives (the build runs make with VERBOSE=1, so the lines are there).
begin blhc
if ! blhc build/deb/brindlet_*.build; then
  echo "check-deb: blhc finds missing hardening flags in build/deb/brindlet_*.build" >&2
  failed=1
fi
took blhc

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
[ "$failed" -eq 0 ] && echo "check-deb: $deb ($(stat -c %s "$deb") bytes): lintian clean, hardened, layout as expected"

if [ "$archive" -eq 1 ]; then
  dsc=$(ls "$root"/build/source/brindlet_*.dsc)
  mirror=$(debian_mirror)
  chroots=$root/build/chroots
  out=$root/build/archive
  rm -rf "$out"
  mkdir -p "$chroots" "$out"
  # The unshare modes map root's ids to subordinate ones.
  grep -q '^root:' /etc/subuid 2>/dev/null || echo "root:100000:65536" >>/etc/subuid
  grep -q '^root:' /etc/subgid 2>/dev/null || echo "root:100000:65536" >>/etc/subgid

  begin "chroot tarballs"
  for release in bookworm trixie; do
    [ -s "$chroots/$release-amd64.tar.zst" ] ||
      mmdebstrap --variant=buildd "$release" "$chroots/$release-amd64.tar.zst" "$mirror"
  done
  for release in bookworm trixie; do
    [ -s "$chroots/$release-minbase.tar.gz" ] ||
      mmdebstrap --variant=minbase "$release" "$chroots/$release-minbase.tar.gz" "$mirror"
  done
  took "chroot tarballs (when missing)"

  # archive_step NAME LOG SUMMARY COMMAND...: COMMAND, timed, its output in LOG; then
  # "check-deb: NAME: " and what the shell command SUMMARY prints, or LOG's tail on a failure.
  archive_step() {
    local name=$1 log=$2 summary=$3
    shift 3
    begin "$name"
    if "$@" >"$log" 2>&1; then
      echo "check-deb: $name: $(eval "$summary")"
    else
      tail -n 30 "$log" >&2
      echo "check-deb: $name failed ($log)" >&2
      failed=1
    fi
    took "$name"
  }
  sbuild_in() (
    cd "$out/$1" && DEB_BUILD_OPTIONS=parallel=2 sbuild --chroot-mode=unshare --chroot="$chroots/$1-amd64.tar.zst" \
      --dist="$1" --arch=amd64 --no-run-lintian --no-run-piuparts --no-run-autopkgtest --no-apt-upgrade \
      --no-apt-distupgrade "$dsc"
  )
  for release in bookworm trixie; do
    mkdir -p "$out/$release"
    # With its tests: the package's own build runs them.
    archive_step "sbuild $release" "$out/$release/sbuild.out" "cd $out/$release && ls brindlet_*_amd64.deb" \
      sbuild_in "$release"
  done
  for release in bookworm trixie; do
    # The chroot tarballs hold no package lists: the testbed fetches them first.
    archive_step "autopkgtest $release" "$out/$release/autopkgtest.log" \
      "grep -E '^(engine-answers|tool-bench) ' $out/$release/autopkgtest.log | tr -s ' ' | paste -sd, -" \
      autopkgtest -o "$out/$release/autopkgtest" --setup-commands='apt-get update' \
      "$out/$release"/brindlet_*_amd64.deb "$dsc" -- unshare --release "$release" --tarball "$chroots/$release-amd64.tar.zst"
    # apt's run of dpkg-preconfigure makes debconf's /var/cache/debconf/tmp.ci/ in Debian 13,
    # which the minimal base root lacks: debconf's folder, not the package's.
    archive_step "piuparts $release" "$out/$release/piuparts.log" "tail -n 1 $out/$release/piuparts.log" \
      piuparts --basetgz="$chroots/$release-minbase.tar.gz" --distribution="$release" --mirror="$mirror main" \
      --ignore=/var/cache/debconf/tmp.ci/ "$out/$release"/brindlet_*_amd64.deb
  done
  archive_step "reproducible builds" "$out/reproducible.log" "tail -n 2 $out/reproducible.log | paste -sd' ' -" \
    scripts/check-reproducible-deb.sh "$dsc" "$out/reproducible"
fi

echo "check-deb: times:"
printf '  %s\n' "${times[@]}"
exit "$failed"
