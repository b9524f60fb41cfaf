#!/usr/bin/env python3
"""Serves a folder over HTTP on 127.0.0.1 for the updater tests.

Usage: appcast_server.py FOLDER
Prints the chosen port on the first line and serves until stdin closes.
A file NAME answers with the status written in NAME.status when that exists.
"""
import http.server
import os
import sys
import threading


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        root = self.server.root
        path = os.path.realpath(os.path.join(root, self.path.split('?')[0].lstrip('/')))
        if not path.startswith(root + os.sep) or not os.path.isfile(path):
            self.send_error(404)
            return
        status = 200
        if os.path.isfile(path + '.status'):
            with open(path + '.status') as f:
                status = int(f.read().strip())
        with open(path, 'rb') as f:
            body = f.read()
        self.send_response(status)
        self.send_header('Content-Type', 'application/xml')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, format, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
    server.root = os.path.realpath(sys.argv[1])
    print(server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()
    server.shutdown()


if __name__ == '__main__':
    main()
