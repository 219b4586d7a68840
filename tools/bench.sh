#!/usr/bin/env bash
# The benchmark: sets up, builds, then measures the setup's extract mode, a
# complete headless install and its uninstall (without and with the dialog)
# and the programs' sizes, side by side with an NSIS installer of the same
# files and with the floors that the file system and Wine set. Prints one
# table and writes bench/out/table.md and bench/out/results.json (raw runs in
# bench/out/raw/).
#
# Every figure is the median of several runs, all in this one run, on this
# machine, under this Wine, in one Wine prefix made once for the whole run.
#
#   BENCH_EXTRACT_RUNS runs per extract figure (default 15; each takes well under a second)
#   BENCH_RUNS         runs per install and uninstall figure (default 5)
#   BENCH_DIALOG_RUNS  runs of the uninstaller with its dialog (default 3)
#   BENCH_BUILD_DIR    build tree (default build-bench, on the 64-bit route build-bench-x64)
#   BENCH_NO_BUILD=1   measure what the build tree holds, without set-up and build
#   BENCH_BEFORE       build tree of an earlier commit (same route): its setup.exe /X, /S
#                      and silent uninstall take turns with ours, as "before" rows
#   BENCH_JOBS_RUNS    rounds of the concurrent-build cases (default 3; each takes about a minute)
#   BENCH_ONLY=jobs    the concurrent-build cases alone
#
# On a host whose Wine cannot run 32-bit programs (tools/wine-route.sh; forced
# with TESSEL_WINE_ROUTE=win64) the x86-64 build is measured in a 64-bit
# prefix; the sizes are still those of the shipped 32-bit programs (built in
# build-bench), and the NSIS installers, 32-bit programs, are reported as not
# measurable there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source tools/bench/lib.sh

RUNS=${BENCH_RUNS:-5}
EXTRACT_RUNS=${BENCH_EXTRACT_RUNS:-15}
DIALOG_RUNS=${BENCH_DIALOG_RUNS:-3}
source tools/wine-env.sh
if [ "${BENCH_NO_BUILD:-0}" != 1 ]; then tools/bootstrap.sh; fi
wine_route_setup "$root"
# The tree whose programs are sized: the shipped 32-bit build.
size_build=$root/build-bench
nsis_unmeasurable=""
if [ "$wine_route" = win64 ]; then
  build=${BENCH_BUILD_DIR:-$root/build-bench-x64}
  nsis_unmeasurable="the NSIS installers are 32-bit programs and this host's Wine runs 64-bit programs only"
else
  build=${BENCH_BUILD_DIR:-$root/build-bench}
  size_build=$build
fi
out=$root/bench/out
raw=$out/raw
bench_start=$(now_ns)
load_start=$(cut -d' ' -f1-3 /proc/loadavg)
declare -A R=()   # every figure, by name; written to results.json

say() { echo "bench: $*" >&2; }
warn() { echo "bench: WARNING: $*" >&2; R[warnings]="${R[warnings]:-}${R[warnings]:+; }$*"; }

# --- set-up and build -------------------------------------------------------
tools/bench/selftest.sh >&2
declare -A built=()
helpers=(benchnop benchinstall benchuninst benchdrive benchsetupbare mkmachine standin_dcc32 standin_dcc64 standin_make)
if [ "${BENCH_NO_BUILD:-0}" != 1 ]; then
  say "building in $build"
  mkdir -p "$build"
  cmake --preset "$wine_preset" -B "$build" -DBUILD_TESTING=OFF >"$build/bench-configure.log" 2>&1 ||
    { cat "$build/bench-configure.log" >&2; exit 1; }
  if [ "$size_build" != "$build" ]; then
    say "building the 32-bit programs for their sizes in $size_build"
    mkdir -p "$size_build"
    cmake --preset release -B "$size_build" -DBUILD_TESTING=OFF >"$size_build/bench-configure.log" 2>&1 ||
      { cat "$size_build/bench-configure.log" >&2; exit 1; }
    cmake --build "$size_build" --target setup unqmv benchempty benchsetupbare
  fi
  # The programs under test must build; the bench's own helpers and the stand-in
  # machine may lag behind their owners' work, and their figures are then n/a.
  cmake --build "$build" --target setup unqmv benchempty benchimports benchownimports
  for t in "${helpers[@]}"; do
    if cmake --build "$build" --target "$t" >/dev/null 2>&1; then built[$t]=1; else warn "target $t does not build; its figures are n/a"; fi
  done
