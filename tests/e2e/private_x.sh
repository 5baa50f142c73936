# Shared by the scripts that run the real program: sourced, not run.

# Stops a process of ours: up to 3 s to go quietly, then for good.
stop() {
  local pid=$1
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# Starts a private X server of screen size $1 (such as 1600x1200) on the first free display
# from a random place in 20..99 on, logging to $2. Sets DISPLAY and xvfb_pid; returns 1 when
# no display was free. Other tests may start servers of their own at the same moment, so a
# display counts as ours only when its lock file names our server.
start_private_x() {
  local size=$1 log=$2 offset n i
  offset=$((RANDOM % 80))
  for i in $(seq 0 79); do
    n=$((20 + (offset + i) % 80))
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >"$log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      if xdpyinfo -display ":$n" >/dev/null 2>&1 &&
        [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$xvfb_pid" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    stop "$xvfb_pid"
    xvfb_pid=""
  done
  return 1
}
