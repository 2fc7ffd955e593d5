#!/usr/bin/env bash
# zeph's manual pages (English and Japanese) and its bash completion know
# every command and option that zeph's own --help names, and the completion
# offers nothing more.
# Arguments: the zeph executable and the source folder resources/.
set -euo pipefail
zeph=$1
resources=$2

# shellcheck source=/dev/null
source /usr/share/bash-completion/bash_completion
# shellcheck source=/dev/null
source "$resources/completion/zeph"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# What Tab offers after the given words; the last word is the one completed.
offered() {
  COMP_WORDS=(zeph "$@")
  COMP_CWORD=$(($# ))
  COMP_LINE="zeph $*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _zeph zeph "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sort -u | xargs
}

# The options a usage text names.
usage_options() {
  "$zeph" "$@" --help | grep -o -- '--[a-z][a-z-]*' | sort -u | xargs
}

commands=$("$zeph" --help | sed -n '/^COMMAND:/,/^$/p' | awk 'NR > 1 && NF { print $1 }' | sort | xargs)
[[ -n $commands ]] || fail "zeph --help lists no commands"
[[ $(offered "") == "$commands" ]] || fail "Tab after zeph offers '$(offered "")', not '$commands'"
[[ $(offered --) == "$(usage_options)" ]] ||
  fail "Tab after zeph -- offers '$(offered --)', not '$(usage_options)'"

for command in $commands; do
  # Every command takes --file and --help besides what its usage names.
  expected=$(printf '%s\n' $(usage_options "$command") --file --help | sort -u | xargs)
  [[ $(offered "$command" --) == "$expected" ]] ||
    fail "Tab after zeph $command -- offers '$(offered "$command" --)', not '$expected'"
  for page in "$resources/man/zeph.1.in" "$resources/man/ja/zeph.1.in"; do
    grep -q "^\.SS \"${command//-/\\\\-}" "$page" || fail "$page has no section for $command"
    for option in $expected; do
      grep -qF -- "${option//-/\\-}" "$page" || fail "$page does not name $option of $command"
    done
  done
done

if ((failures > 0)); then
  exit 1
fi
echo "zeph's manual pages and completion name all $(wc -w <<<"$commands") commands and their options"
