#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy holds the checks) over the product's and the
# tests' sources, as the 32-bit build in build/ compiles them. Any finding
# fails the run. Extra arguments are sources to check instead of all of them.
#
# clang is told the MinGW target and given the cross compiler's C++ headers,
# which it does not find by itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
db=build/compile_commands.json
if [ ! -f "$db" ]; then
  echo "lint: $db missing: run cmake --preset release first" >&2
  exit 2
fi
command -v clang-tidy >/dev/null || { echo "lint: clang-tidy missing: run tools/bootstrap.sh" >&2; exit 2; }

cxx=$(sed -n 's/^ *"command": "\([^ ]*g++[^ ]*\) .*/\1/p' "$db" | sed -n 1p)  # all of it read: no SIGPIPE under pipefail
target=$(basename "$cxx" | sed 's/-g++.*//')
args=(--quiet -p build "--extra-arg-before=--target=$target")
while read -r dir; do
  args+=("--extra-arg=-isystem$dir")
done < <(echo | "$cxx" -xc++ -E -v - 2>&1 | sed -n '/#include <...>/,/End of search/p' | sed -n 's/^ \(.*\/include\/c++.*\)/\1/p')

if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(sed -n 's/^ *"file": "\(.*\)",\?$/\1/p' "$db" |
    grep -E "^$root/(common|script|setup|uninstaller|standin|tools/bench|tests)/.*\.cpp$" | sort -u)
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
rc=0
printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy "${args[@]}" >"$log" 2>&1 || rc=1
# Only the findings: clang-tidy's own counts of suppressed warnings are noise.
# A source clang cannot compile is reported too ("error: ..." and "Error while processing").
grep -E '(^|: )(error|warning):|^ |^Error while processing' "$log" | grep -v '^Suppressed\|warnings generated' || true
findings=$(grep -cE ': error: .*\[[a-z-]+[.a-zA-Z-]*(,-warnings-as-errors)?\]' "$log" || true)
if [ "$findings" -ne 0 ]; then
  echo "lint: $findings findings in ${#files[@]} sources" >&2
  exit 1
fi
if [ $rc -ne 0 ]; then
  echo "lint: clang-tidy failed on some of the ${#files[@]} sources (messages above)" >&2
  exit 1
fi
echo "lint: ${#files[@]} sources clean"
