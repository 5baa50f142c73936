#!/usr/bin/env bash
# Where the chord picker and the string notes window open, under a real window manager that draws
# real frames: on a 1024x768 screen, with the main window at its top, each must open with its
# whole frame, title bar included, on the screen and beside the main window, covering none of it.
# Usage: placement_e2e.sh FRETLOOM_PROGRAM
set -euo pipefail

program=${1:?usage: $0 FRETLOOM_PROGRAM}
[ -x "$program" ] || { echo "$program is not a program" >&2; exit 1; }
program=$(realpath "$program")
unset DISPLAY WAYLAND_DISPLAY

for tool in Xvfb openbox xdotool wmctrl xdpyinfo xwininfo xprop; do
  command -v "$tool" >/dev/null 2>&1 ||
    { echo "$tool was not found; install xvfb openbox xdotool wmctrl x11-utils (tools/setup does)" >&2; exit 1; }
done

screen_width=1024
screen_height=768
work=$(mktemp -d "${TMPDIR:-/tmp}/fretloom-placement.XXXXXX")
mkdir -p "$work/home" "$work/config" "$work/cache" "$work/runtime"
chmod 700 "$work/runtime"
xvfb_pid="" wm_pid="" app_pid=""

# shellcheck source=private_x.sh
source "$(dirname "$0")/private_x.sh"
cleanup() {
  stop "$app_pid"
  stop "$wm_pid"
  stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "placement_e2e: stopped by a signal" >&2; exit 1' INT TERM HUP

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/fretloom.log" ] && { echo "--- the program's output:" >&2; tail -n 20 "$work/fretloom.log" >&2; }
  exit 1
}

# A private X server on the first free display from a random place in 20..99 on.
start_private_x "${screen_width}x${screen_height}" "$work/xvfb.log" ||
  { echo "placement_e2e: no free X display between :20 and :99" >&2; exit 1; }

start_openbox '  <margins><top>0</top><bottom>0</bottom><left>0</left><right>0</right></margins>'

start_program "$program"

wait_focus() {
  for _ in $(seq 100); do
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && { sleep 0.3; return 0; }
    sleep 0.1
  done
  fail "the $2 did not get the focus"
}
# "LEFT TOP RIGHT BOTTOM" of window $1's frame: its client area on the screen and the frame
# extents the window manager reports, once it reports them.
frame_of() {
  local x y w h extents
  for _ in $(seq 50); do
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ' ')
    [ -n "$extents" ] && break
    sleep 0.1
  done
  [ -n "$extents" ] || fail "no frame extents for window $1"
  IFS=, read -r l r t b <<<"$extents"
  x=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left X: *//p')
  y=$(xwininfo -id "$1" | sed -n 's/.*Absolute upper-left Y: *//p')
  w=$(xwininfo -id "$1" | sed -n 's/.*Width: *//p')
  h=$(xwininfo -id "$1" | sed -n 's/.*Height: *//p')
  echo "$((x - l)) $((y - t)) $((x + w + r)) $((y + h + b))"
}
# Checks that the frame of window $1 lies wholly on the screen and clear of the main window's.
expect_placed() {
  local left top right bottom
  sleep 0.5
  read -r left top right bottom <<<"$(frame_of "$1")"
  echo "$2: frame $left,$top to $right,$bottom; the main window's $main_frame"
  ((left >= 0 && top >= 0 && right <= screen_width && bottom <= screen_height)) ||
    fail "the $2 is not wholly on the ${screen_width}x${screen_height} screen"
  read -r main_left main_top main_right main_bottom <<<"$main_frame"
  ((right <= main_left || left >= main_right || bottom <= main_top || top >= main_bottom)) ||
    fail "the $2 covers the main window"
}

main=$(find_window '^Fretloom - ') || fail "the main window did not appear"
wait_focus "$main" "main window"
# To the top-left corner, by its frame (gravity 1, north-west, places the frame).
wmctrl -i -r "$main" -e 1,0,0,-1,-1
for _ in $(seq 30); do
  main_frame=$(frame_of "$main")
  [ "${main_frame% * *}" = "0 0" ] && break
  sleep 0.1
done
[ "${main_frame% * *}" = "0 0" ] || fail "the main window's frame stays at $main_frame, not at the top left"

# Chords/Bar lines from the menu bar.
xdotool key --delay 30 alt
sleep 0.3
xdotool key --delay 30 Right Right Return
picker=$(find_window '^Fretloom$') || fail "the chord picker did not open"
expect_placed "$picker" "chord picker"
wmctrl -i -c "$picker"
sleep 0.3

xdotool windowactivate "$main" 2>/dev/null || true
wait_focus "$main" "main window"
xdotool key --delay 30 ctrl+n
notes=$(find_window '^Fretloom$') || fail "the string notes window did not open"
expect_placed "$notes" "string notes window"
echo "placement_e2e: both windows opened on the screen, beside the main window"
