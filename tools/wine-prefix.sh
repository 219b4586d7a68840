# Sourced by every script that makes a Wine prefix; the one place that does.
#
#   wine_prefix_make <dir> [seconds]
#       makes a new prefix of the kind WINEARCH names in <dir> with the loader
#       in WINELOADER (wineboot -i; each program at most <seconds> when given),
#       turns Wine's automatic debugger off and waits for the prefix's server
#       to end. 0 when the prefix is made and its registry says the debugger is
#       off; else a line on stderr and 1.
#   wine_prefix_made <dir>
#       0 when <dir> is such a prefix (or a copy of one).
#
# The debugger: a crashing program starts "winedbg --auto", which on a display
# opens its crash dialog and waits for ever, so that a test, the demo or the
# benchmark would hang until its time limit. With the debugger off the program
# ends at once with exit code 5 and Wine's "Unhandled ..." line on stderr. A
# 64-bit prefix has the setting twice: for 64-bit programs and, below
# Wow6432Node, for 32-bit ones.
wine_prefix_aedebug='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'

wine_prefix_make() {
  local dir=$1 limit=${2:-0} rc=0 what=wineboot.exe view views=("") want=1
  [ "${WINEARCH:-}" = win64 ] && views=(/reg:64 /reg:32)
  mkdir -p "$dir" || return 1
  WINEPREFIX=$dir timeout "$limit" "$WINELOADER" wineboot.exe -i >/dev/null 2>&1 || rc=$?
  for view in "${views[@]}"; do
    [ $rc = 0 ] || break
    what=reg.exe
    WINEPREFIX=$dir timeout "$limit" "$WINELOADER" reg.exe add "$wine_prefix_aedebug" \
      /v Debugger /t REG_SZ /d false /f ${view:+"$view"} >/dev/null 2>&1 || rc=$?
  done
  [ $rc = 0 ] || WINEPREFIX=$dir wineserver -k >/dev/null 2>&1
  # The registry reaches system.reg when the server ends.
  WINEPREFIX=$dir wineserver -w >/dev/null 2>&1
  if [ $rc != 0 ]; then
    echo "wine-prefix: cannot make a prefix in $dir: $what under $WINELOADER ended with exit code $rc" >&2
    return 1
  fi
  grep -qs '^#arch=win64' "$dir/system.reg" && want=2
  local got
  got=$(awk '/^\[/ { s = ($0 ~ /^\[Software\\\\(Wow6432Node\\\\)?Microsoft\\\\Windows NT\\\\CurrentVersion\\\\AeDebug\]/) }
               s && $0 == "\"Debugger\"=\"false\"" { n++ } END { print n + 0 }' "$dir/system.reg" 2>/dev/null)
  if [ "$got" != $want ]; then
    echo "wine-prefix: $dir: the debugger is off in $got of the prefix's $want registry views (WINEARCH=${WINEARCH:-unset})" >&2
    return 1
  fi
  echo "debugger off" >"$dir/.tessel-prefix"
}

wine_prefix_made() { grep -qsx 'debugger off' "$1/.tessel-prefix"; }
