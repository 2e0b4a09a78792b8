#!/usr/bin/env bash
# Runs a test executable under Wine for CTest (the build's cross-compiling emulator).
#
# Wine, rarely, fails to start a program at all: its loader cannot map the executable, hands it to
# start.exe, and that program's ShellExecuteEx fails ("Interner Fehler"), before any code of the test
# ran. Such a start, and only such a start (a failure status and no output but start.exe's two-line
# message), is tried once more, and the log says so. A test that ran and failed is never run again.
set -uo pipefail
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
for try in 1 2; do
  status=0
  wine "$@" >"$out" 2>"$err" || status=$?
  if [ "$status" -ne 0 ] && [ "$try" -eq 1 ] && [ "$(cat "$out" "$err" | grep -c .)" -le 3 ] &&
    cat "$out" "$err" | grep -qa '^ShellExecuteEx'; then
    note="wine-test-run: Wine did not start $1 (status $status: $(cat "$out" "$err" | tr -d '\r' | tr '\n' ' '));"
    note+=" starting it once more"
    echo "$note" >&2
    # CTest shows a passing test's output nowhere: the test script prints this file at its end.
    [ -n "${SANDRIVO_START_LOG:-}" ] && echo "$note" >>"$SANDRIVO_START_LOG"
    continue
  fi
  cat "$out"
  cat "$err" >&2
  exit "$status"
done
