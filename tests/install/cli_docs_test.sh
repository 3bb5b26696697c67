#!/usr/bin/env bash
# The generated manual page renders without warnings, and the generated bash
# completion completes linvara-cli command lines.
#   cli_docs_test.sh MAN_PAGE COMPLETION_SCRIPT
set -u
failures=0
if command -v groff >/dev/null; then
  warnings=$(groff -man -Tutf8 -ww -z "$1" 2>&1)
  if [[ -n $warnings ]]; then
    echo "FAIL: the manual page renders with warnings: $warnings"
    failures=$((failures + 1))
  fi
fi
source "$2"

# expect LINE WORD...: completing the last word of LINE offers exactly the WORDs.
expect() {
  local line=$1
  shift
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _linvara_cli
  local got want
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
  want=$(printf '%s\n' "$@" | sort | xargs)
  if [[ $got != "$want" ]]; then
    echo "FAIL: '$line' offers '$got', expected '$want'"
    failures=$((failures + 1))
  fi
}

cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
mkdir folder && touch file

expect "linvara-cli pa" paths
expect "linvara-cli --h" --help --home
expect "linvara-cli --layout " macos linux
expect "linvara-cli --home /tmp --chrome-profile Work li" list
expect "linvara-cli list --view " all safari chrome
expect "linvara-cli list --" --view --flat --json --help
expect "linvara-cli cookies " export clear safari chrome folder file
expect "linvara-cli cookies export " safari chrome
expect "linvara-cli cookies export chrome --out " folder
expect "linvara-cli cookies safari " 
expect "linvara-cli help coo" cookies
expect "linvara-cli no-such-command " 

[[ $failures == 0 ]] && echo "manual page and completions as expected"
exit $((failures > 0))
