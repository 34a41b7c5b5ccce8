#!/usr/bin/env python3
"""The published page replays its record in a real browser.

The command-line tool writes the page of a small record (a capture, a variation, comments in Japanese);
headless Chromium loads it from file:// with a fragment that steps the board, and the board (its stones)
and the comment are read back from the page's DOM after the script ran and compared with positions drawn
here by hand. With QUORVEL_SCREENSHOTS set, a screenshot of the page is written there.

usage: replay_page_test.py QUORVEL CHROMIUM WORK_DIR
"""
import os
import shutil
import subprocess
import sys
from html.parser import HTMLParser

QUORVEL, CHROMIUM, WORK = sys.argv[1:4]

RECORD = ("(;GM[1]FF[4]SZ[9]PB[黒番]PW[白番]C[開始]"
          ";B[ba]C[一手目];W[aa];B[ab]C[取った]"
          "(;W[ee]C[本線___二行目])(;W[cc]C[変化]))")

# fragment: (moves shown, the board drawn by hand, the comment)
STEPS = {
    "": (0, """
.........
.........
.........
.........
.........
.........
.........
.........
.........""", "開始"),
    "2": (2, """
OX.......
.........
.........
.........
.........
.........
.........
.........
.........""", ""),
    # White's corner stone has no liberty left.
    "3": (3, """
.X.......
X........
.........
.........
.........
.........
.........
.........
.........""", "取った"),
    "end": (4, """
.X.......
X........
.........
.........
....O....
.........
.........
.........
.........""", "本線\n二行目"),
    "3,v2": (4, """
.X.......
X........
..O......
.........
.........
.........
.........
.........
.........""", "変化"),
    "3,v2,b2": (2, """
OX.......
.........
.........
.........
.........
.........
.........
.........
.........""", ""),
}


class Dom(HTMLParser):
    """The replay board's state as the DOM holds it after the script ran."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stones = {}
        self.comment = None
        self.moves = None
        self._in_comment = False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "circle" and "qv-stone" in (a.get("class") or ""):
            self.stones[int(a["data-p"])] = "X" if a["data-c"] == "b" else "O"
        if tag == "span" and a.get("id") == "qv-move":
            self.moves = int(a.get("data-n", "-1"))
        if tag == "div" and a.get("id") == "qv-comment":
            self._in_comment = True
            self.comment = ""

    def handle_endtag(self, tag):
        if tag == "div":
            self._in_comment = False

    def handle_data(self, data):
        if self._in_comment:
            self.comment += data


def chromium(*args):
    profile = os.path.join(WORK, "profile")
    shutil.rmtree(profile, ignore_errors=True)
    return subprocess.run([CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                           "--user-data-dir=" + profile, "--run-all-compositor-stages-before-draw",
                           "--virtual-time-budget=3000", *args],
                          capture_output=True, timeout=120)


def diagram(stones):
    return "\n".join("".join(stones.get(y * 9 + x, ".") for x in range(9)) for y in range(9))


def main():
    os.makedirs(WORK, exist_ok=True)
    record = os.path.join(WORK, "replay.sgf")
    page = os.path.join(WORK, "replay.html")
    with open(record, "wb") as f:
        f.write(RECORD.encode("cp932"))
    made = subprocess.run([QUORVEL, "html", record, page], capture_output=True)
    if made.returncode != 0:
        print("quorvel html failed:", made.stderr.decode(errors="replace"))
        return 1
    failures = []
    for fragment, (moves, board, comment) in STEPS.items():
        run = chromium("--dump-dom", "file://" + page + ("#" + fragment if fragment else ""))
        dom = Dom()
        dom.feed(run.stdout.decode("utf-8", errors="replace"))
        label = "#" + fragment
        if dom.moves is None:
            failures.append(f"{label}: no replay board in the page ({run.stderr.decode(errors='replace')[-400:]})")
            continue
        if dom.moves != moves:
            failures.append(f"{label}: shows move {dom.moves}, expected {moves}")
        if diagram(dom.stones) != board.strip():
            failures.append(f"{label}: board\n{diagram(dom.stones)}\nexpected\n{board.strip()}")
        if (dom.comment or "").replace("\r\n", "\n") != comment:
            failures.append(f"{label}: comment {dom.comment!r}, expected {comment!r}")
    shots = os.environ.get("QUORVEL_SCREENSHOTS")
    if shots:
        os.makedirs(shots, exist_ok=True)
        chromium("--screenshot=" + os.path.join(shots, "replay-page.png"), "--window-size=560,640",
                 "file://" + page + "#3,v2")
    for f in failures:
        print(f)
    print(f"replay page: {len(STEPS)} positions read back from Chromium, {len(failures)} wrong")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
