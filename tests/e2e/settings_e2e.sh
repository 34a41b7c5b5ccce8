#!/usr/bin/env bash
# The settings file through the real program under a virtual X display, in a program folder of its own: an
# option changed from the menu holds at the next start, the recent-file menu lists the records newest first
# and reopens them, a black player's name changed in the game-information dialog is saved, and a new record
# starts from the handicap entered in its game information.
# usage: settings_e2e.sh PATH/TO/ZarnShow
set -euo pipefail
program=$1
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; [ -n "${KEEP:-}" ] && cp "$work"/*.png /tmp/ 2>/dev/null; rm -rf "$work"' EXIT

prog="$work/prog"
mkdir "$prog"
cp "$program" "$prog/"
cp -r "$(dirname "$program")/bmp" "$(dirname "$program")/stone.wav" "$prog/"
first="$work/first.sgf"
second="$work/second.sgf"
printf '%s' '(;GM[1]FF[4]SZ[19]PB[Alpha]PW[Omega];B[pd];W[dp])' > "$first"
printf '%s' '(;GM[1]FF[4]SZ[19]PB[Beta];B[pp])' > "$second"

export XDG_RUNTIME_DIR="$work"
unset QT_QPA_PLATFORM
fail() { echo "settings e2e: $*" >&2; cat "$work/out.log" >&2; exit 1; }

# Starts the program on a record and waits for the main window titled with it.
start() {
  "$prog/ZarnShow" "$1" > "$work/out.log" 2>&1 &
  pid=$!
  main=""
  for _ in $(seq 1 150); do
    main=$(xdotool search --name "Quorvel  $1\$" 2>/dev/null | head -n1 || true)
    [ -n "$main" ] && break
    sleep 0.1
  done
  [ -n "$main" ] || fail "no main window titled with $1"
  sleep 0.5
}
keys() {
  xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.3; done
}
# Closes through "終了" and waits for the process to end.
quit() {
  keys alt+f Up Return
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  ! kill -0 "$pid" 2>/dev/null || fail "the program did not close"
  pid=""
}
wait_title() {
  for _ in $(seq 1 100); do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  fail "no window titled $1"
}

# First run: the coordinate read-out switched on from the menu, the black player renamed.
start "$first"
[ ! -e "$prog/Zarn.dat" ] || fail "a settings file before the first close"
keys alt+s h
keys alt+v f
wait_title "棋譜情報"
dialog=$(xdotool search --name "棋譜情報" | head -n1)
xdotool mousemove --window "$dialog" 130 26 click --repeat 3 1
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 50 "Gamma"
import -window root "$work/settings-e2e-game-info.png"
xdotool mousemove --window "$dialog" 367 528 click 1
sleep 0.5
keys alt+f w  # overwrite
grep -q 'PB\[Gamma\]' "$first" || fail "the new name was not saved: $(cat "$first")"
! grep -q 'PB\[Alpha\]' "$first" || fail "the old name is still in the saved file"
quit
grep -q '^ShowXY\[1\]' "$prog/Zarn.dat" || fail "the option was not written"
[ -d "$prog/SGF" ] && [ -d "$prog/HTML" ] || fail "no SGF and HTML folders beside the settings file"

# Second run on the other record: both are listed, newest first; the first comes back from the menu.
start "$second"
keys alt+f Up Up Return
wait_title "Quorvel  $first\$"
main=$(xdotool search --name "Quorvel  $first\$" | head -n1)

# The option held: the pale yellow coordinate box follows the pointer over the board.
board=""
for w in $(xdotool search --pid "$pid" 2>/dev/null); do
  geometry=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: //p')
  case "$geometry" in 5[0-9][0-9]x44[34]) board=$w ;; esac
done
[ -n "$board" ] || fail "no board window"
xdotool mousemove --window "$board" 191 191
sleep 0.3
xdotool mousemove --window "$board" 190 190
sleep 0.7
eval "$(xdotool getwindowgeometry --shell "$board")"
import -window root "$work/settings-e2e-coordinates.png"
colour=$(convert "$work/settings-e2e-coordinates.png" -format "%[pixel:p{$((X + 204)),$((Y + 200))}]" info:)
case "$colour" in
  "srgb(255,255,224)" | "rgb(255,255,224)") ;;
  *) fail "no coordinate box after the restart (pixel $colour)" ;;
esac
# A new record with four handicap stones entered in its game information.
keys alt+f n
wait_title "棋譜情報"
dialog=$(xdotool search --name "棋譜情報" | head -n1)
xdotool mousemove --window "$dialog" 110 180 click 1
xdotool type --delay 50 "4"
xdotool mousemove --window "$dialog" 367 528 click 1
sleep 1
import -window root "$work/settings-e2e-handicap.png"
for point in "4 4" "16 4" "4 16" "16 16"; do
  set -- $point
  x=$((X + $1 * 20 - 13)) y=$((Y + $2 * 20 - 13))
  grey=$(convert "$work/settings-e2e-handicap.png" -format "%[fx:int(255*(p{$x,$y}.r+p{$x,$y}.g+p{$x,$y}.b)/3)]" info:)
  [ "$grey" -lt 130 ] || fail "no black handicap stone on $1,$2 (brightness $grey)"
done
quit
grep -q "^Item1\[$first\]" "$prog/Zarn.dat" && grep -q "^Item2\[$second\]" "$prog/Zarn.dat" ||
  fail "the recent files are not newest first: $(grep Item "$prog/Zarn.dat")"

echo "settings e2e: option kept, recent files reopened newest first, renamed player saved, handicap of a new record placed"
