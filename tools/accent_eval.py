#!/usr/bin/env python3
"""How well full-context labels place accent phrases and accent nuclei, against hand-checked marks.

The reference is the accent-marked phoneme file of the public jsut-label corpus
(e2e_symbol/phoneme.yaml): one line per sentence of JSUT BASIC5000,
`BASIC5000_0001: ^-m-i-[-z-u-o-#-m-a-[-r-e-]-e-...-$`, where `#` is an accent phrase boundary,
`_` a pause (also a phrase boundary), `[` a rise, `]` the accent nucleus (the fall after it) and
`?` a question's final rise. The sentences themselves come from a tab-separated file of
`ID<TAB>text` lines.

For each system the tool makes the labels of every sentence, turns them into the same marks
(a phrase ends where the mora position in the accent phrase restarts or a pause follows; the
nucleus is the mora after which the pitch falls inside the phrase) and scores them:

- boundary precision, recall and F1 over the places between phonemes where a phrase ends
  (pauses included, the end of the sentence not), after aligning the system's phonemes with
  the reference's;
- nucleus accuracy over the reference phrases whose span the system gets exactly (no nucleus
  counts as a value: a flat phrase);
- the share of all reference phrases that are fully right (span and nucleus);
- the share of sentences whose phonemes (devoicing ignored) equal the reference's;
- question marks: sentences the reference ends with `?` against those the system flags.

Systems: `--open-jtalk BIN` runs the `open_jtalk` program once per sentence (its trace, `-ot`,
holds the labels; `--ojt-dic` and `--ojt-voice` name its dictionary and voice) and
`--yomi6 BIN` runs `yomi6 --labels` once on a file of all the sentences, one per line. Labels
of a system may be cached (`--cache DIR`, keyed by the program, its arguments and the text).

Obtaining the data (none of it is part of this repository):
  git clone https://github.com/sarulab-speech/jsut-label
  git -C jsut-label show HEAD:e2e_symbol/phoneme.yaml > phoneme.yaml
  The sentences are the `text_level0` entries of jsut-label's text_kana/basic5000.yaml, written
  as `BASIC5000_0001<TAB>水をマレーシアから買わなくてはならないのです。` lines. Where an entry's
  `text_level2` differs (the text as it was spoken), give those lines in a second file of the
  same form with --overrides; the reference marks follow the spoken text.

Example (the development part, both systems side by side):
  tools/accent_eval.py --phonemes phoneme.yaml --text basic5000_text.tsv \
      --overrides basic5000_text_level2_differs.tsv --range 2001-5000 \
      --open-jtalk /usr/bin/open_jtalk --yomi6 build/src/yomi6

`--selftest` checks the scoring on hand-made cases and exits.
"""
import argparse
import concurrent.futures
import difflib
import hashlib
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest

OJT_DIC = '/var/lib/mecab/dic/open-jtalk/naist-jdic'
OJT_VOICE = '/usr/share/yomi6/voices/tohoku-f01/tohoku-f01-neutral.htsvoice'

LABEL_RE = re.compile(r'^(?:\d+\s+\d+\s+)?(\S+)$')
PHONEME_RE = re.compile(r'^[^\^]*\^[^-]*-([^+]+)\+')
A_RE = re.compile(r'/A:([-\dxx]+)\+([\dxx]+)\+([\dxx]+)/')
F_RE = re.compile(r'/F:([\dx]+)_([\dx]+)#([\dx]+)_')
F_FIELD_RE = re.compile(r'/F:([^/]*)/')
# The phonemes that end a mora: a phrase boundary or a fall can only follow one of them.
MORA_FINAL = set('aiueoAIUEO') | {'N', 'cl'}


# ---- Marks -------------------------------------------------------------------------------


