#!/usr/bin/env bash
# Builds veilbox-cli and the benchmark (default preset) and runs it:
# hide --encrypt and restore of 100 folders of 1,000 empty files, beside a
# plain rename loop over the same tree. Targets: ratios <= 1.5, peak < 100 MB.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target veilbox-cli hide_restore_bench >/dev/null
build/default/bench/hide_restore_bench build/default/src/cli/veilbox-cli "$@"
