#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test with ctest; then the
# Windows build, cross-built with mingw-w64, and its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
(cd build && ctest --output-on-failure -j"$(nproc)")
scripts/windows.sh
scripts/windows-test.sh