else
  for t in "${helpers[@]}"; do
    f=$(find "$build/tools/bench" "$build/standin" -maxdepth 1 -name "${t#standin_}.exe" 2>/dev/null | head -1)
    if [ -n "$f" ]; then built[$t]=1; else warn "no $t in $build; its figures are n/a"; fi
  done
fi

setup=$build/setup/setup.exe
unqmv=$build/uninstaller/unqmv.exe
bin=$build/tools/bench
# A server left running on the last run's prefix (an interrupted run) goes first.
if [ -d "$out/wineprefix" ]; then WINEPREFIX=$out/wineprefix wineserver -k >/dev/null 2>&1 || true; fi
rm -rf "$out"
mkdir -p "$raw"

# --- one Wine prefix for the whole run ---------------------------------------
# No menu builder: it would scan the prefix in the background while we measure.
export WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export WINEPREFIX=$out/wineprefix
source tools/display.sh
start_display
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  stop_display
}
trap cleanup EXIT
# The tests' template prefix when there is one (tools/wine-run.sh), else a new
# one; either way the server has ended, so the persistent one below can start.
source tools/wine-prefix.sh
template=${TMPDIR:-/tmp}/tessel-wine-template-$(id -u)-$WINEARCH
if wine_prefix_made "$template"; then
  cp -a "$template" "$WINEPREFIX"
  rm -f "$WINEPREFIX/.ready"
else
  wine_prefix_make "$WINEPREFIX"
fi
# A persistent server, so that no figure pays for starting it (Windows is already up).
wineserver -p
wine "$bin/benchempty.exe" >/dev/null 2>&1 || true   # lets Wine finish its first start-up
winpath() { winepath -w "$1" 2>/dev/null; }

# Besides the wall time, the CPU time of the run: the program's own (this
# shell's waited-for children) plus what Wine's server spent for it. The
# machine is shared, and CPU time moves much less with its load.
# The server works in a folder named after the prefix's device and inode.
server_dir=server-$(printf '%x' "$(stat -c %d "$WINEPREFIX")")-$(printf '%x' "$(stat -c %i "$WINEPREFIX")")
ws_pid=""
for p in /proc/[0-9]*; do
  cwd=$(readlink "$p/cwd" 2>/dev/null) || continue
  if [ "${cwd##*/}" = "$server_dir" ] && grep -q '^wineserver' "$p/comm" 2>/dev/null; then ws_pid=${p#/proc/}; break; fi
done
[ -n "$ws_pid" ] || warn "Wine's server of the prefix not found; CPU times leave it out"
tick=$(getconf CLK_TCK)
cpu_file=$out/cpu.tmp
cpu_now() {  # seconds of CPU so far: children of this shell + the prefix's wineserver
  times >"$cpu_file"
  local server=0
  [ -n "$ws_pid" ] && server=$(awk -v t="$tick" '{ print ($14 + $15) / t }' "/proc/$ws_pid/stat" 2>/dev/null || echo 0)
  awk -v s="$server" 'NR == 2 { n = split($1 " " $2, f, " "); c = 0
      for (i = 1; i <= n; i++) { split(f[i], ms, "m"); c += ms[1] * 60 + ms[2] }
      printf "%.3f\n", c + s }' "$cpu_file"
}
# After a program ends, Wine's own processes and server go on working for a
# moment (more so the more programs have run in the session); the next run
# would share the machine with them. So every timed run starts when the
# server has been idle for 200 ms (checked every 50 ms; at most 3 s).
server_ticks() {
  local f
  read -r -a f <"/proc/$ws_pid/stat" 2>/dev/null || { echo 0; return; }
  echo $(( f[13] + f[14] ))
}
wait_quiet() {
  [ -n "$ws_pid" ] || return 0
  local last quiet=0 n=0 now
  last=$(server_ticks)
  while [ $quiet -lt 4 ] && [ $n -lt 60 ]; do
    sleep 0.05
    now=$(server_ticks)
    if [ "$now" = "$last" ]; then quiet=$((quiet + 1)); else quiet=0; last=$now; fi
    n=$((n + 1))
  done
}

