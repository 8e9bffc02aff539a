#!/usr/bin/env bash
# veilbox-cli killed while its store folders are unlocked and no row has
# begun (no journal): the next command locks them again and says so, once.
#   unlocked_kill_test.sh VEILBOX_CLI
source "$(dirname "$0")/common.sh" "$1"
TREE="$WORK/Work/Tree"
init_home
make_tree "$TREE" 5
must add "$TREE"
must hide "$TREE"
# With its place gone, restore asks where to go on standard error, a full
# pipe: veilbox-cli stops there with the store folders unlocked.
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
