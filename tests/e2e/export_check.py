#!/usr/bin/env python3
"""Independent readings of exported files for cli_export.sh.

  pcm FILE.wav                       the data chunk of a PCM WAVE file, as hex, to stdout
  samples FILE.wav                   the number of sample frames
  stitch OUT.wav TICKS MS A.wav B.wav  checks OUT = A's samples cut or padded with silence to
                                     TICKS ticks of MS ms, then B's samples
  subtitles FILE (srt|vtt) TEXT UNITS MS [OFFSET_TICKS]
                                     reads FILE strictly by its grammar and checks each cue
                                     against the --units listing of TEXT (one line per cue)
  timings FILE.json UNITS MS         checks every unit entry against the --units listing
Exits 1 with a message on the first mismatch.
"""
import json
import re
import struct
import sys


def fail(message):
    print("export_check: " + message)
    sys.exit(1)


def wave_data(path):
    data = open(path, "rb").read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        fail(path + ": not a RIFF WAVE file")
    pos, fmt, pcm = 12, None, None
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        body = data[pos + 8:pos + 8 + size]
        if cid == b"fmt ":
            fmt = struct.unpack("<HHIIHH", body[:16])
        elif cid == b"data":
            pcm = body
        pos += 8 + size + (size & 1)
    if fmt is None or pcm is None:
        fail(path + ": no fmt or data chunk")
    if fmt[0] != 1 or fmt[1] != 1 or fmt[2] != 16000 or fmt[5] != 8:
        fail(path + ": not 8-bit mono PCM at 16000 Hz: " + repr(fmt))
    return pcm


def units(path):
    rows = []
    for line in open(path, encoding="utf-8").read().split("\n")[:-1]:
        f = line.split("\t")
        rows.append((f[0], int(f[1]), int(f[2])))
    return rows


TIME = r"(\d{2,}):([0-5]\d):([0-5]\d)[%s](\d{3})"


def ms(m, first):
    h, mi, s, frac = (int(m.group(first + i)) for i in range(4))
    return ((h * 60 + mi) * 60 + s) * 1000 + frac


def read_cues(path, kind):
    text = open(path, "rb").read().decode("utf-8")
    if "\r" in text:
        fail(path + ": carriage return in a subtitle file")
    sep = "," if kind == "srt" else "."
    timing = re.compile("^" + (TIME % sep) + " --> " + (TIME % sep) + "$")
    blocks = text.split("\n\n")
    if blocks[-1] != "":
        fail(path + ": the file does not end with a blank line after its last cue")
    blocks = blocks[:-1]
    if kind == "vtt":
        if not blocks or blocks[0] != "WEBVTT":
            fail(path + ": no WEBVTT header line")
        blocks = blocks[1:]
    cues = []
    for number, block in enumerate(blocks, 1):
        lines = block.split("\n")
        if kind == "srt":
            if lines[0] != str(number):
                fail("%s: cue %d numbered %r" % (path, number, lines[0]))
            lines = lines[1:]
        m = timing.match(lines[0]) if lines else None
        if not m:
            fail("%s: cue %d has no timing line: %r" % (path, number, block))
        body = lines[1:]
        if not body or any(line == "" for line in body):
            fail("%s: cue %d has no text" % (path, number))
        for line in body:
            if "-->" in line:
                fail("%s: cue %d text holds -->" % (path, number))
            if kind == "vtt" and re.search(r"<|&(?!amp;|lt;|gt;)", line):
                fail("%s: cue %d text has an unescaped < or &" % (path, number))
            if kind == "srt" and re.search(r"<|\{\\", line):
                fail("%s: cue %d text could be read as a tag or an override" % (path, number))
        start, end = ms(m, 1), ms(m, 5)
        if end <= start or (cues and start < cues[-1][1]):
            fail("%s: cue %d times out of order" % (path, number))
        cues.append((start, end, "\n".join(body)))
    return cues


def main():
    cmd = sys.argv[1]
    if cmd == "pcm":
        sys.stdout.write(wave_data(sys.argv[2]).hex())
    elif cmd == "samples":
        print(len(wave_data(sys.argv[2])))
    elif cmd == "stitch":
        out, ticks, tick_ms = wave_data(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
        a, b = wave_data(sys.argv[5]), wave_data(sys.argv[6])
        cut = ticks * tick_ms * 16
        first = (a + b"\x80" * cut)[:cut]
        if out[:cut] != first:
            fail("the first pass differs from its own rendering")
        if out[cut:] != b:
            fail("the second pass differs from its own rendering (%d vs %d samples)"
                 % (len(out) - cut, len(b)))
    elif cmd == "subtitles":
        path, kind, text_path, units_path = sys.argv[2:6]
        tick_ms = int(sys.argv[6])
        offset = int(sys.argv[7]) if len(sys.argv) > 7 else 0
        cues = read_cues(path, kind)
        text = open(text_path, "rb").read()
        rows = units(units_path)
        # Each non-blank line of the text is one sentence; its cue runs from the tick of its
        # first sounding unit to one tick after its last one.
        expected, pos = [], 0
        for raw in text.split(b"\r\n"):
            begin, end = pos, pos + len(raw)
            pos = end + 2
            ticks = [i for i, r in enumerate(rows) if r[0] != "-" and r[2] > r[1]
                     and begin <= r[1] < end]
            words = raw.decode("cp932").strip(" \u3000")
            if ticks and words:  # a line of blanks has no cue, even where a blank sounds
                words = raw.decode("cp932").strip(" \u3000")
                if kind == "vtt":
                    words = words.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
                else:  # SRT has no escapes: the signs of tags and timing lines go full-width
                    words = words.replace("<", "\uff1c").replace(">", "\uff1e").replace("{", "\uff5b")
                expected.append(((offset + ticks[0]) * tick_ms,
                                 (offset + ticks[-1] + 1) * tick_ms, words))
        cues = cues[-len(expected):] if offset else cues
        if cues != expected:
            fail("%s: cues %r\n  expected %r" % (path, cues[:4], expected[:4]))
    elif cmd == "timings":
        doc = json.load(open(sys.argv[2], encoding="utf-8"))
        rows, tick_ms = units(sys.argv[3]), int(sys.argv[4])
        want = [{"sample": None if r[0] == "-" else r[0], "startMs": i * tick_ms,
                 "source": [r[1], r[2]]} for i, r in enumerate(rows) if r[2] > r[1]]
        if doc.get("sampleRate") != 16000 or doc.get("tickMs") != tick_ms:
            fail("timings header: %r" % {k: v for k, v in doc.items() if k != "units"})
        if doc["units"] != want:
            fail("timings units differ: %r vs %r" % (doc["units"][:3], want[:3]))
    else:
        fail("unknown command " + cmd)


main()
