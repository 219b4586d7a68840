#!/usr/bin/env bash
# In the x86-64 tree (hosts without 32-bit Wine), the tests read and run the
# x86-64 programs; this check carries what they found over to the shipped
# 32-bit programs: every resource (dialogs, strings, version information,
# icons, the payload) is the same in both builds, byte for byte, except the
# payload's uninstaller, which in the 32-bit setup must be the 32-bit unqmv.exe.
#   tests/shipped_test.sh <build dir> <source dir>   (TESSEL_ARCH, TESSEL_BUILD32_DIR from CTest)
set -u
build=$1
src=$2
build32=${TESSEL_BUILD32_DIR:-$build}
if [ "${TESSEL_ARCH:-i686}" = i686 ]; then
  echo "SKIPPED: this tree holds the shipped 32-bit programs; the other tests check them directly"
  exit 77
fi
if [ "$(cd "$build32" && pwd)" = "$(cd "$build" && pwd)" ]; then
  # The x86-64 programs compared with themselves would pass whatever they hold.
  echo "shipped: no 32-bit tree beside this one (TESSEL_BUILD32_DIR); configure with the release-x64 preset" >&2
  echo "shipped: 0 passed, 1 failed"
  exit 1
fi
source "$src/tests/support/check.sh"
source "$src/tests/support/resources.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sums() { (cd "$1" && cksum -- * | grep -v '^[0-9]* [0-9]* QVLIB\.28\.' | sort -k3); }

for prog in setup/setup.exe uninstaller/unqmv.exe; do
  name=$(basename "$prog" .exe)
  check "$name: resources of both builds can be read" resources "$build32/$prog" "$work/$name.32"
  resources "$build/$prog" "$work/$name.64"
  check "$name: some resources" test -n "$(ls "$work/$name.32")"
  check "$name: same resources in both builds" diff <(sums "$work/$name.32") <(sums "$work/$name.64")
done
check "the 32-bit setup carries the 32-bit uninstaller" cmp "$work"/setup.32/QVLIB.28.* "$build32/uninstaller/unqmv.exe"
check "the x86-64 setup carries its own uninstaller" cmp "$work"/setup.64/QVLIB.28.* "$build/uninstaller/unqmv.exe"

checks_done shipped
