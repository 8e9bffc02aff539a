#!/usr/bin/env bash
# A tree hidden (encrypted names) and restored under a memory limit a plan held
# whole in memory would exceed. Skipped (77) where no limit can be set, and in
# a sanitizer build.   memory_limit_test.sh VEILBOX_CLI [FILES] [LIMIT_MIB] (200000, 40)
source "$(dirname "$0")/common.sh" "$1"
FILES=${2:-200000} LIMIT_KIB=$((${3:-40} * 1024)) TREE="$WORK/Work/Tree"
[ -z "${VEILBOX_SANITIZED:-}" ] || skip "a sanitizer build cannot run under the limit"
(ulimit -v $LIMIT_KIB) 2>/dev/null || skip "cannot limit memory"
init_home
mkdir -p "$TREE"/{big,d{0..99}}
(cd "$TREE/big" && seq -f "a rather long file name %06g.txt" 1 $((FILES / 2)) | xargs touch)
for d in {0..99}; do (cd "$TREE/d$d" && seq -f "f%g" 1 $((FILES / 200)) | xargs touch); done
manifest "$TREE" >"$WORK/manifest"
must add "$TREE"
limited() { (ulimit -v $LIMIT_KIB && quiet "$@") || PROBLEMS+=("$* failed"); }
limited --encrypt hide "$TREE"
[ "$(vb list | cut -f3-4)" = $'Hidden\tEncrypted' ] || PROBLEMS+=("the row is not hidden encrypted")
agrees "after the hide"  # every name really took its cipher form
limited restore "$TREE"
all_back "$TREE" "$WORK/manifest"
verdict
