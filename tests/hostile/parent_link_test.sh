#!/usr/bin/env bash
# The hidden folder's parent swapped for the intruder's link: the restore puts nothing there.
source "$(dirname "$0")/hostile.sh" "$1"
PLANS=$SHARED/Team/Plans DROP=$ROOT/intruder/drop

install -d -o "$OWNER" -g "$OWNER" "$SHARED/Team"
owned_tree "$OWNER" "$PLANS" 20 "$SCRATCH/plans.manifest"
install -d -o "$INTRUDER" -g "$INTRUDER" "$ROOT/intruder" "$DROP" && chmod 0777 "$DROP"
must add "$PLANS" && must --encrypt hide "$PLANS"

as "$INTRUDER" mv "$SHARED/Team" "$SHARED/Team.moved" && as "$INTRUDER" ln -s "$DROP" "$SHARED/Team"
exits fails "the restore through the link" restore "$PLANS"
want "nothing in the intruder's folder" [ -z "$(find "$DROP" -mindepth 1 -print -quit)" ]
rm "$SHARED/Team" && mv "$SHARED/Team.moved" "$SHARED/Team"  # the link undone
hidden "$PLANS" && run restore "$PLANS"
want "no file lost after the link is undone" [ "$(lost_files "$PLANS" "$SCRATCH/plans.manifest")" -eq 0 ]
exits 0 check check
verdict
