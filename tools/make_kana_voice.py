#!/usr/bin/env python3
"""Makes a kana voice folder from an HTS voice: each unit of the sample engine said by Open JTalk.

Every one of the 140 spoken units ("KA", "GYA", ...) is given to open_jtalk alone, as its
full-width katakana. The take is cut to the unit itself by the label times open_jtalk traces
(the silence before and after it goes), then shaped like the built-in samples (see
tools/make_samples.sh): rumble removed, resampled, brought to one RMS level with the peaks
limited, trimmed where the sound first and last passes a level, risen over a millisecond, held
for its first 120 ms and let decay on a half cosine. A take that stays longer than a unit may
sound is said again faster. The pause unit "S" is silence as long as the built-in pause.

The folder holds one 16-bit mono WAVE file per unit, named after it ("KA.wav"), and a README with
how it was made and the voice's credit. It is written beside the target and moved into place
whole, so that an interrupted run leaves the old folder as it was.

Usage: tools/make_kana_voice.py [options] [OUTPUT_DIR]   (default: voices/tohoku-f01-kana)
       tools/make_kana_voice.py --phonemes               what open_jtalk says for each unit
Needs: open_jtalk, its dictionary and sox (Debian: apt-get install open-jtalk
open-jtalk-mecab-naist-jdic sox). The same voice and package versions give the same bytes.
"""

import argparse
import array
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import textwrap
import wave

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OPEN_JTALK = "/usr/bin/open_jtalk"
DICTIONARY = "/var/lib/mecab/dic/open-jtalk/naist-jdic"
DEFAULT_VOICE = os.path.join(ROOT, "voices", "tohoku-f01", "tohoku-f01-neutral.htsvoice")
DEFAULT_OUTPUT = os.path.join(ROOT, "voices", "tohoku-f01-kana")
# One synthesis of a single kana takes a fraction of a second; a run that takes this long hangs.
TIME_LIMIT_S = 30

# --- How the units are shaped (the built-in samples' values, tools/make_samples.sh) ----------
RATE = 22050  # Hz: twice the built-ins' widest band, half the player's rate
RMS_DB = -15.0  # every unit at this RMS level (dBFS)
LIMIT = 0.89  # peaks above this (-1 dBFS) are bent down softly
TRIM_LEVEL = 0.045  # the ends are cut where the sound first and last exceeds this
LEAD_IN_S = 0.001  # the rise before the sound first passes TRIM_LEVEL
CORE_S = 0.120  # held at full level
MIN_DECAY_S = 0.040  # the shortest decay to silence
MAX_TAKE_S = 0.175  # a longer take is said again faster
BASE_SPEED = 0.8  # open_jtalk -r: a little slower than its own pace, for vowels that last
SPEED_STEP = 0.1  # open_jtalk -r steps when saying it again
MAX_SPEED = 2.5
# The cut keeps this much sound before the first phoneme's label and after the last one's, so
# that a plosive's burst or a breathy end is not lost to a label a frame early or late.
LABEL_MARGIN_S = 0.015
HIGHPASS_HZ = 70
# The built-in pause: 2036 frames at 8000 Hz.
PAUSE_S = 2036 / 8000

