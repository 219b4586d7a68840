#!/usr/bin/env bash
# Reads a CTest log (Testing/Temporary/LastTest.log) and names every skipped
# test and GoogleTest case with its reason. Fails when no real test ran: a
# test program that only skipped, or a run of nothing but skips, is no pass.
#
#   tools/test-report.sh <LastTest.log>
set -u
log=$1
[ -f "$log" ] || { echo "test-report: no test log at $log" >&2; exit 1; }
tr -d '\r' <"$log" | awk '
  /^[0-9]+\/[0-9]+ Test: / { name = $3; cases = -1; reason = ""; why = ""; next }
  # GoogleTest: "file:line: Skipped", the reason on the next line, then the case.
  /: Skipped$/ { getline reason; next }
  /^\[  SKIPPED \] [^ ]+ \(/ { printf "skipped: %s %s: %s\n", name, $4, reason; skipped++; reason = ""; next }
  /^\[  PASSED  \] [0-9]+ tests?\./ { cases = $4; next }
  # Shell checks say why they skip on a line of their own (and exit with 77,
  # which the log shows as a pass).
  /^SKIPPED: / { why = substr($0, 10); next }
  /^Test Passed\./ {
    if (why != "") { printf "skipped: %s: %s\n", name, why; skipped++; why = ""; next }
    if (cases < 0) cases = 1
    real += cases; passed++; next }
  END {
    printf "test-report: %d tests passed (%d test cases in all), %d tests or cases skipped\n", passed, real, skipped
    if (real == 0) { print "test-report: no real test ran" > "/dev/stderr"; exit 1 }
  }'
