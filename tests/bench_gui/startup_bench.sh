#!/usr/bin/env bash
# Start-up, measured as whole processes: from starting ZarnShow with a large record on its command line to
# the first board window painted with that record, beside a minimal Qt program that shows an empty window,
# alternately in the same run. Both print the time of that paint (QUORVEL_STARTUP_PROBE) and end there.
# Runs under Xvfb when there is no display.
#   tests/bench_gui/startup_bench.sh [BUILD_DIR (default build/dev)] [RUNS (default 20)] [VARIATIONS (149)]
# VARIATIONS sets the record's size: 149 make about 6 MB, 0 a 300-move game of about 300 KB. With
# QUORVEL_STARTUP_PROBE=trace in the environment it also prints when each step of the start-up came.
set -euo pipefail
build=$(realpath "${1:-build/dev}")
runs=${2:-20}
variation_count=${3:-149}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$runs" "$variation_count"
fi
program="$build/program/ZarnShow"
empty="$build/bench/empty_window"
for p in "$program" "$empty"; do [ -x "$p" ] || { echo "missing $p (build the dev preset)" >&2; exit 2; }; done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work"
export QUORVEL_STARTUP_PROBE=${QUORVEL_STARTUP_PROBE:-1}

# A large record: a 300-move main line and up to 149 variations of 40 moves, every move commented.
record="$work/large.sgf"
python3 - "$record" "$variation_count" <<'PY'
import sys
letters = "abcdefghijklmnopqrs"
def point(i):
    return letters[(i * 7) % 19] + letters[(i * 11 + i // 19) % 19]
def moves(start, count, first_black, comment):
    out = []
    for k in range(count):
        colour = "B" if (k % 2 == 0) == first_black else "W"
        out.append(";%s[%s]C[%s]" % (colour, point(start + k), comment % (start + k)))
    return "".join(out)
comment = "move %d: " + "a long comment about the shape and the reading " * 20
body = moves(0, 300, True, comment)
variations = "".join("(" + moves(1000 + 40 * v, 40, True, comment) + ")" for v in range(int(sys.argv[2])))
text = "(;GM[1]FF[4]SZ[19]PB[Black player]PW[White player]KM[6.5]RE[B+R]\r\n" + body + ")\r\n" + variations
open(sys.argv[1], "w", encoding="ascii", newline="").write(text)
PY

# Milliseconds from the start of the process to its first paint (and to its end). Under
# QUORVEL_STARTUP_PROBE=trace the steps the program marks go to $work/marks.txt, in milliseconds too.
measure() {
  local start end out painted
  start=$EPOCHREALTIME
  out=$("$@" 2>/dev/null)
  end=$EPOCHREALTIME
  painted=$(sed -n 's/^painted //p' <<<"$out")
  [ -n "$painted" ] || { echo "no paint reported by $1" >&2; exit 1; }
  python3 -c "import sys; s=float(sys.argv[1]); print('%.1f %.1f' % ((int(sys.argv[2]) / 1e9 - s) * 1000, (float(sys.argv[3]) - s) * 1000))" \
    "$start" "$painted" "$end"
  if [ "$1" = "$program" ] && grep -q '^mark ' <<<"$out"; then
    sed -n 's/^mark //p' <<<"$out" | python3 -c "
import sys
s = float(sys.argv[1])
print(' '.join('%s=%.2f' % (n, (int(t) / 1e9 - s) * 1000) for n, t in (l.split() for l in sys.stdin)))" "$start" >> "$work/marks.txt"
  fi
}

measure "$empty" >/dev/null  # warm the page cache for both
measure "$program" "$record" >/dev/null
: > "$work/empty.txt"
: > "$work/program.txt"
: > "$work/marks.txt"
for _ in $(seq 1 "$runs"); do
  measure "$empty" >> "$work/empty.txt"
  measure "$program" "$record" >> "$work/program.txt"
done

python3 - "$work/empty.txt" "$work/program.txt" "$(stat -c %s "$record")" <<'PY'
import statistics, sys
def read(path):
    rows = [tuple(map(float, line.split())) for line in open(path)]
    return [r[0] for r in rows], [r[1] for r in rows]
empty_paint, empty_end = read(sys.argv[1])
prog_paint, prog_end = read(sys.argv[2])
m = statistics.median
print("record: %.1f MB, %d runs each" % (int(sys.argv[3]) / 1e6, len(prog_paint)))
print("empty window : first paint median %6.1f ms (min %6.1f), process end %6.1f ms" % (m(empty_paint), min(empty_paint), m(empty_end)))
print("ZarnShow     : first board median %6.1f ms (min %6.1f), process end %6.1f ms" % (m(prog_paint), min(prog_paint), m(prog_end)))
print("ratio of the medians: %.2f (target at most 1.5)" % (m(prog_paint) / m(empty_paint)))
PY
if [ -s "$work/marks.txt" ]; then
  python3 - "$work/marks.txt" <<'PY'
import statistics, sys
steps = {}
for line in open(sys.argv[1]):
    for item in line.split():
        name, ms = item.rsplit("=", 1)
        steps.setdefault(name, []).append(float(ms))
print("steps of ZarnShow (median ms from the start):")
for name, times in sorted(steps.items(), key=lambda kv: statistics.median(kv[1])):
    print("  %-28s %6.1f" % (name, statistics.median(times)))
PY
fi
