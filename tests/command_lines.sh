#!/usr/bin/env bash
# Every command-line tool of the project answers every argument list with
# its own word and exit code, never a crash: nothing, an unknown option, an
# option without its value, a command without what it needs.
# usage: command_lines.sh TPFW TPFW_RUN TPFW_RELEASE
set -u
tpfw=$1 run=$2 release=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
# expect CODE PROGRAM ARGUMENTS...
expect() {
  local want=$1
  shift
  "$@" </dev/null >/dev/null 2>"$work/err"
  local got=$?
  if [ "$got" -ne "$want" ]; then
    echo "command_lines: $(basename "$1") ${*:2}: exit $got, not $want: $(head -c 300 "$work/err")" >&2
    failed=1
  fi
}
expect 0 "$tpfw" --version
expect 0 "$tpfw" --help
for arguments in "" "--keep" "--bogus" "a b c d e" "--keep a b c d e"; do
  # shellcheck disable=SC2086
  expect 2 "$run" $arguments
done
for arguments in "" "--bogus" "make" "make --order" "make --order O --release R --root" "check" "check --keys" \
  "check m --keys k"; do
  # shellcheck disable=SC2086
  expect 2 "$release" $arguments
done
[ $failed -eq 0 ] && echo "command_lines: every argument list answered"
exit $failed
