#!/usr/bin/env python3
"""Share of a reference reading's morae that yomi6 reads aloud correctly.

Each sentence of the test set is written to a file in code page 932 and read with
`yomi6 --reading FILE [MODE ARGS]`. Reference and output are split into morae, written the
same where they sound the same, aligned by edit distance, and the reference morae that the
alignment matches are counted, overall and by the class of the word they belong to.

Test set lines: source<TAB>sentence<TAB>tokens, tokens separated by blanks, each
surface=CLASS=reading (reading in half-width katakana, may be empty; CLASS is K for a word with a
kanji, N for a number with its counter, A for kana, O for Latin letters and symbols). A reading
may list accepted alternatives separated by | (a Latin word spelled, or said as a word); the
alternatives that leave the fewest reference morae unheard count.

A token whose surface holds a ruby in Aozora Bunko notation (《…》, its base before it) is a
ruby'd word: besides the morae, the tool counts such words whose every mora was heard. Morae
heard that the alignment pairs with no reference mora (a note read aloud, a ruby said after its
base) are counted as extra.
"""
import itertools
import argparse
import concurrent.futures
import os
import subprocess
import sys
import tempfile

CLASSES = {'K': 'kanji words', 'N': 'numbers', 'A': 'kana', 'O': 'other'}
SMALL = set('ｧｨｩｪｫｬｭｮﾞﾟ')
# The vowel each kana ends in, for the long-vowel mark and the o-u / e-i rules.
VOWEL_ROWS = {
    'a': 'ｱｶｻﾀﾅﾊﾏﾔﾗﾜｧｬ', 'i': 'ｲｷｼﾁﾆﾋﾐﾘｨ', 'u': 'ｳｸｽﾂﾇﾌﾑﾕﾙｩｭ',
    'e': 'ｴｹｾﾃﾈﾍﾒﾚｪ', 'o': 'ｵｺｿﾄﾉﾎﾓﾖﾛｦｫｮ',
}
VOWEL_OF = {k: v for v, ks in VOWEL_ROWS.items() for k in ks}
VOWEL_KANA = {'a': 'ｱ', 'i': 'ｲ', 'u': 'ｳ', 'e': 'ｴ', 'o': 'ｵ'}
# Written differently, heard the same.
SAME_SOUND = {'ｦ': 'ｵ', 'ﾁﾞ': 'ｼﾞ', 'ﾂﾞ': 'ｽﾞ'}


def is_kana(ch):
    return '\uff66' <= ch <= '\uff9f'


def vowel(mora):
    for ch in reversed(mora):
        if ch in VOWEL_OF:
            return VOWEL_OF[ch]
    return None


def morae(kana):
    """Splits half-width katakana into morae: a kana with its small kana and sound marks."""
    out = []
    for ch in kana:
        if not is_kana(ch):
            continue
        if ch in SMALL and out and out[-1] not in ('ｯ', 'ｰ', 'ﾝ'):
            out[-1] += ch
        else:
            out.append(ch)
    return out


def normalise(seq, long_vowel_heard):
    """The morae as heard: ｰ as the vowel before it (or silent where the voice has no sample for
    it), ｳ after an o-row mora as ｵ, ｲ after an e-row mora as ｴ."""
    out = []
    for m in seq:
        prev = out[-1] if out else None
        pv = vowel(prev) if prev else None
        if m == 'ｰ':
            if not long_vowel_heard:
                continue
            m = VOWEL_KANA[pv] if pv else m
        elif m == 'ｳ' and pv == 'o':
            m = 'ｵ'
        elif m == 'ｲ' and pv == 'e':
            m = 'ｴ'
        out.append(SAME_SOUND.get(m, m))
    return out


def align(ref, hyp):
    """An optimal edit-distance alignment: which reference positions it pairs with an equal
    mora, and how many heard morae it pairs with none (said where the reference is silent)."""
    n, m = len(ref), len(hyp)
    d = [[0] * (m + 1) for _ in range(n + 1)]
    for i in range(n + 1):
        d[i][0] = i
    for j in range(m + 1):
        d[0][j] = j
    for i in range(1, n + 1):
        for j in range(1, m + 1):
            d[i][j] = min(d[i - 1][j] + 1, d[i][j - 1] + 1,
                          d[i - 1][j - 1] + (ref[i - 1] != hyp[j - 1]))
    hit = [False] * n
    inserted = 0
    i, j = n, m
    while i > 0 and j > 0:
        if d[i][j] == d[i - 1][j - 1] + (ref[i - 1] != hyp[j - 1]):
            hit[i - 1] = ref[i - 1] == hyp[j - 1]
            i, j = i - 1, j - 1
        elif d[i][j] == d[i - 1][j] + 1:
            i -= 1
        else:
            j -= 1
            inserted += 1
    return hit, inserted + j


