#!/usr/bin/env bash
# Drives the bash completion of veilbox-cli through COMP_WORDS/COMP_CWORD:
# commands (all the program's own), options, folders from the file system,
# and listed folders only when a password command gives the password, never
# waiting on one that hangs. Usage: completion_test.sh VEILBOX_CLI COMPLETION
set -uo pipefail
cli="$(realpath "$1")"
# shellcheck source=/dev/null
. "$2"
work="$(mktemp -d)"
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
export VEILBOX_HOME="$work/home" XDG_CONFIG_HOME="$work/config"
unset VEILBOX_COMPLETION_PASSWORD_COMMAND
# The cases that must read the list get a limit a loaded CI machine cannot
# reach; the hanging command below is held to the default.
export VEILBOX_COMPLETION_TIMEOUT=60
failures=0

# Completes LINE (the word under the cursor is its last, empty after a
# trailing space) and compares the candidates, sorted, with EXPECTED.
expect() { # NAME LINE EXPECTED (candidates, space-separated, sorted)
  read -ra COMP_WORDS <<<"$2"
  [[ $2 == *" " ]] && COMP_WORDS+=("")
  COMP_WORDS[0]="$cli"
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _veilbox_cli
  local got
  got="$(printf '%s\n' "${COMPREPLY[@]}" | sort -u | sed '/^$/d' | tr '\n' ' ' | sed 's/ $//')"
  if [ "$got" != "$3" ]; then
    echo "FAIL $1: '$2' gave '$got', expected '$3'"
    failures=$((failures + 1))
  fi
}

# The commands the program's --help lists.
commands="$("$cli" --help | sed -n '/^Subcommands:/,$s/^  \([a-z]\+\) .*/\1/p' | sort | tr '\n' ' ' | sed 's/ $//')"
expect commands "veilbox-cli " "$commands"
expect stores-actions "veilbox-cli --yes stores " "add edit remove"
expect hide-options "veilbox-cli hide --" \
  "--encrypt --help --no --password-stdin --restore-to --store --yes"
expect check-options "veilbox-cli check --r" "--repair --restore-to"
expect init-options "veilbox-cli init --a" "--accept-agreement"

mkdir -p "$work/Plans" "$work/Photos" "$work/Old"
touch "$work/Pfile"
expect folders "veilbox-cli --store $work/x add $work/P" "$work/Photos $work/Plans"
expect store-dir "veilbox-cli add --store $work/O" "$work/Old"
expect no-folder-args "veilbox-cli lock " ""

# A hidden folder is no longer in the file system: only the list knows it.
printf 'pw\n' | "$cli" --password-stdin --accept-agreement init 2>/dev/null
printf 'pw\n' | "$cli" --password-stdin add "$work/Plans" "$work/Photos" 2>/dev/null
printf 'pw\n' | "$cli" --password-stdin hide "$work/Plans" 2>/dev/null
expect restore-without-password "veilbox-cli restore $work/P" "$work/Photos"
export VEILBOX_COMPLETION_PASSWORD_COMMAND="echo pw"
expect restore-listed "veilbox-cli restore $work/P" "$work/Photos $work/Plans"
expect hide-listed "veilbox-cli hide $work/Pl" ""
expect remove-listed "veilbox-cli remove $work/P" "$work/Photos $work/Plans"
VEILBOX_COMPLETION_PASSWORD_COMMAND="sleep 30"
unset VEILBOX_COMPLETION_TIMEOUT
start=$SECONDS
expect hanging-password-command "veilbox-cli restore $work/P" "$work/Photos"
if ((SECONDS - start > 15)); then
  echo "FAIL: a hanging password command held completion $((SECONDS - start)) s"
  failures=$((failures + 1))
fi

((failures == 0)) && echo "all completion cases passed"
exit $((failures > 0))
