#!/usr/bin/env bash
# Fetches Debian's own pcre2 source package of the host's release and unpacks it into
# DIR/source/pcre2: the one PCRE2 source the Windows and the WebAssembly builds are made from.
# Its apt source lists live under DIR, so the machine's apt configuration is left as it is.
set -euo pipefail
if [ "$#" -ne 1 ]; then
  echo "usage: pcre2-source.sh DIR" >&2
  exit 2
fi
pcre=$1
rm -rf "$pcre"
mkdir -p "$pcre/apt/lists/partial" "$pcre/apt/cache/archives/partial" "$pcre/source"
pcre=$(cd "$pcre" && pwd)
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
apt-get indextargets --format '$(REPO_URI) $(CODENAME)' |
  awk -v release="$codename" '$2 == release { print "deb-src " $1 " " release " main" }' |
  sort -u >"$pcre/apt/sources.list"
if [ ! -s "$pcre/apt/sources.list" ]; then
  echo "pcre2-source.sh: no Debian archive for $codename in the apt sources" >&2
  exit 1
fi
apt_options=(-o "Dir::Etc::SourceList=$pcre/apt/sources.list" -o "Dir::Etc::SourceParts=$pcre/apt/none"
             -o "Dir::State::Lists=$pcre/apt/lists" -o "Dir::Cache=$pcre/apt/cache"
             -o "APT::Sandbox::User=$(id -un)")
apt-get "${apt_options[@]}" update
# apt keeps each file of the package that it fetched and checked against the release's source
# index. Where a mirror lacks Debian's packaging (the .dsc or the diff) of the current version,
# the upstream tarball alone builds the same library.
(cd "$pcre/source" && apt-get "${apt_options[@]}" source --download-only pcre2) || true
dsc=$(ls "$pcre"/source/pcre2_*.dsc 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$dsc" ] || ! dpkg-source -x "$dsc" "$pcre/source/pcre2"; then
  orig=$(ls "$pcre"/source/pcre2_*.orig.tar.* 2>/dev/null | sort -V | tail -n 1 || true)
  if [ -z "$orig" ]; then
    echo "pcre2-source.sh: could not fetch Debian's pcre2 source package" >&2
    exit 1
  fi
  echo "pcre2-source.sh: Debian's packaging of pcre2 is not to be had; building from $(basename "$orig")" >&2
  rm -rf "$pcre/source/pcre2"
  mkdir -p "$pcre/source/pcre2"
  tar -xf "$orig" -C "$pcre/source/pcre2" --strip-components=1
fi
