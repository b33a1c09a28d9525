#!/usr/bin/env python3
"""The maker's web site as the tests need it: HTTPS on 127.0.0.1 only, a certificate made here
by openssl for a test CA, and every request written to a log the tests read.

    test_site.py STATE_DIR CA_DIR [--update-file FILE]

CA_DIR keeps the test CA (ca.der is what a test prefix must trust), made on first use.
STATE_DIR receives port (the trusted listener), untrusted_port (the same site under a
self-signed certificate no one trusts) and requests.log (one line per request: the method, a
blank, the path with its query as received). An error report is answered with its own path and
query, so a test sees exactly what arrived.

The first path segment may name a behaviour for the rest of the request, so a test points the
program at "https://localhost:PORT/<behaviour>" and the program's own paths follow it:
    404 403 500    that status, with a small page
    nolength       no Content-Length; the body ends with the connection
    lowerlength    the length header spelt "content-length"
    short          announces the full length, sends half the body, closes
    shortupdate    as short, for /qmsupdate.exe only
    stall          sends the headers and half the body, then nothing
    stallhead      accepts the connection and never answers
    trickle        sends the headers with the length, then one byte of the body every 2 s
    ver-<text>     /qms.txt holds <text> (percent-decoded) instead of "6\\r\\n"
    nosig          no signatures: "/qms.txt.sig" and "/qmsupdate.exe.sig" are missing
    nosigexe       "/qmsupdate.exe.sig" alone is missing
    shortsig       "/qmsupdate.exe.sig" is cut to half its length
    otherkey       both signatures are made with a key the program is not given
    tamper         "/qmsupdate.exe" has one byte changed; its signature is the true file's

Beside "/qms.txt" and "/qmsupdate.exe" the site serves their detached signatures, "<path>.sig",
made by `openssl dgst -sha256 -sign` exactly as a release is signed, with a key pair kept in
CA_DIR (sign-key.pem; sign-pub.pem is what a test prefix names as "sitekey") and a second one
(other-key.pem) for otherkey.
"""
import http.server
import os
import pathlib
import ssl
import subprocess
import sys
import threading
import time
import urllib.parse

PAGES = {"/", "/help/", "/qa.html", "/privacy.html", "/friend.html", "/bugreport.html",
         "/suggestions.html", "/upgrade.php"}
BEHAVIOURS = {"404", "403", "500", "nolength", "lowerlength", "short", "shortupdate", "stall",
              "stallhead", "trickle", "nosig", "nosigexe", "shortsig", "otherkey", "tamper"}
SIGNED = {"/qms.txt", "/qmsupdate.exe"}


def make_certificates(state, ca_dir):
    def openssl(*args):
        subprocess.run(["openssl", *args], check=True, cwd=state, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    # One CA per build, kept across runs: a Wine prefix that trusted it once keeps trusting it,
    # and never meets two CAs of one name. Its name is its own, should the build be made anew.
    ca_dir.mkdir(parents=True, exist_ok=True)
    if not (ca_dir / "ca.der").exists():
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "3650",
                "-subj", f"/CN=Quillmoss Test CA {time.time_ns()}",
                "-keyout", ca_dir / "ca.key", "-out", ca_dir / "ca.pem",
                "-addext", "basicConstraints=critical,CA:TRUE",
                "-addext", "keyUsage=critical,keyCertSign,cRLSign")
        openssl("x509", "-in", ca_dir / "ca.pem", "-outform", "DER", "-out", ca_dir / "ca.der")
    (state / "server.ext").write_text(
        "basicConstraints=CA:FALSE\nkeyUsage=digitalSignature,keyEncipherment\n"
        "extendedKeyUsage=serverAuth\nsubjectAltName=DNS:localhost,IP:127.0.0.1\n")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-sha256", "-subj", "/CN=localhost",
            "-keyout", "server.key", "-out", "server.csr")
    openssl("x509", "-req", "-in", "server.csr", "-CA", ca_dir / "ca.pem",
            "-CAkey", ca_dir / "ca.key", "-set_serial", str(time.time_ns()), "-days", "30",
            "-sha256", "-extfile", "server.ext", "-out", "server.pem")
    # The keys that sign the update files, kept with the CA.
    for name in ("sign", "other"):
        if not (ca_dir / f"{name}-key.pem").exists():
            openssl("genpkey", "-algorithm", "RSA", "-pkeyopt", "rsa_keygen_bits:3072",
                    "-out", ca_dir / f"{name}-key.pem")
            openssl("pkey", "-in", ca_dir / f"{name}-key.pem", "-pubout",
                    "-out", ca_dir / f"{name}-pub.pem")
    # The same names, signed by nobody anyone trusts.
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-sha256", "-days", "30",
            "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1",
            "-keyout", "untrusted.key", "-out", "untrusted.pem")


def update_body(update_file):
    if update_file:
        return pathlib.Path(update_file).read_bytes()
    # Deterministic, longer than the smallest program the updater accepts.
    return b"MZ" + bytes((i * 7) % 251 for i in range(4094))


