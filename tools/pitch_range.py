#!/usr/bin/env python3
"""Prints the pitch range of a mono 16-bit WAVE file: the 10th and 90th percentile of its F0
and their distance in half-tones.

F0 is found per 40 ms window (10 ms hop) by normalised autocorrelation at 8 kHz over 70-500 Hz;
windows that are quiet (below a tenth of the loudest window's RMS) or not clearly periodic
(peak correlation below 0.6) are left out. Pure Python, so give it a few seconds of sound.

    pitch_range.py FILE.wav
"""

import math
import struct
import sys
import wave


def samples_at_8k(path):
    with wave.open(path, "rb") as w:
        if w.getsampwidth() not in (1, 2) or w.getnchannels() != 1:
            sys.exit(f"{path}: needs mono 8- or 16-bit PCM")
        rate = w.getframerate()
        raw = w.readframes(w.getnframes())
        if w.getsampwidth() == 2:
            values = struct.unpack(f"<{len(raw) // 2}h", raw)
        else:
            values = [(b - 128) * 256 for b in raw]
    step = rate / 8000.0
    # A box filter over each step before taking every step-th value keeps the band below 4 kHz.
    out = []
    pos = 0.0
    width = max(1, int(step))
    while int(pos) + width <= len(values):
        i = int(pos)
        out.append(sum(values[i : i + width]) / width)
        pos += step
    return out


def f0_track(x):
    win, hop = 320, 80
    lo, hi = 8000 // 500, 8000 // 70
    frames = []
    for start in range(0, len(x) - win - hi, hop):
        frames.append(x[start : start + win + hi])
    energies = [math.sqrt(sum(v * v for v in f[:win]) / win) for f in frames]
    if not energies:
        return []
    floor = max(energies) / 10
    track = []
    for f, e in zip(frames, energies):
        if e < floor:
            continue
        a = f[:win]
        e0 = sum(v * v for v in a)
        best, best_lag = 0.0, 0
        for lag in range(lo, hi + 1):
            b = f[lag : lag + win]
            num = sum(p * q for p, q in zip(a, b))
            den = math.sqrt(e0 * sum(q * q for q in b)) or 1.0
            r = num / den
            if r > best:
                best, best_lag = r, lag
        if best >= 0.6:
            track.append(8000.0 / best_lag)
    return track


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    track = sorted(f0_track(samples_at_8k(sys.argv[1])))
    if len(track) < 10:
        sys.exit(f"{sys.argv[1]}: too few voiced windows ({len(track)})")
    p10 = track[len(track) // 10]
    p90 = track[len(track) * 9 // 10]
    print(f"F0 p10 {p10:.0f} Hz, p90 {p90:.0f} Hz, range {12 * math.log2(p90 / p10):.1f} half-tones"
          f" ({len(track)} voiced windows)")


if __name__ == "__main__":
    main()
