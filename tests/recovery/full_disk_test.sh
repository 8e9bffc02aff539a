#!/usr/bin/env bash
# Hides and restores on a small tmpfs filled to run out of space at every stage: after each check
# agrees, at the end every file is back. Needs root and unshare, else skipped (77). Args: VEILBOX_CLI
source "$(dirname "$0")/common.sh" "$1"
if [ -z "${VEILBOX_IN_NAMESPACE:-}" ]; then
  [ "$(id -u)" -eq 0 ] && unshare -m --propagation private true 2>/dev/null || skip "needs root and unshare"
  VEILBOX_IN_NAMESPACE=1 unshare -m --propagation private bash "$(realpath "$0")" "$@"
  exit
fi
mount -t tmpfs -o size=2m tmpfs "$WORK" || skip "cannot mount a tmpfs"
trap 'umount "$WORK"; rm -rf "$WORK"' EXIT
init_home
FOLDERS=("$WORK/Work/Folder"{1,2,3})
for folder in "${FOLDERS[@]}"; do make_tree "$folder" 40; done
manifest "$WORK/Work" >"$WORK/manifest"
must add "${FOLDERS[@]}"
for free in 0 4096 8192 12288 16384 24576 32768; do
  for action in "--encrypt hide" restore; do
    avail=$(($(df --output=avail -B1 "$WORK" | tail -1) - free))
    ((avail > 0)) && head -c "$avail" /dev/zero >"$WORK/filler" 2>/dev/null
    quiet $action "${FOLDERS[@]}"
    rm -f "$WORK/filler"
    agrees "after $action with $free bytes free"
  done
done
quiet restore "${FOLDERS[@]}"
all_back "$WORK/Work" "$WORK/manifest"
verdict
