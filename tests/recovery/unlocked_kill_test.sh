#!/usr/bin/env bash
# veilbox-cli killed with SIGKILL while its store folders are unlocked and no
# row has begun (so no journal brings the next command to lock them): the
# next command locks them again and says so in one line.
#   unlocked_kill_test.sh VEILBOX_CLI
set -uo pipefail
source "$(dirname "$0")/common.sh" "$1"

init_home || { echo "init failed"; exit 1; }
TREE="$WORK/Work/Tree"
STORE="$VEILBOX_HOME/Data"
make_tree "$TREE" 5
{ vb add "$TREE" && vb hide "$TREE"; } >/dev/null 2>&1 || { echo "set-up failed"; exit 1; }

# With its place gone, restore asks where to put the folder back. The
# question goes to standard error, a pipe that the test has filled, so
# veilbox-cli stops there with the store folders unlocked.
rm -r "$WORK/Work"
mkfifo "$WORK/stderr"
exec 3<>"$WORK/stderr"
timeout 1 cat /dev/zero >&3
printf '%s\n' "$PASSWORD" | "$CLI" --password-stdin restore "$TREE" >/dev/null 2>&3 &
pid=$!
for ((i = 0; i < 600; i++)); do
  [ "$(stat -c %a "$STORE")" = 700 ] && break
  sleep 0.1
done
while_running=$(stat -c %a "$STORE")
kill -KILL "$pid"
wait "$pid" 2>/dev/null
exec 3>&-

said=$(vb list 2>&1 >/dev/null)
after=$(stat -c %a "$STORE")
said_again=$(vb list 2>&1 >/dev/null)

echo "store mode while running: $while_running, after the next command: $after"
echo "the next command said: $said"
expected="Veilbox: A previous run of Veilbox ended without locking the hidden/locked folders; they are locked now."
if [ "$while_running" = 700 ] && [ "$after" = 0 ] && [ "$said" = "$expected" ] && [ -z "$said_again" ]; then
  echo "1 passed, 0 failed"
else
  echo "0 passed, 1 failed"
  exit 1
fi
