#!/usr/bin/env bash
# The swap race: in a shared folder the intruder exchanges the owner's listed
# folder with a link to "victim", a folder the owner can write to, in a tight
# loop, while the owner hides (with encrypted names) and restores the folder
# again and again. Veilbox may refuse any run, but must never touch the
# victim or anything else outside the folder and its store; afterwards (and
# after the repair it tells the user to run) the list and the folder agree
# and every file is back under its plain name.
# With "deep" the exchange is of a sub-folder deep in the tree, in a folder
# of the owner's that others may write to, while names are renamed in it.
source "$(dirname "$0")/hostile.sh" "$1" "$2"
ROUNDS=${3:-100} SECONDS_MAX=${4:-60} SWAP=$ROOT/bin/$(basename "$2") PLANS=$SHARED/Plans
SWAPPED=$PLANS LINK=$SHARED/link  # the two entries exchanged
[ "${5:-}" = deep ] && SWAPPED=$PLANS/d1/open/sub LINK=$PLANS/d1/open/link

owned_tree "$OWNER" "$PLANS" 30
if [ "${5:-}" = deep ]; then
  owned_tree "$OWNER" "$SWAPPED" 12
  chown "$OWNER:" "$(dirname "$SWAPPED")"
  chmod 0777 "$(dirname "$SWAPPED")"
fi
# The victim's files bear the names of the swapped folder's files: a rename
# through a name that now leads to the victim succeeds there.
owned_tree "$OWNER" "$OWNER_HOME/victim" 12
as "$INTRUDER" ln -s "$OWNER_HOME/victim" "$LINK"
vb add "$PLANS" >/dev/null 2>&1 || { echo "add failed"; exit 1; }
manifest "$PLANS" >"$SCRATCH/plans.manifest"
outside_before=$(outside)
victim_before=$(snapshot "$OWNER_HOME/victim")

start_as "$INTRUDER" "$SWAP" "$SWAPPED" "$LINK" "$SECONDS_MAX" >"$SCRATCH/swaps" 2>&1

SECONDS=0 failures=0 rounds=0 touched=""
while ((rounds < ROUNDS && SECONDS < SECONDS_MAX && ${#touched} == 0)); do
  for command in "--encrypt hide" "restore"; do
    # shellcheck disable=SC2086
    vb $command "$PLANS" >/dev/null 2>>"$SCRATCH/errors"
    code=$?
    ((code == 0)) || failures=$((failures + 1))
    if [ "$(snapshot "$OWNER_HOME/victim")" != "$victim_before" ]; then
      touched="round $rounds: '$command' exited $code and changed the victim"
      break
    fi
  done
  rounds=$((rounds + 1))
done
stop_all

# Back to the start: the folder restored, in its place, the link beside it.
hidden "$PLANS" && vb restore "$PLANS" >/dev/null 2>>"$SCRATCH/errors"
if [ -L "$SWAPPED" ] && [ -d "$LINK" ] && [ ! -L "$LINK" ]; then
  as "$INTRUDER" "$SWAP" "$SWAPPED" "$LINK" 5 1 >/dev/null
fi
# A run the race cut short may leave names in cipher form, told as such and
# marked on the row; the repair the user is told to run finishes them.
vb check --repair >/dev/null 2>>"$SCRATCH/errors"
run check
want "check exits 0 (exit $CODE)" [ "$CODE" -eq 0 ]
want "no file of Plans lost" [ "$(lost_files "$PLANS" "$SCRATCH/plans.manifest")" -eq 0 ]
[ "$(snapshot "$OWNER_HOME/victim")" = "$victim_before" ] || touched=${touched:-"the victim changed"}
want "${touched:-}" [ -z "$touched" ]
want "nothing changed outside" diff <(echo "$outside_before") <(outside)
echo "rounds: $rounds in ${SECONDS}s, $(tail -1 "$SCRATCH/swaps"), failed runs: $failures"
# Without a single exchange the race never ran (a file system without it).
[ -z "$touched" ] && grep -q '^swaps: 0$' "$SCRATCH/swaps" && skip "no exchange succeeded: $(head -1 "$SCRATCH/swaps")"
((${#PROBLEMS[@]} == 0)) || sort "$SCRATCH/errors" | uniq -c | sort -rn | head -5
verdict
