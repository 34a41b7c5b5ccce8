"""What every test server shares: it lives as long as the test that started it."""
import os
import sys
import threading


def exit_when_the_test_is_gone():
    """The test holds this server's input open; when it ends, however it ends, so does the server."""
    def watch():
        sys.stdin.buffer.read()
        os._exit(0)
    threading.Thread(target=watch, daemon=True).start()
