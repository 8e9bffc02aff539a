#!/usr/bin/env bash
# Ctrl-C (SIGINT) and SIGTERM sent while veilbox-cli hides a tree with
# encrypted names, and while it restores it: the command finishes its work,
# locks the store folders again, and only then ends as the signal asks
# (exit status 128 + the signal's number). Nothing is lost, the row says
# what was done, and check agrees.
#   signal_test.sh VEILBOX_CLI [FILES]     (default: 3000 files)
set -uo pipefail
source "$(dirname "$0")/common.sh" "$1"
FILES=${2:-3000}
TREE=$WORK/Work/Tree
JOURNAL=$VEILBOX_HOME/Dat.sys.journal

init_home || { echo "init failed"; exit 1; }
make_tree "$TREE" "$FILES"
manifest "$TREE" >"$WORK/manifest"
vb add "$TREE" >/dev/null 2>&1 || { echo "add failed"; exit 1; }
printf '%s\n' "$PASSWORD" >"$WORK/password"

PROBLEMS=()
# A background command in a script without job control ignores SIGINT.
set -m
# interrupt SIGNAL STATUS COMMAND...: COMMAND ended by SIGNAL once its
# journal shows it at work; afterwards the row is STATUS and the store locked.
interrupt() {
  local signal=$1 status=$2 code waited=0
  shift 2
  "$CLI" --password-stdin "$@" <"$WORK/password" >/dev/null 2>&1 &
  local pid=$!  # veilbox-cli's own
  while [ ! -e "$JOURNAL" ] && ((waited++ < 2000)); do sleep 0.005; done
  kill -"$signal" "$pid"
  wait "$pid"
  code=$?
  local expected=$((128 + $(kill -l "$signal")))
  ((code == expected)) || PROBLEMS+=("$* after SIG$signal exited $code, not $expected")
  local row
  row=$(vb list 2>/dev/null | cut -f3)
  [ "$row" = "$status" ] || PROBLEMS+=("$* after SIG$signal left the row $row, not $status")
  [ "$(stat -c %a "$VEILBOX_HOME/Data")" = 0 ] || PROBLEMS+=("$* after SIG$signal left the store unlocked")
  [ ! -e "$JOURNAL" ] || PROBLEMS+=("$* after SIG$signal left its journal")
}
for signal in INT TERM; do
  interrupt "$signal" Hidden --encrypt hide "$TREE"
  interrupt "$signal" Visible restore "$TREE"
done
lost=$(lost_files "$TREE" "$WORK/manifest")
((lost == 0)) || PROBLEMS+=("$lost files lost")
vb check >/dev/null 2>&1 || PROBLEMS+=("check found a difference")

if ((${#PROBLEMS[@]} == 0)); then
  echo "1 passed, 0 failed"
else
  printf 'not so: %s\n' "${PROBLEMS[@]}"
  echo "0 passed, 1 failed"
  exit 1
fi
