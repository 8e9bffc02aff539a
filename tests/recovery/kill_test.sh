#!/usr/bin/env bash
# The kill test: hides (with encrypted names) and restores two trees of
# random files, both in one command, again and again through veilbox-cli,
# killing it with SIGKILL at random moments. After every kill the next run
# recovers what was cut off; a kill between the two rows must find the first
# row's record already written. At the end every file must be back at its own
# path with its own content, and the store must hold nothing else. With
# "long", half the names are too long for their cipher text and are hidden
# as stand-ins with side files.
#   kill_test.sh VEILBOX_CLI [KILLS] [FILES] [long]   (defaults: 200 kills, 2000 files)
set -uo pipefail
source "$(dirname "$0")/common.sh" "$1"
KILLS=${2:-200}
FILES=${3:-2000}
LONG=${4:-}

init_home || { echo "init failed"; exit 1; }
TREES=("$WORK/Work/Tree" "$WORK/Work/Other")
for tree in "${TREES[@]}"; do
  make_tree "$tree" $((FILES / 2)) "$LONG"
  manifest "$tree" >"$tree.manifest"
done
vb add "${TREES[@]}" >/dev/null 2>&1 || { echo "add failed"; exit 1; }

# How long one hide takes, to spread the kills over a whole run.
start=$(date +%s%N)
vb --encrypt hide "${TREES[@]}" >/dev/null 2>&1
vb restore "${TREES[@]}" >/dev/null 2>&1
span_ms=$((($(date +%s%N) - start) / 2000000 + 20))

kills=0
runs=0
while ((kills < KILLS)); do
  if vb list 2>/dev/null | grep -q $'\tHidden\t'; then
    command=(restore "${TREES[@]}")
  else
    command=(--encrypt hide "${TREES[@]}")
  fi
  # $! of a pipeline is its last command: veilbox-cli itself, not a shell
  # that would die while veilbox-cli went on.
  printf '%s\n' "$PASSWORD" | "$CLI" --password-stdin "${command[@]}" >/dev/null 2>&1 &
  pid=$!
  sleep "$(awk -v ms=$((RANDOM % span_ms)) 'BEGIN { printf "%.3f", ms / 1000 }')"
  if kill -KILL "$pid" 2>/dev/null; then kills=$((kills + 1)); fi
  wait "$pid" 2>/dev/null
  runs=$((runs + 1))
done

# Recovery runs at the start of every command; then bring the tree home.
vb list >/dev/null 2>&1
vb restore "${TREES[@]}" >/dev/null 2>&1
lost=0
extra=$((-FILES / 2 * 2))
for tree in "${TREES[@]}"; do
  lost=$((lost + $(lost_files "$tree" "$tree.manifest")))
  extra=$((extra + $(find "$tree" -type f 2>/dev/null | wc -l)))
done
left=$(find "$VEILBOX_HOME/Data" -mindepth 1 -not -path "$VEILBOX_HOME/Data/temp" | wc -l)
vb check >/dev/null 2>&1
check=$?

echo "kills: $kills of $runs runs, files: $FILES, files lost: $lost, files added: $extra, left in the store: $left, check: $check"
if ((lost == 0 && extra == 0 && left == 0 && check == 0)); then
  echo "1 passed, 0 failed"
else
  echo "0 passed, 1 failed"
  exit 1
fi
