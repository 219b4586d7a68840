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
build=$1
src=$2
[ "${TESSEL_ARCH:-i686}" = x86_64 ] && export TESSEL_WINEARCH=win64
source "$src/tools/display.sh"
start_display
source "$src/tests/support/check.sh"

prefix=$(TESSEL_KEEP_PREFIX=1 "$src/tools/wine-run.sh" cmd.exe /c exit 0 2>&1 >/dev/null |
         sed -n 's/^wine-run: prefix kept at //p')
if [ ! -d "$prefix" ]; then
  echo "planting: cannot make a prefix" >&2
  echo "planting: 0 passed, 1 failed"
  exit 1
fi
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

# The planted DLL itself works: a program that imports VERSION loads it.
run 20 rundll32.exe 'C:\Work\version.dll,VerQueryValueW'
check "the planted DLL leaves its marker when loaded" test -n "$(markers)"
rm -f "$c/planted-loaded.txt"

run 20 'C:\Downloads\setup.exe' /X
check "setup /X" not_loaded "setup /X"
run 60 'C:\Downloads\setup.exe' /S 'C:\Tessel'
check "the unattended install finished" test -f "$c/Tessel/unqmv.exe"
check "setup /S" not_loaded "setup /S"
run 6 'C:\Downloads\setup.exe'
check "the wizard" not_loaded "the wizard"
# The uninstaller as the uninstall entry starts it, with a DLL planted in the
# install folder; and the copy in Downloads with the same log.
cp "$build/tests/version.dll" "$c/Tessel/"
cp "$c/Tessel/uninst.log" "$c/Work/uninst.log" 2>/dev/null
run 6 'C:\Downloads\unqmv.exe' 'C:\Work\uninst.log'
check "the uninstall dialog" not_loaded "the uninstall dialog"
run 6 'C:\Downloads\unqmv.exe'
check "the uninstaller's message box" not_loaded "the uninstaller's message box"
run 60 'C:\Tessel\unqmv.exe' /S 'C:\Tessel\uninst.log'
check "unqmv /S" not_loaded "unqmv /S"
checks_done planting
