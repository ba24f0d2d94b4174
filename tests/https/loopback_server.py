#!/usr/bin/env python3
"""HTTPS servers on the loopback interface for the tests of the monitor's HTTP client.

Makes a test certificate authority and two server certificates for the host name "localhost"
(Wine does not match IP-address names): one signed by the test authority, which the tests trust
inside the project's Wine prefix only, and one signed by an authority nobody trusts. Serves the
first on --trusted-port and the second on --untrusted-port, and records every request either
receives as one JSON line in trusted.log or untrusted.log of the folder.

What a request is answered with:
  /echo?status=N&body=TEXT...   status N with TEXT as the body (the query may go on)
  /redirect                     302 to /landed on the same server
  anything else                 200 "OK"
"""

import argparse
import json
import os
import ssl
import subprocess
import threading
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_authority(folder, name):
    key = os.path.join(folder, name + ".key")
    cert = os.path.join(folder, name + ".pem")
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
        "-days", "2", "-subj", "/CN=OVP Test Authority " + name,
        "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    return key, cert


def make_server_certificate(folder, name, authority):
    key = os.path.join(folder, name + ".key")
    request = os.path.join(folder, name + ".csr")
    cert = os.path.join(folder, name + ".pem")
    extensions = os.path.join(folder, name + ".ext")
    with open(extensions, "w") as file:
        file.write("subjectAltName=DNS:localhost\nextendedKeyUsage=serverAuth\n"
                   "basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n")
    run("openssl", "req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", request, "-subj", "/CN=localhost")
    run("openssl", "x509", "-req", "-in", request, "-CA", authority[1], "-CAkey", authority[0],
        "-CAcreateserial", "-out", cert, "-days", "2", "-extfile", extensions)
    # The chain the server sends: its own certificate and the authority's.
    chain = os.path.join(folder, name + "-chain.pem")
    with open(chain, "w") as out, open(cert) as own, open(authority[1]) as issuer:
        out.write(own.read() + issuer.read())
    return key, chain


class Recorder(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    log_file = None
    lock = threading.Lock()

    def log_message(self, *args):
        pass

    def record(self, body):
        entry = {
            "method": self.command,
            "path": self.path,
            "headers": {k: v for k, v in self.headers.items()},
            "body": body.decode("latin-1"),
        }
        with Recorder.lock, open(self.log_file, "a", encoding="utf-8") as file:
            file.write(json.dumps(entry) + "\n")

    def answer(self, status, body, headers=()):
        data = body.encode("latin-1")
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def handle_any(self):
        length = int(self.headers.get("Content-Length") or 0)
        body = self.rfile.read(length) if length else b""
        self.record(body)
        url = urlsplit(self.path)
        if url.path == "/echo":
            query = parse_qs(url.query, keep_blank_values=True)
            self.answer(int(query.get("status", ["200"])[0]), query.get("body", [""])[0])
        elif url.path == "/redirect":
            self.answer(302, "moved", [("Location", "/landed")])
        else:
            self.answer(200, "OK")

    do_GET = do_POST = handle_any


def serve(port, certificate, log_file):
    handler = type("Handler", (Recorder,), {"log_file": log_file})
    server = ThreadingHTTPServer(("127.0.0.1", port), handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(certificate[1], certificate[0])
    server.socket = context.wrap_socket(server.socket, server_side=True)
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    return server


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--trusted-port", type=int, default=11900)
    parser.add_argument("--untrusted-port", type=int, default=11901)
    args = parser.parse_args()
    os.makedirs(args.folder, exist_ok=True)

    trusted_authority = make_authority(args.folder, "test-ca")
    run("openssl", "x509", "-in", trusted_authority[1], "-outform", "DER", "-out",
        os.path.join(args.folder, "test-ca.der"))
    rogue_authority = make_authority(args.folder, "rogue-ca")
    for name in ("trusted.log", "untrusted.log"):
        open(os.path.join(args.folder, name), "w").close()
    serve(args.trusted_port, make_server_certificate(args.folder, "trusted", trusted_authority),
          os.path.join(args.folder, "trusted.log"))
    serve(args.untrusted_port, make_server_certificate(args.folder, "untrusted", rogue_authority),
          os.path.join(args.folder, "untrusted.log"))
    # Ready: the wrapper waits for this file.
    open(os.path.join(args.folder, "ready"), "w").close()
    threading.Event().wait()  # until the wrapper ends the process


if __name__ == "__main__":
    main()
