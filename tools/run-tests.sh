#!/usr/bin/env bash
# Sets everything up, builds, and runs every test under Wine (and Xvfb when
# there is no display). Extra arguments go to ctest, e.g. -R undo.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tools/bootstrap.sh
cmake --preset release >/dev/null
cmake --build --preset release

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

ctest --preset release "$@"
