#!/usr/bin/env bash
# Tries the repository as a new user would on a fresh Debian: builds a minimal root of SUITE with
# debootstrap, clones the checkout into it and runs, as root inside it, the README's play command
# (answering "uci" and "isready"), its test command, and the CI run. Prints each run's wall time
# and the root's disk use; exits non-zero if any run failed. It takes long (the test command
# builds three times), so it is no part of .ci/run.
#
# usage: scripts/check-fresh-debian.sh [--repo DIR] [--roots DIR] [--reuse] [--break-i386] SUITE [RUN...]
#   SUITE    bookworm (Debian 12) or trixie (Debian 13)
#   RUN      any of: deps (scripts/install-deps.sh alone: its play set, then its test set, each
#            apt run's package count and download size in the log), play, test, ci;
#            default: play test ci; and deb: scripts/build-deb.sh builds the package in the root,
#            then a second fresh root SUITE-install without build tools installs it with apt-get
#            and a plain user there starts brindlet from / (apt's output: LOGS/deb-apt.log)
#   --repo   the checkout whose HEAD commit is cloned (default: the one holding this script)
#   --roots  where the root SUITE and its logs SUITE-logs go (default: build/fresh-roots of that
#            checkout). Each call starts from a new root; the old one is removed first. The root
#            stays after the call for a look; `rm -rf --one-file-system ROOTS/SUITE` removes it.
#   --reuse  keep the root an earlier call left and only clone the checkout anew: quicker for
#            another try, but its packages are already there, so it is no check from scratch.
#   --break-i386  the root's apt reads Debian's archive for amd64 only, and an i386 source whose
#            index has the wrong size, as a mirror caught in a sync serves it; after the runs,
#            apt-get update inside must still succeed, with no foreign architecture left.
# Needs root (debootstrap, mount, chroot) and Debian's archive, reached as the host's apt does.
set -euo pipefail

usage() {
  sed -n 's/^# \{0,1\}//; /^usage:/,/^Needs root/p' "$0" >&2
  exit 2
}

repo=$(cd "$(dirname "$0")/.." && pwd)
roots=""
reuse=0
break_i386=0
while [ $# -gt 0 ]; do
  case "$1" in
    --repo) repo=$(cd "$2" && pwd); shift 2 ;;
    --roots) roots=$2; shift 2 ;;
    --reuse) reuse=1; shift ;;
    --break-i386) break_i386=1; shift ;;
    -h|--help) usage ;;
    -*) usage ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || usage
suite=$1
shift
case "$suite" in bookworm|trixie) ;; *) usage ;; esac
runs=("$@")
[ ${#runs[@]} -gt 0 ] || runs=(play test ci)
for run in "${runs[@]}"; do
  case "$run" in deps|play|test|ci|deb) ;; *) usage ;; esac
done
if [ "$(id -u)" -ne 0 ]; then
  echo "check-fresh-debian: needs root (debootstrap, mount and chroot)" >&2
  exit 2
fi

