#!/usr/bin/env python3
"""Times whole scans of 1,000, 10,000 and 100,000 small generated messages
against a private Dovecot, with the peak memory of the scanning process.

    bench/scan_scale.py [--scanner PATH] [--counts 1000,10000,100000] [--runs R]

The scanner is bench/scale/ScanScale.cpp of a release build (login and
ScanMailbox, nothing else). For each count it prints the best of R runs: time,
time per message, peak resident memory and the peak above the memory before
the scan, per message. Goals: time per message at the largest count within
1.2 x that at the smallest; at most 8 KB of peak memory per message.
"""
import argparse
import json
import os
import poplib
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
DOVECOT = os.path.join(ROOT, "tests", "live", "dovecot.sh")
DICTIONARY = os.path.join(ROOT, "res", "qltdict.dat")
USER = "hal"
PASSWORD = "qlt-live-pw"
TIME_GOAL = 1.2
MEMORY_GOAL_KB = 8


def message(n):
    """A small plain message (about 500 bytes), different in each number."""
    return (f"From: sender{n % 97}@example.org\r\nTo: hal@example.net\r\n"
            f"Subject: Scale message {n}\r\nDate: Tue, 3 Mar 2026 10:00:00 +0100\r\n"
            f"Message-ID: <{n}@scale.example>\r\nMIME-Version: 1.0\r\n"
            "Content-Type: text/plain\r\n\r\n"
            f"Hello Hal,\r\nthe report for week {n % 52} is ready; the budget meeting moves to Friday.\r\n"
            "See you there.\r\n").encode()


def fill_mailbox(instance, count):
    """Writes the messages straight into the maildir, as a delivery would."""
    maildir = os.path.join(instance, "mail", USER, "Maildir")
    info = os.stat(maildir)
    cur = os.path.join(maildir, "cur")
    for name in os.listdir(cur):
        os.unlink(os.path.join(cur, name))
    for name in os.listdir(maildir):
        if name.startswith("dovecot"):
            os.unlink(os.path.join(maildir, name))
    # As root the mail must belong to the maildir's owner, who is not us.
    foreign = (info.st_uid, info.st_gid) != (os.getuid(), os.getgid())
    for n in range(1, count + 1):
        path = os.path.join(cur, f"{1800000000 + n}.M{n}P1.scale:2,S")
        fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)
        os.write(fd, message(n))
        if foreign:
            os.fchown(fd, info.st_uid, info.st_gid)
        os.close(fd)


def warm_up(port):
    """Lets Dovecot index the new mailbox; the scans should not pay for it."""
    box = poplib.POP3("127.0.0.1", port, timeout=600)
    box.user(USER)
    box.pass_(PASSWORD)
    count, _ = box.stat()
    box.uidl()
    box.quit()
    return count


def scan(scanner, port):
    done = subprocess.run([scanner, str(port), USER, PASSWORD, DICTIONARY],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=3600)
    if done.returncode != 0:
        sys.exit(f"scan failed: {done.stdout.decode()} {done.stderr.decode(errors='replace')}")
    return json.loads(done.stdout)


def measure(scanner, port, count, runs):
    best = None
    for _ in range(runs):
        run = scan(scanner, port)
        if run["entries"] != count:
            sys.exit(f"scanned {run['entries']} of {count} messages")
        if best is None or run["seconds"] < best["seconds"]:
            best = run
    return best


def report(count, run):
    per_message_ms = run["seconds"] * 1000 / count
    peak_kb = run["peakRssKb"]
    added_kb = peak_kb - run["rssBeforeKb"]
    cpu_us = run["cpuSeconds"] * 1e6 / count
    print(f"{count:>7} messages: {run['seconds']:8.3f} s  {per_message_ms * 1000:7.1f} us/message "
          f"({cpu_us:5.1f} us of it our CPU)  "
          f"peak {peak_kb / 1024:7.1f} MB  ({added_kb * 1024 / count / 1024:5.2f} KB/message above the start, "
          f"{peak_kb / count:6.2f} KB/message in all)")
    return per_message_ms, added_kb / count


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--scanner", default=os.path.join(ROOT, "build", "release", "bench", "qlt_scan_scale"))
    parser.add_argument("--counts", default="1000,10000,100000")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    if not os.access(args.scanner, os.X_OK):
        sys.exit(f"no scanner at {args.scanner}: build qlt_scan_scale first (or pass --scanner)")
    counts = [int(c) for c in args.counts.split(",")]

    instance = tempfile.mkdtemp(prefix="qlt-scale-dovecot-")
    os.chmod(instance, 0o755)
    results = {}
    try:
        subprocess.run(["bash", DOVECOT, "start", instance, "0"], check=True, stdout=subprocess.DEVNULL)
        port = int(open(os.path.join(instance, "port")).read().strip())
        for count in counts:
            fill_mailbox(instance, count)
            if warm_up(port) != count:
                sys.exit(f"the server does not list {count} messages")
            results[count] = report(count, measure(args.scanner, port, count, args.runs))
    finally:
        subprocess.run(["bash", DOVECOT, "stop", instance], stdout=subprocess.DEVNULL)
        shutil.rmtree(instance, ignore_errors=True)
    first, last = counts[0], counts[-1]
    ratio = results[last][0] / results[first][0]
    worst_kb = max(kb for _, kb in results.values())
    print(f"time per message at {last} / at {first}: {ratio:.2f}  (goal <= {TIME_GOAL})")
    print(f"peak memory per message, worst: {worst_kb:.2f} KB  (goal <= {MEMORY_GOAL_KB} KB)")


if __name__ == "__main__":
    main()