class Marked:
    """One sentence as phonemes with phrase ends and nuclei between them.

    phonemes: the phonemes, lower case, without pauses.
    ends: indices k (1..len) such that a phrase ends after phonemes[k-1] (the last one included).
    falls: indices k such that the pitch falls after phonemes[k-1] (a nucleus ends there).
    question: the sentence ends with a question's rise.
    """

    def __init__(self, phonemes, ends, falls, question=False, pauses=frozenset()):
        self.phonemes = list(phonemes)
        self.ends = set(ends)
        self.falls = set(falls)
        self.question = question
        self.pauses = set(pauses)

    def phrases(self):
        """(begin, end, fall or None) of each phrase, in phoneme indices."""
        out = []
        begin = 0
        for end in sorted(self.ends):
            inner = [f for f in self.falls if begin < f < end]
            out.append((begin, end, inner[0] if inner else None))
            begin = end
        return out


def parse_reference(line):
    """A phoneme.yaml value: ^-m-i-[-z-u-...-$ into Marked."""
    tokens = [t for t in line.strip().split('-') if t]
    phonemes, ends, falls, pauses = [], set(), set(), set()
    question = False
    for t in tokens:
        if t in ('^', '$'):
            continue
        if t in ('#', '_'):
            if phonemes:
                ends.add(len(phonemes))
            if t == '_':
                pauses.add(len(phonemes))
        elif t == ']':
            falls.add(len(phonemes))
        elif t == '[':
            pass
        elif t == '?':
            question = True
        else:
            phonemes.append(t.lower())
    if phonemes:
        ends.add(len(phonemes))
    return Marked(phonemes, ends, falls, question, pauses)


def field(regex, label):
    m = regex.search(label)
    return m.groups() if m else None


def as_int(text):
    try:
        return int(text)
    except (TypeError, ValueError):
        return None


def parse_labels(labels):
    """Full-context labels of one utterance (sil ... sil) into Marked."""
    rows = []
    for label in labels:
        m = PHONEME_RE.match(label)
        if not m:
            raise ValueError('not a full-context label: ' + label)
        a = field(A_RE, label) or (None, None, None)
        f = field(F_RE, label) or (None, None, None)
        phrase = field(F_FIELD_RE, label)
        rows.append((m.group(1), as_int(a[0]), as_int(a[1]), phrase, f[2] == '1'))
    phonemes, ends, falls, pauses = [], set(), set(), set()
    question = False
    for i, (p, a1, a2, phrase, interrogative) in enumerate(rows):
        if p == 'sil':
            continue
        if p == 'pau':
            if phonemes:
                ends.add(len(phonemes))
                pauses.add(len(phonemes))
            continue
        phonemes.append(p.lower())
        if interrogative:
            question = True
        if p not in MORA_FINAL:
            continue
        nxt = rows[i + 1] if i + 1 < len(rows) else ('sil', None, None, None, False)
        if nxt[0] in ('sil', 'pau') or nxt[3] != phrase:
            # The F field (the phrase's place in its breath group) changes with the phrase.
            ends.add(len(phonemes))
        elif a1 == 0 and nxt[2] is not None and a2 is not None and nxt[2] == a2 + 1:
            falls.add(len(phonemes))
    if phonemes:
        ends.add(len(phonemes))
    return Marked(phonemes, ends, falls, question, pauses)


# ---- Scoring ------------------------------------------------------------------------------


