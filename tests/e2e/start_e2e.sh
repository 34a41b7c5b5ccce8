#!/usr/bin/env bash
# The start screen, the about window and the .sgf association through the real program under a virtual X
# display, on temporary XDG folders: the start screen is shaped (the desktop shows through its corners), a
# click on its exit area ends the program without another window, Space opens creation mode with the windows
# docked; "SGFの関連付け" makes the desktop's own tools answer with the program; the about window shows.
# With SHOTS=DIR the screenshots go there.
# usage: start_e2e.sh PATH/TO/ZarnShow
set -euo pipefail
program=$1
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "start e2e: $*" >&2; cat "$work/out.log" >&2; exit 1; }
shot() { import -window root "$work/$1.png"; [ -n "${SHOTS:-}" ] && cp "$work/$1.png" "$SHOTS/" || true; }

export XDG_RUNTIME_DIR="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_DATA_DIRS="$work/system" XDG_CONFIG_DIRS="$work/etc"
mkdir -p "$work/system"
unset QT_QPA_PLATFORM XDG_CURRENT_DESKTOP
prog="$work/prog"
mkdir "$prog"
cp "$program" "$prog/"
cp -r "$(dirname "$program")"/{bmp,stone.wav,bgm.wav,boat.avi,quorvel.png} "$prog/"

# Starts the program without a record and waits for its start screen.
start() {
  "$prog/ZarnShow" > "$work/out.log" 2>&1 &
  pid=$!
  screen=""
  for _ in $(seq 1 150); do
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: 289x223" && screen=$w
    done
    [ -n "$screen" ] && break
    sleep 0.1
  done
  [ -n "$screen" ] || fail "no start screen"
  eval "$(xdotool getwindowgeometry --shell "$screen")"
  sx=$X sy=$Y
  sleep 0.5
}
pixel() { convert "$work/$1.png" -format "%[pixel:p{$2,$3}]" info:; }
# The first visible window whose title holds $1, waited for up to 10 s; empty when none came.
find_titled() {
  local found=""
  for _ in $(seq 1 100); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
    [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}
focus_and_key() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  shift
  for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.3; done
}
wait_end() {
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  ! kill -0 "$pid" 2>/dev/null || fail "$1"
  pid=""
}

# 1. The shape: the desktop's black shows at the corners and in the gap above the bottom strip.
start
shot start-screen
[ "$(pixel start-screen $((sx + 1)) $((sy + 1)))" = "$(pixel start-screen 2 2)" ] || fail "the top-left corner is painted"
[ "$(pixel start-screen $((sx + 150)) $((sy + 192)))" = "$(pixel start-screen 2 2)" ] || fail "the gap is painted"
[ "$(pixel start-screen $((sx + 150)) $((sy + 100)))" != "$(pixel start-screen 2 2)" ] || fail "the picture is not painted"

# 2. The exit area ends the program; no other window shows meanwhile.
xdotool mousemove --sync $((sx + 274)) $((sy + 208)) click 1
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: 289x223" || fail "another window showed"
  done
  sleep 0.05
done
wait_end "the exit area did not end the program"

# 3. Space: creation mode, the board window docked under the main window.
start
focus_and_key "$screen" space
main=$(find_titled "棋譜データ作成")
[ -n "$main" ] || fail "Space did not open creation mode"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
mx=$X
board=""
for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
  xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: 522x443" && board=$w
done
[ -n "$board" ] || fail "no board window"
eval "$(xdotool getwindowgeometry --shell "$board")"
[ "$X" = "$mx" ] || fail "the board window is not under the main window ($X, $mx)"
shot creation-docked

# 4. The association from the menu: no default yet, so no question; the message says it is done.
focus_and_key "$main" alt+s k
sleep 0.7
shot association-message
xdotool key --clearmodifiers Return
sleep 0.5
desktop-file-validate "$XDG_DATA_HOME/applications/quorvel.desktop" || fail "the desktop entry is not valid"
answer=$(env -u XDG_CURRENT_DESKTOP xdg-mime query default application/x-go-sgf)
[ "$answer" = "quorvel.desktop" ] || fail "xdg-mime answers '$answer'"
grep -qx "Exec=$prog/ZarnShow %f" "$XDG_DATA_HOME/applications/quorvel.desktop" || fail "the entry does not name the program"

# 5. The about window.
focus_and_key "$main" alt+h a
about=$(find_titled "バージョン情報")
[ -n "$about" ] || fail "no about window"
sleep 0.5
shot about
focus_and_key "$about" Return
sleep 0.5
xdotool search --onlyvisible --name "バージョン情報" >/dev/null 2>&1 && fail "O K did not close the about window"

focus_and_key "$main" alt+f Up Return
wait_end "the program did not close"
echo "start e2e: shaped start screen, exit area, Space into creation mode, the association, the about window"
