#!/usr/bin/env bash
# Runs one Windows program under Wine in a throwaway prefix of its own.
#
# The prefix is a copy of a template prefix that is made once per build
# tree (wineboot takes seconds, a copy a fraction of that). The program's
# wineserver is stopped and the prefix deleted when the program ends, so
# test programs never share registry or files and never touch ~/.wine.
# Wine's debugger is off in the template (tools/wine-prefix.sh): a program
# that crashes ends at once, with exit code 5.
#
# In a 64-bit prefix the 64-bit loader is called directly (Debian's `wine` and
# `wineboot` pick the 32-bit loader whenever it is installed, and that loader
# cannot start at all on a host without 32-bit support); it starts 32-bit
# programs through the 32-bit loader where the host has one.
#
#   --arch=win64          first argument: as TESSEL_WINEARCH=win64 (the x86-64 toolchain's emulator)
#   TESSEL_WINE_TEMPLATE  template prefix base; "-<arch>" is appended (default: $TMPDIR/tessel-wine-template-$UID)
#   TESSEL_WINEARCH       win32 (default) or win64
#   TESSEL_KEEP_PREFIX    set to 1 to keep the prefix and print its path
#   WINEPREFIX            when set and TESSEL_SHARED_PREFIX=1, that prefix is used as it is
set -u

arch=${TESSEL_WINEARCH:-win32}
case ${1:-} in --arch=*) arch=${1#--arch=}; shift ;; esac
if [ "$arch" = win64 ]; then
  loader=${TESSEL_WINE64_LOADER:-/usr/lib/wine/wine64}
else
  loader=${TESSEL_WINE32_LOADER:-/usr/lib/wine/wine}
fi
export WINELOADER=$loader
wine() { "$loader" "$@"; }
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEARCH=$arch
tmp=${TMPDIR:-/tmp}
template=${TESSEL_WINE_TEMPLATE:-$tmp/tessel-wine-template-$(id -u)}-$arch

source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
# Make the template once; concurrent callers wait on the lock. One made
# before the debugger was turned off in every prefix is made again.
make_template() {
  exec 9>"$template.lock"
  flock 9
  if ! wine_prefix_made "$template"; then
    rm -rf "$template"
    wine_prefix_make "$template" || { rm -rf "$template"; exit 1; }
    touch "$template/.ready"  # what older copies of this script look for
  fi
  flock -u 9
  exec 9>&-
}

# A display for Wine's window station; GUI programs need one.
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run: no DISPLAY; start Xvfb (tools/run-tests.sh does)" >&2
fi

if [ "${TESSEL_SHARED_PREFIX:-0}" = 1 ] && [ -n "${WINEPREFIX:-}" ]; then
  wine "$@"
  exit $?
fi

make_template
prefix=$(mktemp -d "$tmp/tessel-wine-XXXXXX")
# The large system-DLL folders are hard-linked: Wine only reads them, and
# anything a program writes there is a new file of the copy. The registry
# and the rest are copied.
(cd "$template" && find . -mindepth 1 -maxdepth 1 ! -name drive_c -exec cp -a {} "$prefix/" \;)
mkdir -p "$prefix/drive_c"
for d in "$template"/drive_c/*; do
  case "$d" in
    */windows) mkdir -p "$prefix/drive_c/windows"
               for w in "$d"/*; do
                 case "$w" in
                   */system32|*/syswow64|*/winsxs) cp -al "$w" "$prefix/drive_c/windows/" ;;
                   *) cp -a "$w" "$prefix/drive_c/windows/" ;;
                 esac
               done ;;
    *) cp -a "$d" "$prefix/drive_c/" ;;
  esac
done
rm -f "$prefix/.ready"
export WINEPREFIX=$prefix
wine "$@"
rc=$?
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
if [ "${TESSEL_KEEP_PREFIX:-0}" = 1 ]; then
  echo "wine-run: prefix kept at $prefix" >&2
else
  rm -rf "$prefix"
fi
exit $rc
