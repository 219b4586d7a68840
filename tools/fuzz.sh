#!/usr/bin/env bash
# Builds the undo-log fuzz target natively (clang, libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it for the given number of seconds
# (default 60), starting from the committed seed corpus in fuzz/corpus.
#
#   tools/fuzz.sh [seconds]
#   tools/fuzz.sh replay      only build and run the committed inputs once (CI)
#
# Every file in fuzz/regressions is replayed first: each one is an input that
# once failed. New corpus entries go to build-fuzz/corpus (not committed);
# crashing inputs to build-fuzz/findings. Prints the number of executions and
# findings; the exit code is non-zero when there was a finding.
set -u
secs=${1:-60}
case "$secs" in replay|[0-9]*) ;; *) echo "usage: tools/fuzz.sh [seconds|replay]" >&2; exit 2 ;; esac
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-fuzz
mkdir -p "$out/corpus" "$out/findings"

srcs=(
  "$root/fuzz/UndoLogFuzz.cpp"
  "$root/changes/UninstallEngine.cpp"
  "$root/common/UndoLogFormat.cpp"
  "$root/common/UndoRules.cpp"
  "$root/changes/RecordCheck.cpp"
  "$root/common/IdeRegistry.cpp"
  "$root/common/PathText.cpp"
  "$root/changes/pathlists/PathList.cpp"
)
flags=(-std=c++17 -g -O1 -Wall -Wextra -Werror
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -I"$root/fuzz/shim" -I"$root")
if ! clang++ "${flags[@]}" "${srcs[@]}" -o "$out/undolog-fuzz" 2>"$out/build.log"; then
  cat "$out/build.log" >&2
  echo "fuzz: build failed" >&2
  exit 2
fi

# Known inputs that once failed must pass now.
if compgen -G "$root/fuzz/regressions/*" >/dev/null; then
  if ! "$out/undolog-fuzz" "$root"/fuzz/regressions/* >"$out/regressions.log" 2>&1; then
    tail -30 "$out/regressions.log" >&2
    echo "fuzz: a regression input fails" >&2
    exit 1
  fi
fi

if [ "$secs" = replay ]; then
  # Every committed seed once, under the sanitizers; no new inputs.
  if "$out/undolog-fuzz" -runs=0 "$root/fuzz/corpus" >"$out/replay.log" 2>&1; then
    echo "fuzz: replayed $(ls "$root/fuzz/corpus" | wc -l) seeds and $(ls "$root/fuzz/regressions" | wc -l) regressions, no findings"
    exit 0
  fi
  tail -30 "$out/replay.log" >&2
  echo "fuzz: a seed fails" >&2
  exit 1
fi

before=$(ls "$out/findings" | wc -l)
# -use_value_profile helps to get past the length fields that must agree.
"$out/undolog-fuzz" "$out/corpus" "$root/fuzz/corpus" \
  -max_total_time="$secs" -print_final_stats=1 -use_value_profile=1 \
  -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$out/findings/" >"$out/run.log" 2>&1
rc=$?
after=$(ls "$out/findings" | wc -l)
execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/run.log" | tail -1)
findings=$((after - before))
[ "$rc" -ne 0 ] && [ "$findings" -eq 0 ] && findings=1
grep -E '^(==[0-9]+==ERROR|check failed|SUMMARY)' "$out/run.log" | head -5
echo "fuzz: ${secs}s, executions: ${execs:-0}, findings: $findings, corpus: $(ls "$out/corpus" | wc -l) entries"
[ "$findings" -eq 0 ]
