#!/usr/bin/env bash
# Shows that a release is reproducible: clones the current commit into two
# folders of different names and depths, builds an unsigned release in each,
# a minute apart, and compares the programs byte for byte. Two full builds,
# so it is a command of its own, not part of the test suite.
#
#   tools/release-twice.sh [pause in seconds, default 60]
# Exit status: 0 identical, 1 different or a build failed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pause=${1:-60}
work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-twice-XXXXXX")
trap 'rm -rf "$work"' EXIT

# Both clones build this commit, whatever is committed meanwhile.
commit=$(git -C "$root" rev-parse HEAD)
[ -z "$(git -C "$root" status --porcelain)" ] ||
  echo "release-twice: the working tree has changes; this checks the commit ${commit:0:12} only" >&2
dirs=("$work/a" "$work/second/clone-with-a-longer-name")
for i in 0 1; do
  [ "$i" = 0 ] || sleep "$pause"
  git clone -q --no-hardlinks --no-checkout "$root" "${dirs[$i]}"
  git -C "${dirs[$i]}" checkout -q "$commit"
  # Each clone also gets a build folder of its own name (the default one).
  TESSEL_SIGN_PFX='' TESSEL_SIGN_PASSWORD_FILE='' "${dirs[$i]}/tools/release.sh" --out "${dirs[$i]}/dist" \
    > "$work/release-$i.log" 2>&1 || { tail -n 30 "$work/release-$i.log" >&2; echo "release-twice: build $i failed" >&2; exit 1; }
done
rc=0
for f in setup.exe unqmv.exe release.txt; do
  if cmp -s "${dirs[0]}/dist/$f" "${dirs[1]}/dist/$f"; then
    echo "release-twice: $f identical: $(sha256sum < "${dirs[0]}/dist/$f" | cut -c1-64)"
  else
    echo "release-twice: $f DIFFERS: $(cmp "${dirs[0]}/dist/$f" "${dirs[1]}/dist/$f" | head -n 1)" >&2
    rc=1
  fi
done
exit $rc
