#!/usr/bin/env bash
# The program's command line, run as built, as any user: --help and
# --version print and end, an unknown option or a second file ends with
# exit code 2 and a word on what to try. None of them needs a display.
set -uo pipefail
tarvel=$1
fail() { echo "$*"; exit 1; }

help=$("$tarvel" --help) || fail "--help ended with $?"
grep -q "Usage: .*tarvel" <<<"$help" || fail "--help says: $help"
grep -q -- "--version" <<<"$help" || fail "--help names no --version"

version=$("$tarvel" --version) || fail "--version ended with $?"
[[ "$version" =~ ^tarvel\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version says: $version"

for arguments in "--no-such-option" "one.csv two.csv"; do
  # shellcheck disable=SC2086 # the words are the arguments
  error=$("$tarvel" $arguments 2>&1 >/dev/null)
  status=$?
  [ "$status" -eq 2 ] || fail "'$arguments' ended with $status, not 2"
  grep -q "Try 'tarvel --help'" <<<"$error" || fail "'$arguments' says: $error"
done
# tarvel fit: the fit on standard output, its exit code by the verdict or
# the fault, and no display needed.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
printf 'x,f(x)\n1,4\n2,8\n3,20\n4,46\n' >"$folder/points.csv"
fitted=$(env -u DISPLAY -u WAYLAND_DISPLAY "$tarvel" fit "$folder/points.csv") ||
  fail "fit ended with $?"
grep -q "^f(x) = 2 + 3x^1 + -2x^2 + 1x^3$" <<<"$fitted" || fail "fit says: $fitted"
for case in "2:" "4:$folder/none.csv" "3:$folder/points.csv --degree 5"; do
  # shellcheck disable=SC2086 # the words are the arguments
  "$tarvel" fit ${case#*:} >/dev/null 2>&1
  status=$?
  [ "$status" -eq "${case%%:*}" ] || fail "fit ${case#*:} ended with $status, not ${case%%:*}"
done
echo "command line test passed"
