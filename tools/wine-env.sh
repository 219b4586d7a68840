# Sourced by the scripts that build the programs and run them under Wine:
# asks tools/wine-route.sh which way this host goes and sets up what follows.
#
#   wine_route_setup <root>   sets wine_route (win32|win64), wine_preset (the
#                             CMake preset whose programs run), wine_build (its
#                             tree), WINEARCH and WINELOADER
#   wine_build_trees          builds build/ (the shipped 32-bit programs, on
#                             every host) and, on the 64-bit route, build-x64/
#   wine, wineboot, winepath  that route's loader, called directly
wine_route_setup() {
  local root=$1
  wine_route=$("$root/tools/wine-route.sh") || exit $?
  if [ "$wine_route" = win64 ]; then
    wine_preset=release-x64
    wine_build=$root/build-x64
    export WINEARCH=win64 WINELOADER=${TESSEL_WINE64_LOADER:-/usr/lib/wine/wine64}
  else
    wine_preset=release
    wine_build=$root/build
    export WINEARCH=win32 WINELOADER=${TESSEL_WINE32_LOADER:-/usr/lib/wine/wine}
  fi
}
wine_build_trees() {
  local p
  for p in release $([ "$wine_route" = win64 ] && echo release-x64); do
    cmake --preset "$p" >/dev/null
    cmake --build --preset "$p"
  done
}
wine() { "$WINELOADER" "$@"; }
wineboot() { "$WINELOADER" wineboot.exe "$@"; }
winepath() { "$WINELOADER" winepath.exe "$@"; }
