#!/usr/bin/env bash
# Every import slot the shipped programs call through is filled before the
# first call: the loader fills the ones an import descriptor lists, and a
# delay-loaded function's slot must hold the address of its loading thunk in
# the file. A slot that is neither holds 0, and the first call through it
# (the first window, in a 32-bit program linked with a delay library that
# left its slots empty) jumps to address 0. Reads the programs only.
#   tests/importslots_test.sh <build dir> <source dir>   (TESSEL_ARCH, TESSEL_BUILD32_DIR from CTest)
set -u
build=$1
src=$2
build32=${TESSEL_BUILD32_DIR:-$build}
source "$src/tests/support/check.sh"
trees=$build32
[ "${TESSEL_ARCH:-i686}" = x86_64 ] && [ "$(cd "$build" && pwd)" != "$(cd "$build32" && pwd)" ] && trees+=$'\n'$build
while read -r tree; do
  for prog in setup/setup.exe uninstaller/unqmv.exe standin/mkmachine.exe; do
    [ "$prog" = standin/mkmachine.exe ] && [ ! -e "$tree/$prog" ] && continue
    check "$tree/$prog calls through import slots nothing fills" \
      /usr/bin/python3 "$src/tests/support/importslots.py" "$tree/$prog"
  done
done <<<"$trees"
checks_done importslots