# The units in the order of the voice unit table (src/engines/voice/voice_units.cpp), with the kana
# said for each. Kana that open_jtalk says exactly like another (ヂ like ジ, ヅ like ズ, ヲ like
# オ) are said as they are: the same sound in their own take.
UNITS = [
    ("A", "ア"), ("I", "イ"), ("U", "ウ"), ("E", "エ"), ("O", "オ"),
    ("KA", "カ"), ("KI", "キ"), ("KU", "ク"), ("KE", "ケ"), ("KO", "コ"),
    ("SA", "サ"), ("SI", "シ"), ("SU", "ス"), ("SE", "セ"), ("SO", "ソ"),
    ("TA", "タ"), ("TI", "チ"), ("TU", "ツ"), ("TE", "テ"), ("TO", "ト"),
    ("NA", "ナ"), ("NI", "ニ"), ("NU", "ヌ"), ("NE", "ネ"), ("NO", "ノ"),
    ("HA", "ハ"), ("HI", "ヒ"), ("HU", "フ"), ("HE", "ヘ"), ("HO", "ホ"),
    ("MA", "マ"), ("MI", "ミ"), ("MU", "ム"), ("ME", "メ"), ("MO", "モ"),
    ("YA", "ヤ"), ("YU", "ユ"), ("YO", "ヨ"),
    ("RA", "ラ"), ("RI", "リ"), ("RU", "ル"), ("RE", "レ"), ("RO", "ロ"),
    ("WA", "ワ"), ("WO", "ヲ"), ("NN", "ン"),
    ("GA", "ガ"), ("GI", "ギ"), ("GU", "グ"), ("GE", "ゲ"), ("GO", "ゴ"),
    ("ZA", "ザ"), ("ZI", "ジ"), ("ZU", "ズ"), ("ZE", "ゼ"), ("ZO", "ゾ"),
    ("DA", "ダ"), ("DI", "ヂ"), ("DU", "ヅ"), ("DE", "デ"), ("DO", "ド"),
    ("BA", "バ"), ("BI", "ビ"), ("BU", "ブ"), ("BE", "ベ"), ("BO", "ボ"),
    ("PA", "パ"), ("PI", "ピ"), ("PU", "プ"), ("PE", "ペ"), ("PO", "ポ"),
    ("KYA", "キャ"), ("KYU", "キュ"), ("KYE", "キェ"), ("KYO", "キョ"),
    ("SHA", "シャ"), ("SHU", "シュ"), ("SHE", "シェ"), ("SHO", "ショ"),
    ("CHA", "チャ"), ("CHU", "チュ"), ("CHE", "チェ"), ("CHO", "チョ"),
    ("NYA", "ニャ"), ("NYU", "ニュ"), ("NYE", "ニェ"), ("NYO", "ニョ"),
    ("HYA", "ヒャ"), ("HYU", "ヒュ"), ("HYE", "ヒェ"), ("HYO", "ヒョ"),
    ("MYA", "ミャ"), ("MYU", "ミュ"), ("MYE", "ミェ"), ("MYO", "ミョ"),
    ("RYA", "リャ"), ("RYU", "リュ"), ("RYE", "リェ"), ("RYO", "リョ"),
    ("GYA", "ギャ"), ("GYU", "ギュ"), ("GYE", "ギェ"), ("GYO", "ギョ"),
    ("JA", "ジャ"), ("JU", "ジュ"), ("JE", "ジェ"), ("JO", "ジョ"),
    ("BYA", "ビャ"), ("BYU", "ビュ"), ("BYE", "ビェ"), ("BYO", "ビョ"),
    ("PYA", "ピャ"), ("PYU", "ピュ"), ("PYE", "ピェ"), ("PYO", "ピョ"),
    ("FA", "ファ"), ("FI", "フィ"), ("FE", "フェ"), ("FO", "フォ"),
    ("THA", "テャ"), ("THI", "ティ"), ("THU", "テュ"), ("THE", "テェ"), ("THO", "テョ"),
    ("TWU", "トゥ"),
    ("DHA", "デャ"), ("DHI", "ディ"), ("DHU", "デュ"), ("DHE", "デェ"), ("DHO", "デョ"),
    ("DWU", "ドゥ"),
    ("UXA", "ウァ"), ("UXI", "ウィ"), ("UXE", "ウェ"), ("UXO", "ウォ"),
    ("VA", "ヴァ"), ("VI", "ヴィ"), ("VU", "ヴ"), ("VE", "ヴェ"), ("VO", "ヴォ"),
]
PAUSE = "S"
# open_jtalk reads テェ and デェ as テー and デー, two morae; the unit is one, said like テ and デ.
SAID_AS = {"THE": "テ", "DHE": "デ"}


class MakeError(Exception):
    pass


def run(command, what):
    """Runs a program without a shell, within the time limit; its failure is a MakeError."""
    try:
        done = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=TIME_LIMIT_S, check=False)
    except subprocess.TimeoutExpired:
        raise MakeError(f"{what}: no result after {TIME_LIMIT_S} s") from None
    except OSError as error:
        raise MakeError(f"{what}: {error.strerror}") from None
    if done.returncode != 0:
        message = done.stderr.decode("utf-8", "replace").strip().splitlines()
        raise MakeError(f"{what}: exit status {done.returncode}"
                        + (f": {message[-1]}" if message else ""))
    return done


def parse_labels(trace_text):
    """The (start_s, end_s, phoneme) of each label in an open_jtalk trace, in order."""
    labels = []
    inside = False
    for line in trace_text.splitlines():
        if line.startswith("[Output label]"):
            inside = True
            continue
        if inside:
            if not line.strip():
                break
            match = re.match(r"(\d+) (\d+) [^-]*-([^+]+)\+", line)
            if not match:
                raise MakeError(f"unexpected label line: {line[:60]}")
            labels.append((int(match.group(1)) / 1e7, int(match.group(2)) / 1e7,
                           match.group(3)))
    return labels


