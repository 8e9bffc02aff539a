#!/usr/bin/env bash
# Program folders and settings another account made for the owner are refused, saying why; nothing moves.
source "$(dirname "$0")/hostile.sh" "$1"
DOCUMENTS=$OWNER_HOME/Documents TRAP=$SHARED/prog SETTINGS=$OWNER_HOME/config/veilbox/settings.json

owned_tree "$OWNER" "$DOCUMENTS" 10 && snapshot "$DOCUMENTS" >"$SCRATCH/documents"
install -d -o "$INTRUDER" -g "$INTRUDER" -m 0777 "$TRAP" "$TRAP/Data" "$TRAP/Data/Stuff"
# Recovery would rename, in Stuff, a name climbing to the owner's Documents to one beside Stuff.
{ echo 'veilbox-journal 3' && printf '%s\t%s\n' in '' name "../../../../owner/Documents	../Documents" \
  operation hide old 'Stuff</x/<Visible<Normal<Stuff*' new 'Stuff</x/<Hidden<Normal<Stuff*' \
  from /x/Stuff to "$TRAP/Data/Stuff" complete yes && echo end; } >"$TRAP/Dat.sys.journal"
chown "$INTRUDER:" "$TRAP/Dat.sys.journal" && as "$OWNER" ln -s "$TRAP" "$OWNER_HOME/linked"
# refused WHY PROGRAM_FOLDER: list and init exit 3 and say WHY.
refused() {
  for args in list "--accept-agreement init"; do
    VB_HOME=$2 exits 3 "$args in $2" $args
    want "$args in $2 says: $1" grep -q -- "$1" "$SCRATCH/out" "$SCRATCH/last"
  done
}
refused "$TRAP: it belongs to another user" "$TRAP"
refused "$OWNER_HOME/linked: it is a link" "$OWNER_HOME/linked"
want "Documents unchanged" cmp -s "$SCRATCH/documents" <(snapshot "$DOCUMENTS")
want "nothing moved into the intruder's folder" [ "$(ls -A "$TRAP/Data")" = Stuff ]
chown root: "$SETTINGS" && cp -p "$SETTINGS" "$SCRATCH/settings"
refused "Cannot read $SETTINGS: Permission denied" "$OWNER_HOME/veilbox"
want "the settings file unchanged" cmp -s "$SETTINGS" "$SCRATCH/settings"
want "no settings file made or kept aside" [ "$(ls "$OWNER_HOME/config/veilbox")" = settings.json ]
verdict
