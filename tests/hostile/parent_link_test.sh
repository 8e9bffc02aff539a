#!/usr/bin/env bash
# The parent link: after the owner hides shared/Team/Plans, the intruder puts
# a link to a folder of their own in place of shared/Team. The restore must
# not put the folder into the intruder's folder; the folder stays reachable:
# with the intruder's link undone, a restore brings every file back.
#   parent_link_test.sh VEILBOX_CLI
set -uo pipefail
source "$(dirname "$0")/hostile.sh" "$1"
PLANS=$SHARED/Team/Plans
DROP=$ROOT/intruder/drop

install -d -o "$OWNER" -g "$OWNER" "$SHARED/Team"
owned_tree "$OWNER" "$PLANS" 20
manifest "$PLANS" >"$SCRATCH/plans.manifest"
install -d -o "$INTRUDER" -g "$INTRUDER" "$ROOT/intruder"
install -d -o "$INTRUDER" -g "$INTRUDER" -m 0777 "$DROP"
vb add "$PLANS" >/dev/null 2>&1 || { echo "add failed"; exit 1; }
vb --encrypt hide "$PLANS" >/dev/null || { echo "hide failed"; exit 1; }

as "$INTRUDER" mv "$SHARED/Team" "$SHARED/Team.moved"
as "$INTRUDER" ln -s "$DROP" "$SHARED/Team"
vb restore "$PLANS" >/dev/null 2>"$SCRATCH/errors"
code=$?
dropped=$(find "$DROP" -mindepth 1 | wc -l)
after=$(status "$PLANS")

# The intruder's link undone: the folder must come back whole.
rm "$SHARED/Team"
mv "$SHARED/Team.moved" "$SHARED/Team"
[ "$after" = Hidden ] && vb restore "$PLANS" >/dev/null 2>>"$SCRATCH/errors"
lost=$(lost_files "$PLANS" "$SCRATCH/plans.manifest")
vb check >/dev/null 2>>"$SCRATCH/errors"
check=$?

echo "restore through the link: exit $code, status after: $after, entries in the intruder's folder: $dropped," \
  "files lost after the link is undone: $lost, check: $check"
if ((code != 0 && dropped == 0 && lost == 0 && check == 0)); then
  echo "1 passed, 0 failed"
else
  head -5 "$SCRATCH/errors"
  echo "0 passed, 1 failed"
  exit 1
fi
