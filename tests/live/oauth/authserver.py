#!/usr/bin/env python3
"""A small OAuth2 authorization server on 127.0.0.1 for the live tests.

    authserver.py DIR [--client-id ID] [--lifetime SECONDS] [--max-life SECONDS]

Writes its port to DIR/authserver-port once it listens, and quits by itself
after --max-life seconds so that a lost fixture leaves nothing running.

  GET  /authorize   auto-approves: 302 to the 127.0.0.1 redirect_uri with code
                    and state, or with error=unauthorized_client (wrong client
                    id) or error=invalid_request (no S256 challenge)
  POST /token       authorization_code (with code_verifier) and refresh_token
                    grants; refresh tokens rotate; RFC 6749 5.2 errors
  POST /introspect  RFC 7662: {"active":true,"username":...} or {"active":false}
  POST /revoke      RFC 7009; revoking a refresh token revokes its access tokens
  POST /control     user=U&action=revoke-access: the user's access tokens die
  POST /stats       user=U: the counters of that user, and the token lifetime
"""

import argparse
import base64
import hashlib
import json
import secrets
import threading
import time
from collections import Counter, defaultdict
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from pathlib import Path
from urllib.parse import parse_qs, urlencode, urlsplit


class Grants:
    """Codes and tokens in memory; every method runs under the lock."""

    def __init__(self, client_id, lifetime):
        self.client_id = client_id
        self.lifetime = lifetime
        self.lock = threading.Lock()
        self.codes = {}  # code -> (user, challenge, redirect_uri)
        self.access = {}  # token -> (user, refresh token, expiry); expiry 0 once revoked
        self.refresh = {}  # token -> (user, still good)
        self.counts = defaultdict(Counter)  # user -> counter name -> count

    def issue(self, user, old_refresh=None):
        self.spend(old_refresh)
        refresh = secrets.token_urlsafe(24)
        self.refresh[refresh] = (user, True)
        access = secrets.token_urlsafe(24)
        self.access[access] = (user, refresh, time.monotonic() + self.lifetime)
        return {"access_token": access, "token_type": "Bearer", "expires_in": self.lifetime,
                "refresh_token": refresh}

    def spend(self, refresh):
        if refresh in self.refresh:
            self.refresh[refresh] = (self.refresh[refresh][0], False)

    def revoke_access(self, test):
        for token, (user, refresh, _) in self.access.items():
            if test(user, refresh):
                self.access[token] = (user, refresh, 0)


def s256(verifier):
    digest = hashlib.sha256(verifier.encode("ascii")).digest()
    return base64.urlsafe_b64encode(digest).decode("ascii").rstrip("=")


def loopback_redirect(uri):
    parts = urlsplit(uri)
    return parts.scheme == "http" and parts.hostname == "127.0.0.1" and parts.port is not None


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    timeout = 10  # a client that stalls loses its connection, not the server
    grants = None  # set by main

    def log_message(self, fmt, *args):
        print("%s %s" % (self.command, fmt % args), flush=True)

    def reply(self, status, body=None, location=None):
        data = json.dumps(body).encode() if body is not None else b""
        self.send_response(status)
        if location:
            self.send_header("Location", location)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        self.wfile.write(data)

    def form(self):
        length = min(int(self.headers.get("Content-Length") or 0), 64 * 1024)
        fields = parse_qs(self.rfile.read(length).decode("utf-8", "replace"))
        return {k: v[0] for k, v in fields.items()}

    def do_GET(self):
        url = urlsplit(self.path)
        if url.path != "/authorize":
            return self.reply(404, {"error": "not_found"})
        q = {k: v[0] for k, v in parse_qs(url.query).items()}
        redirect = q.get("redirect_uri", "")
        if not loopback_redirect(redirect):
            return self.reply(400, {"error": "invalid_request"})
        back = {"state": q.get("state", "")}
        g = self.grants
        with g.lock:
            user = q.get("login_hint") or "ann"
            g.counts[user]["authorizations"] += 1
            if q.get("client_id") != g.client_id:
                back["error"] = "unauthorized_client"
            elif q.get("response_type") != "code" or q.get("code_challenge_method") != "S256" \
                    or not q.get("code_challenge"):
                back["error"] = "invalid_request"
            else:
                back["code"] = secrets.token_urlsafe(16)
                g.codes[back["code"]] = (user, q["code_challenge"], redirect)
        self.reply(302, location=redirect + ("&" if "?" in redirect else "?") + urlencode(back))

    def do_POST(self):
        routes = {"/token": self.token, "/introspect": self.introspect, "/revoke": self.revoke,
                  "/control": self.control, "/stats": self.stats}
        route = routes.get(urlsplit(self.path).path)
        if route is None:
            return self.reply(404, {"error": "not_found"})
        f = self.form()
        with self.grants.lock:
            status, body = route(self.grants, f)
        self.reply(status, body)

    @staticmethod
    def token(g, f):
        if f.get("client_id") != g.client_id:
            return 401, {"error": "invalid_client"}
        kind = f.get("grant_type")
        if kind == "authorization_code":
            user, challenge, redirect = g.codes.pop(f.get("code", ""), (None, None, None))
            if user is None or redirect != f.get("redirect_uri") or s256(f.get("code_verifier", "")) != challenge:
                return 400, {"error": "invalid_grant"}
            return 200, g.issue(user)
        if kind == "refresh_token":
            old = f.get("refresh_token", "")
            user, good = g.refresh.get(old, ("?", False))
            g.counts[user]["refreshes"] += 1
            if not good:
                return 400, {"error": "invalid_grant"}
            g.revoke_access(lambda _, refresh: refresh == old)
            return 200, g.issue(user, old)
        return 400, {"error": "unsupported_grant_type"}

    @staticmethod
    def introspect(g, f):
        user, _, expiry = g.access.get(f.get("token", ""), ("?", None, 0))
        g.counts[user]["introspections"] += 1
        if time.monotonic() >= expiry:
            g.counts[user]["refused"] += 1
            return 200, {"active": False}
        return 200, {"active": True, "username": user, "client_id": g.client_id, "token_type": "Bearer"}

    @staticmethod
    def revoke(g, f):
        token = f.get("token", "")
        g.spend(token)
        g.revoke_access(lambda _, refresh: refresh == token)
        if token in g.access:
            g.access[token] = g.access[token][:2] + (0,)
        return 200, {}

    @staticmethod
    def control(g, f):
        if f.get("action") != "revoke-access":
            return 400, {"error": "unknown action"}
        g.revoke_access(lambda user, _: user == f.get("user"))
        return 200, {}

    @staticmethod
    def stats(g, f):
        return 200, dict(g.counts[f.get("user", "")], lifetime=g.lifetime)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("dir", type=Path)
    p.add_argument("--client-id", default="qlt-live-client")
    p.add_argument("--lifetime", type=int, default=300)
    p.add_argument("--max-life", type=float, default=1800)
    a = p.parse_args()
    Handler.grants = Grants(a.client_id, a.lifetime)
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    threading.Timer(a.max_life, server.shutdown).start()
    port_file = a.dir / "authserver-port"
    (a.dir / "authserver-port.new").write_text("%d\n" % server.server_address[1])
    (a.dir / "authserver-port.new").rename(port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
