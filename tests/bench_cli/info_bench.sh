#!/usr/bin/env bash
# The command-line tool's start, measured as whole processes: `quorvel info` of a small record beside a
# program that only reads the same file (read_file), alternately in the same run, so that a script over a
# folder of records sees what one record costs. The network module must not be loaded for a file.
#   tests/bench_cli/info_bench.sh [BUILD_DIR (default build/dev)] [RUNS (default 200)]
set -euo pipefail
build=$(realpath "${1:-build/dev}")
runs=${2:-200}
tool="$build/program/quorvel"
yardstick="$build/bench/read_file"
for p in "$tool" "$yardstick"; do [ -x "$p" ] || { echo "missing $p (build the dev preset)" >&2; exit 2; }; done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A record of about 2 KB: a 100-move game with its game information and a comment on every third move.
record="$work/small.sgf"
python3 - "$record" <<'PY'
import sys
letters = "abcdefghijklmnopqrs"
moves = "".join(";%s[%s%s]%s" % ("BW"[k % 2], letters[(k * 7) % 19], letters[(k * 11 + k // 19) % 19],
                                 "C[a short note on move %d, about the shape]" % k if k % 3 == 0 else "")
                for k in range(100))
text = "(;GM[1]FF[4]SZ[19]PB[Black player]PW[White player]KM[6.5]RE[B+R]DT[2026-12-08]\n" + moves + ")\n"
open(sys.argv[1], "w", encoding="ascii", newline="").write(text)
PY

if LD_DEBUG=files "$tool" info "$record" 2>&1 >/dev/null | grep -q 'libcurl'; then
  echo "quorvel info loaded libcurl for a file" >&2
  exit 1
fi

python3 - "$tool" "$yardstick" "$record" "$runs" <<'PY'
import statistics, subprocess, sys, time
tool, yardstick, record, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
def once(command):
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
    return (time.perf_counter() - start) * 1000
for _ in range(5):  # the page cache and the dynamic loader's caches warm for both
    once([yardstick, record]); once([tool, "info", record])
read_only, info = [], []
for _ in range(runs):
    read_only.append(once([yardstick, record]))
    info.append(once([tool, "info", record]))
size = len(open(record, "rb").read())
print("record: %d bytes, %d runs each" % (size, runs))
for name, times in (("read_file", read_only), ("quorvel info", info)):
    print("%-13s median %.2f ms, best %.2f ms" % (name, statistics.median(times), min(times)))
ratio = statistics.median(info) / statistics.median(read_only)
print("quorvel info / read_file: %.2f (target: at most 2)" % ratio)
PY
