#!/usr/bin/env bash
# Builds veilbox-cli and the benchmark (default preset) and runs it:
# veilbox-cli list of ROWS rows beside list of none, in the same run.
# Target: the rows cost at most 0.15 s more.
#   bench/list.sh [--rows N] [--rounds N]   (defaults: 100000 rows, 9 rounds)
set -euo pipefail
usage() {
  echo "usage: $0 [--rows N] [--rounds N]" >&2
  exit 2
}
rows=100000
rounds=9
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
cmake --build --preset default --target veilbox-cli list_bench >/dev/null
build/default/bench/list_bench build/default/src/cli/veilbox-cli "$rows" "$rounds"
