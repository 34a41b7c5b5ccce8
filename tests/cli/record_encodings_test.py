#!/usr/bin/env python3
"""Records in every encoding read as their real text and save without loss.

The command-line tool's names (info) and comments (write --encoding utf-8) are compared with an
independent decoding of each file by Python's codecs: the corpus records with text beyond ASCII, records
made here in eleven encodings, their round trips through a save, and a Korean record with more distinct
syllables than the user-defined area holds.

usage: record_encodings_test.py QUORVEL CORPUS_DIR SHARED_CORPUS_DIR WORK_DIR
"""
import os
import re
import subprocess
import sys

QUORVEL, CORPUS, SHARED, WORK = sys.argv[1:5]
failures = []
checked = 0


def fail(label, message):
    failures.append(f"{label}: {message}")


def run(*args):
    return subprocess.run([QUORVEL, *args], capture_output=True)


# What the file's bytes are, as this test knows them (the corpus README), independently of the program.
CORPUS_CODECS = {
    "katrain-alphago-lee-long-commentary.sgf": "utf-8",
    "katrain-fox-ha1-km0-utf8-noca.sgf": "utf-8",
    "sabaki-chinese-gb2312-ca.sgf": "gb2312",
    "sabaki-fox-ai-commentary-deep-nesting-utf8-noca.sgf": "utf-8",
    "sabaki-fox-handicap-utf8-noca.sgf": "utf-8",
    # CA[MS_KANJI] over bytes that are valid UTF-8 and no Shift-JIS: the bytes win.
    "sabaki-japanese-bad-ca-mismatch.sgf": "utf-8",
    "sabaki-japanese-shiftjis-ca-late.sgf": "cp932",
    "sabaki-multigo-problem-gb2312-noca.sgf": "gb18030",
    "sabaki-nihon-kiin-shiftjis-noca.sgf": "cp932",
    "sabaki-utf16le-bom.sgf": "utf-16",
    "sabaki-utf8-bom.sgf": "utf-8-sig",
    "sabakizhcn-multigo-commentary-gb2312-noca.sgf": "gb18030",
    "sente-joseki-teaching-labels-comments.sgf": "utf-8",
    "sgfcpp-chinese-big5-ca.sgf": "big5",
    "sgfcpp-chinese-gb18030-ca.sgf": "gb18030",
    "sgfcpp-cyrillic-windows1251-ca.sgf": "cp1251",
    "sgfcpp-japanese-iso2022jp-ca.sgf": "iso2022_jp",
    "sgfcpp-japanese-shiftjis-ca.sgf": "cp932",
    "sgfcpp-korean-euckr-ca.sgf": "euc_kr",
    "copyleft/kaya-kgs-kanji-names-utf8-ca.sgf": "utf-8",
    "copyleft/fuego-kgs-13x13-timeleft-chat.sgf": "utf-8",
    # HZ, with SGF escapes inside its runs: Python's codec reads it once they are undone.
    "copyleft/rtgo-multigo-problem-hz-gb-2312-ca.sgf": "hz",
    # Latin-1 without CA, SGF's default: its accented letter stands alone between ASCII ones.
    "copyleft/fuego-littlegolem-9x9-latin1-noca.sgf": "latin-1",
}


def sgf_values(text, name):
    """Every value of property `name` in SGF text, unescaped (soft line breaks go)."""
    out = []
    for m in re.finditer(r"(?<![A-Z])" + name + r"((?:\s*\[(?:\\.|[^\\\]])*\])+)", text, re.S):
        for v in re.finditer(r"\[((?:\\.|[^\\\]])*)\]", m.group(1), re.S):
            raw = re.sub(r"\\\r\n|\\\n\r|\\\r|\\\n", "", v.group(1))
            out.append(re.sub(r"\\(.)", r"\1", raw, flags=re.S))
    return out


# The display forms the program keeps comments in (full-width brackets, line breaks as written), undone.
FORMS = str.maketrans({"（": "(", "）": ")", "；": ";", "［": "[", "］": "]", "￥": "\\"})


def comparable(comment):
    c = comment.replace("___", "\n").replace("\r\n", "\n").replace("\r", "\n").translate(FORMS)
    return "\n".join(line.strip() for line in c.split("\n")).strip()


