#!/usr/bin/env bash
# Builds the benchmark (default preset) and runs it twice: once as is, so
# OpenSSL uses AES-NI, and once with AES-NI masked off, so OpenSSL falls back
# to its best software AES. Prints our figure, both OpenSSL figures and the
# ratios; the target is at least 0.5 of OpenSSL without AES-NI.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default --target cipher_bench >/dev/null
bench=build/default/bench/cipher_bench

# The figure is field 4 of the lines "cEncrypt BlockEncrypt (AES-128): N MB/s"
# and "OpenSSL AES-128-ECB (EVP): N MB/s ...".
figure() { awk -v what="$1" 'index($0, what) == 1 { print $4 }'; }

with_ni=$("$bench")
without_ni=$(OPENSSL_ia32cap="~0x200000200000000" "$bench")

ours_1=$(figure "cEncrypt" <<<"$with_ni")
ours_2=$(figure "cEncrypt" <<<"$without_ni")
ssl_ni=$(figure "OpenSSL" <<<"$with_ni")
ssl_soft=$(figure "OpenSSL" <<<"$without_ni")

awk -v o1="$ours_1" -v o2="$ours_2" -v ni="$ssl_ni" -v soft="$ssl_soft" 'BEGIN {
  ours = (o1 > o2) ? o1 : o2
  printf "cEncrypt BlockEncrypt (table-driven AES-128): %9.1f MB/s  (runs: %s, %s)\n", ours, o1, o2
  printf "OpenSSL AES-128-ECB with AES-NI:              %9.1f MB/s\n", ni
  printf "OpenSSL AES-128-ECB without AES-NI:           %9.1f MB/s\n", soft
  printf "ratio ours / OpenSSL with AES-NI:             %9.3f\n", ours / ni
  printf "ratio ours / OpenSSL without AES-NI:          %9.3f  (target >= 0.5: %s)\n", ours / soft, (ours / soft >= 0.5) ? "met" : "MISSED"
}'
