#!/usr/bin/env bash
# The full-disk test: everything (program folder, settings, folders) lives on
# a small tmpfs, which is filled so that hides and restores run out of space
# at every stage, from the journal on. Nothing may be lost: after each
# attempt the list and the folders agree, and at the end every file is back.
# Needs root (a tmpfs in a private mount namespace); otherwise it is skipped
# with exit code 77.
#   full_disk_test.sh VEILBOX_CLI
set -uo pipefail
if [ "$(id -u)" -ne 0 ] || ! command -v unshare >/dev/null; then
  echo "skipped: needs root and unshare to mount a small tmpfs"
  exit 77
fi
if [ -z "${VEILBOX_IN_NAMESPACE:-}" ]; then
  unshare -m --propagation private true 2>/dev/null ||
    { echo "skipped: unshare cannot make a private mount namespace"; exit 77; }
  exec env VEILBOX_IN_NAMESPACE=1 unshare -m --propagation private bash "$(realpath "$0")" "$@"
fi
source "$(dirname "$0")/common.sh" "$1"
mount -t tmpfs -o size=2m tmpfs "$WORK" || { echo "skipped: cannot mount a tmpfs"; exit 77; }
trap 'umount "$WORK"; rm -rf "$WORK"' EXIT

init_home || { echo "init failed"; exit 1; }
names=()
for i in 1 2 3; do
  make_tree "$WORK/Work/Folder$i" 40
  names+=("$WORK/Work/Folder$i")
  vb add "$WORK/Work/Folder$i" >/dev/null 2>&1 || { echo "add failed"; exit 1; }
done
(cd "$WORK/Work" && find . -type f -print0 | sort -z | xargs -0 sha256sum) >/tmp/veilbox-full-disk-manifest.$$

# leave_free BYTES: fills the file system up to BYTES of free space.
leave_free() {
  rm -f "$WORK/filler"
  local avail=$(($(df --output=avail -B1 "$WORK" | tail -1) - $1))
  ((avail > 0)) && head -c "$avail" /dev/zero >"$WORK/filler" 2>/dev/null
  return 0
}

attempts=0
problems=0
for free in 0 4096 8192 12288 16384 24576 32768; do
  for action in "--encrypt hide" "restore"; do
    leave_free "$free"
    vb $action "${names[@]}" >/dev/null 2>&1
    attempts=$((attempts + 1))
    rm -f "$WORK/filler"
    vb check >/dev/null 2>&1 || problems=$((problems + 1))
  done
done

vb restore "${names[@]}" >/dev/null 2>&1
lost=$( (cd "$WORK/Work" && sha256sum --quiet -c /tmp/veilbox-full-disk-manifest.$$ 2>/dev/null | grep -c .) || true)
rm -f /tmp/veilbox-full-disk-manifest.$$
echo "attempts on a full disk: $attempts, disagreements found by check: $problems, files lost: $lost"
if ((lost == 0 && problems == 0)); then
  echo "1 passed, 0 failed"
else
  echo "0 passed, 1 failed"
  exit 1
fi
