#!/usr/bin/env python3
"""Prints the F0 of a mono 16-bit WAVE file's voiced stretches: its median and the distance in
half-tones from its 10th to its 90th percentile ("MEDIAN RANGE").

F0 per 40 ms window (20 ms hop) by normalised autocorrelation at 8 kHz over 70-800 Hz; of the
lags whose correlation comes within 10 % of the best, the shortest (the period, not a multiple
of it: a steady voice correlates as well two periods on). Quiet windows (below a tenth of the
loudest's RMS) and windows that are not clearly periodic (best correlation below 0.7) are left
out.

    f0_stats.py FILE.wav
"""

import math
import struct
import sys
import wave


def samples_at_8k(path):
    with wave.open(path, "rb") as w:
        if w.getsampwidth() != 2 or w.getnchannels() != 1:
            sys.exit(f"{path}: needs mono 16-bit PCM")
        rate = w.getframerate()
        raw = w.readframes(w.getnframes())
    values = struct.unpack(f"<{len(raw) // 2}h", raw)
    width = max(1, rate // 8000)  # a box filter before taking every width-th value
    return [sum(values[i:i + width]) / width for i in range(0, len(values) - width + 1, width)]


def track(x, rate=8000):
    win, hop = 320, 160
    lo, hi = rate // 800, rate // 70
    starts = range(0, len(x) - win - hi, hop)
    energies = [sum(v * v for v in x[s:s + win]) for s in starts]
    if not energies:
        return []
    floor = max(energies) / 100  # a tenth of the loudest RMS
    f0 = []
    for s, e0 in zip(starts, energies):
        if e0 < floor:
            continue
        a = x[s:s + win]
        r = {}
        for lag in range(lo, hi + 1):
            b = x[s + lag:s + lag + win]
            den = math.sqrt(e0 * sum(q * q for q in b)) or 1.0
            r[lag] = sum(p * q for p, q in zip(a, b)) / den
        best = max(r.values())
        if best < 0.7:
            continue
        lag = next((k for k in range(lo + 1, hi) if r[k] >= 0.9 * best and
                    r[k] >= r[k - 1] and r[k] >= r[k + 1]), max(r, key=r.get))
        f0.append(rate / lag)
    return f0


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    f0 = sorted(track(samples_at_8k(sys.argv[1])))
    if len(f0) < 10:
        sys.exit(f"{sys.argv[1]}: too few voiced windows ({len(f0)})")
    p10, p90 = f0[len(f0) // 10], f0[len(f0) * 9 // 10]
    print(f"{f0[len(f0) // 2]:.1f} {12 * math.log2(p90 / p10):.2f}")


if __name__ == "__main__":
    main()
