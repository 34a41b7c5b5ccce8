# Shared by the end-to-end tests: answers the program's save dialog ("棋譜の保存") with PATH, as a user types
# it, and waits for the file. Needs fail() of the sourcing script. usage: save_through_dialog PATH WHAT
save_through_dialog() {
  local path=$1 what=$2 dialog=""
  for _ in $(seq 1 100); do
    dialog=$(xdotool search --name "棋譜の保存" 2>/dev/null | head -n1 || true)
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$dialog" ] || fail "$what"
  sleep 0.5
  xdotool type --delay 20 "$path"
  xdotool key Return
  for _ in $(seq 1 100); do
    [ -s "$path" ] && break
    sleep 0.1
  done
  [ -s "$path" ] || fail "nothing saved"
}
