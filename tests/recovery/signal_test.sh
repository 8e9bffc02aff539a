#!/usr/bin/env bash
# SIGINT and SIGTERM during an encrypted hide and a restore: the command finishes, locks the store
# folders and exits 128 + the signal's number; nothing is lost. Killed with the store folders unlocked
# before any journal: the next command locks them again and says so, once. Args: VEILBOX_CLI [FILES]
source "$(dirname "$0")/common.sh" "$1"
TREE=$WORK/Work/Tree JOURNAL=$VEILBOX_HOME/Dat.sys.journal
init_home
new_tree "$TREE" "${2:-3000}"
must add "$TREE"
set -m  # without job control a background command ignores SIGINT
# interrupt SIGNAL STATUS ARGS...: vb ARGS signalled once its journal shows it at work.
interrupt() {
  local signal=$1 status=$2 waited=0 code row said="${*:3} after SIG$1"
  vb_bg "${@:3}" 2>/dev/null
  while [ ! -e "$JOURNAL" ] && ((waited++ < 2000)); do sleep 0.005; done
  kill -"$signal" "$pid"
  wait "$pid"
  code=$? row=$(vb list 2>/dev/null | cut -f3)
  ((code == 128 + $(kill -l "$signal"))) || PROBLEMS+=("$said exited $code")
  [ "$row" = "$status" ] || PROBLEMS+=("$said left the row $row, not $status")
  [ "$(stat -c %a "$STORE")" = 0 ] || PROBLEMS+=("$said left the store unlocked")
  [ ! -e "$JOURNAL" ] || PROBLEMS+=("$said left its journal")
}
for signal in INT TERM; do
  interrupt "$signal" Hidden --encrypt hide "$TREE"
  interrupt "$signal" Visible restore "$TREE"
done
all_back "$TREE" "$TREE.manifest"
agrees
must hide "$TREE"
# Its place gone, restore asks where to go on a full pipe and stops there, unlocked.
rm -r "$WORK/Work"
mkfifo "$WORK/stderr"
exec 3<>"$WORK/stderr"
timeout 1 cat /dev/zero >&3
vb_bg restore "$TREE" 2>&3
for ((i = 0; i < 600; i++)); do [ "$(stat -c %a "$STORE")" = 700 ] && break || sleep 0.1; done
[ "$(stat -c %a "$STORE")" = 700 ] || PROBLEMS+=("the store was not unlocked while restore ran")
kill -KILL "$pid"
wait "$pid" 2>/dev/null
exec 3>&-
# The next command says so in one line, the one after it nothing.
said=$(vb list 2>&1 >/dev/null)
[[ $said == Veilbox:* && $said != *$'\n'* ]] || PROBLEMS+=("the next command said: $said")
[ "$(stat -c %a "$STORE")" = 0 ] || PROBLEMS+=("the next command left the store unlocked")
said=$(vb list 2>&1 >/dev/null)
[ -z "$said" ] || PROBLEMS+=("the command after it said: $said")
verdict
