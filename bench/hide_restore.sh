#!/usr/bin/env bash
# Builds veilbox-cli and the benchmark (default preset) and runs it: hide
# --encrypt and restore of FOLDERS folders of FILES empty files, each beside
# a plain loop that renames the same files, measured in the same run, for
# ROUNDS rounds; the ratios are the medians over the rounds.
# Targets: ratios <= 1.1, peak memory < 64 MiB.
#   bench/hide_restore.sh [--folders N] [--files N] [--rounds N]
#                          (defaults: 1000 folders of 1000 files, 3 rounds)
#   bench/hide_restore.sh --folders 1 --files 1000000  (a million in one folder)
set -euo pipefail
usage() {
  echo "usage: $0 [--folders N] [--files N] [--rounds N]" >&2
  exit 2
}
folders=1000
files=1000
rounds=3
while (($#)); do
  case $1 in
    --folders) (($# >= 2)) || usage; folders=$2; shift 2 ;;
    --files) (($# >= 2)) || usage; files=$2; shift 2 ;;
    --rounds) (($# >= 2)) || usage; rounds=$2; shift 2 ;;
    *) usage ;;
  esac
done
for n in "$folders" "$files" "$rounds"; do [[ $n =~ ^[1-9][0-9]*$ ]] || usage; done
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target veilbox-cli hide_restore_bench >/dev/null
build/default/bench/hide_restore_bench build/default/src/cli/veilbox-cli "$folders" "$files" "$rounds"
