#!/usr/bin/env bash
# check-completion.sh COMPLETION_FILE QUILLGATE_CLI
# The bash completion offers the commands of quillgate-cli and, after each
# command, exactly the options its --help names (and --help).
set -uo pipefail

completion=$1 cli=$2
failures=0
# shellcheck source=/dev/null
source "$completion"

# What the completion offers for the words given, the last being completed.
offered() {
  COMP_WORDS=(quillgate-cli "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _quillgate_cli
  if [ ${#COMPREPLY[@]} -gt 0 ]; then printf '%s\n' "${COMPREPLY[@]}" | sort -u; fi
}

check() {
  local what=$1 expected=$2 actual=$3
  if [ "$expected" != "$actual" ]; then
    echo "FAIL: $what" >&2
    diff <(echo "$expected") <(echo "$actual") >&2
    failures=$((failures + 1))
  fi
}

commands=$(sed -n 's/^ *\(usage:\)\? *quillgate-cli \([a-z]\+\) .*/\2/p' < <("$cli" --help) | sort -u)
[ -n "$commands" ] || { echo "FAIL: no commands in quillgate-cli --help" >&2; exit 1; }
check "the commands" "$(printf '%s\n' $commands help | sort -u)" "$(offered '' | grep -v '^-')"

for command in $commands; do
  named=$({ "$cli" "$command" --help | grep -o -- '--[a-z][a-z-]*'; echo --help; } | sort -u)
  # Right after the command, or after a word of it (a file, "dict dump").
  check "the options of $command" "$named" "$({ offered "$command" --; offered "$command" FILE --; } | sort -u)"
done
check "the values of --security" "$(printf '%s\n' none stls tls)" "$(offered scan --security '')"

echo "completion checked for: $(echo $commands)"
exit "$((failures > 0))"
