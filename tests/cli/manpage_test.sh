#!/usr/bin/env bash
# The manual page names the commands and options of --help (no others) and the exit codes of
# ExitCode.h, and man reads it without a warning. Usage: manpage_test.sh CLI PAGE EXIT_CODE_HEADER
set -uo pipefail
cli="$1" page="$2" failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }
compare() { # WHAT FROM_PROGRAM FROM_PAGE
  [ "$2" = "$3" ] || fail "the page's $1 differ from the program's: $(diff <(echo "$2") <(echo "$3"))"
}
words() { sed '/^$/d' | sort -u; }

help_commands() { sed -n '/^Subcommands:/,$s/^  \([a-z]\+\) .*/\1/p'; }
help_options() { grep -oE '^  (-[a-z],)?--[a-z-]+' | sed 's/.*--/--/'; }
program_commands="" program_options="$("$cli" --help | help_options)"
for command in $("$cli" --help | help_commands); do
  command_help="$("$cli" "$command" --help)" program_commands+="$command"$'\n'
  program_options+=$'\n'"$(help_options <<<"$command_help")"
  for action in $(help_commands <<<"$command_help"); do program_commands+="$command $action"$'\n'; done
done

# The headings of a section (the line after each .TP), troff's \- read as -.
section_headings() { sed -n "/^\.SH $1/,/^\.SH/p" "$page" | sed -n '/^\.TP/{n;p}' | sed 's/\\-/-/g'; }
page_commands="$(section_headings COMMANDS |
  sed -E 's/^\.[BIR]+ +//; /^"/{s/^"([^"]*)".*/\1/;b}; s/^([a-z]+).*/\1/')"
compare commands "$(printf '%s' "$program_commands" | words)" "$(words <<<"$page_commands")"
compare options "$(words <<<"$program_options")" \
  "$(section_headings OPTIONS | grep -oE -- '--[a-z-]+' | words)"
compare "exit codes" "$(grep -oE '= *[0-9]+' "$3" | tr -dc '0-9\n' | words)" \
  "$(section_headings 'EXIT STATUS' | sed -E 's/^\.B +//' | words)"

if ! command -v man >/dev/null; then
  echo "man is not installed: the formatting is not checked here (lintian checks it)"
elif warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)" &&
  [ -n "$warnings" ]; then
  fail "man warns: $warnings"
fi
exit $((failures > 0))
