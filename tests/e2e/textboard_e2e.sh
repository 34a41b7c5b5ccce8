#!/usr/bin/env bash
# Text boards through the real program under a virtual X display: "テキスト碁盤の出力" (Alt+K, T) on a record
# stepped to its end fills the text window and the X clipboard with the diagrams the command-line tool
# writes for the same record; a text board put on the clipboard from outside is then opened with
# "クリップボードから読み込む" (Alt+V, S) as a record without a file, and saved, it holds the pasted stones
# and moves. With SHOTS=DIR, screenshots of the screen with the text window go there.
# usage: textboard_e2e.sh PATH/TO/ZarnShow PATH/TO/quorvel RECORD
set -euo pipefail
program=$1
cli=$2
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
record="$work/game.sgf"
cp "$3" "$record"

export XDG_RUNTIME_DIR="$work"
unset QT_QPA_PLATFORM
"$program" "$record" > "$work/out.log" 2>&1 &
pid=$!

fail() { echo "e2e text board: $*" >&2; cat "$work/out.log" >&2; exit 1; }
. "$(dirname "$0")/save_dialog.sh"

main=""
for _ in $(seq 1 100); do
  main=$(xdotool search --name "Quorvel  $record" 2>/dev/null | head -n1 || true)
  [ -n "$main" ] && break
  sleep 0.1
done
[ -n "$main" ] || fail "no main window titled with the record"

send() {
  xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  xdotool key --clearmodifiers "$@"
  sleep 0.3
}

send End
send alt+k t
# The clipboard holds the diagrams as the command-line tool writes them (there in Shift-JIS, CR LF, with
# one more line end; here in UTF-8 from the X clipboard).
expected=$("$cli" textboard "$record" | iconv -f CP932 -t UTF-8 | tr -d '\r')
copied=""
for _ in $(seq 1 50); do
  copied=$(xclip -o -selection clipboard 2>/dev/null | tr -d '\r' || true)
  [ "$copied" = "$expected" ] && break
  sleep 0.1
done
[ "$copied" = "$expected" ] || fail "the clipboard holds otherwise: $(diff <(echo "$expected") <(echo "$copied") | head -20)"
[ -n "${SHOTS:-}" ] && import -window root "$SHOTS/text_window_text_board.png"

# A typed 9-line diagram: two setup stones, moves 1 and 2, Black first (the main window's choice).
printf '%s\n' "**ＡＢＣＤＥＦＧＨＪ**" "09┌┬┬┬┬┬┬┬┐09" "08├┼┼┼┼┼┼┼┤08" "07├┼●┼┼┼○┼┤07" \
  "06├┼┼┼┼┼┼┼┤06" "05├┼┼┼１┼┼┼┤05" "04├┼┼┼┼┼┼┼┤04" "03├┼・┼┼┼２┼┤03" "02├┼┼┼┼┼┼┼┤02" \
  "01└┴┴┴┴┴┴┴┘01" "**ＡＢＣＤＥＦＧＨＪ**" | xclip -selection clipboard
send alt+v s
for _ in $(seq 1 50); do
  [ "$(xdotool getwindowname "$main")" = " Quorvel [Quorvel]" ] && break
  sleep 0.1
done
[ "$(xdotool getwindowname "$main")" = " Quorvel [Quorvel]" ] || fail "the pasted record did not open: $(xdotool getwindowname "$main")"
[ -n "${SHOTS:-}" ] && import -window root "$SHOTS/text_window_pasted.png"

# "上書き" of a pasted record asks for a name: the record goes there, and the file opened before stays.
before=$(md5sum < "$record")
send alt+f w
save_through_dialog "$work/pasted.sgf" "上書き of a pasted record did not ask for a name"
[ "$(md5sum < "$record")" = "$before" ] || fail "the record opened before was overwritten"
info=$("$cli" info "$work/pasted.sgf")
grep -q "setup stones: 2" <<< "$info" || fail "the pasted record reads otherwise: $info"
grep -q "main-line moves: 2" <<< "$info" || fail "the pasted record reads otherwise: $info"
moves=$(grep -o ';[BW]\[[a-t]*\]' "$work/pasted.sgf" | tr -d '\n')
[ "$moves" = ";B[ee];W[gg]" ] || fail "the moves are '$moves', not ;B[ee];W[gg]"
echo "e2e text board: KKT fills the clipboard as quorvel textboard writes it; KVS opens a typed text board"