class Score:
    def __init__(self):
        self.tp = self.fp = self.fn = 0
        self.matched = self.nucleus_right = 0
        self.ref_phrases = self.full_right = 0
        self.sentences = self.same_phonemes = 0
        self.q_tp = self.q_fp = self.q_fn = 0

    def add(self, ref, hyp):
        self.sentences += 1
        if ref.phonemes == hyp.phonemes:
            self.same_phonemes += 1
        # Hypothesis index -> reference index, through blocks of equal phonemes. A boundary
        # counts where both sides have one at positions the alignment pairs.
        matcher = difflib.SequenceMatcher(None, ref.phonemes, hyp.phonemes, autojunk=False)
        to_ref = {}
        for block in matcher.get_matching_blocks():
            for k in range(block.size + 1):
                to_ref[block.b + k] = block.a + k
        hyp_ends = {to_ref[e] for e in hyp.ends if e in to_ref}
        unmapped = len([e for e in hyp.ends if e not in to_ref])
        hyp_falls = {to_ref[f] for f in hyp.falls if f in to_ref}
        # The end of the sentence is a boundary of every system: only inner ones count.
        last = {len(ref.phonemes)}
        self.tp += len((ref.ends & hyp_ends) - last)
        self.fp += len(hyp_ends - ref.ends - last) + unmapped
        self.fn += len(ref.ends - hyp_ends - last)
        begin_ok = True  # the sentence start always matches
        for begin, end, fall in ref.phrases():
            self.ref_phrases += 1
            span = begin_ok and end in hyp_ends and not any(begin < e < end for e in hyp_ends)
            begin_ok = end in hyp_ends
            if not span:
                continue
            self.matched += 1
            hyp_fall = [f for f in hyp_falls if begin < f < end]
            if (hyp_fall[0] if hyp_fall else None) == fall and len(hyp_fall) <= 1:
                self.nucleus_right += 1
                self.full_right += 1
        if ref.question and hyp.question:
            self.q_tp += 1
        elif hyp.question:
            self.q_fp += 1
        elif ref.question:
            self.q_fn += 1

    def precision(self):
        return self.tp / (self.tp + self.fp) if self.tp + self.fp else 0.0

    def recall(self):
        return self.tp / (self.tp + self.fn) if self.tp + self.fn else 0.0

    def f1(self):
        p, r = self.precision(), self.recall()
        return 2 * p * r / (p + r) if p + r else 0.0

    def rows(self):
        return [
            ('sentences', str(self.sentences)),
            ('boundary precision', '%.3f' % self.precision()),
            ('boundary recall', '%.3f' % self.recall()),
            ('boundary F1', '%.3f' % self.f1()),
            ('phrases with the span right', '%d / %d' % (self.matched, self.ref_phrases)),
            ('nucleus right on those', '%.3f' % (self.nucleus_right / self.matched
                                                 if self.matched else 0.0)),
            ('phrases fully right', '%.3f' % (self.full_right / self.ref_phrases
                                              if self.ref_phrases else 0.0)),
            ('same phonemes', '%d / %d' % (self.same_phonemes, self.sentences)),
            ('questions found / missed / false', '%d / %d / %d' % (self.q_tp, self.q_fn,
                                                                  self.q_fp)),
        ]


def render(marked):
    """Marked as a compact string, phrases split by #, the nucleus as ]."""
    out = []
    for k, p in enumerate(marked.phonemes, start=1):
        out.append(p)
        if k in marked.falls:
            out.append(']')
        if k in marked.ends and k < len(marked.phonemes):
            out.append('_' if k in marked.pauses else '#')
    return ' '.join(out)


# ---- Systems -----------------------------------------------------------------------------


def split_utterances(lines):
    """Label lines (with or without times) into utterances, each from sil to sil."""
    utterances, current = [], []
    for line in lines:
        line = line.strip()
        if not line:
            continue
        m = LABEL_RE.match(line)
        if not m:
            continue
        label = m.group(1)
        current.append(label)
        p = PHONEME_RE.match(label)
        if p and p.group(1) == 'sil' and len(current) > 1:
            utterances.append(current)
            current = []
    if current:
        utterances.append(current)
    return utterances


def cached(cache, key, make):
    if not cache:
        return make()
    path = os.path.join(cache, hashlib.sha256(key.encode()).hexdigest() + '.json')
    if os.path.exists(path):
        with open(path, encoding='utf-8') as f:
            return json.load(f)
    value = make()
    os.makedirs(cache, exist_ok=True)
    with open(path + '.tmp', 'w', encoding='utf-8') as f:
        json.dump(value, f)
    os.replace(path + '.tmp', path)
    return value


