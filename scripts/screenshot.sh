#!/usr/bin/env bash
# Starts the calculator under a virtual display, types sample definitions and expressions and
# saves PNG screenshots of its windows into the folder given (default: screenshots/), each named
# after its window's caption. `--guide` renews the pictures of docs/GUIDE.md in docs/images/.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-screenshots}
if [[ "$out" == "--guide" ]]; then
  out=docs/images
  rm -f "$out"/*.png
fi
scripts/install-deps.sh
scripts/build.sh
# A fresh data folder, so that no settings of an earlier run change the pictures.
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" build/calculator --data-dir "$data" --screenshots "$out"
