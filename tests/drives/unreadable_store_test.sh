#!/usr/bin/env bash
# A store folder the owner cannot read: root takes the store folder (as a
# lock by another copy or an unlock that failed leaves it), then its parent.
# Each time remove of the hidden row fails and keeps the row; with the store
# readable again a restore brings every file back.
source "$(dirname "$0")/drives.sh" "$1"
DRIVE=$ROOT/drive BOX=$DRIVE/Box STORE=$DRIVE/vault/store

new_drive "$DRIVE"
install -d -o "$OWNER" -g "$OWNER" "$DRIVE/vault"
owned_tree "$OWNER" "$BOX" 20
manifest "$BOX" >"$SCRATCH/box"
vb --store "$STORE" add "$BOX" >/dev/null 2>&1 || { echo "set-up failed"; exit 1; }

for taken in "$STORE" "$DRIVE/vault"; do
  run hide "$BOX"
  ((CODE == 0)) || { PROBLEMS+=("hide of Box before $taken is taken exits $CODE"); break; }
  mode=$(stat -c %a "$taken")
  chown root: "$taken" && chmod 000 "$taken"
  run remove "$BOX"
  want "remove with $taken unreadable fails (exit $CODE)" [ "$CODE" -ne 0 ]
  want "remove with $taken unreadable keeps the row" hidden "$BOX"
  chown "$OWNER:" "$taken" && chmod "$mode" "$taken"
  run restore "$BOX"
  want "restore with $taken readable again exits 0 (exit $CODE)" [ "$CODE" -eq 0 ]
  want "no file lost with $taken unreadable" [ "$(lost_files "$BOX" "$SCRATCH/box")" -eq 0 ]
done
verdict
