#!/usr/bin/env bash
# The setup program in a new Wine prefix: installs silently, its veilbox-cli.exe hides a folder, the uninstaller
# warns (cancelled, under Xvfb), then uninstalls all it installed and keeps the user's data. Arg: SETUP_EXE.
set -euo pipefail
setup="$(realpath "$1")" wine=/usr/lib/wine/wine64
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -x "$wine" ] || { echo "SKIPPED: Wine (wine64) is not installed" >&2; exit 77; }

# A new prefix and home; no Linux menu entries, no Mono or Gecko installer.
work="$(mktemp -d "${TMPDIR:-/tmp}/veilbox-setup-test.XXXXXX")"
export WINEPREFIX="$work/prefix" HOME="$work/home" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
. "$(dirname "$0")/../gui/win32/xwine.sh"
trap 'xwine_stop; rm -rf "$work"' EXIT
mkdir "$HOME" && interactive=no
command -v Xvfb >/dev/null && command -v xdotool >/dev/null && interactive=yes && xwine_display

run() { timeout 120 "$wine" "$@" </dev/null; }
settle() { timeout 120 /usr/lib/wine/wineserver -w; }
unix_path() { run winepath.exe -u "$1" 2>/dev/null; }
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veilbox'
registered() { run reg.exe query "$key" /v "$1" 2>/dev/null | sed -n "s/^ *$1 *REG_SZ *//p" | tr -d '\r'; }

run wineboot.exe --init >/dev/null 2>&1; settle
run "$setup" /S && settle || fail "the setup ended with $?"
windows_dir="$(run cmd.exe /c 'echo %LOCALAPPDATA%\Programs\Veilbox' | tr -d '\r')"
dir="$(unix_path "$windows_dir")"
entry="$(unix_path "$(run cmd.exe /c 'echo %APPDATA%' | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs/Veilbox.lnk"
for file in veilbox-cli.exe uninstall.exe; do [ -f "$dir/$file" ] || fail "$file is not in $windows_dir"; done
[ -f "$entry" ] || fail "no Start-menu entry"
[ "$(registered InstallLocation)" = "$windows_dir" ] || fail "the uninstall key names no $windows_dir"
[ "$(registered Publisher)" = "Tollmark Inc" ] || fail "the publisher is not the program's company"
uninstall="$(registered QuietUninstallString)" && [ -n "$uninstall" ] || fail "no QuietUninstallString in $key"
installed="$(cd "$dir" && find . -type f)"

plans="$WINEPREFIX/drive_c/Plans" && mkdir "$plans" "$WINEPREFIX/drive_c/Notes" && echo notes >"$plans/notes.txt"
cli() { echo pw | timeout 120 "$wine" "$windows_dir\\veilbox-cli.exe" --password-stdin "$@" >"$work/cli.log" 2>&1 ||
  { status=$? && cat "$work/cli.log" && fail "veilbox-cli.exe $* ended with $status"; }; }
cli --accept-agreement init && cli --yes add 'C:\Plans' && cli --yes add 'C:\Notes' && cli hide 'C:\Plans'
stored="$(find "$dir" -name notes.txt)"
{ [ ! -e "$plans" ] && [ -f "$dir/Dat.sys" ] && [ -n "$stored" ]; } || fail "no Dat.sys and hidden folder beside the program"

# The uninstaller, started by hand, warns and is cancelled.
if [ "$interactive" = yes ]; then
  WINEDEBUG=+msgbox "$wine" "$windows_dir\\uninstall.exe" </dev/null >"$work/uninstall.log" 2>&1 &
  xwine_keys "Veilbox [0-9.]* Uninstall *" Escape && xwine_gone "Veilbox [0-9.]* Uninstall *" && settle ||
    fail "no uninstaller window to cancel"
  warning=$(sed -n 's/.*MSGBOX_OnInit L"\(.*\)"$/\1/p' "$work/uninstall.log")
  [[ $warning == "1 folder is still hidden by Veilbox."*"come back when Veilbox is installed again"* ]] ||
    fail "the warning does not say that 1 folder is hidden and how it comes back"
  while read -r file; do [ -e "$dir/$file" ] || fail "cancelling removed $file"; done <<<"$installed"
  run reg.exe query "$key" >/dev/null 2>&1 || fail "cancelling removed $key"
else
  echo "   skipped: Xvfb or xdotool is not installed (scripts/install-deps.sh mingw)"
fi

# The uninstaller starts a copy of itself and ends; settle waits for the copy.
[[ $uninstall =~ ^\"([^\"]+)\"\ (.*)$ ]] || fail "QuietUninstallString is not \"program\" arguments"
# shellcheck disable=SC2086  # the arguments are split as Windows would
run "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]} && settle || fail "the uninstaller ended with $?"
while read -r file; do [ ! -e "$dir/$file" ] || fail "$file is left in $windows_dir"; done <<<"$installed"
[ ! -e "$entry" ] || fail "the Start-menu entry is left"
! run reg.exe query "$key" >/dev/null 2>&1 || fail "$key is left"
for kept in "$dir/Dat.sys" "$stored"; do [ -f "$kept" ] || fail "the uninstaller removed the user's ${kept#"$dir/"}"; done
run reg.exe query 'HKCU\SOFTWARE\TK' >/dev/null 2>&1 || fail "the uninstaller removed the user's settings"
echo "== uninstalled cleanly; the user's data is kept"