def signer(ca_dir):
    made = {}
    lock = threading.Lock()

    def sign(key_name, data):
        with lock:
            if (key_name, data) not in made:
                made[key_name, data] = subprocess.run(
                    ["openssl", "dgst", "-sha256", "-sign", ca_dir / f"{key_name}-key.pem"],
                    input=data, check=True, stdout=subprocess.PIPE).stdout
            return made[key_name, data]

    return sign


def make_handler(state, ca_dir, update_file):
    log_lock = threading.Lock()
    program = update_body(update_file)
    sign = signer(ca_dir)

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def record(self):
            with log_lock, open(state / "requests.log", "a", encoding="utf-8") as log:
                log.write(f"{self.command} {self.path}\n")

        def do_HEAD(self):
            self.answer(send_body=False)

        def do_GET(self):
            self.answer(send_body=True)

        def answer(self, send_body):
            self.record()
            path = urllib.parse.urlsplit(self.path).path
            behaviour, version = "", "6\r\n"
            first, _, rest = path[1:].partition("/")
            if first in BEHAVIOURS or first.startswith("ver-"):
                path = "/" + rest
                if first.startswith("ver-"):
                    version = urllib.parse.unquote(first[4:])
                else:
                    behaviour = first
            if behaviour == "shortupdate":
                behaviour = "short" if path == "/qmsupdate.exe" else ""
            if behaviour == "stallhead":
                return self.stall()
            status, body, kind = 200, b"", "text/html"
            signed = path[:-4] if path.endswith(".sig") and path[:-4] in SIGNED else ""
            files = {"/qms.txt": version.encode(), "/qmsupdate.exe": program}
            if behaviour in ("404", "403", "500"):
                status, body = int(behaviour), f"<html>{behaviour}</html>".encode()
            elif signed and (behaviour == "nosig" or
                             (behaviour == "nosigexe" and signed == "/qmsupdate.exe")):
                status, body = 404, b"<html>404 Not Found</html>"
            elif signed:
                kind = "application/octet-stream"
                body = sign("other" if behaviour == "otherkey" else "sign", files[signed])
                if behaviour == "shortsig" and signed == "/qmsupdate.exe":
                    body = body[: len(body) // 2]
            elif path == "/qms.txt":
                body, kind = files[path], "text/plain"
            elif path == "/qmsupdate.exe":
                body, kind = program, "application/octet-stream"
                if behaviour == "tamper":
                    body = body[:1000] + bytes([body[1000] ^ 0x01]) + body[1001:]
            elif path == "/error-reporting/error-msg.php":
                body = self.path.encode()  # what arrived, for the tests to compare
            elif path in PAGES:
                body = f"<html><title>Quillmoss {path}</title></html>".encode()
            else:
                status, body = 404, b"<html>404 Not Found</html>"
            self.send_response(status)
            self.send_header("Content-Type", kind)
            self.send_header("Cache-Control", "no-store")
            if behaviour == "nolength":
                self.send_header("Connection", "close")
                self.close_connection = True
            elif behaviour == "lowerlength":
                self.send_header("content-length", str(len(body)))
            else:
                self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if not send_body:
                return
            if behaviour == "trickle":
                return self.trickle(body)
            if behaviour in ("short", "stall"):
                self.wfile.write(body[: len(body) // 2])
                self.wfile.flush()
                if behaviour == "stall":
                    return self.stall()
                self.close_connection = True
                return
            self.wfile.write(body)

        def trickle(self, body):
            # Never long enough apart for a per-read timeout, so only a limit on the whole
            # transfer ends it; the client's going ends it here.
            self.close_connection = True
            try:
                for i in range(len(body)):
                    self.wfile.write(body[i:i + 1])
                    self.wfile.flush()
                    time.sleep(2)
            except (OSError, ssl.SSLError):
                pass

        def stall(self):
            # Holds the connection until the client gives up (or the site stops).
            self.close_connection = True
            self.connection.settimeout(120)
            try:
                while self.connection.recv(1):
                    pass
            except (OSError, ssl.SSLError):
                pass

    return Handler


def serve(state, certificate, key, handler, port_file):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(state / certificate, state / key)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.daemon_threads = True
    server.handle_error = lambda request, address: None  # refused handshakes are expected
    server.socket = context.wrap_socket(server.socket, server_side=True,
                                        do_handshake_on_connect=False)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    (state / (port_file + ".tmp")).write_text(str(server.server_address[1]))
    os.replace(state / (port_file + ".tmp"), state / port_file)


def main():
    state = pathlib.Path(sys.argv[1]).resolve()
    ca_dir = pathlib.Path(sys.argv[2]).resolve()
    update_file = sys.argv[4] if len(sys.argv) > 4 and sys.argv[3] == "--update-file" else None
    state.mkdir(parents=True, exist_ok=True)
    for stale in ("port", "untrusted_port"):
        (state / stale).unlink(missing_ok=True)
    make_certificates(state, ca_dir)
    handler = make_handler(state, ca_dir, update_file)
    serve(state, "untrusted.pem", "untrusted.key", handler, "untrusted_port")
    serve(state, "server.pem", "server.key", handler, "port")
    while True:
        time.sleep(3600)


if __name__ == "__main__":
    main()
