#!/usr/bin/env bash
# Restore to another folder: with the folder's own place gone, a place
# inside the store folder (its temp) or the program folder is refused and
# the row stays hidden; a proper place then gets every file back.
source "$(dirname "$0")/drives.sh" "$1"
PLACE=$OWNER_HOME/work PLANS=$PLACE/Plans ELSEWHERE=$OWNER_HOME/elsewhere

install -d -o "$OWNER" -g "$OWNER" "$PLACE" "$ELSEWHERE"
owned_tree "$OWNER" "$PLANS" 20
manifest "$PLANS" >"$SCRATCH/plans"
vb add "$PLANS" >/dev/null 2>&1 && vb hide "$PLANS" >/dev/null 2>&1 || { echo "set-up failed"; exit 1; }
as "$OWNER" rmdir "$PLACE" || exit 1
store=$(stores | head -1)

for refused in "$store/temp" "$OWNER_HOME/veilbox"; do
  run --restore-to "$refused" restore "$PLANS"
  want "restore to $refused fails (exit $CODE)" [ "$CODE" -ne 0 ]
  want "restore to $refused keeps the row hidden" hidden "$PLANS"
  want "nothing restored into $refused" \
    [ -z "$(find "$refused" -maxdepth 1 -name 'Plans*' -print -quit)" ]
done
run --restore-to "$ELSEWHERE" restore "$PLANS"
want "restore to $ELSEWHERE exits 0 (exit $CODE)" [ "$CODE" -eq 0 ]
want "no file lost" [ "$(lost_files "$ELSEWHERE/Plans" "$SCRATCH/plans")" -eq 0 ]
verdict
