#!/usr/bin/env bash
# Regenerates the real undo logs of the fuzz seed corpus: lays out stand-in
# IDEs in a throwaway Wine prefix, runs the headless install for a few choices
# of IDEs and folders, and copies each "uninst.log" into fuzz/corpus.
#
#   tools/faults/make-seeds.sh [build dir]      (default: build)
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
source "$root/tools/display.sh"
start_display
trap stop_display EXIT

run() { TESSEL_SHARED_PREFIX=1 WINEPREFIX=$prefix "$root/tools/wine-run.sh" "$@"; }

# The first program makes the prefix and keeps it; the rest share it.
prefix=$(TESSEL_KEEP_PREFIX=1 "$root/tools/wine-run.sh" "$build/standin/mkmachine.exe" 1 7 15 22 29 2>&1 >/dev/null |
         sed -n 's/^wine-run: prefix kept at //p')
[ -d "$prefix" ] || { echo "make-seeds: no prefix" >&2; exit 1; }
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null; rm -rf "$prefix"; stop_display' EXIT

seed() {  # name, install folder (Windows path), headless options...
  local name=$1 dir=$2
  shift 2
  local rc=0
  # Exit code 1 (some rows failed) is what the copy-only seed gives by design.
  run "$build/tools/headless/headless-install.exe" "$dir" /setup:"Z:$build/setup/setup.exe" "$@" >/dev/null || rc=$?
  [ "$rc" -le 1 ] || { echo "make-seeds: install for $name ended with $rc" >&2; exit 1; }
  local unix
  unix=$(WINEPREFIX=$prefix winepath -u "$dir\\uninst.log" 2>/dev/null)
  cp "$unix" "$root/fuzz/corpus/$name.log"
  echo "seed $name: $(stat -c %s "$unix") bytes"
}
seed real-delphi3-delphi7 'C:\Tessel' /ides:1,7 /items:0
seed real-radstudio12 'C:\Tessel' /ides:29 /items:0x380
seed real-bds-cbuilder6 'C:\Users\Zoë\Mes bibliothèques' /ides:15,22 /items:0
seed real-copyonly 'C:\Tessel' /ides:29 /items:0x380 /copyonly
