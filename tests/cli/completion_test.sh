#!/usr/bin/env bash
# The bash completion: commands, options, folders, and listed folders only when a password
# command gives the password, never waiting on one that hangs. Usage: completion_test.sh CLI FILE
set -uo pipefail
cli="$(realpath "$1")"
# shellcheck source=/dev/null
. "$2"
work="$(mktemp -d)"
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
export VEILBOX_HOME="$work/home" XDG_CONFIG_HOME="$work/config" VEILBOX_COMPLETION_TIMEOUT=60
unset VEILBOX_COMPLETION_PASSWORD_COMMAND
failures=0
fail() { echo "FAIL: $1"; ((failures++)); }

# expect: each line "LINE|CANDIDATES" (sorted, space-separated) completes LINE,
# whose last word, empty after a trailing space, is under the cursor.
expect() {
  while IFS='|' read -r line want; do
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_WORDS[0]="$cli" COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMPREPLY=()
    _veilbox_cli </dev/null
    got="$(printf '%s\n' "${COMPREPLY[@]}" | sort -u | sed '/^$/d' | paste -sd' ')"
    [ "$got" = "$want" ] || fail "'$line' gave '$got', expected '$want'"
  done
}

mkdir -p "$work/Plans" "$work/Photos" "$work/Old" && touch "$work/Pfile"
expect <<EOF
veilbox-cli |$("$cli" --help | sed -n '/^Subcommands:/,$s/^  \([a-z]\+\) .*/\1/p' | sort | paste -sd' ')
veilbox-cli --yes stores |add edit remove
veilbox-cli hide --|--encrypt --help --no --password-stdin --restore-to --store --yes
veilbox-cli check --r|--repair --restore-to
veilbox-cli init --a|--accept-agreement
veilbox-cli --store $work/x add $work/P|$work/Photos $work/Plans
veilbox-cli add --store $work/O|$work/Old
veilbox-cli lock |
EOF

# A hidden folder is no longer in the file system: only the list knows it.
vb() { echo pw | "$cli" --password-stdin "$@" 2>/dev/null; }
vb --accept-agreement init && vb add "$work/Plans" "$work/Photos" && vb hide "$work/Plans"
expect <<<"veilbox-cli restore $work/P|$work/Photos"
export VEILBOX_COMPLETION_PASSWORD_COMMAND="echo pw"
expect <<EOF
veilbox-cli restore $work/P|$work/Photos $work/Plans
veilbox-cli hide $work/Pl|
veilbox-cli remove $work/P|$work/Photos $work/Plans
EOF
VEILBOX_COMPLETION_PASSWORD_COMMAND="sleep 30" start=$SECONDS
unset VEILBOX_COMPLETION_TIMEOUT  # the default limit
expect <<<"veilbox-cli restore $work/P|$work/Photos"
((SECONDS - start <= 15)) || fail "a hanging password command held completion"
exit $((failures > 0))
