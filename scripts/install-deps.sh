#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
set -euo pipefail
exec "$(dirname "$0")/install-packages.sh" \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libxlsxwriter-dev \
  libgtest-dev libgmock-dev python3-openpyxl \
  xvfb xauth fonts-dejavu-core \
  python3-numpy python3-scipy
