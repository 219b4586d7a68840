# Starts Xvfb when there is no display; sourced by the scripts that run Wine.
_tessel_xvfb_pid=""
start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
      _tessel_xvfb_pid=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
      done
    fi
  done
  echo "display: could not start Xvfb" >&2
  return 1
}
stop_display() {
  if [ -n "$_tessel_xvfb_pid" ]; then kill "$_tessel_xvfb_pid" 2>/dev/null || true; wait "$_tessel_xvfb_pid" 2>/dev/null || true; fi
}
