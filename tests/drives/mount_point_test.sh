#!/usr/bin/env bash
# A listed folder become a mount point: hide fails, saying why, makes nothing and locks the stores again.
source "$(dirname "$0")/drives.sh" "$1"
FOLDER=$OWNER_HOME/Mounted

owned_tree "$OWNER" "$FOLDER" 10 "$SCRATCH/under"
must add "$FOLDER" && must hide "$FOLDER" && must restore "$FOLDER"  # the store folder made
mount_tmpfs "$FOLDER" && owned_tree "$OWNER" "$FOLDER" 5 "$SCRATCH/on"

cd "$OWNER_HOME" && ls -A >"$SCRATCH/home.before" || exit 1  # the owner's own working folder
stores=$(stores)  # (any later run locks them at its start)
exits fails hide hide "$FOLDER"
want "hide ends by itself (exit $CODE)" [ "$CODE" -lt 128 ]
want "no sanitizer report" [ "$(grep -c Sanitizer "$SCRATCH/last")" -eq 0 ]
want "hide says why" [ -s "$SCRATCH/last" ]
want "hide makes nothing in the current folder" cmp -s "$SCRATCH/home.before" <(ls -A)
for store in $stores; do want "$store locked again" [ "$(stat -c %a "$store")" = 0 ]; done
want "no file on the mount lost" [ "$(lost_files "$FOLDER" "$SCRATCH/on")" -eq 0 ]
umount "$FOLDER"; want "no file under the mount lost" [ "$(lost_files "$FOLDER" "$SCRATCH/under")" -eq 0 ]
verdict
