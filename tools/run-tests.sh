#!/usr/bin/env bash
# Sets everything up, builds, and runs every test under Wine (and Xvfb when
# there is no display). Extra arguments go to ctest, e.g. -R undo.
#
# tools/wine-route.sh picks the route: on a host that runs 32-bit Windows
# programs the tests run in build/ (the shipped 32-bit programs); on one that
# cannot, the x86-64 build of the same sources in build-x64/ runs in 64-bit
# prefixes, and build/ is still built for the checks that read the shipped
# programs. TESSEL_WINE_ROUTE=win64 forces that route on any host.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tools/bootstrap.sh
# shellcheck source=tools/wine-env.sh
source tools/wine-env.sh
wine_route_setup "$root"
wine_build_trees

# shellcheck source=tools/display.sh
source tools/display.sh
start_display

# One template prefix per run and Wine architecture: made fresh, removed at the end.
export TESSEL_WINE_TEMPLATE=$(mktemp -d "${TMPDIR:-/tmp}/tessel-template-XXXXXX")
rmdir "$TESSEL_WINE_TEMPLATE"
cleanup() {
  rm -rf "$TESSEL_WINE_TEMPLATE"-*
  stop_display
}
trap cleanup EXIT

rc=0
ctest --preset "$wine_preset" "$@" || rc=$?
# Every skip with its reason, and a failure when no real test ran.
tools/test-report.sh "$wine_build/Testing/Temporary/LastTest.log" || rc=1
exit $rc
