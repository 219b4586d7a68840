# Small helpers of tools/bench.sh: medians, key=value results, number formatting.
# Sourced; plain bash and awk only, so a fresh machine needs nothing more.

# Median of the numbers given as arguments (the mean of the middle two for an even count).
median() {
  [ $# -gt 0 ] || { echo ""; return; }
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    if (NR % 2) printf "%.6g\n", v[(NR + 1) / 2]; else printf "%.6g\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Value of key in a file of key=value lines; empty when absent.
kv() {
  awk -F= -v k="$2" '$1 == k { sub(/^[^=]*=/, ""); print; exit }' "$1"
}

# Median of one key over several key=value files.
kv_median() {
  local key=$1; shift
  local vals=() f v
  for f in "$@"; do
    v=$(kv "$f" "$key")
    [ -n "$v" ] && vals+=("$v")
  done
  median "${vals[@]}"
}

# a / b with the given number of decimals; empty when either is empty or b is 0.
ratio() {
  awk -v a="$1" -v b="$2" -v d="${3:-2}" 'BEGIN {
    if (a == "" || b == "" || b + 0 == 0) { print ""; exit }
    printf "%.*f\n", d, a / b }'
}

# a - b; empty when either is empty.
minus() {
  awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "") print ""; else printf "%.6g\n", a - b }'
}

# Seconds (a number) shown with the given decimals, or "n/a".
fmt() {
  awk -v v="$1" -v d="${2:-3}" 'BEGIN { if (v == "") print "n/a"; else printf "%.*f\n", d, v }'
}

# Microseconds to seconds.
us2s() {
  awk -v v="$1" 'BEGIN { if (v == "") print ""; else printf "%.6f\n", v / 1e6 }'
}

# Nanosecond wall clock.
now_ns() { date +%s%N; }

# JSON string (for the few texts the results file holds).
json_str() {
  local s=${1//\\/\\\\}
  s=${s//\"/\\\"}
  printf '"%s"' "$s"
}

# JSON number or null.
json_num() {
  if [ -z "$1" ]; then printf 'null'; else printf '%s' "$1"; fi
}
