#!/usr/bin/env bash
# The intruder swaps the listed folder (deep: a sub-folder) with a link to the owner's victim while it is
# hidden and restored again and again: runs may fail, nothing outside is touched, the repair ends whole.
source "$(dirname "$0")/hostile.sh" "$1" "$2"
ROUNDS=${3:-100} SECONDS_MAX=${4:-60} SWAP=$ROOT/bin/$(basename "$2") PLANS=$SHARED/Plans
SWAPPED=$PLANS LINK=$SHARED/link  # the two entries exchanged
owned_tree "$OWNER" "$PLANS" 30
[ "${5:-}" = deep ] && SWAPPED=$PLANS/d1/open/sub LINK=$PLANS/d1/open/link &&
  install -d -o "$OWNER" -g "$OWNER" -m 0777 "$PLANS/d1/open" && owned_tree "$OWNER" "$SWAPPED" 12
# The victim's files bear the swapped folder's names: a rename through the link succeeds.
owned_tree "$OWNER" "$OWNER_HOME/victim" 12 && as "$INTRUDER" ln -s "$OWNER_HOME/victim" "$LINK"
must add "$PLANS" && manifest "$PLANS" >"$SCRATCH/plans.manifest"
outside_before=$(outside) victim_before=$(snapshot "$OWNER_HOME/victim")

start_as "$INTRUDER" "$SWAP" "$SWAPPED" "$LINK" "$SECONDS_MAX" >"$SCRATCH/swaps" 2>&1

SECONDS=0 failures=0 touched=""
for ((rounds = 0; rounds < ROUNDS && SECONDS < SECONDS_MAX && ${#touched} == 0; rounds++)); do
  for command in "--encrypt hide" "restore"; do
    vb $command "$PLANS" >/dev/null 2>>"$SCRATCH/errors"
    code=$? && ((code == 0)) || failures=$((failures + 1))
    [ "$(snapshot "$OWNER_HOME/victim")" = "$victim_before" ] ||
      { touched="round $rounds: '$command' exited $code and changed the victim" && break; }
  done
done
stop_all

# Back to the start: the folder restored, in its place, the link beside it.
hidden "$PLANS" && vb restore "$PLANS" >/dev/null 2>>"$SCRATCH/errors"
[ -L "$SWAPPED" ] && [ -d "$LINK" ] && [ ! -L "$LINK" ] && as "$INTRUDER" "$SWAP" "$SWAPPED" "$LINK" 5 1 >/dev/null
# A run the race cut short may leave cipher names, marked on the row; the repair finishes them.
vb check --repair >/dev/null 2>>"$SCRATCH/errors"
exits 0 check check
want "no file of Plans lost" [ "$(lost_files "$PLANS" "$SCRATCH/plans.manifest")" -eq 0 ]
[ "$(snapshot "$OWNER_HOME/victim")" = "$victim_before" ] || touched=${touched:-"the victim changed"}
want "${touched:-}" [ -z "$touched" ]
want "nothing changed outside" diff <(echo "$outside_before") <(outside)
echo "rounds: $rounds in ${SECONDS}s, $(tail -1 "$SCRATCH/swaps"), failed runs: $failures"
# Without a single exchange the race never ran (a file system without it).
[ -z "$touched" ] && grep -q '^swaps: 0$' "$SCRATCH/swaps" && skip "no exchange succeeded: $(head -1 "$SCRATCH/swaps")"
verdict
