#!/usr/bin/env bash
# The install folder's access list, as the calls show it: Wine keeps no lists
# on files, so the unattended install into a new folder below C:\ runs under
# Wine's file trace, and every folder or file created with a descriptor of its
# own (NtCreateFile with "sec=" other than nil) must be one of the folders the
# setup made for the install: the install folder, and its missing parent. Its
# sub-folders and files inherit the list and carry none.
#   tests/folderlist_test.sh <build dir> <source dir>
set -u
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
[ "${TESSEL_ARCH:-i686}" = x86_64 ] && export TESSEL_WINEARCH=win64
source "$src/tests/support/check.sh"

prefix=$(kept_prefix folderlist "$src" cmd.exe /c exit 0) || exit 1
trace=$(mktemp)
cleanup() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
  rm -rf "$prefix" "$trace"
}
trap cleanup EXIT
c=$prefix/drive_c
cp "$build/setup/setup.exe" "$c/"

# Into a file, not a pipe (see platform notes: Wine's desktop process can keep a pipe open).
(cd "$c" && WINEDEBUG=trace+file TESSEL_SHARED_PREFIX=1 WINEPREFIX=$prefix \
   timeout 120 "$src/tools/wine-run.sh" 'C:\setup.exe' /S 'C:\BuildTools\Tessel' >"$trace" 2>&1)
check "the unattended install finished" test -f "$c/BuildTools/Tessel/unqmv.exe"
# The names created with a descriptor of their own, once each.
created=$(grep 'NtCreateFile' "$trace" | grep -v 'sec=(nil)' | grep -E 'disp=(2|3)\b' |
          sed -n 's/.*name=L"\\\\??\\\\\([^"]*\)".*/\1/p' | sort -u)
echo "created with a descriptor:" $created
check "the install folder gets the list" grep -qx 'C:\\\\BuildTools\\\\Tessel' <<<"$created"
check "nothing else gets one" test -z "$(grep -vx -e 'C:\\\\BuildTools\\\\Tessel' -e 'C:\\\\BuildTools' <<<"$created")"
check "its files were written" grep -q 'name=L"\\\\??\\\\C:\\\\BuildTools\\\\Tessel\\\\Source\\\\' "$trace"
checks_done folderlist
