#!/usr/bin/env bash
# Builds Veilbox for Windows with MinGW-w64 and runs its tests under Wine,
# in a new Wine prefix in the build folder. Usage: scripts/test-mingw.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh mingw
cmake --preset mingw
cmake --build --preset mingw
ctest --preset mingw
