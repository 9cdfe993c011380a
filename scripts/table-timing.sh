#!/usr/bin/env bash
# Builds and runs the function-table timing program (bench/table): a million-row table computed
# and shown, and a 100,000-row workbook written, with their times and peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
[[ -f build/build.ninja ]] || cmake -S . -B build -G Ninja
cmake --build build --target table_timing
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} build/bench/table/table_timing
