#!/usr/bin/env bash
# Twenty copies of veilbox-cli at once: twenty adds of different folders,
# then twenty hides. No copy may lose another's record.
#   concurrency_test.sh VEILBOX_CLI [COPIES]
set -uo pipefail
source "$(dirname "$0")/common.sh" "$1"
COPIES=${2:-20}

init_home || { echo "init failed"; exit 1; }
for ((i = 0; i < COPIES; i++)); do make_tree "$WORK/Work/Folder$i" 5; done

run_all() {
  local pids=() i failed=0
  for ((i = 0; i < COPIES; i++)); do
    vb "$@" "$WORK/Work/Folder$i" >/dev/null 2>"$WORK/err$i" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || failed=$((failed + 1)); done
  echo "$failed"
}

add_failures=$(run_all add)
added=$(vb list | grep -c $'\tVisible\t')
hide_failures=$(run_all --encrypt hide)
hidden=$(vb list | grep -c $'\tHidden\tEncrypted$')
stored=$(find "$VEILBOX_HOME/Data" -mindepth 1 -maxdepth 1 -name 'Folder*' | wc -l)

echo "copies: $COPIES, records after adds: $added (failed runs $add_failures), hidden after hides: $hidden (failed runs $hide_failures), folders in the store: $stored"
if ((added == COPIES && hidden == COPIES && stored == COPIES && add_failures == 0 && hide_failures == 0)); then
  echo "1 passed, 0 failed"
else
  cat "$WORK"/err* | sort | uniq -c | head
  echo "0 passed, 1 failed"
  exit 1
fi
