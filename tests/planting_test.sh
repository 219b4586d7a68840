#!/usr/bin/env bash
# DLL planting: a version.dll that leaves a marker when loaded is planted beside
# setup.exe and unqmv.exe and in the current folder, and Wine is told to prefer
# it over its own (as Windows prefers a DLL in the program's folder that is not
# a KnownDLL). No run of either program may load it: the extract (/X), the
# unattended install (/S), the wizard, the silent uninstall and the uninstall
# dialog. The programs run from this tree, in a 64-bit prefix on the x86-64
# route.
#   tests/planting_test.sh <build dir> <source dir>
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
[ "${TESSEL_ARCH:-i686}" = x86_64 ] && export TESSEL_WINEARCH=win64
source "$src/tools/display.sh"
start_display
source "$src/tests/support/check.sh"

prefix=$(kept_prefix planting "$src" cmd.exe /c exit 0) || exit 1
# One Wine session for all runs: each new session would start the prefix's
# services again, which costs far more than the runs themselves.
WINEPREFIX=$prefix wineserver -p
cleanup() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
  rm -rf "$prefix"
  stop_display
}
trap cleanup EXIT
c=$prefix/drive_c
mkdir -p "$c/Downloads" "$c/Work"
cp "$build/setup/setup.exe" "$build/uninstaller/unqmv.exe" "$c/Downloads/"
for d in Downloads Work; do cp "$build/tests/version.dll" "$c/$d/"; done

# run <seconds> <program> [arguments]: from C:\Work (a planted current folder),
# preferring the planted DLL; a program still running after <seconds> (a
# window waiting for the user) is ended.
run() {
  local secs=$1
  shift
  (cd "$c/Work" && WINEDLLOVERRIDES='version=n,b;mscoree,mshtml=' TESSEL_SHARED_PREFIX=1 WINEPREFIX=$prefix \
     timeout "$secs" "$src/tools/wine-run.sh" "$@" >/dev/null 2>&1)
}
markers() { cat "$c/planted-loaded.txt" 2>/dev/null; }
not_loaded() {  # what
  local m
  m=$(markers)
  rm -f "$c/planted-loaded.txt"
  [ -z "$m" ] || { echo "  $1 loaded: $(tr -d '\r' <<<"$m" | sort -u | tr '\n' ';')" >&2; return 1; }
}

run 20 'C:\Downloads\setup.exe' /X
check "the extract ran" test -f "$c/Work/License.txt"
check "setup /X" not_loaded "setup /X"
run 60 'C:\Downloads\setup.exe' /S 'C:\Tessel'
check "the unattended install finished" test -f "$c/Tessel/unqmv.exe"
check "setup /S" not_loaded "setup /S"
# The windows that wait for the user, side by side: the wizard, the uninstall
# dialog as the uninstall entry starts it (a DLL planted in the install folder
# too), and the uninstaller's message box for a missing log.
cp "$build/tests/version.dll" "$c/Tessel/"
pids=()
run 6 'C:\Downloads\setup.exe' & pids+=($!)
run 6 'C:\Tessel\unqmv.exe' 'C:\Tessel\uninst.log' & pids+=($!)
run 6 'C:\Downloads\unqmv.exe' & pids+=($!)
wait "${pids[@]}"
check "the wizard and the uninstaller's dialog and message box" not_loaded "the windows"
run 60 'C:\Tessel\unqmv.exe' /S 'C:\Tessel\uninst.log'
check "the silent uninstall ran" test ! -e "$c/Tessel/uninst.log"
check "unqmv /S" not_loaded "unqmv /S"
checks_done planting
