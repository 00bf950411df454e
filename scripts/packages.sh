# Sourced by the scripts that install Debian packages: whether one is installed, and an install
# without recommends, through sudo where the caller is not root, that waits for another apt run.
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
apt_install() {
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "$@"
}
