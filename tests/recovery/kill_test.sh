#!/usr/bin/env bash
# Two trees hidden (encrypted names) and restored again and again, veilbox-cli
# killed at random moments: at the end every file is back, the store empty and
# check agrees. With "long", half the names become stand-ins with side files.
#   kill_test.sh VEILBOX_CLI [KILLS] [FILES] [long]   (defaults: 200 kills, 2000 files)
source "$(dirname "$0")/common.sh" "$1"
KILLS=${2:-200} FILES=${3:-2000} LONG=${4:-} TREES=("$WORK/Work/Tree" "$WORK/Work/Other")
init_home
for tree in "${TREES[@]}"; do new_tree "$tree" $((FILES / 2)) "$LONG"; done
must add "${TREES[@]}"
start=$(date +%s%N)  # one hide's time, to spread the kills over a whole run
quiet --encrypt hide "${TREES[@]}"
quiet restore "${TREES[@]}"
span_ms=$((($(date +%s%N) - start) / 2000000 + 20)) kills=0
while ((kills < KILLS)); do
  command=(--encrypt hide)
  vb list 2>/dev/null | grep -q $'\tHidden\t' && command=(restore)
  vb_bg "${command[@]}" "${TREES[@]}" 2>/dev/null
  sleep "$(awk -v ms=$((RANDOM % span_ms)) 'BEGIN { printf "%.3f", ms / 1000 }')"
  kill -KILL "$pid" 2>/dev/null && kills=$((kills + 1))
  wait "$pid" 2>/dev/null
done
quiet restore "${TREES[@]}"  # after recovery, which runs at the start of every command
for tree in "${TREES[@]}"; do all_back "$tree" "$tree.manifest"; done
left=$(find "$STORE" -mindepth 1 -not -path "$STORE/temp" | wc -l)
((left == 0)) || PROBLEMS+=("$left entries left in the store")
agrees
verdict
