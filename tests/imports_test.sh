#!/usr/bin/env bash
# The shipped programs are PE32 i386 GUI programs that import only Windows
# system DLLs; in the x86-64 tree (hosts without 32-bit Wine) its own programs
# are PE32+ x86-64 and are held to the same imports.
#   tests/imports_test.sh <build dir> <source dir>   (TESSEL_ARCH, TESSEL_BUILD32_DIR from CTest)
set -u
build=$1
build32=${TESSEL_BUILD32_DIR:-$build}
fail=0
checked=0
# Only KnownDLLs, which Windows always takes from the system folder: an
# import of any other DLL is looked for beside the program first, where a
# planted copy would run as administrator before the program's first line.
# And only the ones every mode needs: the window libraries (user32, gdi32,
# comctl32, shell32, ole32) are loaded at their first call, after the program has limited
# the DLL search to the system folder, so the modes without a window
# (/X, /S, the silent uninstall) never pay for loading them.
allowed='^(KERNEL32|ADVAPI32|msvcrt)\.dll$'
trees="$build32 pei-i386"
[ "${TESSEL_ARCH:-i686}" = x86_64 ] && trees+=$'\n'"$build pei-x86-64"
while read -r tree format; do
  for exe in "$tree/setup/setup.exe" "$tree/uninstaller/unqmv.exe"; do
    checked=$((checked + 1))
    info=$(x86_64-w64-mingw32-objdump -f -p "$exe" 2>/dev/null || i686-w64-mingw32-objdump -f -p "$exe") ||
      { echo "cannot read $exe"; fail=1; continue; }
    grep -q "file format $format\$" <<<"$info" || { echo "$exe: not $format"; fail=1; }
    grep -q 'Subsystem.*00000002' <<<"$info" || { echo "$exe: not a GUI program"; fail=1; }
    while read -r dll; do
      if ! grep -Eiq "$allowed" <<<"$dll"; then echo "$exe imports $dll"; fail=1; fi
    done < <(sed -n 's/.*DLL Name: //p' <<<"$info")
  done
done <<<"$trees"
[ $fail = 0 ] && echo "imports: $checked passed, 0 failed"
exit $fail
