#!/usr/bin/env bash
# Builds veilbox-cli and the benchmark (default preset) and runs it: add,
# hide, restore and remove of ROWS listed folders, one command each, beside a
# loop that per row renames a folder and durably rewrites a file as large as
# Dat.sys, measured in the same run, for ROUNDS rounds; the ratios are the
# medians over the rounds. Target: ratios <= 1.25.
#   bench/rows.sh [--rows N] [--rounds N]   (defaults: 1000 rows, 3 rounds)
set -euo pipefail
source "$(dirname "$0")/options.sh" "rows=1000 rounds=3" "veilbox-cli rows_bench" "$@"
build/default/bench/rows_bench build/default/src/cli/veilbox-cli "$rows" "$rounds"
