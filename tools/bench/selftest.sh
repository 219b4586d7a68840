#!/usr/bin/env bash
# Checks of the benchmark's own logic that need no Wine: medians and ratios,
# and that the NSIS script generator reproduces an extraction tree exactly
# (second copies found by content, names matched without case, a file without
# a source refused). tools/bench.sh runs it first; it takes about a second.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fails=0
check() {  # check <what> <expected> <actual>
  if [ "$2" != "$3" ]; then echo "selftest: $1: expected '$2', got '$3'" >&2; fails=$((fails + 1)); fi
}

check "median of an odd count" 3 "$(median 5 1 3)"
check "median of an even count" 2.5 "$(median 4 1 3 2)"
check "median sorts numerically" 10 "$(median 9 10 100)"
check "median of nothing" "" "$(median)"
check "ratio" 0.50 "$(ratio 1 2)"
check "ratio by zero" "" "$(ratio 1 0)"
check "minus with a missing side" "" "$(minus 3 "")"
printf 'a=1\nkind.X.us=7\nb=x=y\nc=4\n' >"$tmp/one.kv"
printf 'a=3\nkind.X.us=9\n' >"$tmp/two.kv"
check "kv keeps '=' in values" "x=y" "$(kv "$tmp/one.kv" b)"
check "kv median over files" 8 "$(kv_median kind.X.us "$tmp/one.kv" "$tmp/two.kv")"
check "kv median skips files without the key" 4 "$(kv_median c "$tmp/one.kv" "$tmp/two.kv")"

# A payload and the tree an extraction would make of it.
p=$tmp/payload t=$tmp/tree
mkdir -p "$p/Source" "$p/Demos/A" "$t/Source" "$t/delphi3" "$t/Demos/A" "$t/Demos/B" "$t/Empty/Win32"
echo unit-a >"$p/Source/UnitA.pas"
echo unit-b >"$p/Source/UnitB.pas"
echo shared >"$p/Demos/A/Shared.ini"
printf '# comment\n1 Source/UnitA.pas\n2 Source/UnitB.pas\n3 Demos/A/Shared.ini\n28 @unqmv\n' >"$tmp/manifest.txt"
cp "$p/Source/UnitA.pas" "$t/Source/unita.pas"       # name differs in case
cp "$p/Source/UnitB.pas" "$t/Source/UnitB.pas"
cp "$p/Source/UnitB.pas" "$t/delphi3/UnitB.pas"      # second copy, another folder
cp "$p/Demos/A/Shared.ini" "$t/Demos/A/Shared.ini"
cp "$p/Demos/A/Shared.ini" "$t/Demos/B/Shared.ini"
"$here/mknsi.sh" "$t" "$p" "$tmp/manifest.txt" "$tmp/t.nsi" >"$tmp/nsi.kv"
check "files" 5 "$(kv "$tmp/nsi.kv" files)"
check "folders (empty ones too)" 7 "$(kv "$tmp/nsi.kv" folders)"
check "distinct sources" 3 "$(kv "$tmp/nsi.kv" distinct_sources)"
check "source bytes" 21 "$(kv "$tmp/nsi.kv" source_bytes)"
check "second copy written from its source" 1 \
  "$(grep -c "^File \"/oname=UnitB.pas\" \"$p/Source/UnitB.pas\"" <(sed -n '/delphi3/,/SetOutPath/p' "$tmp/t.nsi"))"
check "empty folder created" 1 "$(grep -c 'SetOutPath "\$INSTDIR\\Empty\\Win32"' "$tmp/t.nsi")"
check "case-differing name kept" 1 "$(grep -c '/oname=unita.pas' "$tmp/t.nsi")"
echo stray >"$t/Source/Stray.txt"
if "$here/mknsi.sh" "$t" "$p" "$tmp/manifest.txt" "$tmp/bad.nsi" >/dev/null 2>&1; then
  echo "selftest: a file without a payload source was accepted" >&2; fails=$((fails + 1))
fi
rm "$t/Source/Stray.txt"
echo changed >"$t/Source/UnitB.pas"   # same name, other content: no source either
if "$here/mknsi.sh" "$t" "$p" "$tmp/manifest.txt" "$tmp/bad.nsi" >/dev/null 2>&1; then
  echo "selftest: a file whose content matches no payload file was accepted" >&2; fails=$((fails + 1))
fi

# The results file keeps numbers as numbers, empty figures as null, and
# quotes texts; the table is printed even when whole measurements are missing
# (a helper that did not build), without tripping over unset figures.
source "$here/report.sh"
declare -A R=([a.s]=1.5 [b]="" [c]='say "hi"' [d]=-3 [e]=2e-05 [date]=today [command]=tools/bench.sh)
write_results "$tmp/r.json"
check "number" 1 "$(grep -c '^  "a.s": 1.5,$' "$tmp/r.json")"
check "empty is null" 1 "$(grep -c '^  "b": null,$' "$tmp/r.json")"
check "quoted text" 1 "$(grep -c '^  "c": "say \\"hi\\"",$' "$tmp/r.json")"
check "negative number" 1 "$(grep -c '^  "d": -3,$' "$tmp/r.json")"
check "exponent" 1 "$(grep -c '^  "e": 2e-05$' "$tmp/r.json")"
raw=$tmp
if ! (set -u; write_table >"$tmp/table.md") 2>"$tmp/table.err"; then
  echo "selftest: the table fails without figures: $(cat "$tmp/table.err")" >&2; fails=$((fails + 1))
fi
check "missing figures shown as n/a" 1 "$(grep -c '^| \*\*`setup.exe /X`\*\* | n/a s |' "$tmp/table.md")"

if [ $fails -ne 0 ]; then echo "selftest: $fails failed" >&2; exit 1; fi
echo "selftest: ok"
