#!/usr/bin/env bash
# The review of a 250-move record at GNU Go's default level (10), measured as whole processes:
# `quorvel review` beside GNU Go itself fed the very GTP commands of the same review (the position set up
# once, then each move played and the score estimated), alternately in the same run. The difference is
# what the program adds to the engine's own work: starting it, talking GTP and the report.
#   tests/bench_cli/review_bench.sh [BUILD_DIR (default build/dev)] [RUNS (default 3)]
set -euo pipefail
build=$(realpath "${1:-build/dev}")
runs=${2:-3}
tool="$build/program/quorvel"
[ -x "$tool" ] || { echo "missing $tool (build the dev preset)" >&2; exit 2; }
gnugo=$(command -v gnugo || echo /usr/games/gnugo)
[ -x "$gnugo" ] || { echo "GNU Go is missing: scripts/install-deps.sh installs it" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The record: GNU Go at level 0 against itself for 250 moves (the moves after both pass are passes), and
# the GTP commands of its review.
python3 - "$gnugo" "$work/game250.sgf" "$work/review.gtp" <<'PY'
import re, subprocess, sys
gnugo, record, commands = sys.argv[1:4]
p = subprocess.Popen([gnugo, "--mode", "gtp", "--level", "0"], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
def ask(c):
    p.stdin.write(c + "\n"); p.stdin.flush()
    lines = []
    while True:
        line = p.stdout.readline().strip()
        if not line and lines: return lines[0][2:].strip()
        if line: lines.append(line)
cols, letters = "ABCDEFGHJKLMNOPQRST", "abcdefghijklmnopqrs"
for c in ("boardsize 19", "clear_board", "komi 6.5"): ask(c)
moves, review = [], ["boardsize 19", "clear_board", "komi 6.5", "estimate_score"]
for k in range(250):
    colour = "BW"[k % 2]
    v = ask("genmove " + colour).upper()
    if v in ("PASS", "RESIGN"):
        moves.append(";%s[]" % colour); review += ["play %s pass" % colour, "estimate_score"]
        continue
    moves.append(";%s[%s%s]" % (colour, letters[cols.index(v[0])], letters[19 - int(v[1:])]))
    review += ["play %s %s" % (colour, v), "estimate_score"]
ask("quit")
open(record, "w").write("(;GM[1]FF[4]SZ[19]KM[6.5]\n" + "".join(moves) + ")\n")
open(commands, "w").write("\n".join(review + ["quit"]) + "\n")
PY

seconds() { local start end; start=$(date +%s.%N); "$@" > /dev/null; end=$(date +%s.%N); echo "$end - $start" | bc; }
own=() ; tool_times=()
for ((i = 0; i < runs; ++i)); do
  own+=("$(seconds sh -c "\"$gnugo\" --mode gtp --level 10 < \"$work/review.gtp\"")")
  tool_times+=("$(seconds "$tool" review --level 10 "$work/game250.sgf")")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
m_own=$(median "${own[@]}")
m_tool=$(median "${tool_times[@]}")
echo "GNU Go alone, the same 251 scores:  ${m_own} s (runs: ${own[*]})"
echo "quorvel review:                      ${m_tool} s (runs: ${tool_times[*]})"
echo "the program's share: $(echo "scale=2; ($m_tool - $m_own) * 100 / $m_own" | bc) %"
