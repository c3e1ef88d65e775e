#!/usr/bin/env python3
"""Measures the natural voice's loudness against the sample voices': yomi6 --wav says the same
sentences with the built-in sample voice and with the natural voice in each style, and for each
file this prints sox stats' RMS level (dB of full scale), the RMS of its speech without the
pauses, its peak level, and how many samples lie at full scale (|x| >= 32767, a clipped
sample).

    natural_loudness.py YOMI6 [SENTENCES.txt]

Without SENTENCES, twenty sentences of everyday text, one per line. The settings are a private
empty folder's (the defaults), so that the user's own do not count. kStyleGainDb in
src/engines/synthesis/loudness.h is the samples' RMS less each style's, as measured here with a
build without those gains.
"""

import math
import os
import re
import struct
import subprocess
import sys
import tempfile
import wave

SENTENCES = """今日は朝から雨が降っています。
駅の前に新しいパン屋ができました。
明日の会議は午後三時から始まります。
このお茶はとても香りがよいです。
図書館で古い地図を見つけました。
電車が遅れたので、少し遅刻しました。
山の上から町全体が見渡せます。
彼女は毎朝六時に起きて走っています。
窓を開けると、涼しい風が入ってきた。
週末は家族と海へ行く予定です。
この問題は思ったより難しかった。
先生が黒板に大きな字を書いた。
冷蔵庫に牛乳が残っていません。
夜空にたくさんの星が光っている。
来月から新しい仕事を始めます。
猫が日なたで気持ちよさそうに寝ている。
その本は三日で読み終えました。
道に迷ったので、交番で聞きました。
春になると、川沿いに桜が咲きます。
ありがとうございました。また来てください。
"""

STYLES = ["neutral", "happy", "sad", "angry"]


def stats(path):
    out = subprocess.run(["sox", path, "-n", "stats"], capture_output=True, text=True,
                         check=True).stderr
    rms = float(re.search(r"RMS lev dB\s+(-?[\d.]+)", out).group(1))
    peak = float(re.search(r"Pk lev dB\s+(-?[\d.]+)", out).group(1))
    with wave.open(path, "rb") as w:
        raw = w.readframes(w.getnframes())
        width, rate = w.getsampwidth(), w.getframerate()
    if width == 2:
        values = struct.unpack(f"<{len(raw) // 2}h", raw)
        full = sum(1 for v in values if v >= 32767 or v <= -32767)
    else:  # the sample voices: 8-bit unsigned
        values = [(b - 128) * 256 for b in raw]
        full = sum(1 for b in raw if b in (0, 255))
    return rms, active_rms(values, rate), peak, full, len(values)


def active_rms(values, rate):
    """The RMS (dB of full scale) of the 50 ms windows within 35 dB of the loudest: the speech
    without the pauses between sentences, whose length differs from voice to voice."""
    size = rate // 20
    energies = []
    for start in range(0, len(values) - size + 1, size):
        energies.append(sum(v * v for v in values[start:start + size]) / size)
    floor = max(energies) * 10 ** -3.5
    kept = [e for e in energies if e >= floor]
    return 10 * math.log10(sum(kept) / len(kept) / 32768.0**2)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    yomi6 = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as work:
        text = os.path.join(work, "t.txt")
        if len(sys.argv) == 3:
            with open(sys.argv[2], "rb") as f, open(text, "wb") as g:
                g.write(f.read())
        else:
            with open(text, "wb") as g:
                g.write(SENTENCES.encode("cp932"))
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"))
        runs = [("samples", ["--engine", "samples", "--voice", "female"])]
        runs += [(s, ["--engine", "natural", "--style", s]) for s in STYLES]
        target = None
        for name, options in runs:
            out = os.path.join(work, name + ".wav")
            subprocess.run([yomi6, *options, "--wav", out, text], env=env, check=True)
            rms, active, peak, full, count = stats(out)
            target = rms if target is None else target
            print(f"{name:8} RMS {rms:6.1f} dB  speech RMS {active:6.1f} dB  peak {peak:5.1f} dB  "
                  f"full scale {full} of {count}  gain to the samples {target - rms:+.1f} dB")


if __name__ == "__main__":
    main()