def matched(ref, hyp):
    """Which reference positions an optimal edit-distance alignment pairs with an equal mora."""
    return align(ref, hyp)[0]


def parse_tokens(field):
    tokens = []
    for item in field.split(' '):
        if not item:
            continue
        surface, cls, readings = item.rsplit('=', 2)
        if cls not in CLASSES:
            raise ValueError(f'unknown class {cls!r} in {item!r}')
        alternatives = readings.split('|')
        if any(not is_kana(ch) for reading in alternatives for ch in reading):
            raise ValueError(f'reading of {item!r} is not half-width katakana')
        tokens.append((surface, cls, alternatives))
    return tokens


# At most this many combinations of alternatives are tried in one sentence; further tokens keep
# their first reading.
MAX_COMBINATIONS = 256


def reference(tokens, choice=None):
    """The reference morae, normalised, each with the class of its word; choice picks one
    alternative of each token (the first by default)."""
    seq, classes = [], []
    for k, (_, cls, alternatives) in enumerate(tokens):
        for m in morae(alternatives[choice[k] if choice else 0]):
            seq.append(m)
            classes.append(cls)
    # Normalise over the whole sentence so that a long vowel can follow the previous word.
    return normalise(seq, True), classes


def is_ruby_word(surface):
    """Whether a token's surface is a base with its ruby: 漢字《かんじ》 or ｜base《…》."""
    open_at = surface.find('《')
    return open_at > 0 and surface.endswith('》')


def ruby_words_heard(tokens, choice, hit):
    """How many ruby'd words the tokens hold and how many of them had every mora heard."""
    words = heard = at = 0
    for k, (surface, _, alternatives) in enumerate(tokens):
        count = len(morae(alternatives[choice[k] if choice else 0]))
        if is_ruby_word(surface):
            words += 1
            heard += all(hit[at:at + count])
        at += count
    return words, heard


def choices(tokens):
    """Every combination of alternatives to try, as one index per token."""
    ranges, product = [], 1
    for _, _, alternatives in tokens:
        if product * len(alternatives) <= MAX_COMBINATIONS:
            ranges.append(range(len(alternatives)))
            product *= len(alternatives)
        else:
            ranges.append(range(1))
    return itertools.product(*ranges)


def best_choice(tokens, hyp):
    """The reference, its classes, which morae were heard and the alternatives chosen, for the
    alternatives that leave the fewest reference morae unheard."""
    best = None
    for choice in choices(tokens):
        ref, classes = reference(tokens, choice)
        hit = matched(ref, hyp)
        if best is None or hit.count(False) < best[2].count(False):
            best = (ref, classes, hit, choice)
    return best


def best_reference(tokens, hyp):
    """The reference, its classes and which morae were heard (see best_choice)."""
    return best_choice(tokens, hyp)[:3]


def read_aloud(yomi6, mode_args, sentence, work):
    path = os.path.join(work, 'sentence.txt')
    with open(path, 'wb') as f:
        f.write(sentence.encode('cp932'))
    run = subprocess.run([yomi6, '--reading', path] + mode_args, cwd=work,
                         capture_output=True, timeout=60,
                         env=dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, 'config')))
    if run.returncode != 0:
        raise RuntimeError(f'yomi6 failed ({run.returncode}): {run.stderr.decode(errors="replace")}')
    return run.stdout.decode('cp932', errors='replace')


