#!/usr/bin/env python3
"""Serves the bundled demo feed on loopback the way the news site would:
any /sondakika.rss?rand=... gets the feed; every request is logged."""
import http.server
import sys
from pathlib import Path

FEED = Path(__file__).with_name("sondakika.rss").read_bytes()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        if self.path.split("?")[0] == "/sondakika.rss":
            body, status, kind = FEED, 200, "application/rss+xml"
        else:
            body, status, kind = b"<html><body>404</body></html>", 404, "text/html"
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, fmt, *args):
        sys.stderr.write("demo-server: " + (fmt % args) + "\n")


if __name__ == "__main__":
    port = int(sys.argv[1]) if len(sys.argv) > 1 else 18473
    http.server.ThreadingHTTPServer.allow_reuse_address = True
    http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler).serve_forever()
