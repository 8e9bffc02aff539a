#!/usr/bin/env bash
# COPIES copies of veilbox-cli at once add, then hide, a folder each: none
# may fail or lose another's record.   concurrency_test.sh VEILBOX_CLI [COPIES]
source "$(dirname "$0")/common.sh" "$1"
COPIES=${2:-20}
init_home
for ((i = 0; i < COPIES; i++)); do make_tree "$WORK/Work/Folder$i" 5; done
# all_at_once ARGS...: every copy runs vb ARGS on its own folder.
all_at_once() {
  local pids=() i pid
  for ((i = 0; i < COPIES; i++)); do quiet "$@" "$WORK/Work/Folder$i" & pids+=($!); done
  for pid in "${pids[@]}"; do wait "$pid" || PROBLEMS+=("a copy's $* failed"); done
}
count() { (($1 == COPIES)) || PROBLEMS+=("$2: $1, not $COPIES"); }
all_at_once add
count "$(vb list | grep -c $'\tVisible\t')" "records after the adds"
all_at_once --encrypt hide
count "$(vb list | grep -c $'\tHidden\tEncrypted$')" "hidden records after the hides"
count "$(find "$STORE" -mindepth 1 -maxdepth 1 -name 'Folder*' | wc -l)" "folders in the store"
verdict
