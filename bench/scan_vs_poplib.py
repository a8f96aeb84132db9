#!/usr/bin/env python3
"""Times a whole scan of 1,000 generated messages (about 8 MB) against a
private Dovecot: quillgate-cli scan as one process, and a small poplib script
sending the same LIST n, UIDL n, TOP n 1024 per message, also as one process.

    bench/scan_vs_poplib.py [--cli PATH] [--count N] [--runs R]

Prints the best of R runs for each and their ratio (goal: at most 0.6).
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
DOVECOT = os.path.join(ROOT, "tests", "live", "dovecot.sh")
USER = "hal"
PASSWORD = "qlt-live-pw"

POPLIB_SCRIPT = r"""
import poplib, sys
box = poplib.POP3(sys.argv[1], int(sys.argv[2]), timeout=30)
box.user(sys.argv[3]); box.pass_(sys.argv[4])
count, size = box.stat()
for n in range(1, count + 1):
    box.list(n); box.uidl(n); box.top(n, 1024)
box.quit()
"""

WORDS = ("meeting offer invoice report holiday garden server update price family project budget "
         "weekend ticket account delivery question answer summary detail").split()


def paragraph(rng, lines):
    return "".join(" ".join(rng.choice(WORDS) for _ in range(11)) + "\r\n" for _ in range(lines))


def message(rng, n):
    head = (f"From: sender{n % 37}@example.org\r\nTo: hal@example.net\r\n"
            f"Subject: Generated message {n}\r\nDate: Tue, 3 Mar 2026 10:00:00 +0100\r\n"
            f"Message-ID: <{n}@bench.example>\r\nMIME-Version: 1.0\r\n")
    kind = n % 4
    if kind == 0:
        return head + "Content-Type: text/plain\r\n\r\n" + paragraph(rng, 105)
    if kind == 1:
        body = "".join(f"<p>{line}</p>\r\n" for line in paragraph(rng, 95).splitlines())
        return head + "Content-Type: text/html\r\n\r\n<html><body>\r\n" + body + "</body></html>\r\n"
    if kind == 2:
        return (head + 'Content-Type: multipart/alternative; boundary="b1"\r\n\r\n--b1\r\n'
                "Content-Type: text/plain\r\n\r\n" + paragraph(rng, 50) +
                "--b1\r\nContent-Type: text/html\r\n\r\n<p>" + paragraph(rng, 50) + "</p>\r\n--b1--\r\n")
    return head + "Content-Type: text/plain\r\n\r\n" + paragraph(rng, 100) + ".dotted line\r\nhttp://%77%77%77.example.com/\r\n"


def fill_mailbox(instance, count):
    maildir = os.path.join(instance, "mail", USER, "Maildir")
    info = os.stat(maildir)
    rng = random.Random(7)
    total = 0
    for n in range(1, count + 1):
        text = message(rng, n).encode()
        total += len(text)
        path = os.path.join(maildir, "cur", f"{1800000000 + n}.M{n}P1.bench:2,S")
        with open(path, "wb") as f:
            f.write(text)
        os.chown(path, info.st_uid, info.st_gid)
    return total


def best_time(command, runs):
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=300)
        elapsed = time.perf_counter() - start
        if done.returncode != 0:
            sys.exit(f"{command[0]} failed: {done.stderr.decode(errors='replace')}")
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", default=os.path.join(ROOT, "build", "release", "src", "quillgate-cli"))
    parser.add_argument("--count", type=int, default=1000)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    if not os.access(args.cli, os.X_OK):
        sys.exit(f"no quillgate-cli at {args.cli}: build it first (or pass --cli)")

    instance = tempfile.mkdtemp(prefix="qlt-bench-dovecot-")
    os.chmod(instance, 0o755)
    try:
        subprocess.run(["bash", DOVECOT, "start", instance, "0"], check=True, stdout=subprocess.DEVNULL)
        port = open(os.path.join(instance, "port")).read().strip()
        size = fill_mailbox(instance, args.count)
        login = ["127.0.0.1", port, USER, PASSWORD]
        poplib_cmd = [sys.executable, "-c", POPLIB_SCRIPT] + login
        cli_cmd = [args.cli, "scan", "--server", login[0], "--port", port, "--user", USER,
                   "--password", PASSWORD, "--scanbuf", "1024"]
        # The first pass lets Dovecot build its index; neither side pays for it.
        best_time(poplib_cmd, 1)
        script = best_time(poplib_cmd, args.runs)
        ours = best_time(cli_cmd, args.runs)
        print(f"mailbox: {args.count} messages, {size} bytes")
        print(f"poplib script:  {script * 1000:8.1f} ms")
        print(f"quillgate-cli:  {ours * 1000:8.1f} ms")
        print(f"ratio:          {ours / script:8.3f}  (goal <= 0.6)")
    finally:
        subprocess.run(["bash", DOVECOT, "stop", instance], stdout=subprocess.DEVNULL)
        shutil.rmtree(instance, ignore_errors=True)


if __name__ == "__main__":
    main()
