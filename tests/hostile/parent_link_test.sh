#!/usr/bin/env bash
# The parent link: after the owner hides shared/Team/Plans, the intruder puts
# a link to a folder of their own in place of shared/Team. The restore must
# not put the folder into the intruder's folder; the folder stays reachable:
# with the intruder's link undone, a restore brings every file back.
source "$(dirname "$0")/hostile.sh" "$1"
PLANS=$SHARED/Team/Plans DROP=$ROOT/intruder/drop

install -d -o "$OWNER" -g "$OWNER" "$SHARED/Team"
owned_tree "$OWNER" "$PLANS" 20
manifest "$PLANS" >"$SCRATCH/plans.manifest"
install -d -o "$INTRUDER" -g "$INTRUDER" "$ROOT/intruder"
install -d -o "$INTRUDER" -g "$INTRUDER" -m 0777 "$DROP"
vb add "$PLANS" >/dev/null 2>&1 && vb --encrypt hide "$PLANS" >/dev/null 2>&1 || { echo "set-up failed"; exit 1; }

as "$INTRUDER" mv "$SHARED/Team" "$SHARED/Team.moved"
as "$INTRUDER" ln -s "$DROP" "$SHARED/Team"
run restore "$PLANS"
want "the restore through the link fails (exit $CODE)" [ "$CODE" -ne 0 ]
want "nothing in the intruder's folder" [ -z "$(find "$DROP" -mindepth 1 -print -quit)" ]
# The intruder's link undone: the folder must come back whole.
rm "$SHARED/Team"
mv "$SHARED/Team.moved" "$SHARED/Team"
hidden "$PLANS" && run restore "$PLANS"
want "no file lost after the link is undone" [ "$(lost_files "$PLANS" "$SCRATCH/plans.manifest")" -eq 0 ]
run check
want "check exits 0 (exit $CODE)" [ "$CODE" -eq 0 ]
verdict
