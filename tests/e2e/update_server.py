"""Loopback HTTP server of e2e_update.sh: answers every GET, whatever the address asked for, with the
current content of the body file, and logs each request's line, User-Agent and Cache-Control.
A body "SLOW:text" sends its headers at once and the text only 5 seconds later.

Usage: update_server.py BODY_FILE LOG_FILE PORT_FILE PORT (0 picks a free port, written to PORT_FILE)
"""
import http.server
import sys
import time

body_file, log_file, port_file, port = sys.argv[1:5]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        with open(log_file, "a") as log:
            log.write("%s | %s | %s\n" % (self.requestline, self.headers.get("User-Agent"),
                                           self.headers.get("Cache-Control")))
        with open(body_file, "rb") as f:
            body = f.read()
        slow = body.startswith(b"SLOW:")
        if slow:
            body = body[5:]
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.flush()
        if slow:
            time.sleep(5)
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", int(port)), Handler)
with open(port_file, "w") as f:
    f.write(str(server.server_address[1]))
server.serve_forever()
