#!/usr/bin/env python3
"""The mora arithmetic of tools/reading_accuracy.py: splitting, what counts as heard the same,
and the alignment that decides which reference morae were heard."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', '..', 'tools'))
import reading_accuracy as ra  # noqa: E402


def heard(kana, long_vowel_heard=True):
    return ra.normalise(ra.morae(kana), long_vowel_heard)


class MoraeTest(unittest.TestCase):
    def test_small_kana_and_marks_join_the_kana_before(self):
        self.assertEqual(ra.morae('ｷｮｳﾉｼﾞｭｯﾌﾟﾝ'), ['ｷｮ', 'ｳ', 'ﾉ', 'ｼﾞｭ', 'ｯ', 'ﾌﾟ', 'ﾝ'])
        self.assertEqual(ra.morae('ﾌｧｲﾙ'), ['ﾌｧ', 'ｲ', 'ﾙ'])
        self.assertEqual(ra.morae('ｰｺ'), ['ｰ', 'ｺ'])

    def test_bytes_that_are_not_kana_are_not_heard(self):
        self.assertEqual(ra.morae('ｱ-ｲ ｳ。'), ['ｱ', 'ｲ', 'ｳ'])


class HeardTheSameTest(unittest.TestCase):
    def test_long_vowel_mark_is_the_vowel_before_it(self):
        self.assertEqual(heard('ｺﾝﾋﾟｭｰﾀｰ'), heard('ｺﾝﾋﾟｭｳﾀｱ'))
        self.assertEqual(heard('ﾋﾞｰ'), heard('ﾋﾞｲ'))

    def test_long_vowel_mark_in_the_output_is_silent_when_it_has_no_sample(self):
        self.assertEqual(heard('ﾋﾞｰ', long_vowel_heard=False), ['ﾋﾞ'])

    def test_u_after_o_and_i_after_e_sound_as_the_long_vowel(self):
        self.assertEqual(heard('ﾎｳﾎｳ'), heard('ﾎｰﾎｰ'))
        self.assertEqual(heard('ｾﾝｾｲ'), heard('ｾﾝｾｰ'))
        self.assertEqual(heard('ｹｲ'), heard('ｹｴ'))

    def test_different_sounds_stay_different(self):
        self.assertNotEqual(heard('ﾜ'), heard('ﾊ'))
        self.assertNotEqual(heard('ｴ'), heard('ﾍ'))
        self.assertNotEqual(heard('ｶｳ'), heard('ｶｵ'))  # ｳ after an a-row mora is ｳ
        self.assertEqual(heard('ｦ'), heard('ｵ'))


class AlignmentTest(unittest.TestCase):
    def test_every_mora_of_an_equal_reading_is_heard(self):
        self.assertEqual(ra.matched(list('ｱｲｳ'), list('ｱｲｳ')), [True, True, True])

    def test_a_wrong_mora_misses_only_itself(self):
        self.assertEqual(ra.matched(list('ｱｲｳｴ'), list('ｱｶｳｴ')), [True, False, True, True])

    def test_missing_and_extra_morae_shift_nothing_else(self):
        self.assertEqual(ra.matched(list('ｱｲｳｴｵ'), list('ｱｳｴｵ')), [True, False, True, True, True])
        self.assertEqual(ra.matched(list('ｱｲｳ'), list('ｱｷｷｷｲｳ')), [True, True, True])
        self.assertEqual(ra.matched(list('ｱｲ'), []), [False, False])


class TestSetFileTest(unittest.TestCase):
    def test_tokens_keep_surfaces_that_hold_the_separator(self):
        self.assertEqual(ra.parse_tokens('==O= 値=K=ｱﾀｲ'),
                         [('=', 'O', ['']), ('値', 'K', ['ｱﾀｲ'])])

    def test_alternatives_are_split_and_each_must_be_kana(self):
        self.assertEqual(ra.parse_tokens('grep=O=ｼﾞｰｱｰﾙｲｰﾋﾟｰ|ｸﾞﾚｯﾌﾟ'),
                         [('grep', 'O', ['ｼﾞｰｱｰﾙｲｰﾋﾟｰ', 'ｸﾞﾚｯﾌﾟ'])])
        with self.assertRaises(ValueError):
            ra.parse_tokens('grep=O=ｼﾞｰ|ぐれっぷ')

    def test_a_bad_class_or_reading_is_refused(self):
        with self.assertRaises(ValueError):
            ra.parse_tokens('値=X=ｱﾀｲ')
        with self.assertRaises(ValueError):
            ra.parse_tokens('値=K=あたい')

    def check_test_set(self, name, classes_wanted):
        path = os.path.join(os.path.dirname(__file__), name)
        with open(path, encoding='utf-8') as f:
            lines = [l.rstrip('\n') for l in f if l.strip() and not l.startswith('#')]
        self.assertGreaterEqual(len(lines), 300)
        classes = set()
        for line in lines:
            source, sentence, field = line.split('\t')
            tokens = ra.parse_tokens(field)
            classes.update(cls for _, cls, readings in tokens if readings[0])
            self.assertEqual(''.join(s for s, _, _ in tokens), sentence.replace(' ', ''), sentence)
            sentence.encode('cp932')
        self.assertEqual(classes, classes_wanted)

    def test_the_shipped_test_sets_parse_and_are_large_enough(self):
        self.check_test_set('sentences.tsv', set(ra.CLASSES))
        # Literary prose has no Latin words: its only "other" tokens are silent signs.
        self.check_test_set('literary.tsv', {'K', 'N', 'A'})


class AlternativesTest(unittest.TestCase):
    def score(self, field, heard):
        ref, _, hit = ra.best_reference(ra.parse_tokens(field), ra.normalise(ra.morae(heard), False))
        return ''.join(ref), hit.count(True)

    def test_the_alternative_heard_counts(self):
        field = 'grep=O=ｼﾞｰｱｰﾙｲｰﾋﾟｰ|ｸﾞﾚｯﾌﾟ は=A=ﾜ'
        self.assertEqual(self.score(field, 'ｸﾞﾚｯﾌﾟﾜ'), ('ｸﾞﾚｯﾌﾟﾜ', 5))
        self.assertEqual(self.score(field, 'ｼﾞｲｱｱﾙｲｲﾋﾟｲﾜ'), ('ｼﾞｲｱｱﾙｲｲﾋﾟｲﾜ', 10))
        # Neither heard: the alternative that leaves fewer morae unheard is the reference.
        self.assertEqual(self.score(field, 'ﾜ'), ('ｸﾞﾚｯﾌﾟﾜ', 1))


if __name__ == '__main__':
    unittest.main()
