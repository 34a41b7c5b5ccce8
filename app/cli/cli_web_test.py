#!/usr/bin/env python3
"""Runs the command-line tool on web addresses served by the test web server on 127.0.0.1.

usage: cli_web_test.py QUORVEL SERVER_SCRIPT
"""
import socket
import subprocess
import sys
import tempfile


def run(quorvel, *args):
    done = subprocess.run([quorvel, *args], capture_output=True, timeout=120)
    return done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace")


def expect(condition, what):
    if not condition:
        sys.exit("FAILED: " + what)


def refused_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    quorvel, server_script = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        record = "(;GM[1]SZ[19]PB[黒]PW[白]\n;B[pd]\n;W[dp]\n(;B[qp])(;B[dd]))\n".encode("cp932")
        for name in ("game.sgf", "Zarn.dat"):
            with open(folder + "/" + name, "wb") as out:
                out.write(record)
        server = subprocess.Popen([sys.executable, server_script, folder], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        try:
            port = int(server.stdout.readline())
            base = "http://127.0.0.1:%d" % port
            for path in ("/game.sgf", "/Zarn.dat"):
                status, out, err = run(quorvel, "info", base + path)
                expect(status == 0, "info %s: status %d %s" % (path, status, err))
                expect("main-line moves: 3\nvariations: 1\n" in out, "info %s printed %r" % (path, out))
            status, out, _ = run(quorvel, "write", base + "/game.sgf")
            expect(status == 0 and out.startswith("(;") and "\r\n" in out, "write printed %r" % out)
            status, out, _ = run(quorvel, "line", "--moves", "1", base + "/game.sgf")
            expect(status == 0 and ";B[pd]" in out and ";W[dp]" not in out, "line printed %r" % out)
            for url in (base + "/missing/game.sgf", "http://127.0.0.1:%d/game.sgf" % refused_port()):
                status, _, err = run(quorvel, "info", url)
                expect(status == 2 and "cannot read" in err, "info %s: status %d %s" % (url, status, err))
        finally:
            server.terminate()
            server.wait()


if __name__ == "__main__":
    main()
