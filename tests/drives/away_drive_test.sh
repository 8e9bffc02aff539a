#!/usr/bin/env bash
# An unplugged drive's hidden folder keeps its row; a hide meanwhile goes to the root drive's store folder.
source "$(dirname "$0")/drives.sh" "$1"
USB=$OWNER_HOME/usb PHOTOS=$OWNER_HOME/usb/Photos DOCS=$OWNER_HOME/Docs

install -d -o "$OWNER" -g "$OWNER" "$USB" && new_drive "$USB"
for folder in "$PHOTOS" "$DOCS"; do owned_tree "$OWNER" "$folder" 20 "$SCRATCH/${folder##*/}"; done
ROOT_DRIVE=$(vb stores 2>/dev/null | cut -f1)
must --store "$USB/.veilbox" add "$PHOTOS" && must --encrypt hide "$PHOTOS" &&
  must --yes stores remove "$ROOT_DRIVE" && must stores add "$OWNER_HOME/Vault" && must add "$DOCS"

unplug
exits 0 "hide of Docs" hide "$DOCS"
want "nothing in the empty mount point" [ -z "$(find "$USB" -mindepth 1 -print -quit)" ]
want "Docs in the root file system's store folder" [ -d "$OWNER_HOME/Vault/Docs" ]
for action in restore remove; do
  exits fails "$action of Photos with the drive away" "$action" "$PHOTOS"
  want "$action of Photos with the drive away keeps its row" hidden "$PHOTOS"
done
plug
exits 0 "restore with the drive back" restore "$PHOTOS" "$DOCS"
for folder in "$PHOTOS" "$DOCS"; do
  want "no file of $folder lost" [ "$(lost_files "$folder" "$SCRATCH/${folder##*/}")" -eq 0 ]
done
exits 0 check check
verdict