def open_jtalk_labels(args, text):
    def run():
        with tempfile.TemporaryDirectory() as tmp:
            src = os.path.join(tmp, 'in.txt')
            trace = os.path.join(tmp, 'trace.txt')
            with open(src, 'w', encoding='utf-8') as f:
                f.write(text + '\n')
            subprocess.run([args.open_jtalk, '-x', args.ojt_dic, '-m', args.ojt_voice,
                            '-ow', os.devnull, '-ot', trace, src], check=True, timeout=60,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            with open(trace, encoding='utf-8') as f:
                lines = f.read().split('[Output label]', 1)[-1].split('\n\n', 1)[0]
            utterances = split_utterances(lines.splitlines())
            return utterances[0] if utterances else []
    key = '\0'.join(['ojt', args.open_jtalk, args.ojt_dic, args.ojt_voice, text])
    return cached(args.cache, key, run)


def yomi6_labels(args, texts):
    def run():
        with tempfile.TemporaryDirectory() as tmp:
            src = os.path.join(tmp, 'in.txt')
            with open(src, 'w', encoding='utf-8') as f:
                for t in texts:
                    f.write(t + '\n')
            cmd = [args.yomi6, '--labels', src, '--encoding', 'utf8'] + args.yomi6_args.split()
            out = subprocess.run(cmd, check=True, timeout=3600, capture_output=True,
                                 text=True).stdout
        return split_utterances(out.splitlines())
    key = '\0'.join(['yomi6', args.yomi6, str(os.path.getmtime(args.yomi6)), args.yomi6_args]
                    + texts)
    utterances = cached(args.cache, key, run)
    if len(utterances) != len(texts):
        sys.exit('yomi6 --labels gave %d utterances for %d sentences' % (len(utterances),
                                                                          len(texts)))
    return utterances


# ---- Data --------------------------------------------------------------------------------


def read_tsv(path):
    out = {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if '\t' in line:
                key, value = line.split('\t', 1)
                out[key] = value
    return out


def read_reference(path):
    out = {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            if ':' in line:
                key, value = line.split(':', 1)
                out[key.strip()] = value.strip()
    return out


def in_range(key, ranges):
    """Whether the number that ends key (BASIC5000_0042) lies in ranges ("1-2000,2501")."""
    number = int(key.rsplit('_', 1)[1])
    for part in ranges.split(','):
        low, _, high = part.partition('-')
        if int(low) <= number <= int(high or low):
            return True
    return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--phonemes', help="jsut-label's e2e_symbol/phoneme.yaml")
    parser.add_argument('--text', help='ID<TAB>sentence lines')
    parser.add_argument('--overrides', help='ID<TAB>sentence lines that replace --text lines')
    parser.add_argument('--range', default='1-5000', help='sentence numbers, e.g. 2001-5000')
    parser.add_argument('--open-jtalk', help='the open_jtalk program')
    parser.add_argument('--ojt-dic', default=OJT_DIC)
    parser.add_argument('--ojt-voice', default=OJT_VOICE)
    parser.add_argument('--yomi6', help='the yomi6 program')
    parser.add_argument('--yomi6-args', default='', help='more arguments of yomi6 --labels')
    parser.add_argument('--cache', help='folder that keeps each system\'s labels')
    parser.add_argument('--jobs', type=int, default=2)
    parser.add_argument('--show', type=int, default=0,
                        help='print this many sentences where the last system is wrong')
    parser.add_argument('--selftest', action='store_true')
    args = parser.parse_args()
    if args.selftest:
        unittest.main(argv=[sys.argv[0]], exit=True)
    if not (args.phonemes and args.text and (args.open_jtalk or args.yomi6)):
        parser.error('--phonemes, --text and a system (--open-jtalk, --yomi6) are needed')

    reference = read_reference(args.phonemes)
    texts = read_tsv(args.text)
    if args.overrides:
        texts.update(read_tsv(args.overrides))
    ids = sorted(k for k in texts if k in reference and in_range(k, args.range))
    if not ids:
        sys.exit('no sentence of that range has both a text and marks')
    systems = []
    if args.open_jtalk:
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            labels = list(pool.map(lambda k: open_jtalk_labels(args, texts[k]), ids))
        systems.append(('Open JTalk', labels))
    if args.yomi6:
        systems.append(('yomi6', yomi6_labels(args, [texts[k] for k in ids])))

    scores = []
    for name, labels in systems:
        score = Score()
        for key, utterance in zip(ids, labels):
            score.add(parse_reference(reference[key]), parse_labels(utterance))
        scores.append(score)
    width = max(len(r[0]) for r in scores[0].rows())
    print('%-*s  %s' % (width, '', '  '.join('%16s' % n for n, _ in systems)))
    for i, (title, _) in enumerate(scores[0].rows()):
        print('%-*s  %s' % (width, title, '  '.join('%16s' % s.rows()[i][1] for s in scores)))
    if args.show:
        shown = 0
        for i, key in enumerate(ids):
            ref = parse_reference(reference[key])
            hyp = parse_labels(systems[-1][1][i])
            single = Score()
            single.add(ref, hyp)
            if single.full_right == single.ref_phrases and ref.phonemes == hyp.phonemes:
                continue
            print('\n%s %s\n  ref %s' % (key, texts[key], render(ref)))
            for name, labels in systems:
                print('  %-3s %s' % (name[:3].lower(), render(parse_labels(labels[i]))))
            shown += 1
            if shown >= args.show:
                break


# ---- Self-test ---------------------------------------------------------------------------


def label(p, a=None, f=None, q=False):
    """A label of phoneme p with A:a1+a2+a3 and F: mora count, accent and the phrase's index,
    as the tool reads them."""
    a_part = '/A:%d+%d+%d' % a if a else '/A:xx+xx+xx'
    f_part = ('/F:%d_%d#%d_xx@%d_1|1_1' % (f[0], f[1], 1 if q else 0, f[2]) if f
              else '/F:xx_xx#xx_xx@xx_xx|xx_xx')
    return 'xx^xx-%s+xx=xx%s/B:xx%s/G:xx' % (p, a_part, f_part)


def utterance(phrases):
    """Labels of phrases, each (accent, [(consonant or '', vowel), ...]) or 'pau'."""
    out = [label('sil')]
    for index, phrase in enumerate(phrases, start=1):
        if phrase == 'pau':
            out.append(label('pau'))
            continue
        acc, morae = phrase
        n = len(morae)
        for i, (c, v) in enumerate(morae, start=1):
            a = (i - (acc if acc else n), i, n - i + 1)
            for p in ([c] if c else []) + [v]:
                out.append(label(p, a, (n, acc or n, index)))
    out.append(label('sil'))
    return out


class SelfTest(unittest.TestCase):
    def test_reference_marks(self):
        ref = parse_reference('^-m-i-[-z-u-o-#-m-a-[-r-e-]-e-_-k-a-$')
        self.assertEqual(ref.phonemes, ['m', 'i', 'z', 'u', 'o', 'm', 'a', 'r', 'e', 'e', 'k',
                                        'a'])
        self.assertEqual(sorted(ref.ends), [5, 10, 12])
        self.assertEqual(ref.falls, {9})
        self.assertEqual(ref.pauses, {10})
        self.assertEqual([p[2] for p in ref.phrases()], [None, 9, None])
        self.assertTrue(parse_reference('^-n-a-]-n-i-?-$').question)

    def test_labels_to_marks(self):
        # ミズヲ (flat) # マレーエ (nucleus on re) pau カ (accent 1 on its only mora)
        labels = utterance([(0, [('m', 'i'), ('z', 'u'), ('', 'o')]),
                            (2, [('m', 'a'), ('r', 'e'), ('', 'e')]), 'pau',
                            (1, [('k', 'a')])])
        hyp = parse_labels(labels)
        self.assertEqual(render(hyp), 'm i z u o # m a r e ] e _ k a')
        self.assertEqual(sorted(hyp.ends), [5, 10, 12])
        # Two phrases of one mora each: the boundary falls after the vowel, not the consonant.
        hyp = parse_labels(utterance([(1, [('k', 'a')]), (1, [('n', 'a')])]))
        self.assertEqual(render(hyp), 'k a # n a')

    def test_perfect_and_flat_phrases(self):
        ref = parse_reference('^-m-i-[-z-u-o-#-m-a-[-r-e-]-e-$')
        hyp = parse_labels(utterance([(0, [('m', 'i'), ('z', 'u'), ('', 'o')]),
                                      (2, [('m', 'a'), ('r', 'e'), ('', 'e')])]))
        score = Score()
        score.add(ref, hyp)
        self.assertEqual((score.tp, score.fp, score.fn), (1, 0, 0))
        self.assertEqual((score.matched, score.nucleus_right, score.full_right), (2, 2, 2))
        self.assertEqual(score.same_phonemes, 1)

    def test_extra_boundary_costs_precision_and_both_spans(self):
        ref = parse_reference('^-a-[-k-a-i-h-a-n-a-$')
        hyp = parse_labels(utterance([(0, [('', 'a'), ('k', 'a'), ('', 'i')]),
                                      (0, [('h', 'a'), ('n', 'a')])]))
        score = Score()
        score.add(ref, hyp)
        self.assertEqual((score.tp, score.fp, score.fn), (0, 1, 0))
        self.assertAlmostEqual(score.precision(), 0.0)
        self.assertEqual((score.ref_phrases, score.matched, score.full_right), (1, 0, 0))

    def test_missing_boundary_and_wrong_nucleus(self):
        ref = parse_reference('^-a-]-m-e-#-h-a-[-n-a-$')
        hyp = parse_labels(utterance([(2, [('', 'a'), ('m', 'e'), ('h', 'a'), ('n', 'a')])]))
        score = Score()
        score.add(ref, hyp)
        self.assertEqual((score.tp, score.fp, score.fn), (0, 0, 1))
        self.assertEqual(score.matched, 0)
        hyp = parse_labels(utterance([(2, [('', 'a'), ('m', 'e')]),
                                      (0, [('h', 'a'), ('n', 'a')])]))
        score = Score()
        score.add(ref, hyp)
        self.assertEqual((score.matched, score.nucleus_right, score.full_right), (2, 1, 1))

    def test_devoicing_ignored_and_phonemes_aligned(self):
        ref = parse_reference('^-k-u-[-s-a-#-m-o-$')
        hyp = parse_labels(utterance([(0, [('k', 'U'), ('s', 'a')]), (0, [('m', 'o')])]))
        score = Score()
        score.add(ref, hyp)
        self.assertEqual(score.same_phonemes, 1)
        # A different phoneme inside the first phrase leaves its boundary matched.
        hyp = parse_labels(utterance([(0, [('g', 'u'), ('s', 'a')]), (0, [('m', 'o')])]))
        score = Score()
        score.add(ref, hyp)
        self.assertEqual((score.tp, score.fp, score.fn, score.same_phonemes), (1, 0, 0, 0))

    def test_question(self):
        ref = parse_reference('^-n-a-]-n-i-?-$')
        labels = utterance([(1, [('n', 'a'), ('n', 'i')])])
        flagged = [l.replace('#0_xx', '#1_xx') for l in labels]
        score = Score()
        score.add(ref, parse_labels(flagged))
        score.add(ref, parse_labels(labels))
        self.assertEqual((score.q_tp, score.q_fn, score.q_fp), (1, 1, 0))

    def test_utterances_split_from_timed_labels(self):
        lines = ['0 10 ' + l for l in utterance([(0, [('k', 'a')])])] * 2
        self.assertEqual(len(split_utterances(lines)), 2)


if __name__ == '__main__':
    main()