roots=${roots:-$repo/build/fresh-roots}
mkdir -p "$roots"
roots=$(cd "$roots" && pwd)
root=$roots/$suite
logs=$roots/$suite-logs
commit=$(git -C "$repo" rev-parse --short HEAD)
if [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
  echo "check-fresh-debian: $repo has uncommitted changes; only commit $commit is tried" >&2
fi

say() { echo "check-fresh-debian: $*"; }

# A root that still has something mounted inside is never removed: rm would reach the host's /dev.
if grep -q " $root/" /proc/mounts; then
  echo "check-fresh-debian: something is still mounted under $root; unmount it first" >&2
  exit 1
fi
[ -d "$root/root/brindlet" ] || reuse=0
[ "$reuse" -eq 1 ] || rm -rf --one-file-system "$root"
# The second root of the deb run is always a new one.
install_root=$roots/$suite-install
if grep -q " $install_root/" /proc/mounts; then
  echo "check-fresh-debian: something is still mounted under $install_root; unmount it first" >&2
  exit 1
fi
rm -rf --one-file-system "$install_root"
rm -rf --one-file-system "$logs"
mkdir -p "$logs"

# --- Where Debian's archive is, as the host's apt reaches it --------------------------------------
. "$(dirname "$0")/lib/mirror.sh"
host_codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
mapfile -t source_files < <(apt_source_files)
mirror=$(debian_mirror)

# apt's proxy settings, if the host has any, also serve debootstrap's downloads.
proxy_conf=$(apt-config dump | grep -iE '^Acquire::(http|https|ftp)::Proxy ' || true)
http_proxy_conf=$(sed -n 's/^Acquire::http::Proxy "\(.*\)";$/\1/Ip' <<<"$proxy_conf" | head -n 1)
if [ -n "$http_proxy_conf" ] && [ -z "${http_proxy:-}" ]; then
  export http_proxy=$http_proxy_conf
fi

. "$(dirname "$0")/lib/packages.sh"
need_packages debootstrap >"$logs/host-apt.log" 2>&1 || { echo "check-fresh-debian: $packages_error" >&2; exit 1; }

# --- Timed runs ------------------------------------------------------------------------------------
failed=0
report=()
# step NAME COMMAND...: runs COMMAND with its output in LOGS/NAME.log and records its wall time.
step() {
  local name=$1 start status
  shift
  say "$name ... (log: $logs/$name.log)"
  start=$(date +%s)
  if "$@" >"$logs/$name.log" 2>&1; then
    status=ok
  else
    status=FAILED
    failed=1
    tail -n 30 "$logs/$name.log" | sed 's/^/    /'
  fi
  report+=("$(printf '%-12s %-6s %6d s' "$name" "$status" $(($(date +%s) - start)))")
  say "${report[-1]}"
}

mounted=()
unmount_all() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" || true
  done
  mounted=()
}
trap unmount_all EXIT
trap 'exit 130' INT TERM HUP

# The environment of a fresh root login, plus the host's proxy variables so npm gets out as apt does.
root_env=(HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin TERM=dumb)
for variable in http_proxy https_proxy no_proxy HTTP_PROXY HTTPS_PROXY NO_PROXY; do
  [ -n "${!variable:-}" ] && root_env+=("$variable=${!variable}")
done
in_root() {
  chroot "$root" /usr/bin/env -i "${root_env[@]}" "$@"
}

if [ "$reuse" -eq 1 ]; then
  say "$suite: reusing $root, commit $commit"
