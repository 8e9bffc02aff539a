#!/usr/bin/env bash
# Builds veilbox-cli and the benchmark (default preset) and runs it: add,
# hide, restore and remove of ROWS listed folders, one command each, beside a
# loop that per row renames a folder and durably rewrites a file as large as
# Dat.sys, measured in the same run, for ROUNDS rounds; the ratios are the
# medians over the rounds. Target: ratios <= 1.25.
#   bench/rows.sh [--rows N] [--rounds N]   (defaults: 1000 rows, 3 rounds)
set -euo pipefail
usage() {
  echo "usage: $0 [--rows N] [--rounds N]" >&2
  exit 2
}
rows=1000
rounds=3
while (($#)); do
  case $1 in
    --rows) (($# >= 2)) || usage; rows=$2; shift 2 ;;
    --rounds) (($# >= 2)) || usage; rounds=$2; shift 2 ;;
    *) usage ;;
  esac
done
for n in "$rows" "$rounds"; do [[ $n =~ ^[1-9][0-9]*$ ]] || usage; done
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target veilbox-cli rows_bench >/dev/null
build/default/bench/rows_bench build/default/src/cli/veilbox-cli "$rows" "$rounds"
