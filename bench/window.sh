#!/usr/bin/env bash
# Builds the benchmark (default preset) and runs it: the desktop's main
# window shows ROWS rows after the password check ends (Qt offscreen).
# Target: at most 0.1 s.
#   bench/window.sh [--rows N] [--rounds N]   (defaults: 10000 rows, 5 rounds)
set -euo pipefail
source "$(dirname "$0")/options.sh" "rows=10000 rounds=5" "window_bench" "$@"
build/default/bench/window_bench "$rows" "$rounds"
