#!/usr/bin/env bash
# Fretloom plays out loud: the real program on a private X server, sounding through a private
# PulseAudio server into a null sink, whose monitor is recorded and listened to. Keys typed as a
# user types them write a bar into the grid; Shift+F5 plays it, and the recording must hold its
# notes at their pitches and times. Then F5 plays a long tab from the tab box and Escape must
# silence it.
# Usage: play_e2e.sh FRETLOOM_PROGRAM FRETLOOM_LISTEN
set -euo pipefail

program=${1:?usage: $0 FRETLOOM_PROGRAM FRETLOOM_LISTEN}
listen=${2:?usage: $0 FRETLOOM_PROGRAM FRETLOOM_LISTEN}
program=$(realpath "$program")
# Only the private display and sound server below are used, never the ones this started from.
unset DISPLAY WAYLAND_DISPLAY PULSE_SERVER PULSE_SINK

for tool in Xvfb xdotool xdpyinfo pulseaudio parec pactl; do
  command -v "$tool" >/dev/null 2>&1 ||
    { echo "$tool was not found; install xvfb xdotool x11-utils pulseaudio pulseaudio-utils (tools/setup does)" >&2; exit 1; }
done

work=$(realpath "$(mktemp -d "${TMPDIR:-/tmp}/fretloom-play.XXXXXX")")
mkdir -p "$work/home" "$work/config" "$work/cache" "$work/runtime" "$work/pulse"
chmod 700 "$work/runtime" "$work/pulse"
# A session bus that is not there: nothing may start one of its own on the private display.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"

xvfb_pid=""
pulse_pid=""
app_pid=""
rec_pid=""
watchdog_pid=""
started=$SECONDS

# shellcheck source=private_x.sh
source "$(dirname "$0")/private_x.sh"
cleanup() {
  stop "$rec_pid"
  stop "$app_pid"
  stop "$pulse_pid"
  stop "$xvfb_pid"
  stop "$watchdog_pid"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "play_e2e: stopped by a signal" >&2; exit 1' INT TERM HUP

step() { printf '[%3ds] %s\n' $((SECONDS - started)) "$*"; }

fail() {
  echo "FAIL: $*" >&2
  for log in fretloom pulse; do
    if [ -s "$work/$log.log" ]; then
      echo "--- $log's output:" >&2
      tail -n 20 "$work/$log.log" >&2
    fi
  done
  exit 1
}

start_watchdog 100

# --- A private X server on the first free display from a random place in 20..99 on.
start_private_x "1280x1024" "$work/xvfb.log" ||
  { echo "play_e2e: no free X display between :20 and :99" >&2; exit 1; }
step "X server on $DISPLAY"

# --- A private sound server: one null sink, reached through a socket of its own, no other
# module, nothing of the machine's configuration.
export PULSE_SERVER="unix:$work/pulse/native"
HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
  pulseaudio -n --daemonize=no --use-pid-file=no --exit-idle-time=-1 --disallow-exit \
  --disallow-module-loading=no --log-target=stderr \
  -L "module-null-sink sink_name=fretloom rate=44100" \
  -L "module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" \
  >"$work/pulse.log" 2>&1 &
pulse_pid=$!
for _ in $(seq 100); do
  pactl info >/dev/null 2>&1 && break
  kill -0 "$pulse_pid" 2>/dev/null || fail "pulseaudio did not start"
  sleep 0.1
done
pactl set-default-sink fretloom >/dev/null 2>&1 || fail "the sound server has no null sink"
step "sound server at $PULSE_SERVER"

# Large blocks: a recorder that wakes seldom loses nothing on a busy machine.
record() {
  parec -d fretloom.monitor --raw --format=float32le --channels=1 --rate=44100 \
    --latency-msec=200 >"$1" 2>>"$work/pulse.log" &
  rec_pid=$!
  # The monitor delivers once the stream runs.
  for _ in $(seq 50); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  fail "nothing was recorded from the null sink's monitor"
}

# --- The program.
step "starting $program"
start_program "$program"

main=$(find_window '^Fretloom - ') || fail "the main window did not appear"
# No window manager: the keyboard focus goes to the window directly.
xdotool windowfocus --sync "$main"
sleep 0.5

keys() { xdotool key --delay 20 "$@"; }
tabs() { for _ in $(seq "$1"); do keys Tab; done; }

# --- A bar typed into the grid from e1, where the focus starts, walking the cells with Tab:
# a chord in column 1 (e 0, B 1, G 2), then D 2 in column 3, e 3 in column 5, A 3 in column 7
# and B 3 in column 9.
keys 0; tabs 4; keys 3; tabs 12; keys 1; tabs 8; keys 3; tabs 8; keys 2; tabs 18; keys 2
tabs 20; keys 3
step "bar typed; Shift+F5 plays it"
record "$work/grid.f32"
keys shift+F5
sleep 3.5
stop "$rec_pid"
rec_pid=""
# A sixteenth note is 0.15 s at the default 100 beats a minute. The keys: E4 C4 A3, E3, G4, C3, D4.
"$listen" "$work/grid.f32" notes 0:64 0:60 0:57 0.3:52 0.6:67 0.9:48 1.2:62 ||
  fail "the bar did not sound as written"
step "the grid's bar sounded at its pitches and times"

# --- The bar committed four times over, from the Enter button (Tab from A7 to f16, then on to
# the button), is ten seconds of tab. F5 in the tab box plays it; Escape silences it.
tabs 26; keys space space space space
tabs 1
record "$work/tab.f32"
keys F5
sleep 1.5
keys Escape
sleep 2
stop "$rec_pid"
rec_pid=""
"$listen" "$work/tab.f32" stopped 1.5 || fail "Escape did not stop the tab playing"
step "Escape stopped the tab"

kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
step "passed"
