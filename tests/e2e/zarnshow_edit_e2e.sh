#!/usr/bin/env bash
# A record built through the real program under a virtual X display: "新規作成", two clicks on the board,
# "Show", then "保存" with a file name typed into the save dialog. The file must hold exactly those two moves,
# and the command-line tool must read them back. With SHOTS=DIR, screenshots of creation mode go there.
# usage: zarnshow_edit_e2e.sh PATH/TO/ZarnShow PATH/TO/quorvel
set -euo pipefail
program=$1
cli=$2
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT

export XDG_RUNTIME_DIR="$work"
unset QT_QPA_PLATFORM
"$program" > "$work/out.log" 2>&1 &
pid=$!

fail() { echo "e2e edit: $*" >&2; cat "$work/out.log" >&2; exit 1; }
. "$(dirname "$0")/save_dialog.sh"

# Without a record the start screen comes first; Enter on it shows the windows.
start=""
for _ in $(seq 1 100); do
  for w in $(xdotool search --pid "$pid" 2>/dev/null); do
    xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: 289x223" && start=$w
  done
  [ -n "$start" ] && break
  sleep 0.1
done
[ -n "$start" ] || fail "no start screen"
xdotool windowfocus --sync "$start" 2>/dev/null || xdotool windowfocus "$start"
xdotool key --clearmodifiers Return

main="" board=""
for _ in $(seq 1 100); do
  for w in $(xdotool search --pid "$pid" 2>/dev/null); do
    geometry=$(xdotool getwindowgeometry "$w" 2>/dev/null || true)
    case "$geometry" in *"Geometry: 5"[0-9][0-9]x44[34]*) board=$w ;; esac
    if [ "$(xdotool getwindowname "$w" 2>/dev/null)" = " Quorvel" ]; then main=$w; fi
  done
  [ -n "$main" ] && [ -n "$board" ] && break
  sleep 0.1
done
[ -n "$main" ] || fail "no main window"
[ -n "$board" ] || fail "no board window"
eval "$(xdotool getwindowgeometry --shell "$main")"; mx=$X; my=$Y
eval "$(xdotool getwindowgeometry --shell "$board")"; bx=$X; by=$Y

click() { xdotool mousemove --sync "$1" "$2" click 1; sleep 0.3; }
# The first toolbar row lies under the menu bar; its buttons are 24 pixels apart.
toolbar_y=$((my + 32))

click $((mx + 10)) "$toolbar_y"  # 新規作成
for _ in $(seq 1 50); do
  xdotool getwindowname "$main" | grep -q "棋譜データ作成" && break
  sleep 0.1
done
xdotool getwindowname "$main" | grep -q "棋譜データ作成" || fail "新規作成 did not start creation mode"
# The new record asks for its game information first; Escape leaves it as it is.
info_dialog=""
for _ in $(seq 1 50); do
  info_dialog=$(xdotool search --name "棋譜情報" 2>/dev/null | head -n1 || true)
  [ -n "$info_dialog" ] && break
  sleep 0.1
done
[ -n "$info_dialog" ] || fail "新規作成 did not ask for the game information"
xdotool windowfocus --sync "$info_dialog" 2>/dev/null || xdotool windowfocus "$info_dialog"
xdotool key Escape
sleep 0.3

click $((bx + 16 * 20 - 9)) $((by + 4 * 20 - 9))   # pd
click $((bx + 4 * 20 - 9)) $((by + 16 * 20 - 9))   # dp
[ -n "${SHOTS:-}" ] && import -window root "$SHOTS/creation_mode.png"
click $((bx + 428)) $((by + 388))                  # Show
xdotool getwindowname "$main" | grep -q "棋譜データ作成" && fail "Show left creation mode on"

click $((mx + 57)) "$toolbar_y"  # 保存
save_through_dialog "$work/built.sgf" "no save dialog"

moves=$(grep -o ';[BW]\[[a-t]*\]' "$work/built.sgf" | tr -d '\n')
[ "$moves" = ";B[pd];W[dp]" ] || fail "the file holds '$moves', not ;B[pd];W[dp]: $(cat "$work/built.sgf")"
info=$("$cli" info "$work/built.sgf")
grep -q "main-line moves: 2" <<< "$info" || fail "quorvel info reads otherwise: $info"
echo "e2e edit: 新規作成, two clicks, Show and 保存 give a record of exactly those two moves"