if [ "${BENCH_ONLY:-}" != jobs ]; then
# --- 1. extract mode ----------------------------------------------------------
work=$out/work
ref=$out/extracted
mkdir -p "$work" "$ref"
say "extract: reference tree"
(cd "$ref" && wine "$setup" /X)
R[extract.files]=$(find "$ref" -type f | wc -l)
R[extract.folders]=$(find "$ref" -mindepth 1 -type d | wc -l)
R[extract.bytes]=$(find "$ref" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
[ "${R[extract.files]}" = 378 ] || warn "setup.exe /X wrote ${R[extract.files]} files, not 378"

say "extract: NSIS installers of the same tree"
tools/bench/mknsi.sh "$ref" "$root/payload" "$root/payload/manifest.txt" "$out/tessel.nsi" >"$raw/nsis-script.kv"
nsis_store=$out/nsis-store.exe
nsis_zlib=$out/nsis-zlib.exe
makensis -V2 -DSTORE "-DOUTFILE=$nsis_store" "$out/tessel.nsi" >"$raw/makensis-store.log"
makensis -V2 "-DOUTFILE=$nsis_zlib" "$out/tessel.nsi" >"$raw/makensis-zlib.log"

# The cases run in turn, one run of each per round, so that a change of
# the machine's load during the benchmark falls on all of them alike. Round 0
# warms the caches and is not counted.
# The Win32 floor: a program generated from the extracted tree that writes it
# with CreateDirectoryW, CreateFileW and WriteFile only, built like ours.
say "extract: the Win32 floor program"
tools/bench/mkfloor.sh "$ref" >"$out/floor.cpp"
floor_cxx=i686-w64-mingw32-g++-posix
[ "$wine_route" = win64 ] && floor_cxx=x86_64-w64-mingw32-g++-posix
"$floor_cxx" -O2 -municode -mwindows -static -s "$out/floor.cpp" -o "$out/floor.exe"
# The unattended install on a machine with no IDE and its silent uninstall
# take turns with /X too: they start as /X does and show no window either.
silent_cases=()
if [ -n "${built[mkmachine]:-}" ] &&
  wine "$build/standin/mkmachine.exe" --remove all >"$raw/mkmachine-silent.log" 2>&1; then
  silent_cases=(silent unsilent)
else
  warn "no stand-in machine tool; the /S rows are n/a"
fi
before=${BENCH_BEFORE:-}
before_cases=()
if [ -n "$before" ]; then
  before_cases=(setup_before)
  [ ${#silent_cases[@]} -gt 0 ] && before_cases+=(silent_before unsilent_before)
fi
cases=(copy floor empty ownimports imports setup "${silent_cases[@]}" "${before_cases[@]}" nsis_store nsis_zlib)
compared=(copy floor setup "${before_cases[@]:0:1}" nsis_store nsis_zlib)
if [ -n "$nsis_unmeasurable" ]; then
  cases=(copy floor empty ownimports imports setup "${silent_cases[@]}" "${before_cases[@]}")
  compared=(copy floor setup "${before_cases[@]:0:1}")
  R[extract.nsis_unmeasurable]=$nsis_unmeasurable
  say "extract: NSIS not measurable on this host: $nsis_unmeasurable"
fi
# Every run writes into a folder of its own that no earlier run used: Wine's
# server slows down, run after run, when a folder that it has seen is deleted
# and made again under the same name behind its back.
target() { echo "$work/$1.$2"; }
prepare_case() {  # prepare_case <case> <round>
  case $1 in setup|setup_before|floor|silent|silent_before) mkdir -p "$(target "$1" "$2")" ;; esac
}
# Each case runs in a subshell, so that all of them pay the same fork.
run_case() {  # run_case <case> <round> <Windows path of the target>
  local t
  t=$(target "$1" "$2")
  case $1 in
    copy) (cp -r "$ref" "$t") ;;
    empty) (wine "$bin/benchempty.exe") ;;
    imports) (wine "$bin/benchimports.exe") ;;
    floor) (cd "$t" && wine "$out/floor.exe") ;;
    ownimports) (wine "$bin/benchownimports.exe") ;;
    setup) (cd "$t" && wine "$setup" /X) ;;
    setup_before) (cd "$t" && wine "$before/setup/setup.exe" /X) ;;
    # The uninstall of a round removes the install of the same round.
    silent) (wine "$setup" /S "$3\\Tessel") ;;
    silent_before) (wine "$before/setup/setup.exe" /S "$3\\Tessel") ;;
    unsilent) (wine "$(target silent "$2")/Tessel/unqmv.exe" "$3\\Tessel\\uninst.log" /S) ;;
    unsilent_before) (wine "$(target silent_before "$2")/Tessel/unqmv.exe" "$3\\Tessel\\uninst.log" /S) ;;
    nsis_store) (wine "$nsis_store" /S "/D=$3") ;;
    nsis_zlib) (wine "$nsis_zlib" /S "/D=$3") ;;
  esac
}
say "extract: $EXTRACT_RUNS rounds of ${cases[*]}"
echo "round,case,seconds,cpu_seconds" >"$raw/extract.csv"
declare -A samples=() cpu_samples=()
for round in $(seq 0 "$EXTRACT_RUNS"); do
  for c in "${cases[@]}"; do
    prepare_case "$c" "$round"
    # An uninstall's folder is the one its install of the round made.
    wt=$(winpath "$(target "${c#un}" "$round")")
    wait_quiet
    c0=$(cpu_now)
    t0=$(now_ns)
    run_case "$c" "$round" "$wt" >/dev/null 2>&1 || warn "extract: $c failed in round $round"
    t1=$(now_ns)
    c1=$(cpu_now)
    [ "$round" = 0 ] && continue
    s=$(awk -v n=$((t1 - t0)) 'BEGIN { printf "%.6f", n / 1e9 }')
    cs=$(minus "$c1" "$c0")
    echo "$round,$c,$s,$cs" >>"$raw/extract.csv"
    samples[$c]="${samples[$c]:-} $s"
    cpu_samples[$c]="${cpu_samples[$c]:-} $cs"
  done
done
rm -f "$cpu_file"
for c in "${cases[@]}"; do
  # shellcheck disable=SC2086
  R[extract.$c.s]=$(median ${samples[$c]})
  # shellcheck disable=SC2086
  R[extract.$c.best_s]=$(printf '%s\n' ${samples[$c]} | sort -g | head -1)
  # shellcheck disable=SC2086
  R[extract.$c.cpu_s]=$(median ${cpu_samples[$c]})
done
# Every run really produced the reference tree; the floor writes no contents,
# so of its tree the folders, names and sizes are compared.
tree_shape() { (cd "$1" && find . -type d -printf '%P/\n' && find . -type f -printf '%P %s\n') | sort; }
same_tree() {  # same_tree <case> <reference> <tree>
  if [ "$1" = floor ]; then diff <(tree_shape "$2") <(tree_shape "$3"); else diff -r "$2" "$3"; fi
}
for c in "${compared[@]}"; do
  for round in $(seq 0 "$EXTRACT_RUNS"); do
    if ! same_tree "$c" "$ref" "$(target "$c" "$round")" >"$raw/$c.$round.diff" 2>&1; then
      warn "$c did not produce the same tree as setup.exe /X in round $round (raw/$c.$round.diff)"
    else
      rm -f "$raw/$c.$round.diff"
    fi
  done
done
rm -rf "$work"

# --- 2./3. headless install and uninstall ------------------------------------
# Each run installs into a folder of its own (see the extract rounds), all
# removed when the phase is over.
instdir_w=""
instdir=""
use_instdir() {  # use_instdir <name>
  instdir_w="C:\\bench\\$1\\Tessel"
  instdir=$WINEPREFIX/drive_c/bench/$1/Tessel
}

# machine <all|none>: lays out the stand-in installations of the IDE versions
# that the setup offers (every one but C++Builder 3, index 4), or removes all.
machine() {
  if [ -z "${built[mkmachine]:-}" ]; then return 1; fi
  local args
  if [ "$1" = all ]; then args=(1 2 3 $(seq 5 30)); else args=(--remove all); fi
  wine "$build/standin/mkmachine.exe" "${args[@]}" >"$raw/mkmachine-$1.log" 2>&1
}

# run_timed <kv file> <program> <args...>: runs a bench program, adds its wall time.
run_timed() {
  local kvf=$1; shift
  local t0 t1 rc=0
  wait_quiet
  t0=$(now_ns)
  wine "$@" >"$kvf" 2>>"$kvf.err" || rc=$?
  t1=$(now_ns)
  echo "wall_us=$(( (t1 - t0) / 1000 ))" >>"$kvf"
  echo "exit=$rc" >>"$kvf"
  return 0
}

# phase <label>: installs and uninstalls RUNS times without, DIALOG_RUNS times with the dialog.
phase() {
  local label=$1 i nop=""
  [ -n "${built[benchnop]:-}" ] && nop=$(winpath "$bin/benchnop.exe")
  local ins=() uns=() drv=()
  for i in $(seq 1 "$RUNS"); do
    use_instdir "$label-$i"
    run_timed "$raw/$label.install.$i.kv" "$bin/benchinstall.exe" "$(winpath "$setup")" "$instdir_w" \
      "$(winpath "$raw")\\$label.rows.csv" ${nop:+"$nop"}
    echo "files_after=$(find "$instdir" -type f 2>/dev/null | wc -l)" >>"$raw/$label.install.$i.kv"
    ins+=("$raw/$label.install.$i.kv")
    if [ "$i" = 1 ]; then cp "$instdir/uninst.log" "$raw/$label.uninst.log" 2>/dev/null || warn "$label: the install left no undo log"; fi
    if [ -n "${built[benchuninst]:-}" ]; then
      run_timed "$raw/$label.uninst.$i.kv" "$bin/benchuninst.exe" "$instdir_w\\uninst.log"
      echo "leftover_files=$(find "$instdir" -type f 2>/dev/null | wc -l)" >>"$raw/$label.uninst.$i.kv"
      uns+=("$raw/$label.uninst.$i.kv")
    fi
  done
  if [ -n "${built[benchdrive]:-}" ]; then
    for i in $(seq 1 "$DIALOG_RUNS"); do
      use_instdir "$label-dialog-$i"
      run_timed "$raw/$label.install-d.$i.kv" "$bin/benchinstall.exe" "$(winpath "$setup")" "$instdir_w" \
        "$(winpath "$raw")\\$label.rows-d.csv"
      run_timed "$raw/$label.dialog.$i.kv" "$bin/benchdrive.exe" "$instdir_w\\unqmv.exe" "$instdir_w\\uninst.log" 600
      echo "leftover_files=$(find "$instdir" -type f 2>/dev/null | wc -l)" >>"$raw/$label.dialog.$i.kv"
      drv+=("$raw/$label.dialog.$i.kv")
    done
  fi
  rm -rf "$WINEPREFIX/drive_c/bench"

  local k
  for k in ides_found rows rows_failed total_us rows_us start_us discovery_us process_rows process_us process_start_us files_after wall_us exit; do
    R[install.$label.$k]=$(kv_median "$k" "${ins[@]}")
  done
  for k in $(cat "${ins[@]}" | awk -F= '/^kind\./ { print $1 }' | sort -u); do
    R[install.$label.$k]=$(kv_median "$k" "${ins[@]}")
  done
  if [ ${#uns[@]} -gt 0 ]; then
    for k in records info_records log_bytes walk_us total_us wall_us leftover_files exit; do
      R[uninstall.$label.$k]=$(kv_median "$k" "${uns[@]}")
    done
  fi
  if [ ${#drv[@]} -gt 0 ]; then
    for k in dialog_us walk_us close_us exit_us total_us wall_us leftover_files walk_seen exit; do
      R[dialog.$label.$k]=$(kv_median "$k" "${drv[@]}")
    done
  fi
}

if [ -n "${built[benchinstall]:-}" ]; then
  if machine none; then
    say "install: machine with no IDE"
    phase none
  else
    warn "no stand-in machine tool; install figures are n/a"
  fi
  if machine all; then
    say "install: machine with all 29 offered IDE versions"
    phase all
    machine none || true
  elif [ -n "${built[mkmachine]:-}" ]; then
    warn "the stand-in machine could not be laid out (raw/mkmachine-all.log); its figures are n/a"
  fi
fi

fi  # BENCH_ONLY

# --- 4. concurrent builds -----------------------------------------------------
# setup.exe /S on six stand-in IDEs whose compilers take 2 s each (XE7, whose
# block stands before the demos, and 10.3 to 13 after them; three compiles
# each): with /J=1, with the default (this machine's logical processors) and
# with /J=6; and the floor, the longest of them alone (RAD Studio 12, as long
# as any other). The cases take turns in the same rounds; every install goes
# into a folder of its own and is removed by its silent uninstall, untimed,
# so that no /S starts by removing an earlier installation.
JOBS_RUNS=${BENCH_JOBS_RUNS:-3}
jobs_six=(21 26 27 28 29 30)
jobs_floor=(29)
stand_in() {  # stand_in <IDE indexes...>: only these IDEs, their compilers taking 2000 ms
  wine "$build/standin/mkmachine.exe" --remove all >>"$raw/jobs-mkmachine.log" 2>&1 &&
    wine "$build/standin/mkmachine.exe" "$@" >>"$raw/jobs-mkmachine.log" 2>&1 &&
    wine "$build/standin/mkmachine.exe" --mode=slow:2000 "$@" >>"$raw/jobs-mkmachine.log" 2>&1
}
jobs_case() {  # jobs_case <case> <round> <setup.exe> [/J=n]: one timed install and its untimed uninstall
  local c=$1 r=$2 program=$3 dir="C:\\bench-jobs\\$1.$2" t0 t1 rc=0 s
  shift 3
  wait_quiet
  t0=$(now_ns)
  wine "$program" /S "$@" "$dir" >/dev/null 2>&1 || rc=$?
  t1=$(now_ns)
  [ "$rc" = 0 ] || warn "jobs: $c exited with $rc in round $r"
  wine "$WINEPREFIX/drive_c/bench-jobs/$c.$r/unqmv.exe" "$dir\\uninst.log" /S >/dev/null 2>&1 ||
    warn "jobs: the uninstall of $c failed in round $r"
  s=$(awk -v n=$((t1 - t0)) 'BEGIN { printf "%.6f", n / 1e9 }')
  echo "$r,$c,$s,$rc" >>"$raw/jobs.csv"
  jobs_samples[$c]="${jobs_samples[$c]:-} $s"
}
declare -A jobs_samples=()
if [ -n "${built[mkmachine]:-}" ] && [ "$JOBS_RUNS" -gt 0 ]; then
  say "concurrent builds: $JOBS_RUNS rounds of /J=1, default, /J=6 on six IDEs and the longest alone"
  echo "round,case,seconds,exit" >"$raw/jobs.csv"
  for round in $(seq 1 "$JOBS_RUNS"); do
    stand_in "${jobs_six[@]}" || { warn "jobs: the six stand-in IDEs could not be laid out"; break; }
    jobs_case serial "$round" "$setup" /J=1
    # The earlier build knows no /J: it takes "/J=1" for a folder, and the folder after it wins.
    if [ -n "${BENCH_BEFORE:-}" ]; then jobs_case serial_before "$round" "$BENCH_BEFORE/setup/setup.exe" /J=1; fi
    jobs_case default "$round" "$setup"
    jobs_case six "$round" "$setup" /J=6
    stand_in "${jobs_floor[@]}" || { warn "jobs: the single stand-in IDE could not be laid out"; break; }
    jobs_case floor "$round" "$setup" /J=1
  done
  wine "$build/standin/mkmachine.exe" --remove all >>"$raw/jobs-mkmachine.log" 2>&1 || true
  rm -rf "$WINEPREFIX/drive_c/bench-jobs"
  for c in serial serial_before default six floor; do
    # shellcheck disable=SC2086
    R[jobs.$c.s]=$(median ${jobs_samples[$c]:-})
  done
  for c in serial serial_before default six floor; do R[jobs.$c.ratio]=$(ratio "${R[jobs.$c.s]}" "${R[jobs.floor.s]}"); done
  R[jobs.default_jobs]=$(nproc)
  R[jobs.runs]=$JOBS_RUNS
fi

# --- 5. sizes -----------------------------------------------------------------
if [ "${BENCH_ONLY:-}" != jobs ]; then
size() { [ -f "$1" ] && stat -c %s "$1" || echo ""; }
stripped() {
  [ -f "$1" ] || { echo ""; return; }
  i686-w64-mingw32-strip -o "$out/stripped.tmp" "$1" && stat -c %s "$out/stripped.tmp"
  rm -f "$out/stripped.tmp"
}
# The shipped 32-bit programs, whatever the route measured above.
setup=$size_build/setup/setup.exe
unqmv=$size_build/uninstaller/unqmv.exe
payload_bytes=$(awk '/^[0-9]/ { print $2 }' payload/manifest.txt | while read -r p; do
  if [ "$p" = "@unqmv" ]; then stat -c %s "$unqmv"; else stat -c %s "payload/$p"; fi
done | awk '{ s += $1 } END { print s + 0 }')
R[size.unqmv]=$(size "$unqmv")
R[size.unqmv_stripped]=$(stripped "$unqmv")
R[size.setup]=$(size "$setup")
R[size.setup_stripped]=$(stripped "$setup")
R[size.payload]=$payload_bytes
R[size.setup_less_payload]=$(minus "${R[size.setup]}" "$payload_bytes")
R[size.setup_bare]=$(size "$size_build/tools/bench/benchsetupbare.exe")
R[size.setup_bare_stripped]=$(stripped "$size_build/tools/bench/benchsetupbare.exe")
R[size.nsis_store]=$(size "$nsis_store")
R[size.nsis_zlib]=$(size "$nsis_zlib")
R[size.nsis_payload]=$(kv "$raw/nsis-script.kv" source_bytes)
R[size.nsis_overhead]=$(minus "${R[size.nsis_store]}" "${R[size.nsis_payload]}")
R[size.empty]=$(size "$size_build/tools/bench/benchempty.exe")
R[size.empty_stripped]=$(stripped "$size_build/tools/bench/benchempty.exe")
R[size.nsis_distinct]=$(kv "$raw/nsis-script.kv" distinct_sources)
fi  # BENCH_ONLY

R[date]=$(date -u '+%Y-%m-%d %H:%M UTC')
R[command]="tools/bench.sh"
R[runs]=$RUNS
R[extract_runs]=$EXTRACT_RUNS
R[dialog_runs]=$DIALOG_RUNS
R[wine]=$(wine --version)
R[wine_route]=$wine_route
R[makensis]=$(makensis -VERSION)
R[machine]="$(nproc) cores, $(uname -sr)"
R[load_start]=$load_start
R[load_end]=$(cut -d' ' -f1-3 /proc/loadavg)
R[bench_seconds]=$(( ($(now_ns) - bench_start) / 1000000000 ))

# --- table and results ---------------------------------------------------------
source tools/bench/report.sh
write_results "$out/results.json"
write_table >"$out/table.md"
cat "$out/table.md"