def read_work(yomi6, mode_args, sentences, work):
    """The readings of sentences read as the lines of one file, one per sentence."""
    output = read_aloud(yomi6, mode_args, '\r\n'.join(sentences), work)
    lines = output.split('\r\n')
    if len(lines) != len(sentences):
        raise RuntimeError(f'{len(sentences)} lines read as {len(lines)}: {sentences[0]}')
    return lines


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('yomi6', help='the yomi6 program')
    ap.add_argument('testset', help='the test set (tests/accuracy/sentences.tsv)')
    ap.add_argument('--mode-args', default='',
                    help='further arguments for yomi6, e.g. "--readings auto"')
    ap.add_argument('--auto-if-supported', action='store_true',
                    help='use --readings auto when `yomi6 --help` lists it')
    ap.add_argument('--min-overall', type=float, default=0.0,
                    help='fail when the overall share (per cent) is below this')
    ap.add_argument('--min-overall-auto', type=float, default=None,
                    help='the same limit when --auto-if-supported chose the automatic mode')
    ap.add_argument('--min-ruby', type=float, default=None,
                    help="fail when the share (per cent) of ruby'd words heard whole is below this")
    ap.add_argument('--max-extra', type=float, default=None,
                    help='fail when the morae heard beyond the reference (notation read aloud, '
                         'words said twice) exceed this share (per cent) of the reference')
    ap.add_argument('--whole-works', action='store_true',
                    help='read the sentences of one source as the lines of one file')
    ap.add_argument('--show-errors', type=int, default=0,
                    help='print this many sentences with the most missed morae')
    args = ap.parse_args()

    yomi6 = os.path.abspath(args.yomi6)
    mode_args = args.mode_args.split()
    limit = args.min_overall
    if args.auto_if_supported:
        helptext = subprocess.run([yomi6, '--help'], capture_output=True, text=True)
        if '--readings' in helptext.stdout + helptext.stderr:
            mode_args += ['--readings', 'auto']
            if args.min_overall_auto is not None:
                limit = args.min_overall_auto
    total = {c: 0 for c in CLASSES}
    right = {c: 0 for c in CLASSES}
    misses = []
    ruby_words = ruby_heard = extra = 0
    with open(args.testset, encoding='utf-8') as f:
        lines = [l.rstrip('\n') for l in f if l.strip() and not l.startswith('#')]
    sentences = [line.split('\t') for line in lines]
    with tempfile.TemporaryDirectory() as work:
        def read_one(n):
            folder = os.path.join(work, str(n))
            os.mkdir(folder)
            return read_aloud(yomi6, mode_args, sentences[n][1], folder)
        # One process per sentence, or per work; run a few at a time.
        with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
            if args.whole_works:
                works = [list(g) for _, g in itertools.groupby(range(len(sentences)),
                                                               lambda n: sentences[n][0])]

                def read_whole(numbers):
                    folder = os.path.join(work, str(numbers[0]))
                    os.mkdir(folder)
                    return read_work(yomi6, mode_args, [sentences[n][1] for n in numbers], folder)
                outputs = [line for lines in pool.map(read_whole, works) for line in lines]
            else:
                outputs = list(pool.map(read_one, range(len(sentences))))
    for n, ((source, sentence, field), output) in enumerate(zip(sentences, outputs), 1):
        hyp = normalise(morae(output), False)
        tokens = parse_tokens(field)
        ref, classes, hit, choice = best_choice(tokens, hyp)
        words, heard = ruby_words_heard(tokens, choice, hit)
        ruby_words += words
        extra += align(ref, hyp)[1]
        ruby_heard += heard
        for cls, ok in zip(classes, hit):
            total[cls] += 1
            right[cls] += ok
        misses.append((hit.count(False), n, sentence, ''.join(ref), ''.join(hyp)))
    all_total, all_right = sum(total.values()), sum(right.values())
    overall = 100.0 * all_right / all_total if all_total else 0.0
    mode = ' '.join(mode_args) or '(default mode)'
    if args.whole_works:
        mode += ', each source as one file'
    print(f'{len(lines)} sentences, {all_total} reference morae, yomi6 {mode}')
    print(f'{"overall":12} {overall:6.1f} %  ({all_right}/{all_total})')
    for c, name in CLASSES.items():
        share = 100.0 * right[c] / total[c] if total[c] else 0.0
        print(f'{name:12} {share:6.1f} %  ({right[c]}/{total[c]})')
    extra_share = 100.0 * extra / all_total if all_total else 0.0
    print(f'{"extra":12} {extra_share:6.1f} %  ({extra} morae heard beyond the reference)')
    ruby_share = 100.0 * ruby_heard / ruby_words if ruby_words else 100.0
    if ruby_words:
        print(f'{"ruby words":12} {ruby_share:6.1f} %  ({ruby_heard}/{ruby_words} read whole as their ruby)')
    for miss, n, sentence, ref, hyp in sorted(misses, reverse=True)[:args.show_errors]:
        print(f'\n#{n} missed {miss}: {sentence}\n  reference {ref}\n  heard     {hyp}')
    if overall < limit:
        print(f'FAIL: overall {overall:.1f} % is below {limit} %')
        return 1
    if args.max_extra is not None and extra_share > args.max_extra:
        print(f'FAIL: {extra_share:.1f} % of morae heard beyond the reference, more than {args.max_extra} %')
        return 1
    if args.min_ruby is not None and ruby_share < args.min_ruby:
        print(f"FAIL: ruby'd words {ruby_share:.1f} % is below {args.min_ruby} %")
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
