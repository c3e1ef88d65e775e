#!/usr/bin/env python3
"""sd_yomi6 driven directly over its standard input and output, as the server drives it, with
what the server itself would refuse to pass on: bad UTF-8, a 1 MiB message, a burst of short
messages, a storm of stops, a natural voice whose file is missing. After each the module still
answers and says a message to its end; its memory stays flat over 10,000 messages.

    module_direct.py SD_YOMI6
Sound goes to the PulseAudio server of the environment (a null sink in the tests).
"""

import os
import queue
import subprocess
import sys
import threading
import time

failures = []


def fail(what):
    print("FAIL: " + what)
    failures.append(what)


class Module:
    def __init__(self, program, env):
        self.proc = subprocess.Popen([program, "/dev/null"], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
        self.lines = queue.Queue()
        self.errors = []
        threading.Thread(target=self._read, args=(self.proc.stdout, self.lines.put),
                         daemon=True).start()
        threading.Thread(target=self._read, args=(self.proc.stderr, self.errors.append),
                         daemon=True).start()

    @staticmethod
    def _read(stream, put):
        for line in stream:
            put(line.decode("utf-8", "replace").rstrip("\n"))

    def send(self, data):
        self.proc.stdin.write(data if isinstance(data, bytes) else data.encode())
        self.proc.stdin.flush()

    def speak(self, body):
        body = body if isinstance(body, bytes) else body.encode()
        self.send(b"SPEAK\n" + body + b"\n.\n")

    def wait_for(self, wanted, seconds):
        """Lines up to the first that is wanted; None when it does not come in time."""
        seen = []
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            try:
                line = self.lines.get(timeout=max(0.01, end - time.monotonic()))
            except queue.Empty:
                break
            seen.append(line)
            if line == wanted:
                return seen
        return None

    def rss_kib(self):
        with open("/proc/%d/status" % self.proc.pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        return 0


def main():
    env = dict(os.environ, YOMI6_NATURAL_VOICE_DIR="/nonexistent-voice-folder")
    m = Module(sys.argv[1], env)
    try:
        m.send("INIT\n")
        if m.wait_for("299 OK LOADED SUCCESSFULLY", 30) is None:
            fail("no answer to INIT")
            return 1

        def says_to_end(what, seconds=30):
            m.speak("<speak>おわり。</speak>")
            if m.wait_for("702 END", seconds) is None:
                fail("no end of a message after " + what)

        m.speak(b"<speak>abc\xff\xfe\xc3(\xe3\x81\x82</speak>")
        if m.wait_for("702 END", 30) is None:
            fail("bad UTF-8 was not said to its end")
        says_to_end("bad UTF-8")

        m.speak("<speak>" + "長い文です。" * 60000 + "</speak>")  # over 1 MiB
        if m.wait_for("701 BEGIN", 30) is None:
            fail("a 1 MiB message did not begin")
        m.send("STOP\n")
        if m.wait_for("703 STOP", 5) is None:
            fail("a 1 MiB message did not stop")
        says_to_end("a 1 MiB message")

        def burst(n):
            m.send("".join("SPEAK\n<speak>短い。</speak>\n.\n" for _ in range(n)) + "STOP\n")
            seen = m.wait_for("703 STOP", 60) or []
            return sum(1 for line in seen if line == "200 OK SPEAKING")

        accepted = burst(1000)
        if accepted != 1000:
            fail("a burst of 1000 messages: %d accepted" % accepted)
        says_to_end("a burst of 1000 messages")

        # A pause goes on to the next index mark, reports it and ends there.
        m.speak('<speak>一つ目の文です。<mark name="a"/>二つ目の文です。<mark name="b"/>三つ目。</speak>')
        if m.wait_for("701 BEGIN", 30) is None:
            fail("the message to pause did not begin")
        m.send("PAUSE\n")
        seen = m.wait_for("704 PAUSE", 30)
        if seen is None or "700-a" not in seen or "700-b" in seen or "702 END" in seen:
            fail("a pause did not end at the next mark: %s" % seen)

        m.send("STOP\n" * 500)
        says_to_end("a storm of stops")

        m.send("SET\nsynthesis_voice=natural-neutral\n.\n")
        if m.wait_for("203 OK SETTINGS RECEIVED", 10) is None:
            fail("the natural voice could not be chosen")
        says_to_end("a missing voice file")
        if not any("voice" in e and "sample voice speaks instead" in e for e in m.errors):
            fail("a missing voice file was not said on stderr: %s" % m.errors[-3:])
        m.send("SET\nsynthesis_voice=NULL\n.\n")
        m.wait_for("203 OK SETTINGS RECEIVED", 10)

        before = m.rss_kib()
        for _ in range(9):
            burst(1000)
        says_to_end("10,000 messages")
        after = m.rss_kib()
        print("memory: %d KiB after 1,000 messages, %d KiB after 10,000" % (before, after))
        if after > before + 20 * 1024:
            fail("memory grew by %d KiB over 9,000 messages" % (after - before))

        # QUIT while speaking: the answer, and no event after it.
        m.speak("<speak>" + "長い文です。" * 50 + "</speak>")
        m.wait_for("701 BEGIN", 30)
        m.send("QUIT\n")
        if m.wait_for("210 OK QUIT", 10) is None:
            fail("no answer to QUIT")
        time.sleep(0.5)
        if not m.lines.empty():
            fail("events after QUIT: %s" % m.lines.get())
        m.proc.stdin.close()
        try:
            m.proc.wait(10)
        except subprocess.TimeoutExpired:
            fail("the module did not end after QUIT")
    finally:
        if m.proc.poll() is None:
            m.proc.kill()
            m.proc.wait()
    if not any("invalid UTF-8" in e for e in m.errors):
        fail("bad UTF-8 was not said on stderr")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
