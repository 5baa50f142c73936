#!/usr/bin/env bash
# Fretloom as a user meets it: the real program on a private X server under a real window
# manager, driven only through X input (keys and mouse clicks), the menu bar and Qt's own
# dialogs. It judges what a user can see from outside: the bytes of the files saved, the
# window titles and the window sizes.
# Usage: run_e2e.sh FRETLOOM_PROGRAM
set -euo pipefail

program=${1:?usage: $0 FRETLOOM_PROGRAM}
[ -x "$program" ] || { echo "$program is not a program" >&2; exit 1; }
program=$(realpath "$program")
# Only the private display below is used, never the one this was started from.
unset DISPLAY WAYLAND_DISPLAY

for tool in Xvfb openbox xdotool wmctrl xdpyinfo; do
  command -v "$tool" >/dev/null 2>&1 ||
    { echo "$tool was not found; install xvfb openbox xdotool wmctrl x11-utils (tools/setup does)" >&2; exit 1; }
done

# Everything the run writes lives here: the X server's and the program's scratch folders and the
# tab files. realpath, because the window titles show the path the way the dialog returns it.
work=$(realpath "$(mktemp -d "${TMPDIR:-/tmp}/fretloom-e2e.XXXXXX")")
mkdir -p "$work/home" "$work/config" "$work/cache" "$work/runtime" "$work/my tabs"
chmod 700 "$work/runtime"

xvfb_pid=""
wm_pid=""
app_pid=""
watchdog_pid=""
started=$SECONDS

# shellcheck source=private_x.sh
source "$(dirname "$0")/private_x.sh"
cleanup() {
  stop "$app_pid"
  stop "$wm_pid"
  stop "$xvfb_pid"
  stop "$watchdog_pid"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "run_e2e: stopped by a signal" >&2; exit 1' INT TERM HUP

step() { printf '[%3ds] %s\n' $((SECONDS - started)) "$*"; }

fail() {
  echo "FAIL: $*" >&2
  # A picture of the screen tells what went wrong; it is kept beside the test's output.
  if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null 2>&1; then
    import -window root "$PWD/e2e-failure.png" 2>/dev/null &&
      echo "The screen at that moment: $PWD/e2e-failure.png" >&2
  fi
  if [ -s "$work/fretloom.log" ]; then
    echo "--- the program's output:" >&2
    tail -n 30 "$work/fretloom.log" >&2
  fi
  exit 1
}

# Every wait below is bounded; this is the last resort.
start_watchdog 150

# --- A private X server on the first free display from a random place in 20..99 on, and the
# window manager on it.
start_private_x "1600x1200" "$work/xvfb.log" ||
  { echo "run_e2e: no free X display between :20 and :99" >&2; exit 1; }
step "X server on $DISPLAY"

# Openbox with a configuration of its own: new windows take the focus, a click focuses and
# raises, and Alt+F4 asks the focused window to close.
start_openbox '  <keyboard>
    <keybind key="A-F4"><action name="Close"/></keybind>
  </keyboard>
  <mouse>
    <context name="Client">
      <mousebind button="Left" action="Press"><action name="Focus"/><action name="Raise"/></mousebind>
    </context>
  </mouse>'
step "window manager: $(wmctrl -m | sed -n 's/^Name: //p')"

# --- Helpers. Every wait gives up after a few seconds.

# Waits until window $1 is no longer shown.
wait_gone() {
  for _ in $(seq 100); do
    xdotool search --all --onlyvisible --pid "$app_pid" 2>/dev/null | grep -qx "$1" || return 0
    sleep 0.1
  done
  fail "the window \"$2\" did not go away"
}

# Waits until window $1 is the active window and holds the keyboard focus.
wait_focus() {
  for _ in $(seq 100); do
    if [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] &&
      [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; then
      # Lets the toolkit hand the focus to the window's own control before keys arrive.
      sleep 0.2
      return 0
    fi
    sleep 0.1
  done
  fail "the window \"$2\" ($1) did not get the keyboard focus: active $(xdotool getactivewindow 2>&1), focus $(xdotool getwindowfocus 2>&1)"
}

activate() {
  xdotool windowactivate "$1" 2>/dev/null || true
  wait_focus "$1" "$2"
}

title_of() { xdotool getwindowname "$1" 2>/dev/null || true; }

expect_title() {
  local actual
  for _ in $(seq 50); do
    actual=$(title_of "$1")
    [ "$actual" = "$2" ] && return 0
    sleep 0.1
  done
  fail "window title \"$actual\", expected \"$2\""
}

# Width and height of window $1's client area, as "WIDTHxHEIGHT".
size_of() {
  local WIDTH="" HEIGHT=""
  eval "$(xdotool getwindowgeometry --shell "$1" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=[0-9]+$')"
  echo "${WIDTH}x${HEIGHT}"
}

expect_size() {
  local actual
  for _ in $(seq 50); do
    actual=$(size_of "$1")
    [ "$actual" = "$2" ] && return 0
    sleep 0.1
  done
  fail "$3: the window is $actual, expected $2"
}

keys() { xdotool key --delay 30 "$@"; }
typed() { xdotool type --delay 30 -- "$1"; }
# A left click at x $2, y $3 of window $1's client area.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
# Pixels from twips, as the program lays out its windows: 15 twips to the pixel.
px() { echo $((($1 + 7) / 15)); }

# --- The expected tab, worked out here the way a user reads the program's rules: Enter fills
# every empty cell with "--" and writes, for each string the instrument uses, the string's name,
# two spaces, "|-", the sixteen cells joined by "-", "-|" and CR LF; an empty line closes the bar.
rows=(e b g d a f)
declare -A cell=()
names=(e B G D A E)
for r in "${rows[@]}"; do for c in $(seq 16); do cell[$r,$c]=""; done; done

put() { cell[$1,$2]=$3; }
put_column() {
  local c=$1 r
  shift
  for r in "${rows[@]}"; do cell[$r,$c]=$1; shift; done
}
fill_empty() {
  local r c
  for r in "${rows[@]}"; do for c in $(seq 16); do [ -n "${cell[$r,$c]}" ] || cell[$r,$c]="--"; done; done
}
clear_grid() {
  local r c
  for r in "${rows[@]}"; do for c in $(seq 16); do cell[$r,$c]=""; done; done
}
# The bar block that Enter appends in mode $1 (guitar, bass or five).
bar_block() {
  local used r i c line
  case $1 in
  guitar) used=(0 1 2 3 4 5) ;;
  bass) used=(2 3 4 5) ;;
  five) used=(1 2 3 4 5) ;;
  esac
  fill_empty
  for i in "${used[@]}"; do
    r=${rows[$i]}
    line="${names[$i]}  |"
    for c in $(seq 16); do line+="-${cell[$r,$c]}"; done
    printf '%s-|\r\n' "$line"
  done
  printf '\r\n'
}

