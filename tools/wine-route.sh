#!/usr/bin/env bash
# Decides how this host runs the project's Windows programs under Wine, by
# starting a Windows program, and prints one line on stderr saying which way
# and why; the route ("win32" or "win64") goes to stdout.
#
#   win32  the host runs 32-bit Windows programs: 32-bit build, 32-bit prefixes
#   win64  it cannot (no 32-bit support in the kernel, say): x86-64 build of the
#          same sources, 64-bit prefixes, the 64-bit loader called directly
#
#   TESSEL_WINE_ROUTE     auto (default), win32 or win64 to force a route
#   TESSEL_WINE32_LOADER  32-bit loader (default /usr/lib/wine/wine)
#   TESSEL_WINE64_LOADER  64-bit loader (default /usr/lib/wine/wine64)
#   -q                    no line on stderr
#
# Exit status: 0 with a route; 2 for an unknown TESSEL_WINE_ROUTE; 3 when no
# Wine on this host can start a Windows program. A result is kept per boot and
# loader in $TMPDIR, so only the first call of a boot pays a prefix's start-up.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
quiet=0
[ "${1:-}" = -q ] && quiet=1
say() { [ $quiet = 1 ] || echo "wine-route: $*" >&2; }

loader32=${TESSEL_WINE32_LOADER:-/usr/lib/wine/wine}
loader64=${TESSEL_WINE64_LOADER:-/usr/lib/wine/wine64}
cache=${TMPDIR:-/tmp}/tessel-wine-route-$(id -u)
boot=$(cat /proc/sys/kernel/random/boot_id 2>/dev/null || echo unknown)

# starts <loader> <arch>: 0 when the loader makes a new prefix of that kind
# and starts cmd.exe in it, and the program's exit code comes back; else the
# reason on stdout.
starts() {
  local loader=$1 arch=$2 key out rc why prefix keep=yes
  key=$(echo "$boot $arch $loader $(stat -Lc '%i %Y' "$loader" 2>/dev/null)" | cksum | cut -d' ' -f1)
  if [ -f "$cache/$key" ]; then
    out=$(cat "$cache/$key")
    [ "$out" = ok ] && return 0
    echo "$out"
    return 1
  fi
  if [ ! -x "$loader" ]; then
    out="$loader is not installed"
  elif ! out=$("$loader" --version 2>&1); then
    out="$loader does not start: $(tail -n 1 <<<"$out" | sed 's/^.*: //')"
  else
    prefix=$(mktemp -d "${TMPDIR:-/tmp}/tessel-probe-XXXXXX")
    # Output into a file: Wine's desktop process may keep a pipe open.
    if WINEARCH=$arch WINELOADER=$loader WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
         wine_prefix_make "$prefix" 180 2>"$prefix.log"; then
      WINEPREFIX=$prefix WINEARCH=$arch WINELOADER=$loader WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        timeout 180 "$loader" cmd.exe /c exit 42 >"$prefix.log" 2>&1
      rc=$?
      WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
      WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1
      why="$arch cmd.exe under $loader ended with exit code $rc ($(grep -v '^$' "$prefix.log" | tail -n 1))"
    else
      rc=prefix
      why="$arch $(tail -n 1 "$prefix.log" | sed 's/^wine-prefix: //')"
    fi
    if [ "$rc" = 42 ]; then
      out=ok
    else
      out=$why
      # A program that started but did not end well may have met a passing
      # hiccup (a busy machine, the time limit): try again next time.
      keep=no
    fi
    rm -rf "$prefix" "$prefix.log"
  fi
  [ "$keep" = no ] || { mkdir -p "$cache" && echo "$out" >"$cache/$key"; }
  [ "$out" = ok ] && return 0
  echo "$out"
  return 1
}

# Errors are printed with -q as well.
no_wine() {
  echo "wine-route: no Wine on this host can start a Windows program: $*" >&2
  echo "wine-route: tools/bootstrap.sh installs wine32:i386 and wine64; a 64-bit host needs at least wine64" >&2
  exit 3
}

case ${TESSEL_WINE_ROUTE:-auto} in
  win32)
    why=$(starts "$loader32" win32) || no_wine "$why (TESSEL_WINE_ROUTE=win32)"
    say "win32 (forced by TESSEL_WINE_ROUTE=win32)"
    echo win32 ;;
  win64)
    why=$(starts "$loader64" win64) || no_wine "$why (TESSEL_WINE_ROUTE=win64)"
    say "win64 (forced by TESSEL_WINE_ROUTE=win64)"
    echo win64 ;;
  auto)
    if why32=$(starts "$loader32" win32); then
      say "win32 (a 32-bit Windows program started under $loader32)"
      echo win32
    elif why64=$(starts "$loader64" win64); then
      say "win64 (no 32-bit Windows program can run here: $why32; 64-bit Wine works)"
      echo win64
    else
      no_wine "32-bit: $why32; 64-bit: $why64"
    fi ;;
  *)
    echo "wine-route: TESSEL_WINE_ROUTE must be auto, win32 or win64, not '${TESSEL_WINE_ROUTE}'" >&2
    exit 2 ;;
esac
