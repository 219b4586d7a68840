# Sourced by the shell tests. check <description> <command...> counts a pass
# or a failure (and names it); checks_done <name> prints the counts and fails
# when a check did.
pass=0
fail=0
check() {
  local what=$1
  shift
  if "$@"; then pass=$((pass + 1)); else fail=$((fail + 1)); echo "FAIL: $what" >&2; fi
}
checks_done() {
  echo "$1: $pass passed, $fail failed"
  [ "$fail" -eq 0 ]
}
# kept_prefix <name> <src> <program...>: runs the program through
# tools/wine-run.sh in a new prefix that is kept, and prints that prefix's
# path; when none was made, says so as a failed check of <name> and exits.
kept_prefix() {
  local name=$1 src=$2 prefix
  shift 2
  prefix=$(TESSEL_KEEP_PREFIX=1 "$src/tools/wine-run.sh" "$@" 2>&1 >/dev/null | sed -n 's/^wine-run: prefix kept at //p')
  if [ ! -d "$prefix" ]; then
    echo "$name: cannot make a prefix" >&2
    echo "$name: 0 passed, 1 failed" >&2  # stdout is the caller's capture
    exit 1
  fi
  echo "$prefix"
}