def spoken_span(labels):
    """The (start_s, end_s, phonemes) of the labels between the leading and trailing silence."""
    spoken = [label for label in labels if label[2] not in ("sil", "pau")]
    if not spoken:
        raise MakeError("open_jtalk said nothing but silence")
    return spoken[0][0], spoken[-1][1], [label[2] for label in spoken]


class Synthesizer:
    def __init__(self, voice, work, half_tones, all_pass):
        self.voice = voice
        self.work = work
        self.options = []
        if half_tones:
            self.options += ["-fm", f"{half_tones:g}"]
        if all_pass is not None:
            self.options += ["-a", f"{all_pass:g}"]

    def say(self, kana, speed):
        """Says kana at speed; returns the 48 kHz take's samples, its rate and its labels."""
        text = os.path.join(self.work, "unit.txt")
        sound = os.path.join(self.work, "unit.wav")
        trace = os.path.join(self.work, "unit.trace")
        with open(text, "w", encoding="utf-8") as f:
            f.write(kana + "\n")
        run([OPEN_JTALK, "-x", DICTIONARY, "-m", self.voice, "-ow", sound, "-ot", trace,
             "-r", f"{speed:.1f}", *self.options, text], f"open_jtalk on {kana}")
        with wave.open(sound, "rb") as w:
            if w.getnchannels() != 1 or w.getsampwidth() != 2:
                raise MakeError(f"open_jtalk on {kana}: not 16-bit mono")
            rate = w.getframerate()
            samples = array.array("h", w.readframes(w.getnframes()))
        if sys.byteorder != "little":
            samples.byteswap()
        with open(trace, encoding="utf-8", errors="replace") as f:
            labels = parse_labels(f.read())
        return samples, rate, labels


