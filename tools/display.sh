# Starts Xvfb when there is no working display; sourced by the scripts that run Wine.
# Xvfb picks a free display number itself (-displayfd), so stale servers and
# lock files of other runs never get in the way.
_tessel_xvfb_pid=""
start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local fifo n
  fifo=$(mktemp -u "${TMPDIR:-/tmp}/tessel-xvfb-XXXXXX")
  mkfifo "$fifo"
  Xvfb -displayfd 9 -screen 0 1024x768x24 -nolisten tcp 9>"$fifo" >/dev/null 2>&1 &
  _tessel_xvfb_pid=$!
  if ! read -r -t 20 n <"$fifo"; then
    rm -f "$fifo"
    echo "display: could not start Xvfb" >&2
    return 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$n"
}
stop_display() {
  if [ -n "$_tessel_xvfb_pid" ]; then
    kill "$_tessel_xvfb_pid" 2>/dev/null || true
    wait "$_tessel_xvfb_pid" 2>/dev/null || true
    _tessel_xvfb_pid=""
  fi
}
