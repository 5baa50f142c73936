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

# Fails the run with `fail` after $1 seconds, so that the clean-up runs before CTest's timeout
# would kill the script. Sets watchdog_pid, which the clean-up stops.
start_watchdog() {
  local seconds=$1
  trap "fail \"gave up after $seconds s\"" USR1
  (
    sleep "$seconds" &
    trap 'kill $! 2>/dev/null; exit 0' TERM
    wait $!
    kill -USR1 $$
  ) >/dev/null 2>&1 &
  watchdog_pid=$!
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

# Starts openbox on the private display and waits until it manages the display. New windows
# take the focus and are placed where they fit; $1 is more of the configuration, as XML. Sets
# wm_pid. Needs $work and the script's fail().
start_openbox() {
  cat >"$work/openbox.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
$1
</openbox_config>
XML
  HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
    openbox --config-file "$work/openbox.xml" >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 50); do
    wmctrl -m >/dev/null 2>&1 && break
    kill -0 "$wm_pid" 2>/dev/null || fail "openbox did not start: $(cat "$work/openbox.log")"
    sleep 0.1
  done
  wmctrl -m >/dev/null 2>&1 || fail "openbox did not take over the display"
}

# Starts the program $1 on the private display, with a home and settings of its own under
# $work and nothing of the desktop it was started from. Sets app_pid.
start_program() {
  # Under the sanitizer run: libxkbcommon-x11 copies the X server's length-counted key names
  # with strndup, which strict string checks take for reading past the end. Every other check
  # stays.
  if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
  fi
  env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE \
    -u SESSION_MANAGER \
    HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
    XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    "$1" >"$work/fretloom.log" 2>&1 &
  app_pid=$!
}

# Prints the id of a shown window of the program whose title matches the extended regular
# expression $1 and which is not one of the ids after it.
find_window() {
  local pattern=$1 id
  shift
  for _ in $(seq 100); do
    for id in $(xdotool search --all --onlyvisible --pid "$app_pid" --name "$pattern" 2>/dev/null || true); do
      case " $* " in *" $id "*) ;; *) echo "$id"; return 0 ;; esac
    done
    sleep 0.1
  done
  return 1
}