def written_comments(utf8_record):
    text = utf8_record.decode("utf-8")
    return [comparable(c) for c in sgf_values(text, "C") + sgf_values(text, "GC")]


def summary_names(info_out):
    first = info_out.decode("utf-8").split("\n")[0]
    black = re.search(r"● (.*?)(?: \| |$)", first)
    white = re.search(r"○ (.*?)(?: \| |$)", first)
    return (black.group(1) if black else None, white.group(1) if white else None)


def check_record(label, path, codec, data=None):
    """The names and comments the program shows of the record at `path` against Python's decoding."""
    global checked
    checked += 1
    data = data if data is not None else open(path, "rb").read()
    decoded = re.sub(rb"\\(.)", rb"\1", data).decode("hz") if codec == "hz" else data.decode(codec)
    info = run("info", path)
    if info.returncode != 0:
        fail(label, f"info failed: {info.stderr.decode(errors='replace')}")
        return
    black, white = summary_names(info.stdout)
    for prop, shown in (("PB", black), ("PW", white)):
        values = sgf_values(decoded, prop)
        if values and values[0].strip() and shown != values[0]:
            fail(label, f"{prop} shown as {shown!r}, the file holds {values[0]!r}")
    utf8 = run("write", "--encoding", "utf-8", path)
    if utf8.returncode != 0:
        fail(label, f"write --encoding utf-8 failed: {utf8.stderr.decode(errors='replace')}")
        return
    written = written_comments(utf8.stdout)
    raw = sgf_values(decoded, "C") + sgf_values(decoded, "GC")
    expected = {comparable(c) for c in raw}
    in_order = sgf_values(decoded, "C")
    for c in written:
        # One of the file's comments, or a run of them said at one place (a node's several comments,
        # nodes without a move), joined by line breaks.
        joined = any(comparable("\n".join(in_order[i:j])) == c
                     for i in range(len(in_order)) if c.startswith(comparable(in_order[i])[:20])
                     for j in range(i + 2, len(in_order) + 1))
        if c not in expected and not joined:
            fail(label, f"comment written as {c[:80]!r} is none of the file's")
    # Nothing is lost, unless the record fills the branch table (what lies past it is dropped).
    full = re.search(rb"variations: (\d+)", info.stdout)
    for c in expected if not (full and int(full.group(1)) >= 149) else ():
        if c and not any(c in w for w in written):
            fail(label, f"comment {c[:80]!r} of the file was not written")
    beyond = [c for c in expected if any(ord(ch) > 127 for ch in c)]
    moves = len(re.findall(r";\s*[BW]\s*\[", decoded))
    if beyond and moves and not any(any(ord(ch) > 127 for ch in c) for c in written):
        fail(label, "no comment beyond ASCII was written")

    # Saved in its own encoding and read again: the same names and comments; the CA names the encoding.
    saved_path = os.path.join(WORK, "saved.sgf")
    saved = run("write", path, saved_path)
    if saved.returncode != 0:
        fail(label, f"write failed: {saved.stderr.decode(errors='replace')}")
        return
    saved_bytes = open(saved_path, "rb").read()
    again = run("info", saved_path)
    if summary_names(again.stdout) != (black, white):
        fail(label, f"names after a save {summary_names(again.stdout)}, before {(black, white)}")
    again_utf8 = run("write", "--encoding", "utf-8", saved_path)
    if written_comments(again_utf8.stdout) != written:
        fail(label, "comments change when the record is saved and read again")
    encoding = re.search(r"encoding: (\S+)", info.stdout.decode()).group(1)
    if encoding != "Shift_JIS":
        ca = re.search(rb"CA\[([^\]]*)\]", saved_bytes)
        if not ca or ca.group(1).decode().upper().replace("-", "").replace("_", "") != encoding.upper().replace("-", "").replace("_", ""):
            fail(label, f"saved with CA {ca.group(1) if ca else None}, read as {encoding}")
        try:
            saved_bytes.decode({"utf-16": "utf-8", "utf-8-sig": "utf-8", "hz": "gb2312"}.get(codec, codec))
        except UnicodeDecodeError as e:
            fail(label, f"the save is not in the record's encoding: {e}")
    else:
        # Shift-JIS records are written as the program always wrote them, whatever is asked.
        sjis = run("write", "--encoding", "shift_jis", path)
        plain = run("write", path)
        if sjis.stdout != plain.stdout:
            fail(label, "a Shift-JIS record is written otherwise when Shift-JIS is asked for")


