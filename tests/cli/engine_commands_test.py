#!/usr/bin/env python3
"""quorvel analyse and quorvel review on the real GNU Go at its lowest level, checked against this test's
own reading of the record: a small Go board of its own replays the SGF, so the candidates are checked to be
empty, non-suicide points for the side to move, and a review must give one figure per move of the record.

usage: engine_commands_test.py QUORVEL DATA_DIR WORK_DIR
"""
import os
import re
import subprocess
import sys

QUORVEL, DATA, WORK = sys.argv[1:4]
failures = []
COLUMNS = "ABCDEFGHJKLMNOPQRST"


def fail(message):
    failures.append(message)


def run(*args):
    return subprocess.run([QUORVEL, *args], capture_output=True, text=True, timeout=120)


def sgf_moves(text):
    size = int(re.search(r"SZ\[(\d+)\]", text).group(1))
    moves = [(c, v) for c, v in re.findall(r";([BW])\[([a-s]{0,2})\]", text)]
    return size, moves


def neighbours(p, size):
    x, y = p
    for q in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
        if 0 <= q[0] < size and 0 <= q[1] < size:
            yield q


def group(board, p, size):
    colour = board[p]
    seen, todo, liberties = {p}, [p], set()
    while todo:
        for q in neighbours(todo.pop(), size):
            if q not in board:
                liberties.add(q)
            elif board[q] == colour and q not in seen:
                seen.add(q)
                todo.append(q)
    return seen, liberties


def play(board, colour, p, size):
    board[p] = colour
    for q in neighbours(p, size):
        if q in board and board[q] != colour:
            stones, liberties = group(board, q, size)
            if not liberties:
                for s in stones:
                    del board[s]
    return bool(group(board, p, size)[1])


def board_after(size, moves):
    board = {}
    for colour, v in moves:
        if len(v) == 2 and ord(v[0]) - 97 < size:
            play(board, colour, (ord(v[0]) - 97, ord(v[1]) - 97), size)
    return board


def vertex_point(vertex, size):
    return COLUMNS.index(vertex[0].upper()), size - int(vertex[1:])


def check_analyse(record, moves_arg):
    text = open(record, encoding="ascii").read()
    size, moves = sgf_moves(text)
    played = moves if moves_arg is None else moves[:moves_arg]
    to_move = "W" if played and played[-1][0] == "B" else "B"
    args = ["analyse", "--level", "0"] + ([] if moves_arg is None else ["--moves", str(moves_arg)]) + [record]
    r = run(*args)
    if r.returncode != 0:
        fail(f"analyse {moves_arg}: status {r.returncode}: {r.stderr}")
        return
    head = re.search(r"after move (\d+) of (\d+), (Black|White) to play", r.stdout)
    if not head or int(head.group(1)) != len(played) or int(head.group(2)) != len(moves):
        fail(f"analyse {moves_arg}: position line wrong:\n{r.stdout}")
    if head and head.group(3)[0] != to_move:
        fail(f"analyse {moves_arg}: {head.group(3)} to play, expected {to_move}")
    candidates = re.findall(r"^\s*\d+\s+([A-T]\d+)\s", r.stdout, re.M)
    if not candidates:
        fail(f"analyse {moves_arg}: no candidate:\n{r.stdout}")
    board = board_after(size, played)
    for vertex in candidates:
        p = vertex_point(vertex, size)
        if p in board:
            fail(f"analyse {moves_arg}: candidate {vertex} is on a stone")
            continue
        trial = dict(board)
        if not play(trial, to_move, p, size):
            fail(f"analyse {moves_arg}: candidate {vertex} is suicide for {to_move}")
    if not re.search(r"^score: [BW]\+\d+\.\d$|^score: 0$", r.stdout, re.M):
        fail(f"analyse {moves_arg}: no score line:\n{r.stdout}")


record = os.path.join(DATA, "engine", "nine_11_moves.sgf")
check_analyse(record, None)
check_analyse(record, 4)
check_analyse(record, 0)

# Review: one figure per move, in order, the colours alternating from Black.
size, moves = sgf_moves(open(record, encoding="ascii").read())
r = run("review", "--level", "0", record)
if r.returncode != 0:
    fail(f"review: status {r.returncode}: {r.stderr}")
rows = re.findall(r"^\s*(\d+)\s+([BW])\s+([A-Tpas0-9]+)\s+([BW]\+\d+\.\d|0)", r.stdout, re.M)
if [int(n) for n, *_ in rows] != list(range(1, len(moves) + 1)):
    fail(f"review: the figures are not one per move:\n{r.stdout}")
for (n, colour, vertex, _), (sgf_colour, v) in zip(rows, moves):
    if colour != sgf_colour:
        fail(f"review: move {n} is {colour}, the record says {sgf_colour}")
    x, y = vertex_point(vertex, size)
    if chr(97 + x) + chr(97 + y) != v:
        fail(f"review: move {n} is {vertex}, the record says {v}")
if "largest losses:" not in r.stdout:
    fail("review: no list of losses")

# A side plainly ahead: a black wall on F, a white one on G; Black has five columns behind it.
wall = os.path.join(WORK, "walls.sgf")
with open(wall, "w", encoding="ascii") as f:
    f.write("(;GM[1]SZ[9]KM[6.5]AB" + "".join(f"[f{c}]" for c in "abcdefghi") +
            "AW" + "".join(f"[g{c}]" for c in "abcdefghi") + ")\n")
r = run("analyse", "--level", "0", wall)
if not re.search(r"^score: B\+", r.stdout, re.M):
    fail(f"walls: Black should lead:\n{r.stdout}{r.stderr}")

# The engine's failures: status 4 and the reason in the user's words; wrong options: status 2.
r = run("analyse", "--engine", "no-such-engine-of-quorvel", record)
if r.returncode != 4 or "が見つかりません" not in r.stderr:
    fail(f"missing engine: status {r.returncode}: {r.stderr}")
r = run("review", "--engine", "/bin/echo hello", record)
if r.returncode != 4 or "GTP ではありません" not in r.stderr:
    fail(f"no GTP: status {r.returncode}: {r.stderr}")
for args in (["analyse", "--level", "11", record], ["analyse", record, "--moves"], ["review", "--moves", "3", record],
             ["review"]):
    r = run(*args)
    if r.returncode != 2:
        fail(f"{' '.join(args)}: status {r.returncode}, expected 2")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("engine commands: all checks passed")
