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
source "$(dirname "$0")/options.sh" "folders=1000 files=1000 rounds=3" "veilbox-cli hide_restore_bench" "$@"
build/default/bench/hide_restore_bench build/default/src/cli/veilbox-cli "$folders" "$files" "$rounds"
