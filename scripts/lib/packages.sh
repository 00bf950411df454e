# Sourced by every script that installs Debian packages: the one way they do it.
#   installed PACKAGE           true when PACKAGE is installed
#   missing_of PACKAGE...       the names of those not installed, one a line
#   need_packages PACKAGE...    installs those that are missing (without recommends), as root or
#                               through sudo, waiting for another apt run's lock and trying once
#                               more after a failure; returns 1 with the reason in
#                               $packages_error (and on standard error) when they cannot be had
#   add_foreign_arch ARCH       makes ARCH a foreign architecture of dpkg for this run
#   drop_unused_foreign_arch ARCH
#                               takes ARCH away again if this run added it and no package of it is
#                               installed, so that the machine's apt answers as it did before
# A failed "apt-get update" is no failure in itself: apt keeps every index it could read, and
# what decides is whether the packages then install. The index is refreshed at most once per
# run of the test command (BRINDLET_APT_UPDATED passes that on to the scripts it starts).
packages_error=""

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

missing_of() {
  local package
  for package in "$@"; do
    installed "$package" || echo "$package"
  done
}

# Runs a command as root: directly, or through sudo.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    return 127
  fi
}

apt_update_once() {
  [ "${BRINDLET_APT_UPDATED:-0}" = 1 ] && return 0
  export BRINDLET_APT_UPDATED=1
  as_root apt-get -o DPkg::Lock::Timeout=600 -o Acquire::Retries=2 update ||
    echo "packages: apt-get update could not read every index; going on with those it read" >&2
}

apt_install() {
  as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y \
    --no-install-recommends "$@"
}

need_packages() {
  packages_error=""
  local missing
  mapfile -t missing < <(missing_of "$@")
  [ "${#missing[@]}" -gt 0 ] || return 0
  if ! command -v apt-get >/dev/null 2>&1; then
    packages_error="no apt-get here to install ${missing[*]} (README.md: \"Other systems\")"
  elif [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
    packages_error="missing ${missing[*]}; as root, run: apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
  else
    echo "packages: installing ${missing[*]}" >&2
    apt_update_once
    if apt_install "${missing[@]}"; then
      return 0
    fi
    # Once more, after a fresh index: a mirror may have been caught in a sync.
    BRINDLET_APT_UPDATED=0
    apt_update_once
    apt_install "${missing[@]}" && return 0
    packages_error="apt-get could not install ${missing[*]}"
  fi
  echo "packages: $packages_error" >&2
  return 1
}

add_foreign_arch() {
  dpkg --print-foreign-architectures | grep -qx "$1" && return 0
  as_root dpkg --add-architecture "$1" || return 1
  BRINDLET_APT_UPDATED=0
  export BRINDLET_FOREIGN_ARCH_ADDED="${BRINDLET_FOREIGN_ARCH_ADDED:-} $1"
}

drop_unused_foreign_arch() {
  case " ${BRINDLET_FOREIGN_ARCH_ADDED:-} " in *" $1 "*) ;; *) return 0 ;; esac
  # dpkg itself refuses while a package of ARCH is still known to it.
  if as_root dpkg --remove-architecture "$1" 2>/dev/null; then
    echo "packages: nothing of $1 could be installed; $1 is no foreign architecture of dpkg any more" >&2
  fi
}

# need_build_deps SOURCE_DIR [-Pprofile...]: the Debian build dependencies of the source package
# in SOURCE_DIR, installed with apt-get build-dep where dpkg-checkbuilddeps finds any missing.
need_build_deps() {
  local source=$1
  shift
  need_packages dpkg-dev || return 1
  (cd "$source" && dpkg-checkbuilddeps "$@" >/dev/null 2>&1) && return 0
  if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null 2>&1; then
    packages_error="build dependencies missing; as root, run: apt-get build-dep $* $source"
  else
    apt_update_once
    as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 build-dep -y "$@" "$source" &&
      return 0
    packages_error="apt-get build-dep could not install the build dependencies of $source"
  fi
  echo "packages: $packages_error" >&2
  return 1
}
