#!/usr/bin/env bash
# The undo-log fuzz target, built natively with the sanitizers, run once over
# its committed seed corpus and the inputs that once failed (no fuzzing: that
# is tools/fuzz.sh with a time).
#   tests/faults_fuzz_test.sh <build dir> <source dir>
src=$2
if ! command -v clang++ >/dev/null; then
  echo "faults_fuzz: clang++ is missing (tools/bootstrap.sh installs it)" >&2
  exit 1
fi
"$src/tools/fuzz.sh" replay
