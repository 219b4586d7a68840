#!/usr/bin/env bash
# Installs every Debian package that building and testing need.
# Idempotent: when everything is present it only checks and returns.
#
# The 32-bit programs are built on every host; a host that cannot run them
# under Wine (tools/wine-route.sh decides) also gets the x86-64 cross compiler,
# with which the same sources are built and tested in 64-bit prefixes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

PKGS=(
  cmake ninja-build googletest
  g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  wine wine32:i386 wine64 fonts-wine
  xvfb x11-utils xdotool imagemagick
  clang libclang-rt-14-dev clang-tidy clang-format
  nsis hyperfine
  osslsigncode openssl
  python3 python3-yaml python3-jsonschema
)
# What the 64-bit route needs besides: the x86-64 cross compiler, and the
# emulator that runs the shipped 32-bit programs in tests/emulated_smoke.sh.
PKGS_WIN64=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 qemu-user)

install() {
  local missing=() p sudo=""
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  echo "bootstrap: installing ${missing[*]}" >&2
  # wine32 is an i386 package; it installs on hosts that cannot run it too.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  echo "bootstrap: done" >&2
}

install "${PKGS[@]}"
route=$("$here/wine-route.sh" -q) || exit $?
if [ "$route" = win64 ]; then install "${PKGS_WIN64[@]}"; fi
