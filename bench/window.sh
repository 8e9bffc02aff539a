#!/usr/bin/env bash
# Builds the benchmark (default preset) and runs it: the desktop's main
# window shows ROWS rows after the password check ends (Qt offscreen).
# Target: at most 0.1 s.
#   bench/window.sh [--rows N] [--rounds N]   (defaults: 10000 rows, 5 rounds)
set -euo pipefail
usage() {
  echo "usage: $0 [--rows N] [--rounds N]" >&2
  exit 2
}
rows=10000
rounds=5
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
cmake --build --preset default --target window_bench >/dev/null
build/default/bench/window_bench "$rows" "$rounds"
