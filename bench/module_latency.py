#!/usr/bin/env python3
"""Latency of sd_yomi6 as heard: the sink's monitor is recorded in 10 ms blocks, each stamped
when it arrives, against the moment a command was sent.

    module_latency.py SD_YOMI6 [RUNS]
prints, per voice, the median over RUNS of: SPEAK to the first sound heard (a short sentence),
STOP to silence (in the middle of a long text); and, with $SPEECHD_ADDRESS set (a server with
the module), spd-say of a 10-character string started to its first sound heard and run to its
end. Needs $PULSE_SERVER with a null sink "test" (module_latency.sh sets both up).
"""

import array
import os
import statistics
import subprocess
import sys
import threading
import time

LOUD = 500
RATE = 44100


class Recorder:
    def __init__(self):
        self.proc = subprocess.Popen(
            ["parec", "-d", "test.monitor", "--format=s16le", "--rate=%d" % RATE,
             "--channels=1", "--raw", "--latency-msec=10"], stdout=subprocess.PIPE)
        self.blocks = []  # (arrival time, loud)
        threading.Thread(target=self._read, daemon=True).start()
        time.sleep(0.5)

    def _read(self):
        while True:
            data = self.proc.stdout.read(882)
            if not data:
                return
            samples = array.array("h", data[: len(data) // 2 * 2])
            self.blocks.append((time.monotonic(), max((abs(s) for s in samples), default=0) > LOUD))

    def first_loud_after(self, t, timeout=10):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            for when, loud in list(self.blocks):
                if when >= t and loud:
                    return when
            time.sleep(0.005)
        return None

    def last_loud(self):
        loud = [when for when, l in self.blocks if l]
        return loud[-1] if loud else None

    def close(self):
        self.proc.terminate()
        self.proc.wait(5)


class Module:
    def __init__(self, program):
        self.proc = subprocess.Popen([program, "/dev/null"], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.lines = []
        threading.Thread(target=self._read, daemon=True).start()
        self.send("INIT\n")
        self.wait("299 OK LOADED SUCCESSFULLY")

    def _read(self):
        for line in self.proc.stdout:
            self.lines.append(line.decode().rstrip("\n"))

    def send(self, text):
        self.proc.stdin.write(text.encode())
        self.proc.stdin.flush()

    def wait(self, line, timeout=30):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if line in self.lines:
                self.lines.remove(line)
                return True
            time.sleep(0.002)
        return False

    def close(self):
        self.send("QUIT\n")
        self.proc.stdin.close()
        self.proc.wait(10)


def ms(x):
    return "%.0f ms" % (x * 1000)


def main():
    program = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    rec = Recorder()
    try:
        for voice in ("female", "natural-neutral"):
            m = Module(program)
            m.send("SET\nsynthesis_voice=%s\n.\n" % voice)
            m.wait("203 OK SETTINGS RECEIVED")
            first, stop = [], []
            for i in range(runs + 1):
                time.sleep(0.5)
                t = time.monotonic()
                m.send("SPEAK\n<speak>今日は良い天気です。</speak>\n.\n")
                heard = rec.first_loud_after(t)
                m.wait("702 END")
                if i > 0 and heard:  # the first message also loads the analyzer
                    first.append(heard - t)
                time.sleep(0.3)
                m.send("SPEAK\n<speak>%s</speak>\n.\n" % ("長い文章を読み上げています。" * 20))
                rec.first_loud_after(time.monotonic())
                time.sleep(1.0)
                t = time.monotonic()
                m.send("STOP\n")
                m.wait("703 STOP")
                time.sleep(0.5)
                last = rec.last_loud()
                if last is not None:
                    stop.append(max(0.0, last - t))
            m.close()
            print("%s: SPEAK to first sound %s (median of %d), STOP to silence %s" %
                  (voice, ms(statistics.median(first)), len(first), ms(statistics.median(stop))))
        if os.environ.get("SPEECHD_ADDRESS"):
            starts, wholes = [], []
            for i in range(runs + 1):
                time.sleep(0.5)
                t = time.monotonic()
                subprocess.run(["spd-say", "-w", "-o", "yomi6", "-l", "ja", "こんにちは世界です。"],
                               timeout=30, check=False)
                done = time.monotonic()
                heard = rec.first_loud_after(t, 1)
                if i > 0 and heard:
                    starts.append(heard - t)
                    wholes.append(done - t)
            print("spd-say of 10 characters (samples): first sound %s, whole run %s (median of %d)"
                  % (ms(statistics.median(starts)), ms(statistics.median(wholes)), len(starts)))
    finally:
        rec.close()


if __name__ == "__main__":
    main()
