#!/usr/bin/env bash
# Places another account made for the owner's Veilbox: a program folder the
# intruder owns and anyone may write, holding a journal that would move the
# owner's Documents into it, and the owner's program folder path made a link
# to it; a settings file root owns (as after one run through sudo). Every
# command stops with exit code 3 naming the place and why; nothing moves,
# and the settings file is neither read as empty nor replaced.
#   own_places_test.sh VEILBOX_CLI
set -uo pipefail
source "$(dirname "$0")/hostile.sh" "$1"
DOCUMENTS=$OWNER_HOME/Documents
TRAP=$SHARED/prog

owned_tree "$OWNER" "$DOCUMENTS" 10
snapshot "$DOCUMENTS" >"$SCRATCH/documents"
install -d -o "$INTRUDER" -g "$INTRUDER" -m 0777 "$TRAP" "$TRAP/Data" "$TRAP/Data/Stuff"
# Recovery would rename, inside Stuff, a name that climbs to the owner's
# Documents into one that lands beside Stuff.
printf '%s\t%s\n' veilbox-journal 3 in '' name "../../../../owner/Documents	../Documents" \
  operation hide old 'Stuff</x/<Visible<Normal<Stuff*' new 'Stuff</x/<Hidden<Normal<Stuff*' \
  from /x/Stuff to "$TRAP/Data/Stuff" complete yes | sed 's/^veilbox-journal\t3$/veilbox-journal 3/' \
  >"$TRAP/Dat.sys.journal"
echo end >>"$TRAP/Dat.sys.journal"
chown "$INTRUDER:" "$TRAP/Dat.sys.journal"
as "$OWNER" ln -s "$TRAP" "$OWNER_HOME/linked"

# vb_at FOLDER ARGS...: vb with FOLDER as the program folder.
vb_at() {
  local folder=$1
  shift
  printf '%s\n' "$PASSWORD" | as "$OWNER" HOME="$OWNER_HOME" VEILBOX_HOME="$folder" \
    XDG_CONFIG_HOME="$OWNER_HOME/config" VEILBOX_UPDATE_URL= "$CLI" --password-stdin "$@"
}
PROBLEMS=()
# refused WHY FOLDER ARGS...: the command exits 3 and says WHY.
refused() {
  local why=$1 out
  shift
  out=$(vb_at "$@" 2>&1)
  local code=$?
  [ "$code" -eq 3 ] && grep -q -- "$why" <<<"$out" || PROBLEMS+=("$* -> exit $code: $out")
}
refused "$TRAP: it belongs to another user" "$TRAP" list
refused "$OWNER_HOME/linked: it is a link" "$OWNER_HOME/linked" list
refused "$OWNER_HOME/linked: it is a link" "$OWNER_HOME/linked" --accept-agreement init
cmp -s "$SCRATCH/documents" <(snapshot "$DOCUMENTS") || PROBLEMS+=("Documents changed")
[ "$(ls -A "$TRAP/Data")" = Stuff ] || PROBLEMS+=("something was moved into the intruder's folder")

settings=$OWNER_HOME/config/veilbox/settings.json
chown root: "$settings"
cp -p "$settings" "$SCRATCH/settings"
refused "Cannot read $settings: Permission denied" "$OWNER_HOME/veilbox" list
refused "Cannot read $settings: Permission denied" "$OWNER_HOME/veilbox" --accept-agreement init
cmp -s "$settings" "$SCRATCH/settings" || PROBLEMS+=("the settings file changed")
[ "$(ls "$OWNER_HOME/config/veilbox")" = settings.json ] || PROBLEMS+=("a settings file was made or kept aside")

if ((${#PROBLEMS[@]} == 0)); then
  echo "1 passed, 0 failed"
else
  printf 'not so: %s\n' "${PROBLEMS[@]}"
  echo "0 passed, 1 failed"
  exit 1
fi
