#!/usr/bin/env python3
"""A time-stamp authority for the release tests: answers RFC 3161 requests over HTTP on 127.0.0.1,
each with `openssl ts -reply` and the given configuration (which names the authority's certificate
and key). Prints the port it listens on, then serves until it is ended.

Usage: timestamp_server.py OPENSSL_TS_CONFIG
"""
import http.server
import os
import subprocess
import sys
import tempfile

CONFIG = os.path.abspath(sys.argv[1])


class TimeStamps(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        request = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        with tempfile.NamedTemporaryFile(suffix=".tsq") as query:
            query.write(request)
            query.flush()
            reply = subprocess.run(["openssl", "ts", "-reply", "-config", CONFIG, "-queryfile", query.name],
                                   cwd=os.path.dirname(CONFIG), capture_output=True)
        if reply.returncode != 0:
            sys.stderr.write(reply.stderr.decode(errors="replace"))
            self.send_error(500)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply.stdout)))
        self.end_headers()
        self.wfile.write(reply.stdout)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), TimeStamps)
print(server.server_port, flush=True)
server.serve_forever()
