#!/usr/bin/env bash
# With the folder's place gone, a restore into the store's temp or the program folder is refused.
source "$(dirname "$0")/drives.sh" "$1"
PLACE=$OWNER_HOME/work PLANS=$OWNER_HOME/work/Plans ELSEWHERE=$OWNER_HOME/elsewhere

install -d -o "$OWNER" -g "$OWNER" "$PLACE" "$ELSEWHERE" && owned_tree "$OWNER" "$PLANS" 20 "$SCRATCH/plans"
must add "$PLANS" && must hide "$PLANS" && as "$OWNER" rmdir "$PLACE" || exit 1
for refused in "$(stores | head -1)/temp" "$OWNER_HOME/veilbox"; do
  exits fails "restore to $refused" --restore-to "$refused" restore "$PLANS"
  want "restore to $refused keeps the row hidden" hidden "$PLANS"
  want "nothing restored into $refused" [ -z "$(find "$refused" -maxdepth 1 -name 'Plans*' -print -quit)" ]
done
exits 0 "restore to $ELSEWHERE" --restore-to "$ELSEWHERE" restore "$PLANS"
want "no file lost" [ "$(lost_files "$ELSEWHERE/Plans" "$SCRATCH/plans")" -eq 0 ]
verdict
