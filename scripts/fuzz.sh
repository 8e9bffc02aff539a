#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
# Usage: scripts/fuzz.sh [seconds per target]   (default 30)
# A crash leaves its input in build/fuzz/crashes/ and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"

scripts/install-deps.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/crashes
for target in fuzz_database fuzz_store_list fuzz_settings fuzz_cipher_text; do
  corpus="build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  echo "== $target: ${seconds} s"
  "build/fuzz/tests/fuzz/$target" "$corpus" -max_total_time="$seconds" -max_len=4096 \
    -artifact_prefix=build/fuzz/crashes/"$target"- -print_final_stats=1 2>&1 | tail -n 4
done
