# Shared by the drive tests: hostile.sh's owner runs veilbox-cli in a private
# mount namespace where the test makes its own mounts, undone on every exit.
# A small ext4 image on a loop device (else a tmpfs) stands for a removable
# drive. Without root, a private mount namespace or a mount: skipped (77).
# Usage: source drives.sh VEILBOX_CLI   (from a script run by bash)
set -uo pipefail
if [ -z "${VEILBOX_IN_NAMESPACE:-}" ]; then
  [ "$(id -u)" -eq 0 ] || { echo "skipped: needs root to mount"; exit 77; }
  unshare -m --propagation private true 2>/dev/null ||
    { echo "skipped: unshare cannot make a private mount namespace"; exit 77; }
  exec env VEILBOX_IN_NAMESPACE=1 unshare -m --propagation private bash "$(realpath "$0")" "$@"
fi
mount --make-rprivate / || { echo "skipped: cannot make the mounts private"; exit 77; }
source "$(dirname "${BASH_SOURCE[0]}")/../hostile/hostile.sh" "$1"

MOUNTS=()
unmount_all() {
  local i
  for ((i = ${#MOUNTS[@]} - 1; i >= 0; i--)); do mountpoint -q "${MOUNTS[i]}" && umount -l "${MOUNTS[i]}"; done
}
trap 'unmount_all; cleanup' EXIT

# mount_tmpfs DIR: a small tmpfs on DIR, open to the owner.
mount_tmpfs() {
  mount -t tmpfs -o size=4m,mode=0755,uid="$(id -u "$OWNER")" tmpfs "$1" || skip "cannot mount a tmpfs"
  MOUNTS+=("$1")
}
# new_drive DIR: a fresh drive at DIR, owned by the owner; unplug and plug
# take it away and bring it back with its contents.
BACKING=$SCRATCH/drive
new_drive() {
  DRIVE_AT=$1
  mkdir -p "$1" "$BACKING"
  if truncate -s 16M "$SCRATCH/drive.img" && mkfs.ext4 -q -F "$SCRATCH/drive.img" 2>/dev/null &&
    mount -o loop "$SCRATCH/drive.img" "$1" 2>/dev/null; then
    PLUG=(mount -o loop "$SCRATCH/drive.img" "$1")
  else
    echo "no loop device or mkfs.ext4: a tmpfs stands for the drive"
    mount_tmpfs "$BACKING"
    mount --bind "$BACKING" "$1" || skip "cannot bind-mount"
    PLUG=(mount --bind "$BACKING" "$1")
  fi
  MOUNTS+=("$1")
  chown "$OWNER:" "$1"
}
unplug() { umount "$DRIVE_AT"; }
plug() { "${PLUG[@]}"; }
