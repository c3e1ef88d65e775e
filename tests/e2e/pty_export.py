#!/usr/bin/env python3
"""Runs a command on a pseudo-terminal, as a person at a terminal runs it, for cli_interrupted.sh.

  pty_export.py progress CMD...    runs CMD to its end; checks that its terminal showed a
                                   progress line (percent, elapsed, estimate) and that the
                                   line was cleared at the end; exits with CMD's status
  pty_export.py ctrl-c CMD...      types Ctrl+C once a progress line shows; checks that CMD
                                   ended by SIGINT
Exits 1 with a message when a check fails.
"""
import os
import re
import select
import signal
import sys
import time


def run(argv, interrupt):
    pid, master = os.forkpty()
    if pid == 0:
        os.execvp(argv[0], argv)
    seen = b""
    typed = False
    deadline = time.monotonic() + 300
    while time.monotonic() < deadline:
        ready, _, _ = select.select([master], [], [], 0.2)
        if ready:
            try:
                chunk = os.read(master, 65536)
            except OSError:  # the child closed the terminal
                break
            if not chunk:
                break
            seen += chunk
        if interrupt and not typed and re.search(rb"\d+% +\d+:\d\d elapsed", seen):
            os.write(master, b"\x03")  # the terminal's interrupt character
            typed = True
    else:
        os.kill(pid, signal.SIGKILL)
        print("pty_export: no end within 300 s")
        sys.exit(1)
    _, status = os.waitpid(pid, 0)
    return seen, status


def main():
    what, argv = sys.argv[1], sys.argv[2:]
    seen, status = run(argv, what == "ctrl-c")
    text = seen.decode("utf-8", "replace")
    lines = re.findall(r"\r +(\d+)% +(\d+:\d\d) elapsed(, about \d+:\d\d left)?\x1b\[K", text)
    if not lines:
        print("pty_export: no progress line in " + repr(text[:300]))
        sys.exit(1)
    if what == "ctrl-c":
        if not (os.WIFSIGNALED(status) and os.WTERMSIG(status) == signal.SIGINT):
            print("pty_export: not ended by SIGINT: status %r" % status)
            sys.exit(1)
        return
    shares = [int(p) for p, _, _ in lines]
    # An estimate is due on every line drawn a second or more into the export; a fast machine
    # may finish before that, and the line's own text is checked by the core tests.
    late = [(p, e) for p, t, e in lines if t != "0:00" and int(p) < 100]
    if shares != sorted(shares) or not all(estimate for _, estimate in late):
        print("pty_export: shares %r, estimates %r" % (shares, [e for _, _, e in lines]))
        sys.exit(1)
    if not text.endswith("\r\x1b[K"):
        print("pty_export: the progress line is not cleared at the end: " + repr(text[-80:]))
        sys.exit(1)
    sys.exit(os.waitstatus_to_exitcode(status))


main()
