#!/usr/bin/env bash
# The streamed plan: a tree far larger than the memory veilbox-cli may use
# (most files in one folder, the rest spread over many) is hidden with
# encrypted names and restored under a virtual-memory limit. A plan of new
# names held whole in memory runs out of it; one streamed through the
# journal does not. Skipped (exit 77) where no limit can be set, and in a
# sanitizer build, whose shadow memory no such limit can hold.
#   memory_limit_test.sh VEILBOX_CLI [FILES] [LIMIT_MIB]   (defaults: 200000, 40)
set -uo pipefail
source "$(dirname "$0")/common.sh" "$1"
FILES=${2:-200000}
LIMIT_MIB=${3:-40}
[ -z "${VEILBOX_SANITIZED:-}" ] || { echo "skipped: a sanitizer build cannot run under the limit"; exit 77; }
(ulimit -v $((LIMIT_MIB * 1024))) 2>/dev/null || { echo "skipped: cannot limit memory"; exit 77; }

init_home || { echo "init failed"; exit 1; }
TREE="$WORK/Work/Tree"
mkdir -p "$TREE/big"
(cd "$TREE/big" && seq -f "a rather long file name %06g.txt" 1 $((FILES / 2)) | xargs touch)
for ((d = 0; d < 100; d++)); do
  mkdir -p "$TREE/d$d"
  (cd "$TREE/d$d" && seq -f "f%g" 1 $((FILES / 200)) | xargs touch)
done
names() { (cd "$TREE" && find . -type f | sort | md5sum); }
before=$(names)
vb add "$TREE" >/dev/null 2>&1 || { echo "add failed"; exit 1; }

limited() { (ulimit -v $((LIMIT_MIB * 1024)) && vb "$@" >/dev/null 2>&1); }
limited --encrypt hide "$TREE"
hid=$?
hidden=$(vb list | grep -c $'\tHidden\tEncrypted$')
# Every name really took its cipher form: the list and the folder agree.
vb check >/dev/null 2>&1
checked=$?
limited restore "$TREE"
restored=$?
after=$( [ -d "$TREE" ] && names)

echo "files: $FILES, limit: $LIMIT_MIB MiB, hide exit: $hid, hidden: $hidden," \
  "check exit: $checked, restore exit: $restored"
if ((hid == 0 && hidden == 1 && checked == 0 && restored == 0)) && [ "$before" = "$after" ]; then
  echo "1 passed, 0 failed"
else
  echo "0 passed, 1 failed"
  exit 1
fi
