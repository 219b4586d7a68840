#!/usr/bin/env bash
# A crashing program ends at once in the prefixes tools/wine-run.sh makes. With
# Wine's debugger on, winedbg opens its crash dialog on the display and waits
# for ever: every crash would cost a test its whole time limit and hang a
# script. tests/crasher writes through a null pointer; it must end with a
# non-zero exit code and Wine's report of the crash well within a generous time
# limit, and leave no debugger behind. The 32-bit tree's crasher also runs in a
# 64-bit prefix, as the shipped programs do in tests/faults_win64_test.sh (a
# setting of its own there, in the 32-bit view of the registry).
#   tests/crash_test.sh <build dir> <source dir>   (TESSEL_ARCH from CTest)
set -u
build=$1
src=$2
source "$src/tools/display.sh"
# Without a display winedbg writes its report and quits: the test needs one.
start_display || exit 1
source "$src/tests/support/check.sh"
source "$src/tools/wine-prefix.sh"
work=$(mktemp -d)
end_prefixes() {  # below $work, with whatever still runs in them
  local p
  for p in "$work"/tessel-wine-*; do
    # Wine keeps its server's socket below TMPDIR.
    [ -d "$p" ] && TMPDIR=$work WINEPREFIX=$p wineserver -k >/dev/null 2>&1
    rm -rf "$p"
  done
}
trap 'end_prefixes; rm -rf "$work"; stop_display' EXIT
template=${TESSEL_WINE_TEMPLATE:-${TMPDIR:-/tmp}/tessel-wine-template-$(id -u)}
crasher=$build/tests/crasher.exe

debuggers() {  # of the prefixes below $work
  local p
  for p in /proc/[0-9]*; do
    case $(cat "$p/comm" 2>/dev/null) in winedbg*) ;; *) continue ;; esac
    tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -q "^WINEPREFIX=$work/" && echo "${p#/proc/}"
  done
}

crashes() {  # Wine architecture
  local arch=$1 rc=0 t0 secs left
  # The template is made first, so that its making does not count.
  wine_prefix_made "$template-$arch" || "$src/tools/wine-run.sh" --arch="$arch" cmd.exe /c exit 0 >/dev/null 2>&1
  t0=$(date +%s)
  # The prefix goes below $work, where the debugger is looked for; output into
  # a file (Wine's desktop process may keep a pipe open). At the time limit only
  # wine-run.sh is ended: a debugger that waits is still there to be found.
  TESSEL_WINE_TEMPLATE=$template TMPDIR=$work timeout --foreground 60 \
    "$src/tools/wine-run.sh" --arch="$arch" "$crasher" >"$work/$arch.out" 2>&1 || rc=$?
  secs=$(($(date +%s) - t0))
  left=$(debuggers)
  check "$arch: the crash ends the program with a non-zero exit code (got $rc)" test "$rc" != 0 -a "$rc" != 124
  check "$arch: well before the time limit of 60 s (took $secs s)" test "$secs" -lt 30
  check "$arch: Wine reports the crash" grep -q '^wine: Unhandled' "$work/$arch.out"
  check "$arch: no debugger left running (${left//$'\n'/ })" test -z "$left"
  end_prefixes
}

if [ "${TESSEL_ARCH:-i686}" = x86_64 ]; then
  crashes win64
else
  crashes win32
  crashes win64
fi
checks_done crash
