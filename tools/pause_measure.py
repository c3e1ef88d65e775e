#!/usr/bin/env python3
"""How long real read speech pauses at a comma, from phoneme times of a read corpus.

Input: a folder of HTK label files (one per sentence, `ID.lab`, lines `start end label` with
times in units of 100 ns and the phoneme between `-` and `+` of a full-context label, or a
bare phoneme; `sil` and `pau` are silences), or a bare git repository and the folder inside it
(`--git REPO --folder labels/basic5000`), and a tab-separated file of `ID<TAB>text` lines.

A pause is a `pau` inside the sentence (the `sil` before and after the sentence are left out:
one sentence per file says nothing of the pause between sentences). A sentence with as many
pauses as commas (、，) is taken to pause at each of its commas in order; one with fewer has
commas that get no pause, one with more has pauses where the text has no mark.

Prints the count, median, quartiles and 10th/90th percentiles of the pauses at commas, the
share of commas without a pause, and the pauses without a mark. Only the IDs between --first
and --last (the numbers after the last `_`) are read.

Example (the held-out sentences 0001-2000 are never read for tuning):
  tools/pause_measure.py --git jsut-label/.git --folder labels/basic5000 \
      --text basic5000_text.tsv --first 2001 --last 5000

With --ours TIMINGS.json TEXT it measures our own natural voice instead: the timings file of an
export of TEXT (`yomi6 --engine natural --export OUT.wav --timings TIMINGS.json TEXT`, TEXT in
UTF-8 or Shift-JIS) gives each pause (the silent units between two morae, in a row) with the source bytes
it covers; they are told apart by the mark they cover (、 or 。, ！？, ……, ――) and by a line end
between the two morae.
"""

import argparse
import os
import statistics
import subprocess
import sys

COMMAS = ("、", "，", "､", ",")


def phoneme_of(label):
    if "-" in label and "+" in label:
        return label.split("-", 1)[1].split("+", 1)[0]
    return label


def read_lab(text):
    """The silences inside the sentence as durations in milliseconds."""
    rows = []
    for line in text.splitlines():
        parts = line.split()
        if len(parts) < 3:
            continue
        rows.append((int(parts[0]), int(parts[1]), phoneme_of(parts[2])))
    return [(end - start) / 10000.0 for start, end, p in rows if p == "pau"]


def lab_sources(args):
    if args.git:
        listing = subprocess.run(
            ["git", "-C", args.git, "ls-tree", "--name-only", "HEAD", args.folder + "/"],
            check=True, capture_output=True, text=True, timeout=60).stdout.split()
        for path in listing:
            if path.endswith(".lab"):
                yield os.path.basename(path)[:-4], lambda p=path: subprocess.run(
                    ["git", "-C", args.git, "show", "HEAD:" + p], check=True,
                    capture_output=True, text=True, timeout=60).stdout
    else:
        for name in sorted(os.listdir(args.folder)):
            if name.endswith(".lab"):
                path = os.path.join(args.folder, name)
                yield name[:-4], lambda p=path: open(p, encoding="utf-8").read()


def number_of(ident):
    try:
        return int(ident.rsplit("_", 1)[1])
    except (IndexError, ValueError):
        return -1


def spread(values):
    if not values:
        return "none"
    q = statistics.quantiles(values, n=20) if len(values) > 1 else [values[0]] * 19
    quart = statistics.quantiles(values, n=4) if len(values) > 1 else [values[0]] * 3
    return (f"n={len(values)} median={statistics.median(values):.0f} ms "
            f"quartiles={quart[0]:.0f}-{quart[2]:.0f} ms p10={q[1]:.0f} p90={q[17]:.0f} ms")


MARKS = (("comma", "、，､,"), ("period", "。．｡"), ("question", "！？!?"), ("ellipsis", "…‥"),
         ("dash", "―"))


def measure_ours(timings_path, text_path):
    import json
    with open(timings_path, encoding="utf-8") as f:
        units = json.load(f)["units"]
    # The sources count the bytes of the text as the program holds it: code page 932 with
    # CR LF line ends.
    with open(text_path, "rb") as f:
        raw = f.read()
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError:
        text = raw.decode("cp932", "replace")
    data = text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp932", "replace")
    groups = {}
    pending = []
    last_end_byte = None
    for unit in units:
        if unit["mora"] is None:
            pending.append(unit)
            continue
        if pending and last_end_byte is not None:
            begin, end = unit["source"]
            between = data[last_end_byte:begin].decode("cp932", "replace")
            covered = "".join(data[u["source"][0]:u["source"][1]].decode("cp932", "replace")
                              for u in pending) + between
            kind = next((name for name, signs in MARKS if any(c in covered for c in signs)),
                        "no mark")
            lines = between.count("\n")
            if lines:
                kind += " + " + ("line end" if lines == 1 else "blank line")
            ms = pending[-1]["endMs"] - pending[0]["startMs"]
            groups.setdefault(kind, []).append(ms)
        pending = []
        last_end_byte = unit["source"][1]
    for kind in sorted(groups):
        print(f"{kind}: {spread(groups[kind])}")


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--ours":
        measure_ours(sys.argv[2], sys.argv[3])
        return
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--git", help="a bare git repository holding the label files")
    parser.add_argument("--folder", required=True, help="the folder of .lab files")
    parser.add_argument("--text", required=True, help="ID<TAB>text lines")
    parser.add_argument("--first", type=int, default=2001)
    parser.add_argument("--last", type=int, default=5000)
    args = parser.parse_args()

    texts = {}
    with open(args.text, encoding="utf-8") as f:
        for line in f:
            ident, _, text = line.rstrip("\n").partition("\t")
            texts[ident] = text

    at_commas, unmarked, all_pauses = [], [], []
    commas_total = commas_without = sentences = 0
    more_pauses = fewer_pauses = 0
    for ident, read in lab_sources(args):
        if not args.first <= number_of(ident) <= args.last or ident not in texts:
            continue
        sentences += 1
        pauses = read_lab(read())
        all_pauses += pauses
        commas = sum(texts[ident].count(c) for c in COMMAS)
        commas_total += commas
        if len(pauses) == commas:
            at_commas += pauses
        elif len(pauses) < commas:
            fewer_pauses += 1
            commas_without += commas - len(pauses)
        else:
            more_pauses += 1
            if commas == 0:
                unmarked += pauses
    if sentences == 0:
        sys.exit("no sentence in the range was found")
    print(f"sentences {sentences}, commas {commas_total}, pauses {len(all_pauses)}")
    print(f"pauses at commas (sentences with one pause per comma): {spread(at_commas)}")
    print(f"commas without a pause: at least {commas_without} of {commas_total} "
          f"({100.0 * commas_without / max(commas_total, 1):.1f} %), "
          f"in {fewer_pauses} sentences")
    print(f"sentences with more pauses than commas: {more_pauses}; "
          f"pauses in sentences without a comma: {spread(unmarked)}")
    print(f"all pauses: {spread(all_pauses)}")


if __name__ == "__main__":
    main()
