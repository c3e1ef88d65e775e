#!/usr/bin/env python3
"""Writes jsut-label's kana readings as a test set of tools/reading_accuracy.py.

jsut-label (https://github.com/sarulab-speech/jsut-label) gives, for each sentence of JSUT
BASIC5000, its reading in katakana with accent marks (e2e_symbol/katakana.yaml:
`BASIC5000_0001: ^ミ[ズヲ#マ[レ]ーシアカラ...$`). With the sentences themselves (a file of
`ID<TAB>text` lines, see tools/accent_eval.py for how to obtain them; --overrides for the
texts as spoken where they differ), this writes one line per sentence in the test-set format of
reading_accuracy.py: `ID<TAB>sentence<TAB>sentence=K=reading`, the reading in half-width
katakana without marks, the whole sentence one token (the tool aligns morae, not words).
A sentence with a character code page 932 cannot hold (the program's text files are in it) is
left out, and the number left out is said on standard error.

    jsut_reading_set.py KATAKANA_YAML TEXT_TSV [--overrides TSV] [--range 1-5000] > set.tsv
    reading_accuracy.py build/src/yomi6 set.tsv --auto-if-supported

None of jsut-label's data is part of this repository.
"""
import argparse
import sys
import unicodedata

from accent_eval import in_range

MARKS = set('^$[]#_?')


def half_width_table():
    """Full-width katakana (and ー, 、) to their half-width forms, voiced ones as two characters."""
    table = {}
    half = [chr(c) for c in range(0xFF61, 0xFFA0)]
    for h in half:
        table.setdefault(unicodedata.normalize('NFKC', h), h)
    for h in half:
        for mark in ('ﾞ', 'ﾟ'):
            full = unicodedata.normalize('NFKC', h + mark)
            if len(full) == 1:
                table.setdefault(full, h + mark)
    return table


def to_half_width(kana, table):
    return ''.join(table.get(c, c) for c in kana)


def read_tsv(path):
    out = {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            key, sep, value = line.rstrip('\n').partition('\t')
            if sep:
                out[key] = value
    return out


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('katakana')
    ap.add_argument('text')
    ap.add_argument('--overrides')
    ap.add_argument('--range', default='1-5000')
    args = ap.parse_args()
    texts = read_tsv(args.text)
    if args.overrides:
        texts.update(read_tsv(args.overrides))
    table = half_width_table()
    left_out = 0
    with open(args.katakana, encoding='utf-8') as f:
        for line in f:
            key, sep, value = line.partition(':')
            key = key.strip()
            if not sep or key not in texts or not in_range(key, args.range):
                continue
            kana = ''.join(c for c in value.strip() if c not in MARKS)
            text = texts[key].replace('\t', ' ')
            try:
                text.encode('cp932')
            except UnicodeEncodeError:
                left_out += 1
                continue
            sys.stdout.write('%s\t%s\t%s=K=%s\n' % (key, text, text.replace(' ', ''),
                                                     to_half_width(kana, table)))
    if left_out:
        sys.stderr.write('%d sentences left out: not in code page 932\n' % left_out)


if __name__ == '__main__':
    main()
