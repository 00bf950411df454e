# Sourced: brindlet_version prints the project's version, which CMakeLists.txt's project() sets
# (the one place it is set), and fails where it cannot be read.
brindlet_version() {
  local top
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  local version
  version=$(sed -n 's/^project(brindlet VERSION \([0-9.]*\) .*/\1/p' "$top/CMakeLists.txt")
  [ -n "$version" ] || { echo "version: no version in $top/CMakeLists.txt" >&2; return 1; }
  echo "$version"
}

# changelog_matches VERSION: fails, saying so, where debian/changelog's newest entry names
# another upstream version.
changelog_matches() {
  local top changelog_version
  top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  changelog_version=$(sed -n '1s/^brindlet (\([^-)]*\)-[^)]*).*/\1/p' "$top/debian/changelog")
  [ "$1" = "$changelog_version" ] && return 0
  echo "version: debian/changelog has version '$changelog_version', CMakeLists.txt '$1'" >&2
  return 1
}
