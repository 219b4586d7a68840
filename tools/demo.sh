#!/usr/bin/env bash
# The main job: sets everything up, builds both programs and runs setup.exe
# in extract mode into ./demo/extract, then lists what it wrote.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tools/bootstrap.sh
cmake --preset release >/dev/null
cmake --build --preset release

source tools/display.sh
start_display
trap stop_display EXIT

out="$root/demo/extract"
rm -rf "$out"
mkdir -p "$out"
export TESSEL_SHARED_PREFIX=0
(cd "$out" && "$root/tools/wine-run.sh" "$root/build/setup/setup.exe" /X)
echo "setup.exe /X wrote into $out:"
(cd "$out" && find . -type f | sort | sed 's|^\./||')
echo "$(find "$out" -type f | wc -l) files in $(find "$out" -mindepth 1 -type d | wc -l) folders"
