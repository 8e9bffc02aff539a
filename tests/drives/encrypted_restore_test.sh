#!/usr/bin/env bash
# Odd names come back exactly from cipher names; a closed sub-folder keeps the restore from saying done.
source "$(dirname "$0")/drives.sh" "$1"
ODD=$OWNER_HOME/Odd CLOSED=$OWNER_HOME/Closed

modes=(600 640 644 400 755 700 660) i=0
for dir in "$ODD" "$ODD/"$'sub\\dir\twith\nodd bytes'; do
  mkdir -p "$dir"
  for name in 'back\slash' 'a\b\c.txt' $'tab\tname' $'new\nline' '-dash' 'ünïcödé €' ' lead space' $'not utf-8 \xff\xfe'; do
    head -c $((RANDOM % 2000)) /dev/urandom >"$dir/$name" && chmod "${modes[i++ % 7]}" "$dir/$name"
  done
done
chmod 0750 "$ODD/"sub* && chown -R "$OWNER:" "$ODD"
find "$ODD" -depth -exec touch -h -d '2001-02-03 04:05:06' {} +
owned_tree "$OWNER" "$CLOSED" 30 "$SCRATCH/closed"
must add "$ODD" "$CLOSED" && snapshot "$ODD" >"$SCRATCH/odd.before"
store=$(stores | head -1)
exits 0 "encrypted hide of Odd" --encrypt hide "$ODD"
want "the hidden files have cipher names" [ -z "$(find "$store" \( -name -dash -o -name 'ünïcödé €' \) -print -quit)" ]
exits 0 "restore of Odd" restore "$ODD"
want "Odd comes back exactly (differences above)" diff "$SCRATCH/odd.before" <(snapshot "$ODD")

must --encrypt hide "$CLOSED"
sub=$(find "$(find "$store" -mindepth 1 -maxdepth 1 -type d ! -name temp)" -mindepth 1 -maxdepth 1 -type d | head -1)
inode=$(stat -c %i "$sub") && chmod 000 "$sub"
exits fails "restore with a closed sub-folder" restore "$CLOSED"
row=$(vb list 2>/dev/null | awk -F'\t' -v f="$CLOSED" '$2 $1 == f { print $3 "/" $4 }')
[ "$row" = Visible/Normal ] &&
  want "Visible/Normal only with every name plain" [ "$(lost_files "$CLOSED" "$SCRATCH/closed")" -eq 0 ]
find "$ROOT" -xdev -inum "$inode" -exec chmod 0755 {} +
exits 0 "restore with the sub-folder open" restore "$CLOSED"
want "no file of Closed lost" [ "$(lost_files "$CLOSED" "$SCRATCH/closed")" -eq 0 ]
verdict
