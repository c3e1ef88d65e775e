#!/usr/bin/env python3
"""Compares `yomi6 --labels` with the labels of the voice's own front end, `open_jtalk -ot`.

Both make the full-context labels of every sentence of the given test sets (the second column
of tests/accuracy/*.tsv, or any ID<TAB>sentence file). Where the two say the same phonemes (the
same reading, the same pauses), this program's labels with its own accent rules left out
(`--accent-rules none`) must equal the front end's label for label; the tool lists each
sentence where they do not, with the first label that differs, and exits 1 when there is one.
Sentences read otherwise (numbers, which this program reads by its own rules, or a word the
analyzers split otherwise) are counted, not compared.

With --rules it also measures each of this program's own accent rules: for each, the sentences
whose labels that rule alone changes against the classic rules.

    labels_oracle.py YOMI6 TSV... [--open-jtalk BIN] [--ojt-dic DIR] [--ojt-voice FILE]
                     [--cache DIR] [--jobs N] [--show N] [--rules]

The open_jtalk program (Debian: open-jtalk, with open-jtalk-mecab-naist-jdic and a voice,
any: the labels do not depend on it) is needed by this tool only.
"""
import argparse
import concurrent.futures
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import accent_eval  # noqa: E402  (same folder)

# This program's own accent rules (src/core/labels/accent_rules.cpp).
RULES = ['entry-accent', 'numbers', 'counting-words', 'number-groups', 'suru', 'suru-split',
         'formal-noun', 'te-auxiliary', 'te-oru-kuru', 'te-particle', 'nai', 'naru', 'verb-suffix',
         'honorific', 'ta-flat', 'tachi', 'teki-flat', 'to-suru', 'adverbial-ku', 'number-phrase',
         'dou', 'pronoun', 'compound-stem', 'dearu', 'dearu-split', 'ni-after-verb',
         'ni-after-flat-verb', 'odaka-no', 'ni-yoru', 'ni-oite', 'you-ni', 'to-iu', 'tame',
         'sono-tame', 'particle-wa', 'to-he-particle', 'conjunctive-final-mora',
         'mo-after-particle', 'tari', 'verb-final-mora', 'quote-to', 'nakereba', 'datta',
         'ichidan-te', 'adjective-ku', 'adjective-ku-long', 'suffix-accent', 'dai-number',
         'adjective-sa', 'counter-flat', 'rashii', 'are-ba', 'verb-kata', 'pronoun-tachi',
         'interrogative-flat', 'prefix-flat', 'prefix-verb', 'no-naka', 'stem-ni-naru', 'te-inai',
         'renyou-end', 'te-kudasai', 'aru-nucleus', 'tokoro', 'sou', 'volitional', 'action-time',
         'noun-adjective', 'after-formal-noun', 'predicate-pair', 'final-masu', 'final-desu',
         'final-masu-flat', 'question-ka', 'special-mora', 'nai-nucleus', 'iu-yuu']


def sentences_of(paths):
    out = []
    for path in paths:
        with open(path, encoding='utf-8') as f:
            for line in f:
                if line.startswith('#') or '\t' not in line:
                    continue
                text = line.rstrip('\n').split('\t')[1].strip()
                if text:
                    out.append(text)
    return out


def phonemes(utterance):
    return [accent_eval.PHONEME_RE.match(l).group(1).lower() for l in utterance]


def first_difference(ours, theirs):
    for i, (a, b) in enumerate(zip(ours, theirs)):
        if a != b:
            return i, a, b
    return min(len(ours), len(theirs)), '', ''


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('yomi6')
    ap.add_argument('tsv', nargs='+')
    ap.add_argument('--open-jtalk', default='/usr/bin/open_jtalk')
    ap.add_argument('--ojt-dic', default=accent_eval.OJT_DIC)
    ap.add_argument('--ojt-voice', default=accent_eval.OJT_VOICE)
    ap.add_argument('--cache', help="folder that keeps the front end's labels")
    ap.add_argument('--jobs', type=int, default=2)
    ap.add_argument('--show', type=int, default=10)
    ap.add_argument('--rules', action='store_true', help='measure each own accent rule')
    args = ap.parse_args()

    for path in (args.open_jtalk, args.ojt_dic + '/sys.dic', args.ojt_voice):
        if not os.access(path, os.R_OK):
            print('SKIP: %s is missing (Debian: open-jtalk, open-jtalk-mecab-naist-jdic)' % path)
            return 77
    texts = sentences_of(args.tsv)
    ojt_args = argparse.Namespace(open_jtalk=args.open_jtalk, ojt_dic=args.ojt_dic,
                                  ojt_voice=args.ojt_voice, cache=args.cache)
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        theirs = list(pool.map(lambda t: accent_eval.open_jtalk_labels(ojt_args, t), texts))

    def ours(rules):
        yomi6_args = argparse.Namespace(yomi6=args.yomi6, yomi6_args='--accent-rules ' + rules,
                                        cache=None)
        return accent_eval.yomi6_labels(yomi6_args, texts)

    classic = ours('none')
    same_reading = equal = 0
    shown = 0
    for text, a, b in zip(texts, classic, theirs):
        if phonemes(a) != phonemes(b):
            continue
        same_reading += 1
        if a == b:
            equal += 1
            continue
        if shown < args.show:
            i, x, y = first_difference(a, b)
            print('differs: %s\n  label %d\n  ours   %s\n  theirs %s' % (text, i, x, y))
            shown += 1
    print('sentences %d, read alike %d, labels equal on %d of those' % (len(texts), same_reading,
                                                                        equal))
    if args.rules:
        for rule in RULES:
            changed = sum(1 for a, b in zip(ours(rule), classic) if a != b)
            print('rule %-13s changes the labels of %d sentences' % (rule, changed))
    return 0 if equal == same_reading else 1


if __name__ == '__main__':
    sys.exit(main())
