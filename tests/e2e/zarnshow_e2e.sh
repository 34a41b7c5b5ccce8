#!/usr/bin/env bash
# The real program under a virtual X display: it opens a record from the command line, takes keys sent by
# xdotool, and is checked from outside, by its window title and by the pixels of a screenshot.
# usage: zarnshow_e2e.sh PATH/TO/ZarnShow
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; [ -n "${KEEP:-}" ] && cp "$work"/shot.png /tmp/e2e-shot.png; rm -rf "$work"' EXIT

record="$work/e2e game.sgf"  # a blank in the name: two arguments joined again
printf '%s' '(;GM[1]FF[4]SZ[19]PB[e2e];B[pd];W[dp];B[pp](;W[dd])(;W[dc]))' > "$record"

export XDG_RUNTIME_DIR="$work"
unset QT_QPA_PLATFORM
"$program" "$work/e2e" "game.sgf" > "$work/out.log" 2>&1 &
pid=$!

fail() { echo "e2e: $*" >&2; cat "$work/out.log" >&2; exit 1; }

# The main window's title names the record once it is loaded.
for _ in $(seq 1 100); do
  main=$(xdotool search --name "Quorvel  $record" 2>/dev/null | head -n1 || true)
  [ -n "$main" ] && break
  sleep 0.1
done
[ -n "${main:-}" ] || fail "no main window titled with the record"

# The board window: on a screen taller than 500 pixels a start with a record switches to full mode, so
# the board window is 3 pixels narrower than the full main window of 575.
board=""
for _ in $(seq 1 50); do
  for w in $(xdotool search --pid "$pid" 2>/dev/null); do
    if xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: 572x443"; then board=$w; fi
  done
  [ -n "$board" ] && break
  sleep 0.1
done
[ -n "$board" ] || fail "no board window of 572 x 443 (full mode)"
eval "$(xdotool getwindowgeometry --shell "$board")"
bx=$X
by=$Y

# Full mode shows the information panel: the black player's bowl picture exactly as the program folder
# holds it, and the black player's name written in the memo under it.
bowl="$(dirname "$program")/bmp/kuroBB.bmp"
panel_ok=""
for _ in $(seq 1 50); do
  import -window root "$work/shot.png"
  size=$(identify -format '%wx%h' "$bowl")
  convert "$work/shot.png" -crop "$size+$((bx + 473))+$((by + 16))" +repage "$work/bowl.png"
  differing=$(compare -metric AE "$work/bowl.png" "$bowl" null: 2>&1 || true)
  dark=$(convert "$work/shot.png" -crop "140x22+$((bx + 412))+$((by + 45))" +repage -colorspace Gray \
         -threshold 40% -negate -format '%[fx:int(mean*w*h)]' info:)
  if [ "$differing" = "0" ] && [ "$dark" -gt 10 ]; then panel_ok=1; break; fi
  sleep 0.2
done
[ -n "$panel_ok" ] || fail "no information panel after the switch (bowl pixels differing: $differing, name pixels: $dark)"

# The colour (as "r,g,b") on a point of the 19-line board, a little up and left of its centre
# (col * 20 - 9, row * 20 - 9), away from the move number and the grid lines.
point_colour() {
  import -window root "$work/shot.png"
  local x=$((bx + $1 * 20 - 9 - 4)) y=$((by + $2 * 20 - 9 - 4))
  convert "$work/shot.png" -format "%[fx:int(255*p{$x,$y}.r)],%[fx:int(255*p{$x,$y}.g)],%[fx:int(255*p{$x,$y}.b)]" info:
}
brightness() { IFS=, read -r r g b <<< "$1"; echo $(((r + g + b) / 3)); }
send() {
  xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  xdotool key --clearmodifiers "$@"
}
# Waits (up to about 10 s, for a loaded machine) until the point's brightness lies in [low, high].
expect_point() {
  local col=$1 row=$2 low=$3 high=$4 what=$5 b=0
  for _ in $(seq 1 50); do
    b=$(brightness "$(point_colour "$col" "$row")")
    if [ "$b" -ge "$low" ] && [ "$b" -le "$high" ]; then return 0; fi
    sleep 0.2
  done
  fail "$what (brightness $b)"
}

send End
expect_point 4 4 201 255 "after End the white stone on dd (the last move) is missing"
expect_point 16 16 0 129 "after End the black stone on pp is missing"

send Left
expect_point 4 4 141 199 "after Left dd is not empty"

send b  # the letter of the variation W[dc]
expect_point 4 3 201 255 "the hint letter B did not play the variation's dc"

echo "e2e: title, the information panel, End, Left and the hint letter B checked"
