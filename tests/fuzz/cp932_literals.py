#!/usr/bin/env python3
"""Copies a C++ source, writing every non-ASCII character inside a string or character literal as the
"\\xNN" escapes of its CP932 bytes.

The regular build compiles with GCC's -fexec-charset=CP932, so that a Japanese literal in a source file is
the program's own Shift-JIS byte string. Clang has no such option; the fuzz build compiles these copies
instead, which hold the same bytes. Comments and everything outside literals are copied unchanged.

usage: cp932_literals.py SOURCE OUTPUT
"""
import sys

HEX = set("0123456789abcdefABCDEF")


def convert(text: str) -> str:
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            out.append(text[i:end])
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(text[i:end])
            i = end
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            # R"delim( ... )delim": copied as it stands when it holds ASCII alone (escapes mean nothing in it).
            open_paren = text.find("(", i + 2)
            delim = text[i + 2:open_paren]
            end = text.find(")" + delim + '"', open_paren)
            if open_paren < 0 or end < 0:
                raise SystemExit("unterminated raw string literal: " + text[i:i + 20])
            end += len(delim) + 2
            if not text[i:end].isascii():
                raise SystemExit("raw string literals beyond ASCII are not supported: " + text[i:i + 20])
            out.append(text[i:end])
            i = end
        elif c in "\"'":
            # A ' between digits is a digit separator, not a character literal.
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum():
                out.append(c)
                i += 1
                continue
            i = literal(text, i, out)
        else:
            out.append(c)
            i += 1
    return "".join(out)


def literal(text: str, i: int, out: list) -> int:
    """Copies the literal opening at text[i]; returns the index after its closing quote."""
    quote = text[i]
    out.append(quote)
    i += 1
    after_hex_escape = False
    while i < len(text):
        c = text[i]
        if c == "\\":
            escape = text[i:i + 2]
            if escape[1:] == "x":
                j = i + 2
                while j < len(text) and text[j] in HEX:
                    j += 1
                escape = text[i:j]
            out.append(escape)
            after_hex_escape = escape.startswith("\\x")
            i += len(escape)
            continue
        if c == quote:
            out.append(c)
            return i + 1
        if ord(c) < 128:
            if after_hex_escape and c in HEX:
                if quote != '"':
                    raise SystemExit("cannot split a character literal")
                out.append('""')  # ends the escape: "\x83" "A" is not "\x83A"
            out.append(c)
            after_hex_escape = False
        else:
            out.append("".join("\\x%02x" % b for b in c.encode("cp932")))
            after_hex_escape = True
        i += 1
    raise SystemExit("unterminated literal")


def main() -> None:
    source, output = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    converted = convert(text)
    with open(output, "w", encoding="utf-8", newline="") as f:
        f.write(converted)


if __name__ == "__main__":
    main()
