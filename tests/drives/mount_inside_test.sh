#!/usr/bin/env bash
# Other drives mounted inside a listed folder: a bind mount of another of
# the owner's folders (same device) and a drive image. Hide and encrypted
# hide are refused before anything moves, naming the mount, and nothing on
# either mount is renamed. Hidden with encryption once they are gone, the
# folder gets a drive mounted inside its copy in the store: check, repair
# and restore leave that drive alone and say why; unmounted, the restore
# brings every file back. A bind mount of the program folder offered as a
# second drive's store folder is the store folder already: refused.
source "$(dirname "$0")/drives.sh" "$1"
FOLDER=$OWNER_HOME/Project OTHER=$OWNER_HOME/Other

owned_tree "$OWNER" "$FOLDER" 20
owned_tree "$OWNER" "$OTHER" 5
install -d -o "$OWNER" -g "$OWNER" "$FOLDER/bound" "$FOLDER/usb"
manifest "$FOLDER" >"$SCRATCH/folder"
vb add "$FOLDER" >/dev/null 2>&1 || { echo "add failed"; exit 1; }
mount --bind "$OTHER" "$FOLDER/bound" || skip "cannot bind-mount"
MOUNTS+=("$FOLDER/bound")
new_drive "$FOLDER/usb"
owned_tree "$OWNER" "$FOLDER/usb" 5
snapshot "$OTHER" >"$SCRATCH/other"
snapshot "$FOLDER/usb" >"$SCRATCH/usb"
for flag in --yes --encrypt; do
  run "$flag" hide "$FOLDER"
  want "hide $flag refused (exit $CODE)" [ "$CODE" -eq 1 ]
  want "hide $flag names the mount" grep -q "holds $FOLDER/.*, where another drive is mounted" "$SCRATCH/last"
  want "hide $flag leaves the folder in its place" [ "$(status "$FOLDER")" = Visible ]
done
want "nothing changed on the bind mount" cmp -s "$SCRATCH/other" <(snapshot "$OTHER")
want "nothing changed on the drive" cmp -s "$SCRATCH/usb" <(snapshot "$FOLDER/usb")
umount "$FOLDER/bound" "$FOLDER/usb"
want "the folder whole" [ "$(lost_files "$FOLDER" "$SCRATCH/folder")" -eq 0 ]

run --encrypt hide "$FOLDER"
want "encrypted hide without mounts (exit $CODE)" [ "$CODE" -eq 0 ]
store=$(stores | head -1)
mount_tmpfs "$store/Project/d0"
owned_tree "$OWNER" "$store/Project/d0" 5
snapshot "$store/Project/d0" >"$SCRATCH/inside"
for command in check "check --repair" "restore $FOLDER"; do
  run $command
  want "$command with a drive inside fails (exit $CODE)" [ "$CODE" -eq 1 ]
  want "$command names the mount" grep -q "Project/d0, where another drive is mounted" \
    "$SCRATCH/out" "$SCRATCH/last"
done
want "the folder stays hidden" hidden "$FOLDER"
want "nothing renamed on the drive inside" cmp -s "$SCRATCH/inside" <(snapshot "$store/Project/d0")
umount "$store/Project/d0"
run restore "$FOLDER"
want "restore once it is unmounted (exit $CODE)" [ "$CODE" -eq 0 ]
want "every file back" [ "$(lost_files "$FOLDER" "$SCRATCH/folder")" -eq 0 ]

mkdir "$ROOT/alias"
mount --bind "$OWNER_HOME/veilbox" "$ROOT/alias" || skip "cannot bind-mount"
MOUNTS+=("$ROOT/alias")
run stores add "$ROOT/alias/Data"
want "the store folder by another path refused (exit $CODE)" [ "$CODE" -eq 1 ]
want "the refusal says it is the store folder" grep -q "is the store folder" "$SCRATCH/last"
want "one store folder listed" [ "$(stores | wc -l)" -eq 1 ]
verdict
