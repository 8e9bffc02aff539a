#!/usr/bin/env bash
# Makes docs/windows-main.png, the picture of veilbox.exe's main window in
# docs/windows.md: builds the mingw preset's veilbox.exe, starts it under
# Wine on a private X server (Xvfb) in a private Wine prefix and program
# folder, creates a password through the first run, lists a few sample
# folders, logs in, unlocks and takes the picture (ImageMagick's import).
# Everything temporary is removed afterwards.
# Usage: scripts/screenshot-windows.sh [OUTPUT]
set -euo pipefail
cd "$(dirname "$0")/.."
output="${1:-docs/windows-main.png}"

scripts/install-deps.sh mingw
if ! command -v import >/dev/null; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends imagemagick
fi

cmake --preset mingw >/dev/null
cmake --build build/mingw --target veilbox
exe="$PWD/build/mingw/src/gui/win32/veilbox.exe"

. tests/gui/win32/xwine.sh
work=$(mktemp -d)
trap 'xwine_stop; rm -rf "$work"' EXIT
xwine_screen=1280x800x24
xwine_start

xwine_first_run "$exe" sample
# Sample rows of the folder database, in the program folder.
printf '%s' 'Plans<C:\Users\alex\Work\<Hidden<Encrypted<Plans*' \
  'Invoices<C:\Users\alex\Documents\<Hidden<Normal<Invoices*' \
  'Photos 2024<C:\Users\alex\Pictures\<Visible<Normal<Photos 2024*' \
  'Thesis<E:\<Visible<Normal<Thesis*' >"$work/program/Dat.sys"
printf '\r\n' >>"$work/program/Dat.sys"

xwine_run "$exe"
xwine_keys Login "type:sample" Return
xwine_keys "Veilbox 1.04" alt+f u
sleep 1  # let the window repaint after the unlock
id=$(xwine_window "Veilbox 1.04")
mkdir -p "$(dirname "$output")"
import -window "$id" "$output"
# File > Exit asks whether to lock the unlocked store folders: Yes.
xwine_keys "Veilbox 1.04" alt+f x
xwine_keys Lock Return
xwine_ended
echo "Saved $output"