expected="$work/expected.txt"
: >"$expected"

# Compares file $1 byte for byte with the expected tab followed by $2 line ends.
expect_file() {
  local file=$1 ends=$2 want="$work/want.txt"
  cp "$expected" "$want"
  for _ in $(seq "$ends"); do printf '\r\n' >>"$want"; done
  for _ in $(seq 50); do
    [ -f "$file" ] && cmp -s "$file" "$want" && return 0
    sleep 0.1
  done
  [ -f "$file" ] || fail "$3: $file was not written"
  echo "--- expected, then written (cat -A):" >&2
  diff <(cat -A "$want") <(cat -A "$file") >&2 || true
  fail "$3: $file differs from the expected tab"
}

# --- The program.
step "starting $program"
start_program "$program"

main=$(find_window '^Fretloom - ') || fail "the main window did not appear"
wait_focus "$main" "main window"
expect_title "$main" "Fretloom - (Untitled)"

# The client area is 11655 x 6915 twips under the menu bar.
width=$(px 11655)
start_size=$(size_of "$main")
start_height=${start_size#*x}
[ "${start_size%x*}" = "$width" ] || fail "the main window is $start_size wide, expected $width"
menu_height=$((start_height - $(px 6915)))
((menu_height > 0)) || fail "the main window is $start_size: no room for the menu bar"
step "main window $start_size, menu bar $menu_height px"

# The border is fixed: neither a resize request nor maximizing changes the size.
xdotool windowsize "$main" 1200 900 2>/dev/null || true
wmctrl -i -r "$main" -b add,maximized_vert,maximized_horz
sleep 0.5
expect_size "$main" "$start_size" "after asking to resize and maximize it"
wmctrl -i -r "$main" -b remove,maximized_vert,maximized_horz

# Places in the main window, in pixels of its client area (the menu bar on top).
e1_x=$(($(px 720) + 10)) e1_y=$((menu_height + $(px 480) + 9))
enter_x=$(($(px 10560) + 20)) enter_y=$((menu_height + $(px 600) + 12))

# --- A bar typed into the grid: a click into e1, then Tab walks the cells row by row, and
# after the last cell the Enter button has the focus. "." leaves a cell empty.
type_rows() {
  local i=0 r c text token
  for text in "$@"; do
    r=${rows[$i]}
    c=1
    for token in $text; do
      if [ "$token" != . ]; then
        typed "$token"
        put "$r" "$c" "$token"
      fi
      keys Tab
      c=$((c + 1))
    done
    i=$((i + 1))
  done
}
step "typing a bar"
click "$main" "$e1_x" "$e1_y"
type_rows \
  ". . 0 . . 12 . . . . . . . . . ." \
  ". . 1 . . . 10 . . . . . . . . ." \
  ". . . 2 . . . . . . . . . . . ." \
  ". . . 2 . . . . . 7 . . . . . ." \
  ". . . . . . . . . . 5 . . . . ." \
  ". 3 . . . . . . . . . . . . . 0"

# --- Chords/Bar lines has no shortcut: Alt takes the keyboard to the menu bar, Right twice
# from File reaches it.
step "opening the chord picker from the menu bar"
keys alt
sleep 0.3
keys Right Right Return
picker=$(find_window '^Fretloom$') || fail "the chord picker did not open"
wait_focus "$picker" "chord picker"
expect_title "$picker" "Fretloom"
expect_size "$picker" "$(px 5595)x$(px 1410)" "chord picker"

# The focus starts in the open-chord box; Tab goes to Enter, then to the column box.
pick_open_chord() {
  keys ctrl+a
  typed "$1"
  keys Tab Tab ctrl+a
  typed "$2"
  keys shift+Tab space
  sleep 0.2
  keys shift+Tab
}
pick_open_chord "C" "1"
put_column 1 0 1 0 2 3 3
pick_open_chord "Bar line" "9"
put_column 9 "|" "|" "|" "|" "|" "|"

# The style button by mouse, to power chords, then the power box, the column box and Enter.
click "$picker" $(($(px 1440) + 40)) $(($(px 720) + 16))
sleep 0.2
click "$picker" $(($(px 1200) + 30)) $(($(px 240) + 10))
keys ctrl+a
typed "A"
click "$picker" $(($(px 4200) + 30)) $(($(px 240) + 10))
keys ctrl+a
typed "13"
click "$picker" $(($(px 3120) + 40)) $(($(px 720) + 16))
put_column 13 "" "" "--" 7 7 5

# The picker closes through the window manager, as from its close box.
step "closing the chord picker through the window manager"
wmctrl -i -c "$picker"
wait_gone "$picker" "chord picker"
activate "$main" "main window"

# --- Commit by clicking Enter, in guitar mode; then Ctrl+B to bass mode and Enter again from
# the keyboard (the button keeps the focus).
step "committing the bar in guitar and bass mode"
click "$main" "$enter_x" "$enter_y"
bar_block guitar >>"$expected"
keys ctrl+b space
bar_block bass >>"$expected"

# --- Renaming the bottom string in the string notes window (Ctrl+N): its focus starts in the
# bottom string's box; Change is clicked.
step "renaming the bottom string to D"
keys ctrl+n
notes=$(find_window '^Fretloom$') || fail "the string notes window did not open"
wait_focus "$notes" "string notes"
expect_title "$notes" "Fretloom"
expect_size "$notes" "$(px 3885)x$(px 2325)" "string notes window"
keys ctrl+a
typed "D"
click "$notes" $(($(px 2760) + 28)) $(($(px 960) + 12))
names[5]="D"

# Back to the main window, which the notes window stays open beside; five-string mode.
activate "$main" "main window"
keys ctrl+b
click "$main" "$enter_x" "$enter_y"
bar_block five >>"$expected"

# --- Hide Tab Box (Ctrl+H) cuts the window down to the grid, 3300 twips of client area; Enter
# still writes into the hidden box; Ctrl+H brings the whole window back.
step "hiding and showing the tab box"
keys ctrl+b
keys ctrl+h
expect_size "$main" "${width}x$((menu_height + $(px 3300)))" "with the tab box hidden"
xdotool windowsize "$main" 1200 900 2>/dev/null || true
sleep 0.3
expect_size "$main" "${width}x$((menu_height + $(px 3300)))" "asked to resize with the tab box hidden"
click "$main" "$enter_x" "$enter_y"
bar_block guitar >>"$expected"
keys ctrl+h
expect_size "$main" "$start_size" "with the tab box shown again"

# --- Saving: the first Save asks for a name in Qt's save dialog; the file holds the tab and one
# CR LF, and the title names it.
song="$work/my tabs/song.txt"
copy="$work/my tabs/copy.txt"
last="$work/my tabs/last.txt"

# Types path $2 into the file name box of file dialog $1 (which has the focus when the dialog
# opens), over whatever it holds, and confirms it with Return.
choose_file() {
  wait_focus "$1" "$(title_of "$1") dialog"
  keys ctrl+a
  typed "$2"
  # The name box's completion list catches up with the typing.
  sleep 0.3
  keys Return
  wait_gone "$1" "file dialog for $2"
}

step "saving through the save dialog"
keys ctrl+s
dialog=$(find_window '^Save As$') || fail "Save showed no save dialog"
choose_file "$dialog" "$song"
expect_title "$main" "Fretloom - ($song)"
expect_file "$song" 1 "saved under a new name"

# Once the tab has a file, Save writes to it without asking: a cleared grid with one note,
# committed, then Ctrl+S.
step "saving again to the same file"
keys ctrl+k
clear_grid
click "$main" "$e1_x" "$e1_y"
typed "5"
put e 1 "5"
click "$main" "$enter_x" "$enter_y"
bar_block guitar >>"$expected"
keys ctrl+s
expect_file "$song" 1 "saved again"
[ -z "$(xdotool search --all --onlyvisible --pid "$app_pid" --name '^Save As$' 2>/dev/null)" ] ||
  fail "the second Save showed a dialog"
expect_title "$main" "Fretloom - ($song)"

# --- Opening: the question comes first; Yes saves under a name chosen in the save dialog, then
# the open dialog reads the file back whole.
step "opening the file again, saving a copy first"
keys ctrl+o
question=$(find_window '^Save$') || fail "Open did not ask to save first"
wait_focus "$question" "question before opening"
keys y
dialog=$(find_window '^Save As$') || fail "Yes showed no save dialog"
choose_file "$dialog" "$copy"
expect_file "$copy" 1 "saved before opening"
dialog=$(find_window '^Open$') || fail "no open dialog followed the save"
expect_title "$main" "Fretloom - ($copy)"
choose_file "$dialog" "$song"
expect_title "$main" "Fretloom - ($song)"
# The tab is now the file's content, its last CR LF included; saving adds one more.
printf '\r\n' >>"$expected"
activate "$main" "main window"
keys ctrl+s
expect_file "$song" 1 "opened and saved back"

# --- Closing through the window manager: Alt+F4 asks first, and Cancel keeps the window.
step "closing with Alt+F4 and cancelling"
keys alt+F4
question=$(find_window '^Save$') || fail "closing did not ask to save"
wait_focus "$question" "question before leaving"
keys Escape
wait_gone "$question" "question before leaving"
kill -0 "$app_pid" 2>/dev/null || fail "Cancel did not keep the program running"
expect_title "$main" "Fretloom - ($song)"
expect_size "$main" "$start_size" "after a cancelled close"

# A close request from the window manager asks again; Yes saves through the dialog, and then the
# program ends with the string notes window that stood beside it.
step "closing through the window manager and saving on the way out"
activate "$main" "main window"
wmctrl -i -c "$main"
question=$(find_window '^Save$') || fail "closing did not ask to save"
wait_focus "$question" "question before leaving"
keys y
dialog=$(find_window '^Save As$') || fail "Yes showed no save dialog on leaving"
choose_file "$dialog" "$last"
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app_pid" 2>/dev/null && fail "the program still runs after its window was closed"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
expect_file "$last" 1 "saved on leaving"
expect_file "$song" 1 "left alone on leaving"

step "passed"
