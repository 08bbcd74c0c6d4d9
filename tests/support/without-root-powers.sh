#!/usr/bin/env bash
# Runs a test program as its user would: for root, without the powers to write, search or
# change what its permissions refuse, so that a read-only folder refuses root too. Used for the
# tests of read-only folders, which CI runs as root. Also fails when the program ran no test.
# Usage: without-root-powers.sh PROGRAM [ARGUMENTS...]
set -uo pipefail
run=("$@")
if [ "$(id -u)" -eq 0 ]; then
    run=(setpriv --bounding-set=-dac_override,-dac_read_search,-fowner,-linux_immutable
         --inh-caps=-all -- "$@")
fi
output=$("${run[@]}" 2>&1)
status=$?
printf '%s\n' "$output"
[ "$status" -eq 0 ] || exit "$status"
# A filter that matches nothing, or a test that skips itself, must not pass unseen.
grep -q '^\[  PASSED  \] [1-9]' <<<"$output" || { echo "no test ran"; exit 1; }
! grep -q '^\[  SKIPPED \]' <<<"$output" || { echo "a test skipped itself"; exit 1; }