else
  say "$suite from $mirror into $root, commit $commit"
  step debootstrap debootstrap --variant=minbase "$suite" "$root" "$mirror"
  if [ "$failed" -ne 0 ]; then
    printf '  %s\n' "${report[@]}"
    exit 1
  fi

  # The host's apt sources for Debian's archive, the suite names changed to SUITE, so apt inside
  # reaches the archive (and its updates and security suites) the same way.
  copied=0
  for file in "${source_files[@]}"; do
    archive_uris "$file" | grep -qE '/debian(-security)?/?$' || continue
    target=$root$file
    mkdir -p "$(dirname "$target")"
    if [ -n "$host_codename" ] && [ "$host_codename" != "$suite" ]; then
      sed -E "s/\\b$host_codename\\b/$suite/g" "$file" >"$target"
    else
      cp "$file" "$target"
    fi
    copied=1
  done
  # debootstrap's own one-line source would name the archive a second time.
  if [ "$copied" -eq 1 ] && ! archive_uris /etc/apt/sources.list 2>/dev/null | grep -qE '/debian/?$'; then
    rm -f "$root/etc/apt/sources.list"
  fi
  if [ "$break_i386" -eq 1 ]; then
    sed -i '/^Types:/a Architectures: amd64' "$root"/etc/apt/sources.list.d/*.sources 2>/dev/null || true
    sed -i -E 's/^deb (\[([^]]*)\] )?/deb [arch=amd64 \2] /' "$root"/etc/apt/sources.list \
      "$root"/etc/apt/sources.list.d/*.list 2>/dev/null || true
    # A repository whose i386 index has another size than its Release file says, as a mirror
    # caught in a sync serves it: apt-get update fails for i386 only, once i386 is configured.
    broken=$root/srv/broken-i386/dists/$suite
    mkdir -p "$broken/main/binary-i386"
    echo "Package: brindlet-none" >"$broken/main/binary-i386/Packages"
    printf 'Suite: %s\nCodename: %s\nDate: %s\nArchitectures: i386\nComponents: main\nSHA256:\n %s 4096 main/binary-i386/Packages\n' \
      "$suite" "$suite" "$(date -Ru)" "$(printf 'other bytes' | sha256sum | cut -d' ' -f1)" >"$broken/Release"
    echo "deb [trusted=yes] file:/srv/broken-i386 $suite main" >"$root/etc/apt/sources.list.d/broken-i386.list"
  fi
  [ -z "$proxy_conf" ] || echo "$proxy_conf" >"$root/etc/apt/apt.conf.d/01proxy"
  cp -L /etc/resolv.conf "$root/etc/resolv.conf"
  cp -L /etc/hosts "$root/etc/hosts"
  # The host's extra certificate authorities: apt and npm may reach their registries through them.
  # Until ca-certificates is installed inside, the host's bundle lets apt use HTTPS sources.
  mkdir -p "$root/usr/local/share/ca-certificates" "$root/etc/ssl/certs"
  for crt in /usr/local/share/ca-certificates/*.crt; do
    [ -f "$crt" ] && cp "$crt" "$root/usr/local/share/ca-certificates/"
  done
  [ -f "$root/etc/ssl/certs/ca-certificates.crt" ] || \
    cp -L /etc/ssl/certs/ca-certificates.crt "$root/etc/ssl/certs/" 2>/dev/null || true
fi

# The root is a private mount point of its own, as a container's or schroot's is: a program
# inside that makes a mount namespace of its own (scripts/wine.sh's Debian 13 root) must be able
# to make "/" private there, which a plain folder as "/" does not allow.
mount --bind "$root" "$root" && mounted+=("$root")
mount --make-private "$root"
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --bind /dev "$root/dev" && mounted+=("$root/dev")
# On a host whose mounts propagate (systemd's default), the mounts below would otherwise also
# land on the host's own /dev/pts and /dev/shm.
mount --make-rslave "$root/dev"
mount --bind /dev/pts "$root/dev/pts" && mounted+=("$root/dev/pts")
mount -t tmpfs shm "$root/dev/shm" && mounted+=("$root/dev/shm")

# The repository comes in as a bare clone of the host checkout, and git inside clones it.
rm -rf --one-file-system "$root/srv/brindlet.git" "$root/root/brindlet"
git clone --quiet --bare --no-local "$repo" "$root/srv/brindlet.git"
setup() {
  if [ "$reuse" -eq 0 ]; then
    in_root apt-get update &&
      in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y git ca-certificates &&
      in_root update-ca-certificates || return 1
  fi
  in_root git clone /srv/brindlet.git /root/brindlet
}
step setup setup
base_use=$(du -shx "$root" | cut -f1)

# The package built in the root, installed in a second fresh root that reaches Debian's archive
# as the first one does, and started there by a plain user from /.
install_package() {
  local debs=("$root"/root/brindlet/build/deb/brindlet_*.deb)
  [ -f "${debs[0]}" ] || { echo "no package in $root/root/brindlet/build/deb"; return 1; }
  debootstrap --variant=minbase "$suite" "$install_root" "$mirror" >"$logs/deb-debootstrap.log" 2>&1 ||
    { echo "debootstrap failed: $logs/deb-debootstrap.log"; return 1; }
  rm -rf "$install_root/etc/apt/sources.list" "$install_root/etc/apt/sources.list.d"
  cp -a "$root/etc/apt/sources.list.d" "$install_root/etc/apt/"
  [ ! -f "$root/etc/apt/sources.list" ] || cp "$root/etc/apt/sources.list" "$install_root/etc/apt/"
  [ ! -f "$root/etc/apt/apt.conf.d/01proxy" ] || cp "$root/etc/apt/apt.conf.d/01proxy" "$install_root/etc/apt/apt.conf.d/"
  cp -L /etc/resolv.conf /etc/hosts "$install_root/etc/"
  cp "${debs[0]}" "$install_root/tmp/"
  mount -t proc proc "$install_root/proc" && mounted+=("$install_root/proc")
  mount --bind /dev "$install_root/dev" && mounted+=("$install_root/dev")
  mount --make-rslave "$install_root/dev"
  local start
  start=$(date +%s)
  chroot "$install_root" /usr/bin/env -i "${root_env[@]}" sh -c \
    'apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y /tmp/brindlet_*.deb' \
    >"$logs/deb-apt.log" 2>&1 || { echo "apt-get install failed: $logs/deb-apt.log"; return 1; }
  echo "apt-get update and install: $(($(date +%s) - start)) s"
  sed -n '/^The following NEW packages will be installed:/,/^[0-9]* upgraded/p; /^Need to get/p' \
    "$logs/deb-apt.log"
  chroot "$install_root" useradd --create-home player
  local out
  out=$(printf 'uci\nisready\nposition startpos\ngo\nquit\n' |
    chroot "$install_root" su --login player --command 'cd / && brindlet')
  echo "$out"
  grep -qx 'info BookMove' <<<"$out" && grep -q '^bestmove ' <<<"$out" &&
    chroot "$install_root" su --login player --command 'tail -n 1 ~/.local/state/brindlet/1/brindlet.log'
}

if [ "$failed" -eq 0 ]; then
  for run in "${runs[@]}"; do
    case "$run" in
      deps)
        step deps in_root bash -c 'cd /root/brindlet && bash scripts/install-deps.sh play </dev/null &&
          bash scripts/install-deps.sh test </dev/null' ;;
      play)
        # The engine's own answers are in play.out; the build's output is in play.log.
        play() {
          printf 'uci\nisready\nquit\n' |
            in_root bash -c 'cd /root/brindlet && bash scripts/play.sh' >"$logs/play.out" &&
            grep -qE $'^uciok\r?$' "$logs/play.out" && grep -qE $'^readyok\r?$' "$logs/play.out"
        }
        step play play ;;
      test)
        step test in_root bash -c 'cd /root/brindlet && bash scripts/test.sh </dev/null' ;;
      ci)
        step ci in_root bash -c 'cd /root/brindlet && CI=true bash .ci/run </dev/null' ;;
      deb)
        step deb-build in_root bash -c 'cd /root/brindlet && bash scripts/build-deb.sh </dev/null'
        step deb-install install_package
        sed 's/^/    /' "$logs/deb-install.log" ;;
    esac
  done
fi
# After a run with a broken i386 index, the root's apt answers as before: no foreign architecture
# is left that the index would be needed for.
if [ "$break_i386" -eq 1 ]; then
  apt_after() {
    in_root dpkg --print-foreign-architectures
    [ -z "$(in_root dpkg --print-foreign-architectures)" ] && in_root apt-get update
  }
  step apt-after apt_after
  [ ! -f "$logs/test.log" ] || sed -n '/^== test.sh: summary/,$p' "$logs/test.log" | sed 's/^/    /'
fi
unmount_all

say "$suite, commit $commit:"
printf '  %s\n' "${report[@]}"
echo "  disk use of $root: $base_use after set-up, $(du -shx "$root" | cut -f1) at the end"
[ ! -d "$install_root" ] || echo "  disk use of $install_root: $(du -shx "$install_root" | cut -f1)"
exit "$failed"
