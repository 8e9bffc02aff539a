#!/usr/bin/env bash
# Builds veilbox-cli and the benchmark (default preset) and runs it: add,
# hide, restore and remove of ROWS listed folders, one command each, beside a
# loop that per row renames a folder and durably rewrites a file as large as
# Dat.sys, measured in the same run. Target: ratios <= 1.25.
#   bench/rows.sh [--rows N]   (default: 1000)
set -euo pipefail
usage() {
  echo "usage: $0 [--rows N]" >&2
  exit 2
}
rows=1000
while (($#)); do
  case $1 in
    --rows) (($# >= 2)) || usage; rows=$2; shift 2 ;;
    *) usage ;;
  esac
done
[[ $rows =~ ^[1-9][0-9]*$ ]] || usage
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target veilbox-cli rows_bench >/dev/null
build/default/bench/rows_bench build/default/src/cli/veilbox-cli "$rows"
