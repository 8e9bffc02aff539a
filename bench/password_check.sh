#!/usr/bin/env bash
# Builds veilbox-cli (default preset) and measures what the password check
# costs: `list` given the right password, and given a wrong one, beside
# `list` that stops before the check (no password given), each run 7 times in
# a private home. Prints the medians and the check's time, their difference.
# Target: the check takes at most 0.5 s.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target veilbox-cli >/dev/null
cli=$PWD/build/default/src/cli/veilbox-cli

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export VEILBOX_HOME=$home/program XDG_CONFIG_HOME=$home/config VEILBOX_UPDATE_URL=
echo pw | "$cli" --password-stdin init --accept-agreement >/dev/null 2>&1

# Median wall time in seconds of 7 runs of `list` with the given standard
# input; "none" gives no password at all.
median() {
  for _ in 1 2 3 4 5 6 7; do
    local start end
    start=$(date +%s%N)
    if [ "$1" = none ]; then
      "$cli" list </dev/null >/dev/null 2>&1 || true
    else
      echo "$1" | "$cli" --password-stdin list >/dev/null 2>&1 || true
    fi
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
  done | sort -n | sed -n 4p | awk '{ printf "%.3f", $1 / 1e6 }'
}

base=$(median none)
right=$(median pw)
wrong=$(median wrong)
awk -v base="$base" -v right="$right" -v wrong="$wrong" 'BEGIN {
  printf "list without a password (baseline): %.3f s\n", base
  printf "list with the right password:       %.3f s\n", right
  printf "list with a wrong password:         %.3f s\n", wrong
  check = right - base
  printf "password check:                     %.3f s  (target <= 0.5 s: %s)\n", check, (check <= 0.5) ? "met" : "MISSED"
}'
