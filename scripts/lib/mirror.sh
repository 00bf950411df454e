# Sourced: where Debian's archive is, as this machine's apt reaches it.
#   apt_source_files          the apt source files (one-line and deb822)
#   archive_uris FILE...      the URIs of their enabled entries, one a line
#   debian_mirror             the first http(s) URI ending in /debian (else deb.debian.org's)
#   debian_security_mirror    the first ending in /debian-security (else deb.debian.org's)
apt_source_files() {
  local file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] && echo "$file"
  done
  return 0
}

archive_uris() {
  awk '/^[[:space:]]*#/ { next }
       $1 == "URIs:" { for (i = 2; i <= NF; i++) print $i }
       $1 == "deb" { i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ } print $i }' "$@"
}

first_uri_ending() {  # first_uri_ending SUFFIX DEFAULT
  local files uri=""
  mapfile -t files < <(apt_source_files)
  [ "${#files[@]}" -eq 0 ] || uri=$(archive_uris "${files[@]}" | grep -E "^https?://.*/$1/?\$" | head -n 1 || true)
  echo "${uri:-$2}"
}

debian_mirror() { first_uri_ending debian http://deb.debian.org/debian; }
debian_security_mirror() { first_uri_ending debian-security http://deb.debian.org/debian-security; }
