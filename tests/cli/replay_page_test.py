#!/usr/bin/env python3
"""The published page replays its record in a real browser.

The command-line tool writes the page of a small record (a capture, a variation, comments in Japanese);
headless Chromium loads it from file:// with a fragment that steps the board, and the board (its stones)
and the comment are read back from the page's DOM after the script ran and compared with positions drawn
here by hand. Then the page is driven as a user drives it, over Chromium's DevTools pipe: mouse clicks
on the buttons and on a variation's letter, and the arrow keys. With QUORVEL_SCREENSHOTS set, a
screenshot of the page is written there.

usage: replay_page_test.py QUORVEL CHROMIUM WORK_DIR
"""
import json
import os
import shutil
import subprocess
import sys
import time
from html.parser import HTMLParser

QUORVEL, CHROMIUM = sys.argv[1:3]
# The page is loaded by its file:// address, which needs the whole path.
WORK = os.path.abspath(sys.argv[3])

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


class DevTools:
    """Chromium driven over --remote-debugging-pipe: messages are JSON ended by a NUL byte, sent on the
    browser's fd 3 and read from its fd 4."""

    def __init__(self, url):
        profile = os.path.join(WORK, "profile-pipe")
        shutil.rmtree(profile, ignore_errors=True)
        to_browser_r, self._to_browser = os.pipe()
        self._from_browser, from_browser_w = os.pipe()
        # The browser's ends become its fds 3 and 4.
        self._proc = subprocess.Popen(
            [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
             "--user-data-dir=" + profile, "--remote-debugging-pipe", "--window-size=600,700", "about:blank"],
            pass_fds=(3, 4), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=lambda: (os.dup2(to_browser_r, 3), os.dup2(from_browser_w, 4)))
        os.close(to_browser_r)
        os.close(from_browser_w)
        self._buffer = b""
        self._id = 0
        self.session = None
        # A tab of its own for the page, rather than whatever tab the browser opens first.
        target = self.call("Target.createTarget", url=url)["targetId"]
        self.session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        # The page's script has run once the document is complete and the board drawn.
        for _ in range(200):
            if self.evaluate("document.readyState") == "complete" and self.evaluate(
                    "!!document.getElementById('qv-move').getAttribute('data-n')"):
                break
            time.sleep(0.05)

    def call(self, method, **params):
        self._id += 1
        message = {"id": self._id, "method": method, "params": params}
        if self.session and not method.startswith("Target."):
            message["sessionId"] = self.session
        os.write(self._to_browser, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self._buffer:
                chunk = os.read(self._from_browser, 65536)
                if not chunk:
                    raise RuntimeError("Chromium closed its pipe")
                self._buffer += chunk
            raw, self._buffer = self._buffer.split(b"\0", 1)
            reply = json.loads(raw)
            if reply.get("id") == self._id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]

    def evaluate(self, expression):
        return self.call("Runtime.evaluate", expression=expression, returnByValue=True)["result"].get("value")

    def click(self, selector):
        """A mouse click at the middle of the element, as the user clicks it."""
        box = self.evaluate(f"(function(){{var r=document.querySelector({json.dumps(selector)})"
                            ".getBoundingClientRect();return [r.left+r.width/2,r.top+r.height/2];})()")
        for kind in ("mousePressed", "mouseReleased"):
            self.call("Input.dispatchMouseEvent", type=kind, x=box[0], y=box[1], button="left", clickCount=1)

    def key(self, name, code):
        self.evaluate("document.getElementById('qv').focus()")
        for kind in ("keyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, key=name, code=name, windowsVirtualKeyCode=code)

    def state(self):
        """The moves shown, the board and the comment, read from the page as --dump-dom reads them."""
        dom = Dom()
        dom.feed(self.evaluate("document.documentElement.outerHTML"))
        return dom

    def close(self):
        self._proc.kill()
        self._proc.wait()
        os.close(self._to_browser)
        os.close(self._from_browser)


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
    # The same positions reached with the mouse and the keys.
    browser = DevTools("file://" + page)
    try:
        actions = [
            ("3 clicks on forward", lambda: [browser.click("#qv-forward") for _ in range(3)], "3"),
            ("a click on the letter B", lambda: browser.click(".qv-variation[data-v='2']"), "3,v2"),
            ("2 clicks on back", lambda: [browser.click("#qv-back") for _ in range(2)], "3,v2,b2"),
            ("first", lambda: browser.click("#qv-first"), ""),
            ("last", lambda: browser.click("#qv-last"), "end"),
            ("the left arrow key", lambda: browser.key("ArrowLeft", 37), "3"),
            ("Home", lambda: browser.key("Home", 36), ""),
        ]
        for label, act, expected in actions:
            act()
            dom = browser.state()
            moves, board, comment = STEPS[expected]
            if (dom.moves, diagram(dom.stones), (dom.comment or "").replace("\r\n", "\n")) != \
                    (moves, board.strip(), comment):
                failures.append(f"{label}: move {dom.moves}, comment {dom.comment!r}, board\n{diagram(dom.stones)}\n"
                                f"expected the position of #{expected}")
    finally:
        browser.close()

    shots = os.environ.get("QUORVEL_SCREENSHOTS")
    if shots:
        os.makedirs(shots, exist_ok=True)
        chromium("--screenshot=" + os.path.join(shots, "replay-page.png"), "--window-size=560,640",
                 "file://" + page + "#3,v2")
    for f in failures:
        print(f)
    print(f"replay page: {len(STEPS)} positions by address and {len(actions)} by mouse and keys read back "
          f"from Chromium, {len(failures)} wrong")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
