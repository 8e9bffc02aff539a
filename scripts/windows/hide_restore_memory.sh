#!/usr/bin/env bash
# Hides, with encrypted names, and restores one folder holding FOLDERS
# sub-folders of FILES empty files each with veilbox-cli.exe under Wine, in a
# Wine prefix of its own; then restores a hidden folder whose store copy was
# given as many files in one folder, with plain names, which the restore
# walks but need not rename. Prints each command's time and peak memory: the
# largest resident set of the Windows process, from GNU time, with the Wine
# server started apart so that it is not counted. The tree is made from Linux
# inside the prefix's drive C:, so making it is not measured. (Under Wine a
# rename takes time in proportion to the size of its folder, as Wine reads the
# folder to compare names without regard to case: a single folder of 200,000
# files renames some 16 files a second on this machine.)
#   scripts/windows/hide_restore_memory.sh [VEILBOX_CLI_EXE] [FOLDERS] [FILES]
#   (defaults: build/mingw/src/cli/veilbox-cli.exe, 200 folders of 1000 files)
set -euo pipefail
cli=$(realpath "${1:-build/mingw/src/cli/veilbox-cli.exe}")
folders=${2:-200}
files=${3:-1000}
for n in "$folders" "$files"; do
  [[ $n =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [VEILBOX_CLI_EXE] [FOLDERS] [FILES]" >&2; exit 2; }
done
wine=/usr/lib/wine/wine64
work=$(mktemp -d "${TMPDIR:-/tmp}/veilbox-memory.XXXXXX")
export WINEPREFIX="$work/prefix" HOME="$work/home" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export VEILBOX_HOME='C:\veilbox' VEILBOX_REGISTRY_ROOT='Software\VeilboxMemory' VEILBOX_UPDATE_URL=
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir "$HOME"
"$wine" wineboot.exe --init >/dev/null 2>&1
/usr/lib/wine/wineserver -w
cp "$cli" "$WINEPREFIX/drive_c/veilbox-cli.exe"
folder="$WINEPREFIX/drive_c/Many"
for f in $(seq -f 'folder-%04.0f' "$folders"); do
  mkdir -p "$folder/$f"
  (cd "$folder/$f" && seq -f 'file-%07.0f.txt' "$files" | xargs touch)
done
/usr/lib/wine/wineserver -p

# run LABEL ARGUMENTS...: one veilbox-cli.exe command, measured.
run() {
  local label=$1 seconds kib
  shift
  if ! /usr/bin/time -f '%e %M' -o "$work/time" "$wine" 'C:\veilbox-cli.exe' \
    --password-stdin "$@" <<<pw >"$work/out" 2>&1; then
    cat "$work/out" >&2
    echo "veilbox-cli.exe $* failed" >&2
    exit 1
  fi
  read -r seconds kib <"$work/time"
  printf '%-8s %8s s  %8d KiB peak\n' "$label" "$seconds" "$kib"
}

total=$((folders * files))
echo "== $cli: $folders folders of $files files ($total)"
run init init --accept-agreement
run add --yes add 'C:\Many'
run hide hide --encrypt 'C:\Many'
[ ! -e "$folder" ] || { echo "the folder was not hidden" >&2; exit 1; }
run restore restore 'C:\Many'
count=$(find "$folder" -name 'file-*.txt' | wc -l)
[ "$count" -eq "$total" ] || { echo "$count of $total files came back" >&2; exit 1; }
echo "== all $total files came back under their names"

one="$WINEPREFIX/drive_c/One"
mkdir "$one"
touch "$one/placeholder"
run add --yes add 'C:\One'
run hide hide --encrypt 'C:\One'
stored="$WINEPREFIX/drive_c/veilbox/Data/One"
rm "$stored"/*
(cd "$stored" && seq -f 'file-%07.0f.txt' "$total" | xargs touch)
echo "== the store copy of C:\One now holds $total files with plain names"
run restore restore 'C:\One'
count=$(find "$one" -name 'file-*.txt' | wc -l)
[ "$count" -eq "$total" ] || { echo "$count of $total files came back" >&2; exit 1; }
echo "== all $total files came back in one folder"
