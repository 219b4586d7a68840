#!/usr/bin/env bash
# The Wine route probe (tools/wine-route.sh) with stand-in loaders, and the
# test report's refusal of a run in which no real test ran.
#   tests/route_test.sh <build dir> <source dir>
set -u
src=$2
source "$src/tests/support/check.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Loaders: one that the kernel cannot run, one that starts but runs no program.
printf '#!/bin/sh\necho "$0: cannot execute binary file: Exec format error" >&2\nexit 126\n' >"$work/noexec"
printf '#!/bin/sh\n[ "$1" = --version ] && echo wine-8.0 && exit 0\necho "no program" >&2\nexit 1\n' >"$work/noprogram"
chmod +x "$work/noexec" "$work/noprogram"
real64=/usr/lib/wine/wine64

# route, 32-bit loader, 64-bit loader | exit code, stdout, text of the line
while IFS='|' read -r route l32 l64 want_rc want_out want_line; do
  out=$(TESSEL_WINE_ROUTE=$route TESSEL_WINE32_LOADER=$l32 TESSEL_WINE64_LOADER=$l64 \
        "$src/tools/wine-route.sh" 2>"$work/err")
  rc=$?
  case=" ($route, ${l32##*/}, ${l64##*/})"
  check "exit code $want_rc$case, got $rc" test "$rc" = "$want_rc"
  check "route '$want_out'$case, got '$out'" test "$out" = "$want_out"
  check "says '$want_line'$case: $(cat "$work/err")" grep -qF "$want_line" "$work/err"
  [ "$rc" = 0 ] && check "one line$case" test "$(wc -l <"$work/err")" = 1
done <<TABLE
auto|$work/noexec|$real64|0|win64|Exec format error; 64-bit Wine works
auto|$work/noprogram|$real64|0|win64|ended with exit code 1
auto|$work/noexec|$work/noexec|3||no Wine on this host can start a Windows program
auto|$work/none|$work/none|3||$work/none is not installed
win64|/usr/lib/wine/wine|$work/noprogram|3||(TESSEL_WINE_ROUTE=win64)
win32|$work/noexec|$real64|3||(TESSEL_WINE_ROUTE=win32)
win64|$work/noexec|$real64|0|win64|forced by TESSEL_WINE_ROUTE=win64
other|/usr/lib/wine/wine|$real64|2||must be auto, win32 or win64
TABLE

# The route this host takes on its own: the 32-bit loader when it starts a program.
route=$(TESSEL_WINE_ROUTE=auto "$src/tools/wine-route.sh" -q)
check "auto picks a route ($route)" grep -qx 'win32\|win64' <<<"$route"

# The report: passes with a real test, fails on a run of skips only.
log() {  # name, output line, result
  printf '1/1 Test: %s\nOutput:\n----\n%s\n<end of output>\nTest %s.\n' "$1" "$2" "$3"
}
{ log a_test 'SKIPPED: needs a 32-bit process' 'Passed'
  log b_test '[  PASSED  ] 0 tests.' 'Passed'; } >"$work/skips.log"
{ cat "$work/skips.log"; log c_test '[  PASSED  ] 3 tests.' 'Passed'; } >"$work/real.log"
check "a run of skips only fails" bash -c "! '$src/tools/test-report.sh' '$work/skips.log' >'$work/out' 2>&1"
check "the skip is named with its reason" grep -qx 'skipped: a_test: needs a 32-bit process' "$work/out"
check "a run with real cases passes" "$src/tools/test-report.sh" "$work/real.log" >/dev/null

checks_done route
