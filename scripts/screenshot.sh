#!/usr/bin/env bash
# Starts the calculator under a virtual display, types sample definitions and expressions and
# saves PNG screenshots of its windows into the folder given (default: screenshots/).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-screenshots}
scripts/install-deps.sh
scripts/build.sh
xvfb-run -a -s "-screen 0 1280x1024x24" build/calculator --screenshots "$out"
