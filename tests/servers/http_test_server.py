#!/usr/bin/env python3
"""A web server on 127.0.0.1 for the tests of the HTTP client and web loading.

usage: http_test_server.py FOLDER
Serves the files of FOLDER, and besides them:
  /missing/...   404
  /trickle/...   a 200 response that sends one byte of its promised length every 0.2 s
  /endless/...   a 200 response without a length whose body never ends
  /redirect-file a redirect to a file: address
Prints the port it listens on as the first line of its output.
"""
import functools
import http.server
import sys
import time

from test_server_life import exit_when_the_test_is_gone


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        try:
            if self.path.startswith("/missing"):
                self.send_error(404)
            elif self.path.startswith("/trickle"):
                self.send_response(200)
                self.send_header("Content-Length", "100000")
                self.end_headers()
                while True:
                    self.wfile.write(b"(")
                    self.wfile.flush()
                    time.sleep(0.2)
            elif self.path.startswith("/endless"):
                self.send_response(200)
                self.end_headers()
                chunk = b"(;" + b"B[aa]" * 13000
                while True:
                    self.wfile.write(chunk)
            elif self.path == "/redirect-file":
                self.send_response(302)
                self.send_header("Location", "file:///etc/passwd")
                self.end_headers()
            else:
                super().do_GET()
        except (BrokenPipeError, ConnectionResetError):
            pass



def main():
    exit_when_the_test_is_gone()
    handler = functools.partial(Handler, directory=sys.argv[1])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
