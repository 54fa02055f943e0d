# Loopback HTTP server of the update check's end-to-end tests, asked directly or as the proxy: answers every
# GET, whatever the address, with BODY_FILE as Python's own file server would (404 while it is missing), and
# logs each request's line, agent, cache control and encoding.
#
# Usage: update_server.py BODY_FILE LOG_FILE PORT_FILE PORT (0 picks a free port, written to PORT_FILE)
import http.server
import sys

body_file, log_file, port_file, port = sys.argv[1:5]


class Handler(http.server.SimpleHTTPRequestHandler):
    def translate_path(self, path):
        return body_file

    def log_request(self, *args):
        with open(log_file, "a") as log:
            headers = [str(self.headers[h]) for h in ("User-Agent", "Cache-Control", "Accept-Encoding")]
            log.write(" | ".join([self.requestline] + headers) + "\n")


server = http.server.HTTPServer(("127.0.0.1", int(port)), Handler)
with open(port_file, "w") as f:
    f.write(str(server.server_address[1]))
server.serve_forever()
