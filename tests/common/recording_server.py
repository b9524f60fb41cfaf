#!/usr/bin/env python3
"""Records the HTTP requests that reach it, for tests of clients that post.

Usage: recording_server.py [--delay=SECONDS] [STATUS...]
Listens on 127.0.0.1, prints the chosen port on the first line, then one JSON
object a line for each request: method, path, headers (names in lower case),
body (text), the status it was answered with and how many requests were being
answered at once when it arrived, itself included. Requests are answered with
the given statuses in turn, the last one for all that follow (200 when none is
given), each after the delay (none by default). Connections stay open unless
the client asks to close them. Serves until stdin closes.
"""
import http.server
import json
import sys
import threading
import time


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'

    def answer(self):
        length = int(self.headers.get('Content-Length') or 0)
        body = self.rfile.read(length)
        server = self.server
        with server.lock:
            status = server.statuses[min(server.count, len(server.statuses) - 1)]
            server.count += 1
            server.active += 1
            record = {
                'method': self.command,
                'path': self.path,
                'headers': {name.lower(): value for name, value in self.headers.items()},
                'body': body.decode('utf-8', 'replace'),
                'status': status,
                'concurrent': server.active,
            }
            print(json.dumps(record), flush=True)
        try:
            time.sleep(server.delay)
            self.send_response(status)
            self.send_header('Content-Length', '0')
            self.end_headers()
        finally:
            with server.lock:
                server.active -= 1

    do_GET = answer
    do_POST = answer

    def log_message(self, format, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
    server.delay = 0.0
    server.statuses = []
    for argument in sys.argv[1:]:
        if argument.startswith('--delay='):
            server.delay = float(argument[len('--delay='):])
        else:
            server.statuses.append(int(argument))
    server.statuses = server.statuses or [200]
    server.count = 0
    server.active = 0
    server.lock = threading.Lock()
    print(server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()
    server.shutdown()


if __name__ == '__main__':
    main()
