#!/usr/bin/env bash
# Smoke test of the shipped 32-bit programs for hosts whose Wine cannot run
# 32-bit programs (the win64 route of tools/wine-route.sh), where the suite runs
# the x86-64 build. Here Wine's 32-bit loader runs under user-mode emulation
# (qemu-i386), it and every process it starts, in one 32-bit prefix. Emulated,
# a crash can end with exit code 0, so every check looks for what the program
# shows or writes, never at its exit code:
#   - the wizard shows its first page, and closes on Cancel and Yes;
#   - "setup.exe /?" shows its message box;
#   - unqmv.exe with a real undo log shows its dialog, and closes on Cancel;
#   - "setup.exe /X" in an empty folder writes the tree that a native run
#     writes (the suite checks that one against the payload file by file): of
#     this build on a host that runs 32-bit programs, else of the x86-64 build
#     (build-x64; tests/shipped_test.sh holds its payload to this one's).
# The programs run side by side. 4 to 5 minutes on 2 cores: the prefix about
# 2, the first start of the programs' session 2 more. .ci/run runs it after the
# suite on the win64 route.
#   tests/emulated_smoke.sh [32-bit build dir]   (default build)
#   TESSEL_SMOKE_LIMIT      seconds the programs get to show their windows and
#                           finish the extract (default 300)
#   TESSEL_SMOKE_REFERENCE  the x86-64 tree of the native extract (default build-x64)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd) || exit 1
limit=${TESSEL_SMOKE_LIMIT:-300}
start=$SECONDS
say() { echo "emulated-smoke: $*" >&2; }
for f in setup/setup.exe uninstaller/unqmv.exe; do
  [ -f "$build/$f" ] || { say "no $build/$f; build the release preset first"; exit 1; }
done
command -v qemu-i386 >/dev/null || { say "no qemu-i386 (Debian's qemu-user; tools/bootstrap.sh installs it on the win64 route)"; exit 1; }
source "$root/tools/display.sh"
start_display || exit 1
source "$root/tests/support/check.sh"
source "$root/tools/wine-prefix.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-smoke-XXXXXX")
export WINEARCH=win32 WINEPREFIX=$work/prefix WINELOADER=$work/wine32-emulated
export WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
# The loader would start itself again natively; a program it starts goes
# through WINELOADER, so it is emulated as well.
printf '#!/bin/sh\nWINELOADERNOEXEC=1 exec qemu-i386 /usr/lib/wine/wine "$@"\n' >"$WINELOADER"
chmod +x "$WINELOADER"
native_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "$native_pid" ] && wait "$native_pid" 2>/dev/null
  rm -rf "$work"
  stop_display
}
trap cleanup EXIT

# The native extract, meanwhile, in a prefix of its own (tools/wine-run.sh
# sets its own loader and prefix).
ref_arch=win32
ref_setup=$build/setup/setup.exe
if [ "$("$root/tools/wine-route.sh" -q)" = win64 ]; then
  ref_arch=win64
  ref_setup=${TESSEL_SMOKE_REFERENCE:-$root/build-x64}/setup/setup.exe
fi
mkdir -p "$work/native"
(cd "$work/native" && exec "$root/tools/wine-run.sh" --arch=$ref_arch "$ref_setup" /X) >"$work/native.log" 2>&1 &
native_pid=$!
winpath() { echo "Z:$1" | sed 's|/|\\|g'; }

say "making a 32-bit prefix under emulation"
if ! wine_prefix_make "$WINEPREFIX" 300; then
  echo "emulated-smoke: 0 passed, 1 failed"
  exit 1
fi
say "prefix made after $((SECONDS - start)) s"
# One session for all programs: each new one would start the prefix's
# services again, emulated.
wineserver -p

