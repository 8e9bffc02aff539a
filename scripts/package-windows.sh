#!/usr/bin/env bash
# Builds the Windows setup program build/mingw/Veilbox-<version>-setup.exe
# with NSIS (scripts/windows/veilbox-setup.nsi, the build's target
# veilbox-setup) over the mingw preset's programs, then installs, runs and
# uninstalls it silently in a new Wine prefix
# (tests/package/windows_setup_test.sh). Safe to run any number of times.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh windows-package
cmake --preset mingw
cmake --build --preset mingw --target veilbox-setup
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/mingw/CMakeCache.txt)"
setup="build/mingw/Veilbox-${version}-setup.exe"
echo "== $setup: $(du -k "$setup" | cut -f1) KiB"

echo "== setup test"
status=0
tests/package/windows_setup_test.sh "$setup" || status=$?
if [ "$status" -eq 77 ]; then
  echo "The setup test was skipped (see above)."
elif [ "$status" -ne 0 ]; then
  exit "$status"
fi
