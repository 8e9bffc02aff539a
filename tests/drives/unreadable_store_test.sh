#!/usr/bin/env bash
# Root takes the store folder, then its parent: remove fails, keeps the row; readable again, all is back.
source "$(dirname "$0")/drives.sh" "$1"
DRIVE=$ROOT/drive BOX=$ROOT/drive/Box STORE=$ROOT/drive/vault/store

new_drive "$DRIVE" && install -d -o "$OWNER" -g "$OWNER" "$DRIVE/vault"
owned_tree "$OWNER" "$BOX" 20 "$SCRATCH/box" && must --store "$STORE" add "$BOX"
for taken in "$STORE" "$DRIVE/vault"; do
  run hide "$BOX"
  ((CODE == 0)) || { PROBLEMS+=("hide of Box before $taken is taken exits $CODE"); break; }
  mode=$(stat -c %a "$taken") && chown root: "$taken" && chmod 000 "$taken"
  exits fails "remove with $taken unreadable" remove "$BOX"
  want "remove with $taken unreadable keeps the row" hidden "$BOX"
  chown "$OWNER:" "$taken" && chmod "$mode" "$taken"
  exits 0 "restore with $taken readable again" restore "$BOX"
  want "no file lost with $taken unreadable" [ "$(lost_files "$BOX" "$SCRATCH/box")" -eq 0 ]
done
verdict
