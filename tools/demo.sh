#!/usr/bin/env bash
# The main job: sets everything up, builds both programs, lays out a stand-in
# machine with Delphi 7 and RAD Studio 12 in a throwaway Wine prefix and runs
# the setup wizard on it.
#
# Without a display (or with TESSEL_DEMO_HEADLESS=1) the wizard is walked on
# Xvfb by guidriver.exe from start to finish, then the uninstaller is run from
# the Windows uninstall entry; a PNG screenshot of every page goes into
# docs/screenshots/. With a display the wizard opens for you to use.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

#
# On a host without 32-bit Wine (tools/wine-route.sh) the x86-64 build of the
# same sources runs in a 64-bit prefix.

# TESSEL_BUILD_TREE: an already built tree (of this host's route) to use instead of setting up and building.
source tools/wine-env.sh
if [ -n "${TESSEL_BUILD_TREE:-}" ]; then
  wine_route_setup "$root"
  build=$(cd "$TESSEL_BUILD_TREE" && pwd)
else
  tools/bootstrap.sh
  wine_route_setup "$root"
  wine_build_trees
  build=$wine_build
fi
source tools/display.sh
headless=${TESSEL_DEMO_HEADLESS:-0}
if [ "$headless" != 1 ] && ! { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }; then headless=1; fi
# The walk runs on the display there is (TESSEL_DEMO_HEADLESS=1 with a display), else on Xvfb.
if [ "$headless" = 1 ]; then start_display; fi

work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-demo-XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  rm -rf "$work"
  stop_display
}
trap cleanup EXIT

# step <what> <program> [arguments]: runs a Windows program. A crash (Wine's
# "Unhandled ..." line, or exit code 5: the prefix's debugger is off, so a
# crashing program ends at once) or any other failure ends the demo here, saying
# which step it was.
step() {
  local what=$1 rc=0
  shift
  wine "$@" 2>"$work/stderr" || rc=$?
  if [ $rc = 5 ] || grep -q '^wine: Unhandled' "$work/stderr"; then
    echo "demo: STOPPED: $what: a program crashed (exit code $rc)" >&2
    grep '^wine: Unhandled' "$work/stderr" | head -n 3 | sed 's/^/demo:   /' >&2
    exit 1
  fi
  cat "$work/stderr" >&2
  if [ $rc != 0 ]; then
    echo "demo: STOPPED: $what failed (exit code $rc)" >&2
    exit 1
  fi
}

echo "demo: preparing a $WINEARCH Wine prefix"
source tools/wine-prefix.sh
wine_prefix_make "$WINEPREFIX"
# Wine's own Tahoma, MS Sans Serif and Marlett (the caption buttons) come with
# fonts-wine, in a folder that this Wine does not search; the prefix's font
# folder is searched.
ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || echo "demo: no fonts-wine; the captions lack their buttons" >&2
if [ "$headless" = 1 ]; then
  # Xvfb has no window manager; a virtual desktop draws the frames and captions.
  step "the desktop setting" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
  step "the desktop setting" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null
  wineserver -w  # the desktop is chosen when the next session starts
fi

echo "demo: stand-in machine with Delphi 7 and RAD Studio 12"
step "the stand-in machine" "$build/standin/mkmachine.exe" Delphi7 RADStudio23

winpath() { echo "Z:$1" | sed 's|/|\\|g'; }
setup=$(winpath "$build/setup/setup.exe")

if [ "$headless" != 1 ]; then
  echo "demo: the wizard is open; close it or finish the install to end the demo"
  step "the wizard" "$build/setup/setup.exe"
  wineserver -w
  exit 0
fi

shots="$root/docs/screenshots"
mkdir -p "$shots"
raw="$work/shots"
mkdir -p "$raw"
# RAD Studio 12's compilers take a moment each, so the progress page can be caught.
step "the stand-in machine" "$build/standin/mkmachine.exe" --mode=slow:1500 RADStudio23 >/dev/null
r=$(winpath "$raw")
cat > "$work/walk.txt" <<WALK
start $setup
dialog Installation Wizard for
text 256
shot $r\\1-welcome.bmp
press 1000
expect 256 Which versions of Delphi and/or CBuilder will you be installing Tessel library to ?
list 1013
shot $r\\2-ide-selection.bmp
press 1000
expect 256 Setup will install Tessel library into following folder, click Browse, and select another folder.\n\nYou can choose not to install Tessel library by clicking Cancel to exit Setup.
text 1010
shot $r\\3-folder.bmp
press 1000
expect 1000 Start
shot $r\\4-ready.bmp
press 1000
expect 256 Performing install of the Tessel library v4.09 on you computer.\n\nPlease wait...
shot $r\\5-progress.bmp
expect 2 Finish
shot $r\\6-finish.bmp
press 2
exit 60
uninstall
dialog Uninstall for
shot $r\\7-uninstall.bmp
press 1000
exit 120
WALK

echo "demo: walking the wizard"
step "the wizard walk" "$build/tools/guidriver/guidriver.exe" "$(winpath "$work/walk.txt")"
for f in "$raw"/*.bmp; do
  convert "$f" "$shots/$(basename "${f%.bmp}").png"
done
echo "demo: screenshots in docs/screenshots:"
ls "$shots"
