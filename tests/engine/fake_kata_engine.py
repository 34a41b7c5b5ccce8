#!/usr/bin/env python3
"""A stand-in for an engine that only streams its analysis, as KataGo's kata-analyze does: it answers the
commands the program sends for a position, and after "kata-analyze" prints an info line every 50 ms until
the next command arrives, which ends the stream with an empty line. Asked for a move, it resigns."""
import select
import sys

COMMANDS = ["protocol_version", "name", "list_commands", "boardsize", "clear_board", "komi", "play",
            "kata-analyze", "genmove", "quit"]
LINE = ("info move C3 visits {v} winrate 0.61 scoreLead 4.5 prior 0.2 order 0 pv C3 D4 "
        "info move G7 visits 3 winrate 0.55 scoreLead 2.0 order 1 pv G7 ownership 0.1 0.2")


def answer(text):
    sys.stdout.write("= " + text + "\n\n")
    sys.stdout.flush()


def main():
    pending = None
    while True:
        line = pending if pending is not None else sys.stdin.readline()
        pending = None
        if not line:
            return
        words = line.split()
        if not words:
            continue
        name = words[0]
        if name == "quit":
            answer("")
            return
        if name == "list_commands":
            answer("\n".join(COMMANDS))
        elif name == "protocol_version":
            answer("2")
        elif name == "genmove":
            answer("resign")
        elif name == "kata-analyze":
            sys.stdout.write("=\n")
            sys.stdout.flush()
            visits = 1
            while True:
                ready, _, _ = select.select([sys.stdin], [], [], 0.05)
                if ready:
                    pending = sys.stdin.readline()
                    sys.stdout.write("\n")
                    sys.stdout.flush()
                    break
                sys.stdout.write(LINE.format(v=visits) + "\n")
                sys.stdout.flush()
                visits += 1
        elif name in COMMANDS:
            answer("")
        else:
            sys.stdout.write("? unknown command\n\n")
            sys.stdout.flush()


main()