# Windows: what to look for, by the title that the program itself sets.
declare -A title=([wizard]='^Installation Wizard for ' [help]='^Parameters description$' [uninstaller]='^Uninstall for ')
declare -A pid=() win=()
cp "$root/fuzz/corpus/real-delphi3-delphi7.log" "$work/uninst.log"
mkdir -p "$work/x"
launch() {  # name, program, arguments...: output into a file (Wine's desktop process may keep a pipe open)
  local name=$1
  shift
  "$WINELOADER" "$@" >"$work/$name.log" 2>&1 &
  pid[$name]=$!
}
launch wizard "$build/setup/setup.exe"
launch help "$build/setup/setup.exe" /?
launch uninstaller "$build/uninstaller/unqmv.exe" "$(winpath "$work/uninst.log")"
(cd "$work/x" && exec "$WINELOADER" "$build/setup/setup.exe" /X) >"$work/extract.log" 2>&1 &
pid[extract]=$!

running() { kill -0 "${pid[$1]}" 2>/dev/null; }
ended() { ! running "$1"; }
find_window() { xdotool search --name "${title[$1]}" 2>/dev/null | head -n 1; }
# Until every window is seen (or its program has ended without it) and the
# extract is over.
deadline=$((SECONDS + limit))
while [ $SECONDS -lt $deadline ]; do
  waiting=0
  for name in wizard help uninstaller; do
    [ -n "${win[$name]:-}" ] && continue
    win[$name]=$(find_window "$name")
    if [ -n "${win[$name]}" ]; then
      say "$name window after $((SECONDS - start)) s"
    elif running "$name"; then
      waiting=1
    fi
  done
  running extract && waiting=1
  [ $waiting = 0 ] && break
  sleep 1
done
running extract || say "extract over after $((SECONDS - start)) s"

key() {  # window, key
  # Wine gives keys to its foreground window, whichever X window has the focus;
  # a click into the window (raised first: they overlap) makes it the foreground.
  timeout 20 xdotool windowraise "$1" mousemove --window "$1" 5 5 click 1 sleep 0.5 key "$2" >/dev/null 2>&1
}
# press_until <seconds> <window> <key> <command...>: presses the key in the
# window, again every 10 s, until the command succeeds: a window that has only
# just appeared may not take keys yet.
press_until() {
  local until=$((SECONDS + $1)) w=$2 k=$3 next=0
  shift 3
  while [ $SECONDS -lt $until ]; do
    if [ $SECONDS -ge $next ]; then
      key "$w" "$k"
      next=$((SECONDS + 10))
    fi
    "$@" && return 0
    sleep 1
  done
  return 1
}
question() { xdotool search --name '^Install$' 2>/dev/null | head -n 1; }
asks() { [ -n "$(question)" ]; }
closed() { [ -z "$(find_window "$1")" ] && ended "$1"; }

check "the wizard shows its first page" test -n "${win[wizard]}"
if [ -n "${win[wizard]}" ]; then
  check "the wizard asks whether to cancel the install" press_until 90 "${win[wizard]}" Escape asks
  asks && check "the wizard closes on Yes" press_until 90 "$(question)" Return closed wizard
fi
check "setup.exe /? shows its message box" test -n "${win[help]}"
[ -n "${win[help]}" ] && key "${win[help]}" Return
check "unqmv.exe shows its dialog for an undo log" test -n "${win[uninstaller]}"
[ -n "${win[uninstaller]}" ] && check "the uninstaller's dialog closes on Cancel" \
  press_until 90 "${win[uninstaller]}" Escape closed uninstaller

check "setup.exe /X ended within $limit s" ended extract
wait "$native_pid"
files=$(find "$work/native" -type f | wc -l)
check "the native extract with $ref_setup wrote files ($files)" test "$files" -gt 0
same_tree() { diff -r "$work/native" "$work/x" >"$work/tree.diff" 2>&1 || { head -n 5 "$work/tree.diff" >&2; false; }; }
check "setup.exe /X wrote the same tree ($(find "$work/x" -type f | wc -l) files)" same_tree

rc=0
checks_done emulated-smoke || rc=1
if [ $rc != 0 ]; then
  for name in wizard help uninstaller extract; do
    grep -h -m 3 -e 'Unhandled' -e 'unexpected trap' -e 'illegal instruction' "$work/$name.log" 2>/dev/null | sed "s/^/  $name: /" >&2
  done
fi
say "took $((SECONDS - start)) s"
exit $rc
