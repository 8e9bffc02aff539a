#!/usr/bin/env bash
# Builds veilbox-cli and the benchmark (default preset) and runs it:
# veilbox-cli list of ROWS rows beside list of none, in the same run.
# Target: the rows cost at most 0.15 s more.
#   bench/list.sh [--rows N] [--rounds N]   (defaults: 100000 rows, 9 rounds)
set -euo pipefail
source "$(dirname "$0")/options.sh" "rows=100000 rounds=9" "veilbox-cli list_bench" "$@"
build/default/bench/list_bench build/default/src/cli/veilbox-cli "$rows" "$rounds"
