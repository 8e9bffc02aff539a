#!/usr/bin/env bash
# Ctrl-C (SIGINT) and SIGTERM sent while veilbox-cli hides a tree with
# encrypted names, and while it restores it: the command finishes its work,
# locks the store folders again, and only then ends as the signal asks
# (exit status 128 + the signal's number). Nothing is lost, the row says
# what was done, and check agrees.
#   signal_test.sh VEILBOX_CLI [FILES]     (default: 3000 files)
set -uo pipefail
source "$(dirname "$0")/common.sh" "$1"
TREE=$WORK/Work/Tree
JOURNAL=$VEILBOX_HOME/Dat.sys.journal

init_home
make_tree "$TREE" "${2:-3000}"
manifest "$TREE" >"$WORK/manifest"
must add "$TREE"
# A background command in a script without job control ignores SIGINT.
set -m
# interrupt SIGNAL STATUS ARGS...: vb ARGS ended by SIGNAL once its journal
# shows it at work; afterwards the row is STATUS and the store locked.
interrupt() {
  local signal=$1 status=$2 waited=0 code row
  shift 2
  vb_bg "$@" 2>/dev/null
  while [ ! -e "$JOURNAL" ] && ((waited++ < 2000)); do sleep 0.005; done
  kill -"$signal" "$pid"
  wait "$pid"
  code=$?
  local said="$* after SIG$signal"
  ((code == 128 + $(kill -l "$signal"))) || PROBLEMS+=("$said exited $code")
  row=$(vb list 2>/dev/null | cut -f3)
  [ "$row" = "$status" ] || PROBLEMS+=("$said left the row $row, not $status")
  [ "$(stat -c %a "$STORE")" = 0 ] || PROBLEMS+=("$said left the store unlocked")
  [ ! -e "$JOURNAL" ] || PROBLEMS+=("$said left its journal")
}
for signal in INT TERM; do
  interrupt "$signal" Hidden --encrypt hide "$TREE"
  interrupt "$signal" Visible restore "$TREE"
done
all_back "$TREE" "$WORK/manifest"
agrees
verdict
