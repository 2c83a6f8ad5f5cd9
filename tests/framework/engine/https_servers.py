#!/usr/bin/env python3
"""Two HTTPS servers on 127.0.0.1 for the certificate name tests: one whose certificate
names 127.0.0.1, one whose certificate names another host, both issued by the test
authority in <folder>. Writes "<good port> <wrong port>" to <folder>/https.ports, then
serves until killed."""
import http.server
import os
import ssl
import sys
import threading


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def do_GET(self):
        body = b"IP=192.0.2.44\r\n" if self.path.startswith("/info") else b"secure hello"
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def serve_https(folder, name):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(f"{folder}/{name}.pem", f"{folder}/{name}.key")
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def main():
    folder = sys.argv[1]
    ports = f"{serve_https(folder, 'good')} {serve_https(folder, 'wrong')}"
    with open(f"{folder}/https.ports.part", "w") as out:
        out.write(ports + "\n")
    os.rename(f"{folder}/https.ports.part", f"{folder}/https.ports")
    threading.Event().wait()


if __name__ == "__main__":
    main()
