#!/usr/bin/env bash
# The whole install and uninstall round trip in a 64-bit Wine prefix. The setup
# is a 32-bit program there: its registry writes below HKEY_LOCAL_MACHINE\Software
# go to WOW6432Node and its system-folder writes to syswow64, as on 64-bit
# Windows; the stand-in IDEs are laid out by a 32-bit program as well, so they
# are registered where 32-bit IDEs register themselves. Registry exports and
# file listings are compared before the install, after it and after the
# uninstall.
#
#   tests/faults_win64_test.sh <build dir> <source dir>
set -u
build=$1
src=$2
if [ "${TESSEL_ARCH:-i686}" != i686 ]; then
  echo "SKIPPED: runs the shipped 32-bit programs in a 64-bit prefix; this route's Wine runs 64-bit programs only"
  exit 77
fi
source "$src/tools/display.sh"
start_display
source "$src/tests/support/check.sh"

export TESSEL_WINEARCH=win64
prefix=$(kept_prefix faults_win64 "$src" "$build/standin/mkmachine.exe" 9 29) || exit 1
work=$(mktemp -d)
cleanup() {
  WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
  rm -rf "$prefix" "$work"
  stop_display
}
trap cleanup EXIT
run() { TESSEL_SHARED_PREFIX=1 WINEPREFIX=$prefix "$src/tools/wine-run.sh" "$@"; }
c=$prefix/drive_c

check "the prefix is a 64-bit one" grep -q '^#arch=win64' "$prefix/system.reg"

# Registry exports (64-bit regedit: it sees the 32-bit view below WOW6432Node) and
# file listings with checksums, one line each, sorted.
state() {  # file
  local out=$1 key
  : >"$out"
  for key in 'HKEY_LOCAL_MACHINE\Software\Wow6432Node' 'HKEY_LOCAL_MACHINE\Software\Veltrane' \
             'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
             'HKEY_CURRENT_USER\Software\Borland' 'HKEY_CURRENT_USER\Software\Embarcadero'; do
    rm -f "$c/export.reg"
    run regedit /E 'C:\export.reg' "$key" >/dev/null 2>&1
    [ -f "$c/export.reg" ] && iconv -f UTF-16LE -t UTF-8 "$c/export.reg" | tr -d '\r' |
      awk -v k="$key" '/^\[/{s=$0} NF{print "reg " k " " s " " $0}' >>"$out"
  done
  rm -f "$c/export.reg"
  (cd "$c" && find Tessel 'Program Files' 'Program Files (x86)' users/Public/Documents 2>/dev/null |
     grep -v -e 'calls\.log$' -e 'standin\.ini$' | sort | while IFS= read -r f; do
       if [ -f "$f" ]; then echo "file $f $(cksum <"$f" | cut -d' ' -f1)"; else echo "dir $f"; fi
     done) >>"$out"
  (cd "$c/windows" && ls -p . system32 syswow64 2>/dev/null | sed 's/^/top /') >>"$out"
  sort -o "$out" "$out"
}

# The 32-bit view's WinHelp key exists on every 64-bit Windows; Wine's new prefix lacks it.
run reg add 'HKLM\Software\Wow6432Node\Microsoft\Windows\Help' /f >/dev/null 2>&1
state "$work/before"
check "the stand-in IDEs are registered in the 32-bit view" \
  grep -q 'Wow6432Node\\Borland\\Delphi\\7.0\].*RootDir' "$work/before"

run "$build/setup/setup.exe" /S 'C:\Tessel' >/dev/null 2>&1
rc=$?
check "the unattended install runs all rows without a failure (exit code $rc)" test "$rc" = 0
state "$work/installed"
diff "$work/before" "$work/installed" | grep '^>' >"$work/added"
check "the uninstall entry is written below WOW6432Node" \
  grep -q 'Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\qvlLib\].*"UninstallString"' "$work/added"
# Wine shows the 32-bit view's uninstall key in the 64-bit view as well (one key,
# as Windows did before 7); that is the prefix's doing, not the setup's, so it
# is only reported.
if grep -q '^> reg HKEY_LOCAL_MACHINE.Software.Microsoft.Windows.CurrentVersion.Uninstall ' "$work/added"; then
  echo "note: the uninstall entry is visible in the 64-bit view too"
fi
check "the product key is written below WOW6432Node" grep -q 'Wow6432Node\\Veltrane\\Tessel library\]' "$work/added"
check "the run-time package goes to the 32-bit system folder" bash -c "ls '$c/windows/syswow64' | grep -qix qvl70.bpl"
check "the 64-bit system folder is untouched" bash -c "! ls '$c/windows/system32' | grep -qix qvl70.bpl"
check "the IDE settings name the install folder" grep -q 'Known Packages\].*C:\\\\Tessel\\\\Delphi7\\\\dclqvl70.bpl' "$work/added"

cat >"$work/uninstall.txt" <<'CMDS'
uninstall
dialog Uninstall for
press 1000
exit 60
CMDS
run "$build/tools/guidriver/guidriver.exe" 'Z:'"$work"'/uninstall.txt' >/dev/null 2>&1
check "the uninstaller ran from the uninstall entry" test $? -eq 0
# The uninstaller stays in the install folder by design.
rm -f "$c/Tessel/unqmv.exe"
rmdir "$c/Tessel" 2>/dev/null
state "$work/after"
# What stays by design: the run-time packages copied to shared folders, the help
# index caches the install deleted, the merged lines of the keyword alias files.
diff "$work/before" "$work/after" | grep '^[<>]' |
  grep -v -i -e '^> file .*\.bpl ' -e '^> top .*\.bpl$' -e '^< file .*\.gid ' -e '\.als ' >"$work/left"
if [ -s "$work/left" ]; then head -20 "$work/left" >&2; fi
check "the uninstall leaves the machine as it was" test ! -s "$work/left"

checks_done faults_win64
