#!/usr/bin/env bash
# Encrypted names on the way back, as the owner. Odd: names holding a
# backslash, a tab, a newline, a leading dash and UTF-8 come back exactly
# after an encrypted hide and a restore, with contents, modes and the times
# of files and folders. Closed: root closes a sub-folder of the hidden
# folder; the restore must not say done, nor state plain names while cipher
# names are left; with the sub-folder open again a restore brings all back.
source "$(dirname "$0")/drives.sh" "$1"
ODD=$OWNER_HOME/Odd CLOSED=$OWNER_HOME/Closed

modes=(600 640 644 400 755 700 660) i=0
for dir in "$ODD" "$ODD/"$'sub\\dir\twith\nodd bytes'; do
  mkdir -p "$dir"
  for name in 'back\slash' 'a\b\c.txt' $'tab\tname' $'new\nline' '-dash' 'ünïcödé €' ' lead space' $'not utf-8 \xff\xfe'; do
    head -c $((RANDOM % 2000)) /dev/urandom >"$dir/$name"
    chmod "${modes[i++ % 7]}" "$dir/$name"
  done
done
chmod 0750 "$ODD/"sub*
chown -R "$OWNER:" "$ODD"
find "$ODD" -depth -exec touch -h -d '2001-02-03 04:05:06' {} +
owned_tree "$OWNER" "$CLOSED" 30
manifest "$CLOSED" >"$SCRATCH/closed"
vb add "$ODD" "$CLOSED" >/dev/null 2>&1 || { echo "set-up failed"; exit 1; }

snapshot "$ODD" >"$SCRATCH/odd.before"
store=$(stores | head -1)
run --encrypt hide "$ODD"
want "encrypted hide of Odd exits 0 (exit $CODE)" [ "$CODE" -eq 0 ]
want "the hidden files have cipher names" \
  [ -z "$(find "$store" \( -name -dash -o -name 'ünïcödé €' \) -print -quit)" ]
run restore "$ODD"
want "restore of Odd exits 0 (exit $CODE)" [ "$CODE" -eq 0 ]
want "Odd comes back exactly (differences above)" diff "$SCRATCH/odd.before" <(snapshot "$ODD")

vb --encrypt hide "$CLOSED" >/dev/null 2>&1 || { echo "hide of Closed failed"; exit 1; }
hidden=$(find "$store" -mindepth 1 -maxdepth 1 -type d ! -name temp)
sub=$(find "$hidden" -mindepth 1 -maxdepth 1 -type d | head -1)
inode=$(stat -c %i "$sub")
chmod 000 "$sub"
run restore "$CLOSED"
want "restore with a closed sub-folder fails (exit $CODE)" [ "$CODE" -ne 0 ]
row=$(vb list 2>/dev/null | awk -F'\t' -v f="$CLOSED" '$2 $1 == f { print $3 "/" $4 }')
[ "$row" = Visible/Normal ] &&
  want "Visible/Normal only with every name plain" [ "$(lost_files "$CLOSED" "$SCRATCH/closed")" -eq 0 ]
find "$ROOT" -xdev -inum "$inode" -exec chmod 0755 {} +
run restore "$CLOSED"
want "restore with the sub-folder open exits 0 (exit $CODE)" [ "$CODE" -eq 0 ]
want "no file of Closed lost" [ "$(lost_files "$CLOSED" "$SCRATCH/closed")" -eq 0 ]
verdict
