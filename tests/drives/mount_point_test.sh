#!/usr/bin/env bash
# A listed folder that has become a mount point: its hide, run from the
# owner's home, ends without a crash, fails with a message, makes nothing in
# the home and leaves the store folders locked; the files under and on the
# mount are all there.
source "$(dirname "$0")/drives.sh" "$1"
FOLDER=$OWNER_HOME/Mounted

owned_tree "$OWNER" "$FOLDER" 10
manifest "$FOLDER" >"$SCRATCH/under"
# A hide and a restore first: the store folder exists.
vb add "$FOLDER" >/dev/null 2>&1 && vb hide "$FOLDER" >/dev/null 2>&1 &&
  vb restore "$FOLDER" >/dev/null 2>&1 || { echo "set-up failed"; exit 1; }
mount_tmpfs "$FOLDER"
owned_tree "$OWNER" "$FOLDER" 5
manifest "$FOLDER" >"$SCRATCH/on"

cd "$OWNER_HOME" || exit 1  # the owner works in a folder of their own
ls -A >"$SCRATCH/home.before"
stores=$(stores)  # (any later run locks them at its start)
run hide "$FOLDER"
want "hide ends by itself (exit $CODE)" [ "$CODE" -lt 128 ]
want "no sanitizer report" [ "$(grep -c Sanitizer "$SCRATCH/last")" -eq 0 ]
want "hide fails (exit $CODE)" [ "$CODE" -ne 0 ]
want "hide says why" [ -s "$SCRATCH/last" ]
want "hide makes nothing in the current folder" cmp -s "$SCRATCH/home.before" <(ls -A)
for store in $stores; do
  mode=$(stat -c %a "$store")
  want "$store locked again (mode $mode)" [ "$mode" = 0 ]
done
want "no file on the mount lost" [ "$(lost_files "$FOLDER" "$SCRATCH/on")" -eq 0 ]
umount "$FOLDER"
want "no file under the mount lost" [ "$(lost_files "$FOLDER" "$SCRATCH/under")" -eq 0 ]
verdict