for name, codec in CORPUS_CODECS.items():
    folder = SHARED if name.startswith("copyleft/") else CORPUS
    path = os.path.join(folder, name)
    if name.startswith("copyleft/") and not os.path.isdir(os.path.join(SHARED, "copyleft")):
        continue
    check_record(name, path, codec)

# The record whose CA lies says what won and why.
lie = run("info", os.path.join(CORPUS, "sabaki-japanese-bad-ca-mismatch.sgf")).stdout.decode()
if "encoding: UTF-8 (valid UTF-8 under a CA naming Shift-JIS" not in lie:
    fail("CA that lies", lie.strip().split("\n")[-1])

# Records made here, one per encoding, each with names and comments of a script the encoding holds.
SAMPLES = [
    ("cp932", "Shift_JIS", "井山裕太", "山下敬吾", "ここはソの表示、ゼとゾも"),
    ("utf-8", None, "ヒカル", "이창호", "KGS はこう書く: 古力 와 이세돌 (UTF-8, CA なし)"),
    ("utf-8-sig", "UTF-8", "聂卫平", "Ли", "バイト順マーク付き"),
    ("utf-16", "UTF-16", "曺薫鉉", "Иванов", "UTF-16 で書かれた棋譜 — 한국어"),
    ("gb2312", "GB2312", "古力", "柯洁", "黑棋在右上角选择了定式"),
    ("gb18030", "GB18030", "芈昱廷", "柯洁", "白棋的打入很严厉𠀀"),
    ("big5", "Big5", "周俊勳", "林海峰", "圍棋是一種古老的遊戲"),
    ("euc_kr", "EUC-KR", "이창호", "조훈현", "바둑은 오래된 게임입니다"),
    ("cp1251", "Windows-1251", "Дмитрий", "Александр", "Го — древняя игра"),
    ("iso2022_jp", "ISO-2022-JP", "大竹英雄", "林海峰", "白の打ち込みが厳しい（参考図）"),
    ("euc_jp", "EUC-JP", "趙治勲", "小林光一", "黒は右上の定石を選びました"),
]
for codec, ca, black, white, comment in SAMPLES:
    head = "(;GM[1]FF[4]" + (f"CA[{ca}]" if ca else "") + f"SZ[19]PB[{black}]PW[{white}]"
    text = head + f"\r\n;B[pd]C[{comment}];W[dp]C[2: {comment}]\r\n(;B[pp]C[{black}])(;B[dd]C[{white}]))\r\n"
    data = text.encode(codec)
    path = os.path.join(WORK, f"made-{codec}.sgf")
    open(path, "wb").write(data)
    check_record(f"made in {codec}", path, codec, data)

# A character the target lacks is an error, not a "?".
korean = os.path.join(WORK, "made-euc_kr.sgf")
refused = run("write", "--encoding", "shift_jis", korean)
if refused.returncode != 3 or b"no code" not in refused.stderr:
    fail("Hangul to Shift-JIS", f"status {refused.returncode}, {refused.stderr!r}")

# More distinct syllables than the area's 1,880 codes: shown as "?" with a notice, never written silently.
syllables = [chr(0xAC00 + k) for k in range(2100)]
comments = "".join(f";{'BW'[k % 2]}[{chr(97 + k % 19)}{chr(97 + k // 19 % 19)}]C[{''.join(syllables[k * 30:(k + 1) * 30])}]"
                   for k in range(70))
many = os.path.join(WORK, "many-hangul.sgf")
open(many, "wb").write(("(;GM[1]FF[4]SZ[19]PB[이창호]" + comments + ")").encode("utf-8"))
info = run("info", many)
if "?" not in info.stdout.decode() or "「?」" not in info.stdout.decode():
    fail("many Hangul", "no notice of the characters shown as \"?\"")
written = run("write", many, os.path.join(WORK, "many-out.sgf"))
if written.returncode != 3 or os.path.exists(os.path.join(WORK, "many-out.sgf")):
    fail("many Hangul", "written although characters would be lost")

for f in failures:
    print("FAIL", f)
print(f"{checked - len({f.split(':')[0] for f in failures})} passed, {len({f.split(':')[0] for f in failures})} failed")
sys.exit(1 if failures else 0)
