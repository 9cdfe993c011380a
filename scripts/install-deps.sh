#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
set -euo pipefail
exec "$(dirname "$0")/install-packages.sh" \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev \
  libgtest-dev libgmock-dev \
  xvfb xauth fonts-dejavu-core \
  python3-numpy python3-scipy
