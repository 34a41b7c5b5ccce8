#!/usr/bin/env bash
# An install into a temporary prefix that is then made read-only: the files land where a Linux program's
# belong, the desktop entry is valid, and the installed program (started through its launcher by a user who
# cannot write the prefix) opens a record and writes its settings into that user's configuration folder.
# usage: install_e2e.sh BUILD_DIR   (under an X display)
set -euo pipefail
build=$1
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "install e2e: $*" >&2; [ -f "$work/out.log" ] && cat "$work/out.log" >&2; exit 1; }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > "$work/install.log" || fail "cmake --install failed"
for f in bin/ZarnShow bin/quorvel lib/quorvel/ZarnShow lib/quorvel/quorvel lib/quorvel/quorvel_sound.so lib/quorvel/quorvel_net.so \
         lib/quorvel/bmp/GoBan19.bmp lib/quorvel/bmp/Start.bmp lib/quorvel/bmp/icons/KFO.png \
         lib/quorvel/stone.wav lib/quorvel/bgm.wav lib/quorvel/boat.avi \
         share/applications/quorvel.desktop share/icons/hicolor/64x64/apps/quorvel.png; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
desktop-file-validate "$prefix/share/applications/quorvel.desktop" || fail "the installed desktop entry is not valid"
grep -qx "Exec=$prefix/bin/ZarnShow %f" "$prefix/share/applications/quorvel.desktop" || fail "the entry does not run the launcher"
"$prefix/bin/quorvel" --help > /dev/null || fail "the command-line launcher does not run"

chmod -R a-w "$prefix"
home="$work/home"
mkdir -p "$home"
chmod 755 "$work"
chmod 777 "$home"
record="$work/game.sgf"
printf '%s' '(;GM[1]FF[4]SZ[19]PB[Installed];B[pd];W[dp])' > "$record"
chmod 644 "$record"
# Root writes anywhere: the program then runs as an unprivileged user, who may use the display.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  cp "${XAUTHORITY:-/dev/null}" "$work/xauth" 2>/dev/null || true
  chmod 644 "$work/xauth" 2>/dev/null || true
  export XAUTHORITY="$work/xauth"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
unset QT_QPA_PLATFORM
"${as_user[@]}" env HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
  XDG_RUNTIME_DIR="$home" "$prefix/bin/ZarnShow" "$record" > "$work/out.log" 2>&1 &
pid=$!
main=""
for _ in $(seq 1 150); do
  main=$(xdotool search --name "Quorvel  $record\$" 2>/dev/null | head -n1 || true)
  [ -n "$main" ] && break
  sleep 0.1
done
[ -n "$main" ] || fail "the installed program did not open the record"
[ -n "${SHOTS:-}" ] && import -window root "$SHOTS/installed.png"
sleep 0.5
xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
xdotool key --clearmodifiers alt+f
sleep 0.3
xdotool key --clearmodifiers Up Return
for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$pid" 2>/dev/null || fail "the program did not close"
pid=""
[ -f "$home/config/quorvel/Zarn.dat" ] || fail "no settings in the configuration folder: $(ls -R "$home")"
grep -q "^Item1\[$record\]" "$home/config/quorvel/Zarn.dat" || fail "the record is not among the recent files"
[ ! -e "$prefix/lib/quorvel/Zarn.dat" ] || fail "settings written into the prefix"
echo "install e2e: installed, desktop entry valid, read-only prefix ran, settings in the configuration folder"
