#!/usr/bin/env bash
# An unplugged drive: the owner's Photos, on a drive with its own store
# folder, are hidden and the drive is unplugged. A hide of Docs on the root
# file system goes to that file system's store folder (not made yet, and
# listed after the drive's), not into the empty mount point; restore and
# remove of Photos fail and keep the row. With the drive plugged in again
# both folders come back whole.
source "$(dirname "$0")/drives.sh" "$1"
USB=$OWNER_HOME/usb PHOTOS=$USB/Photos DOCS=$OWNER_HOME/Docs

install -d -o "$OWNER" -g "$OWNER" "$USB"
new_drive "$USB"
for folder in "$PHOTOS" "$DOCS"; do
  owned_tree "$OWNER" "$folder" 20
  manifest "$folder" >"$SCRATCH/${folder##*/}"
done
ROOT_DRIVE=$(vb stores 2>/dev/null | cut -f1)
vb --store "$USB/.veilbox" add "$PHOTOS" >/dev/null 2>&1 &&
  vb --encrypt hide "$PHOTOS" >/dev/null 2>&1 && vb --yes stores remove "$ROOT_DRIVE" >/dev/null 2>&1 &&
  vb stores add "$OWNER_HOME/Vault" >/dev/null 2>&1 && vb add "$DOCS" >/dev/null 2>&1 || { echo "set-up failed"; exit 1; }

unplug
run hide "$DOCS"
want "hide of Docs exits 0 (exit $CODE)" [ "$CODE" -eq 0 ]
want "nothing in the empty mount point" [ -z "$(find "$USB" -mindepth 1 -print -quit)" ]
want "Docs in the root file system's store folder" [ -d "$OWNER_HOME/Vault/Docs" ]
for action in restore remove; do
  run "$action" "$PHOTOS"
  want "$action of Photos with the drive away fails (exit $CODE)" [ "$CODE" -ne 0 ]
  want "$action of Photos with the drive away keeps its row" hidden "$PHOTOS"
done

plug
run restore "$PHOTOS" "$DOCS"
want "restore with the drive back exits 0 (exit $CODE)" [ "$CODE" -eq 0 ]
for folder in "$PHOTOS" "$DOCS"; do
  want "no file of $folder lost" [ "$(lost_files "$folder" "$SCRATCH/${folder##*/}")" -eq 0 ]
done
run check
want "check exits 0 (exit $CODE)" [ "$CODE" -eq 0 ]
verdict
