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
