#!/usr/bin/env bash
# Checks that veilbox-cli's manual page keeps up with the program: it names
# every command, sub-command and option that the program's --help names (and
# no others), every exit code of ExitCode.h, and man reads it without a
# warning. Usage: manpage_test.sh VEILBOX_CLI PAGE EXIT_CODE_HEADER
set -uo pipefail
cli="$1"
page="$2"
failures=0

compare() { # WHAT FROM_PROGRAM FROM_PAGE
  if [ "$2" != "$3" ]; then
    echo "FAIL: the page's $1 differ from the program's"
    diff <(echo "$2") <(echo "$3") | sed -n 's/^</  only in the program:/p; s/^>/  only in the page:/p'
    failures=$((failures + 1))
  fi
}
words() { sed '/^$/d' | sort -u; }

# The program: its commands and options, and those of each command.
help_commands() { sed -n '/^Subcommands:/,$s/^  \([a-z]\+\) .*/\1/p'; }
help_options() { grep -oE '^  (-[a-z],)?--[a-z-]+' | sed 's/.*--/--/'; }
top_help="$("$cli" --help)"
program_commands=""
program_options="$(help_options <<<"$top_help")"
for command in $(help_commands <<<"$top_help"); do
  command_help="$("$cli" "$command" --help)"
  program_commands+="$command"$'\n'
  program_options+=$'\n'"$(help_options <<<"$command_help")"
  for action in $(help_commands <<<"$command_help"); do
    program_commands+="$command $action"$'\n'
  done
done

# The page: the headings of its COMMANDS and OPTIONS sections (the line after
# each .TP), with troff's \- read as -.
section_headings() { sed -n "/^\.SH $1/,/^\.SH/p" "$page" | sed -n '/^\.TP/{n;p}' | sed 's/\\-/-/g'; }
page_commands="$(section_headings COMMANDS |
  sed -E 's/^\.[BIR]+ +//; /^"/{s/^"([^"]*)".*/\1/;b}; s/^([a-z]+).*/\1/')"
page_options="$(section_headings OPTIONS | grep -oE -- '--[a-z-]+')"

compare commands "$(printf '%s' "$program_commands" | words)" "$(words <<<"$page_commands")"
compare options "$(words <<<"$program_options")" "$(words <<<"$page_options")"
compare "exit codes" "$(grep -oE '= *[0-9]+' "$3" | tr -dc '0-9\n' | words)" \
  "$(section_headings 'EXIT STATUS' | sed -E 's/^\.B +//' | words)"

if ! command -v man >/dev/null; then
  echo "man is not installed: the page's formatting is not checked here (lintian checks it)"
elif warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)" &&
  [ -n "$warnings" ]; then
  echo "FAIL: man warns: $warnings"
  failures=$((failures + 1))
fi

((failures == 0)) && echo "the manual page names every command, option and exit code"
exit $((failures > 0))
