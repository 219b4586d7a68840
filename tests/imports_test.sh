#!/usr/bin/env bash
# Both programs are PE32 i386 GUI programs that import only Windows system DLLs.
set -u
build=$1
fail=0
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|OLE32|COMCTL32|VERSION|msvcrt|COMDLG32)\.dll$'
for exe in "$build/setup/setup.exe" "$build/uninstaller/unqmv.exe"; do
  info=$(i686-w64-mingw32-objdump -f -p "$exe") || { echo "cannot read $exe"; fail=1; continue; }
  grep -q 'file format pei-i386' <<<"$info" || { echo "$exe: not PE32 i386"; fail=1; }
  grep -q 'Subsystem.*00000002' <<<"$info" || { echo "$exe: not a GUI program"; fail=1; }
  while read -r dll; do
    if ! grep -Eiq "$allowed" <<<"$dll"; then echo "$exe imports $dll"; fail=1; fi
  done < <(sed -n 's/.*DLL Name: //p' <<<"$info")
done
[ $fail = 0 ] && echo "imports: 2 passed, 0 failed"
exit $fail