def resample(work, samples, rate):
    """The samples high-passed and resampled to RATE by sox, as floats in [-1, 1]."""
    cut = os.path.join(work, "cut.wav")
    rated = os.path.join(work, "rated.f32")
    with wave.open(cut, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        data = array.array("h", samples)
        if sys.byteorder != "little":
            data.byteswap()
        w.writeframes(data.tobytes())
    # No dither (-D): the same input gives the same bytes.
    run(["sox", "-D", cut, "-t", "raw", "-e", "floating-point", "-b", "32", "-c", "1",
         "-L", rated, "highpass", str(HIGHPASS_HZ), "rate", "-v", str(RATE)], "sox")
    out = array.array("f")
    with open(rated, "rb") as f:
        out.frombytes(f.read())
    if sys.byteorder != "little":
        out.byteswap()
    return list(out)


def level(take):
    """The take at RMS_DB, its peaks above LIMIT bent down smoothly towards full scale."""
    rms = math.sqrt(sum(x * x for x in take) / len(take)) if take else 0.0
    if rms <= 0:
        raise MakeError("the take is silent")
    gain = 10 ** (RMS_DB / 20) / rms
    head = 1.0 - LIMIT
    out = []
    for x in take:
        y = x * gain
        magnitude = abs(y)
        if magnitude > LIMIT:
            magnitude = LIMIT + head * math.tanh((magnitude - LIMIT) / head)
            y = math.copysign(magnitude, y)
        out.append(y)
    return out


def trim(take):
    """The take from one lead-in before it first exceeds TRIM_LEVEL to where it last does."""
    loud = [i for i, x in enumerate(take) if abs(x) > TRIM_LEVEL]
    if not loud:
        raise MakeError("the take never exceeds the trim level")
    begin = max(0, loud[0] - round(RATE * LEAD_IN_S))
    return take[begin:loud[-1] + 1]


def shape(take):
    """Rises over the lead-in, holds CORE_S, decays on a half cosine to the end."""
    n = min(len(take), int(RATE * MAX_TAKE_S))
    fade_in = round(RATE * LEAD_IN_S)
    fade_out = max(n - round(RATE * CORE_S), round(RATE * MIN_DECAY_S))
    out = []
    for i in range(n):
        g = 1.0
        if i < fade_in:
            g = math.sin(math.pi / 2 * i / fade_in)
        left = n - i  # frames to the end, this one included
        if left <= fade_out:
            g *= math.sin(math.pi / 2 * (left - 1) / fade_out) if fade_out > 1 else 0.0
        out.append(take[i] * g)
    return out


def make_unit(synth, work, kana):
    """The shaped sound of one unit, and the open_jtalk speed and phonemes it was made with."""
    max_frames = int(RATE * MAX_TAKE_S)
    speed = BASE_SPEED
    while True:
        samples, rate, labels = synth.say(kana, speed)
        start, end, phonemes = spoken_span(labels)
        first = max(0, round((start - LABEL_MARGIN_S) * rate))
        last = min(len(samples), round((end + LABEL_MARGIN_S) * rate))
        # Levelled twice: the first pass finds the ends, the second sets the level of the
        # sound between them (a plosive's closure, silent, would otherwise count).
        take = trim(level(trim(level(resample(work, samples[first:last], rate)))))
        if len(take) <= max_frames or speed >= MAX_SPEED - 1e-9:
            return shape(take), speed, phonemes
        # Shorter in proportion to the speed at first; then a step at a time.
        wanted = speed * len(take) / max_frames
        speed = min(MAX_SPEED, max(speed + SPEED_STEP,
                                   math.ceil(wanted / SPEED_STEP - 1e-9) * SPEED_STEP))


def write_wave(path, sound):
    """A 16-bit mono WAVE file of sound (floats), written whole before it takes the name."""
    data = array.array("h", (max(-32768, min(32767, round(x * 32767))) for x in sound))
    if sys.byteorder != "little":
        data.byteswap()
    temporary = path + ".tmp"
    with wave.open(temporary, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())
    os.replace(temporary, path)


def readme(voice, half_tones, all_pass):
    """The folder's README: what it is, how it was made, and the credit of the voice."""
    style = os.path.basename(voice)
    options = ""
    settings = []
    if half_tones:
        options += f" --half-tones {half_tones:g}"
        settings.append(f"`-fm {half_tones:g}` (half-tones)")
    if all_pass is not None:
        options += f" --all-pass {all_pass:g}"
        settings.append(f"`-a {all_pass:g}` (all-pass constant)")
    paragraphs = [
        f"# A kana voice folder made from the HTS voice {os.path.splitext(style)[0]}",
        "A voice for the sample engine (one kana unit per tick): 141 WAVE files, one per unit,"
        f" named after it (`KA.wav`, `GYA.wav`, `S.wav`, ...), 16-bit mono at {RATE} Hz."
        " Choose it in よみあげ → 声の管理 for the 男性 or the 女性 slot (\"フォルダを追加\" and"
        " this folder, or copy the folder under `~/.local/share/yomi6/voices/`);"
        " `yomi6 --check-voice` lists what it holds.",
        "## How it was made",
        f"`tools/make_kana_voice.py{options}` had Open JTalk (`open_jtalk -x {DICTIONARY} -m"
        f" {style}`) say each unit alone, as its full-width katakana, and shaped each take like"
        " the built-in samples: cut to the unit by the label times of open_jtalk's trace,"
        f" high-passed at {HIGHPASS_HZ} Hz and resampled to {RATE} Hz by sox, brought to"
        f" {RMS_DB:g} dBFS RMS with the peaks limited, trimmed where the sound first and last"
        f" exceeds {TRIM_LEVEL:g} of full scale, risen over {LEAD_IN_S * 1000:g} ms, held for"
        f" {CORE_S * 1000:g} ms and decayed on a half cosine, at most {MAX_TAKE_S * 1000:g} ms"
        " long (a longer take was said again faster). `S.wav`, the pause, is"
        f" {PAUSE_S:g} s of silence. Running the script again with the same voice and package"
        " versions gives the same bytes.",
    ]
    if settings:
        paragraphs.append(f"Each unit was said with {' and '.join(settings)}: a lower variant"
                          " of the same female voice, not a male voice.")
    paragraphs += [
        "## Credit and licence",
        "These sounds are made from, and are changed from, the HTS voice tohoku-f01 (its"
        f" `{style}` style):",
    ]
    credit = """    HTS voice tohoku-f01-{angry,happy,neutral,sad}
    Copyright(c) 2015 Intelligent Communication Network (Ito-Nose) Laboratory
                      Tohoku University."""
    licence = ("It is licensed under the Creative Commons Attribution 4.0 license (CC BY 4.0,"
               " https://creativecommons.org/licenses/by/4.0/), and so are these files. The"
               " voice, unchanged, and its COPYRIGHT.txt are in `../tohoku-f01/`. The makers"
               " of the voice do not endorse this program or these files.")
    text = "\n\n".join(textwrap.fill(p, 96, break_on_hyphens=False, break_long_words=False)
                       for p in paragraphs)
    return (text + "\n\n" + credit + "\n\n"
            + textwrap.fill(licence, 96, break_on_hyphens=False, break_long_words=False) + "\n")


def list_phonemes(synth):
    for suffix, kana in UNITS:
        _, _, labels = synth.say(SAID_AS.get(suffix, kana), BASE_SPEED)
        _, _, phonemes = spoken_span(labels)
        print(f"{suffix:<4} {kana:<3} {' '.join(phonemes)}")


def make_folder(synth, work, output, voice, half_tones, all_pass, only):
    parent = os.path.dirname(os.path.abspath(output))
    os.makedirs(parent, exist_ok=True)
    staging = tempfile.mkdtemp(prefix="." + os.path.basename(output) + ".", dir=parent)
    try:
        speeds = []
        units = [unit for unit in UNITS if not only or unit[0] in only]
        for index, (suffix, kana) in enumerate(units):
            sound, speed, _ = make_unit(synth, work, SAID_AS.get(suffix, kana))
            write_wave(os.path.join(staging, suffix + ".wav"), sound)
            if speed != BASE_SPEED:
                speeds.append(f"{suffix} {speed:.1f}")
            if sys.stderr.isatty():
                print(f"\r{index + 1}/{len(units)}", end="", file=sys.stderr, flush=True)
        if sys.stderr.isatty():
            print(file=sys.stderr)
        if not only or PAUSE in only:
            write_wave(os.path.join(staging, PAUSE + ".wav"), [0.0] * round(RATE * PAUSE_S))
        with open(os.path.join(staging, "README.md"), "w", encoding="utf-8") as f:
            f.write(readme(voice, half_tones, all_pass))
        os.chmod(staging, 0o755)
        for entry in os.listdir(staging):
            os.chmod(os.path.join(staging, entry), 0o644)
        # The old folder gives way only once the new one is complete.
        old = None
        if os.path.exists(output):
            old = staging + ".old"
            os.rename(output, old)
        os.rename(staging, output)
        if old:
            shutil.rmtree(old)
    except BaseException:
        shutil.rmtree(staging, ignore_errors=True)
        raise
    return len(units) + (not only or PAUSE in only), speeds


def main():
    parser = argparse.ArgumentParser(description="Makes a kana voice folder from an HTS voice.")
    parser.add_argument("output", nargs="?", default=DEFAULT_OUTPUT, help="the voice folder")
    parser.add_argument("--voice", default=DEFAULT_VOICE,
                        help="a style of the voice tohoku-f01, whose credit the README gives")
    parser.add_argument("--half-tones", type=float, default=0.0,
                        help="open_jtalk -fm: shift the pitch by this many half-tones")
    parser.add_argument("--all-pass", type=float, default=None,
                        help="open_jtalk -a: the all-pass constant (the voice's own when absent)")
    parser.add_argument("--only", default="",
                        help="make only these units (suffixes, comma-separated), and the README:"
                        " to check a shipped folder quickly")
    parser.add_argument("--phonemes", action="store_true",
                        help="list what open_jtalk says for each unit, and write nothing")
    args = parser.parse_args()
    if args.all_pass is not None and not 0.0 <= args.all_pass <= 1.0:
        parser.error("--all-pass must lie between 0 and 1")
    only = set(filter(None, args.only.split(",")))
    unknown = sorted(only - {suffix for suffix, _ in UNITS} - {PAUSE})
    if unknown:
        parser.error(f"--only: no unit {', '.join(unknown)}")
    for path, what in ((OPEN_JTALK, "open_jtalk"), (DICTIONARY, "the dictionary")):
        if not os.path.exists(path):
            sys.exit(f"make_kana_voice.py: {what} ({path}) is missing; install it with: "
                     "apt-get install open-jtalk open-jtalk-mecab-naist-jdic")
    if shutil.which("sox") is None:
        sys.exit("make_kana_voice.py: sox is missing; install it with: apt-get install sox")
    if not os.path.isfile(args.voice):
        sys.exit(f"make_kana_voice.py: no voice file {args.voice}")
    # Numbers are printed and read with a decimal point, whatever the user's locale.
    os.environ["LC_ALL"] = "C"
    with tempfile.TemporaryDirectory() as work:
        synth = Synthesizer(args.voice, work, args.half_tones, args.all_pass)
        try:
            if args.phonemes:
                list_phonemes(synth)
                return
            count, speeds = make_folder(synth, work, args.output, args.voice,
                                        args.half_tones, args.all_pass, only)
        except MakeError as error:
            sys.exit(f"make_kana_voice.py: {error}")
    said_faster = f"; said faster: {', '.join(speeds)}" if speeds else ""
    print(f"make_kana_voice.py: wrote {count} units to {args.output}{said_faster}")


if __name__ == "__main__":
    main()
