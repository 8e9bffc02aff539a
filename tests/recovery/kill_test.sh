#!/usr/bin/env bash
# The kill test: hides (with encrypted names) and restores two trees of
# random files, both in one command, again and again through veilbox-cli,
# killing it with SIGKILL at random moments. After every kill the next run
# recovers what was cut off, also a kill between the two rows. At the end
# every file must be back at its own path with its own content, the store
# must hold nothing else, and check must agree. With "long", half the names
# are too long for their cipher text and are hidden as stand-ins with side
# files.
#   kill_test.sh VEILBOX_CLI [KILLS] [FILES] [long]   (defaults: 200 kills, 2000 files)
set -uo pipefail
source "$(dirname "$0")/common.sh" "$1"
KILLS=${2:-200} FILES=${3:-2000} LONG=${4:-}
TREES=("$WORK/Work/Tree" "$WORK/Work/Other")

init_home
for tree in "${TREES[@]}"; do
  make_tree "$tree" $((FILES / 2)) "$LONG"
  manifest "$tree" >"$tree.manifest"
done
must add "${TREES[@]}"
# How long one hide takes, to spread the kills over a whole run.
start=$(date +%s%N)
vb --encrypt hide "${TREES[@]}" >/dev/null 2>&1
vb restore "${TREES[@]}" >/dev/null 2>&1
span_ms=$((($(date +%s%N) - start) / 2000000 + 20))

kills=0 runs=0
while ((kills < KILLS)); do
  command=(--encrypt hide)
  vb list 2>/dev/null | grep -q $'\tHidden\t' && command=(restore)
  vb_bg "${command[@]}" "${TREES[@]}" 2>/dev/null
  sleep "$(awk -v ms=$((RANDOM % span_ms)) 'BEGIN { printf "%.3f", ms / 1000 }')"
  kill -KILL "$pid" 2>/dev/null && kills=$((kills + 1))
  wait "$pid" 2>/dev/null
  runs=$((runs + 1))
done
echo "kills: $kills of $runs runs, files: $FILES"

# Recovery runs at the start of every command; then bring the trees home.
vb list >/dev/null 2>&1
vb restore "${TREES[@]}" >/dev/null 2>&1
for tree in "${TREES[@]}"; do all_back "$tree" "$tree.manifest"; done
left=$(find "$STORE" -mindepth 1 -not -path "$STORE/temp" | wc -l)
((left == 0)) || PROBLEMS+=("$left entries left in the store")
agrees
verdict
