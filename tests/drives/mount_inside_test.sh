#!/usr/bin/env bash
# Drives mounted in a listed folder or its hidden copy: named, left alone; the program folder is no store.
source "$(dirname "$0")/drives.sh" "$1"
FOLDER=$OWNER_HOME/Project OTHER=$OWNER_HOME/Other

owned_tree "$OWNER" "$FOLDER" 20 "$SCRATCH/folder" && owned_tree "$OWNER" "$OTHER" 5
install -d -o "$OWNER" -g "$OWNER" "$FOLDER/bound" "$FOLDER/usb" && must add "$FOLDER"
bind "$OTHER" "$FOLDER/bound" && new_drive "$FOLDER/usb" && owned_tree "$OWNER" "$FOLDER/usb" 5
snapshot "$OTHER" >"$SCRATCH/other" && snapshot "$FOLDER/usb" >"$SCRATCH/usb"
for flag in --yes --encrypt; do
  exits 1 "hide $flag" "$flag" hide "$FOLDER"
  want "hide $flag names the mount" grep -q "holds $FOLDER/.*, where another drive is mounted" "$SCRATCH/last"
  want "hide $flag leaves the folder in its place" [ "$(status "$FOLDER")" = Visible ]
done
want "nothing changed on the bind mount" cmp -s "$SCRATCH/other" <(snapshot "$OTHER")
want "nothing changed on the drive" cmp -s "$SCRATCH/usb" <(snapshot "$FOLDER/usb")
umount "$FOLDER/bound" "$FOLDER/usb"
want "the folder whole" [ "$(lost_files "$FOLDER" "$SCRATCH/folder")" -eq 0 ]

exits 0 "encrypted hide without mounts" --encrypt hide "$FOLDER"
store=$(stores | head -1) && mount_tmpfs "$store/Project/d0"
owned_tree "$OWNER" "$store/Project/d0" 5 && snapshot "$store/Project/d0" >"$SCRATCH/inside"
for command in check "check --repair" "restore $FOLDER"; do
  exits 1 "$command with a drive inside" $command
  want "$command names the mount" grep -q "Project/d0, where another drive is mounted" "$SCRATCH/out" "$SCRATCH/last"
done
want "the folder stays hidden" hidden "$FOLDER"
want "nothing renamed on the drive inside" cmp -s "$SCRATCH/inside" <(snapshot "$store/Project/d0")
umount "$store/Project/d0"; exits 0 "restore once it is unmounted" restore "$FOLDER"
want "every file back" [ "$(lost_files "$FOLDER" "$SCRATCH/folder")" -eq 0 ]

bind "$OWNER_HOME/veilbox" "$ROOT/alias" && exits 1 "the store folder by another path" stores add "$ROOT/alias/Data"
want "the refusal says it is the store folder" grep -q "is the store folder" "$SCRATCH/last"
want "one store folder listed" [ "$(stores | wc -l)" -eq 1 ]
verdict
