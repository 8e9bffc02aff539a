# Shared by the drive tests: hostile.sh in a private mount namespace, mounts undone on exit; a loop-device
# ext4 image (else a tmpfs) is a removable drive. 77 without root, the namespace or a mount.
set -uo pipefail
if [ -z "${VEILBOX_IN_NAMESPACE:-}" ]; then
  [ "$(id -u)" -eq 0 ] && unshare -m --propagation private true 2>/dev/null ||
    { echo "skipped: needs root and a private mount namespace (unshare)"; exit 77; }
  exec env VEILBOX_IN_NAMESPACE=1 unshare -m --propagation private bash "$(realpath "$0")" "$@"
fi
mount --make-rprivate / || { echo "skipped: cannot make the mounts private"; exit 77; }
source "$(dirname "${BASH_SOURCE[0]}")/../hostile/hostile.sh" "$1"

MOUNTS=() && trap 'for ((i = ${#MOUNTS[@]} - 1; i >= 0; i--)); do mountpoint -q "${MOUNTS[i]}" && umount -l "${MOUNTS[i]}"; done; cleanup' EXIT

# bind DIR AT; mount_tmpfs DIR: a small tmpfs on DIR, open to the owner.
bind() { mkdir -p "$2" && mount --bind "$1" "$2" || skip "cannot bind-mount"; MOUNTS+=("$2"); }
mount_tmpfs() { mount -t tmpfs -o size=4m,mode=0755,uid="$(id -u "$OWNER")" tmpfs "$1" && MOUNTS+=("$1") || skip "cannot mount a tmpfs"; }
# new_drive DIR: a fresh drive at DIR, owned by the owner; unplug and plug take it away and back.
new_drive() {
  DRIVE_AT=$1 PLUG=(mount -o loop "$SCRATCH/drive.img" "$1") && mkdir -p "$1" "$SCRATCH/drive"
  truncate -s 16M "$SCRATCH/drive.img" && mkfs.ext4 -q -F "$SCRATCH/drive.img" 2>/dev/null && plug 2>/dev/null ||
    { echo "no loop device or mkfs.ext4: a tmpfs stands for the drive" && mount_tmpfs "$SCRATCH/drive" &&
      PLUG=(mount --bind "$SCRATCH/drive" "$1") && plug || skip "cannot bind-mount"; }
  MOUNTS+=("$1") && chown "$OWNER:" "$1"
}
unplug() { umount "$DRIVE_AT"; }
plug() { "${PLUG[@]}"; }
