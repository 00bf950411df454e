#!/usr/bin/env bash
# Builds the page and the engine for the browser (scripts/build-web.sh) and serves the site,
# build/site/, on http://127.0.0.1:8080/ with Python's plain static server, until Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-web.sh
command -v python3 >/dev/null 2>&1 || { echo "web.sh: python3 is missing" >&2; exit 1; }
echo "Brindlet in the browser: http://127.0.0.1:8080/"
exec python3 -m http.server --bind 127.0.0.1 8080 --directory build/site
