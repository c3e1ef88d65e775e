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


    def test_morae_said_beyond_the_reference_are_counted_as_extra(self):
        self.assertEqual(ra.align(list('ｱｲｳ'), list('ｱｲｳ')), ([True, True, True], 0))
        # A ruby said after its base: the reference is heard whole, the repeat is extra.
        self.assertEqual(ra.align(list('ﾆﾇﾘﾉ'), list('ﾀﾝﾇﾘﾆﾇﾘﾉ')), ([True] * 4, 4))
        # A wrong mora is a miss, not an extra one; morae before the first are extra too.
        self.assertEqual(ra.align(list('ｱｲｳ'), list('ｱｶｳ')), ([True, False, True], 0))
        self.assertEqual(ra.align(list('ｳ'), list('ｱｲｳ')), ([True], 2))


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

    def check_test_set(self, name, classes_wanted, at_least=300):
        path = os.path.join(os.path.dirname(__file__), name)
        with open(path, encoding='utf-8') as f:
            lines = [l.rstrip('\n') for l in f if l.strip() and not l.startswith('#')]
        self.assertGreaterEqual(len(lines), at_least)
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
        # The Aozora set keeps its notation in the sentences: notes and marks are silent tokens.
        self.check_test_set('aozora.tsv', set(ra.CLASSES), at_least=60)


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


class RubyWordTest(unittest.TestCase):
    FIELD = ('所々=K=ﾄｺﾛﾄﾞｺﾛ ｜丹塗《にぬり》=K=ﾆﾇﾘ の=A=ﾉ 剥《は》=K=ﾊ げた=A=ｹﾞﾀ '
             '［＃「剥げた」に傍点］=O=')

    def count(self, heard):
        tokens = ra.parse_tokens(self.FIELD)
        _, _, hit, choice = ra.best_choice(tokens, ra.normalise(ra.morae(heard), False))
        return ra.ruby_words_heard(tokens, choice, hit)

    def test_a_surface_with_a_ruby_is_a_ruby_word(self):
        self.assertTrue(ra.is_ruby_word('｜丹塗《にぬり》'))
        self.assertTrue(ra.is_ruby_word('剥《は》'))
        self.assertFalse(ra.is_ruby_word('《書名》'))
        self.assertFalse(ra.is_ruby_word('［＃「剥げた」に傍点］'))

    def test_a_ruby_word_counts_only_when_every_mora_is_heard(self):
        self.assertEqual(self.count('ﾄｺﾛﾄﾞｺﾛﾆﾇﾘﾉﾊｹﾞﾀ'), (2, 2))
        # The base read instead of its ruby (丹塗 as ﾀﾝﾇﾘ) misses the word, not the other one.
        self.assertEqual(self.count('ﾄｺﾛﾄﾞｺﾛﾀﾝﾇﾘﾉﾊｹﾞﾀ'), (2, 1))
        # A word around a ruby'd word read wrongly leaves the ruby'd words whole.
        self.assertEqual(self.count('ｼｮｼｮﾆﾇﾘﾉﾊｹﾞﾀ'), (2, 2))
        self.assertEqual(self.count(''), (2, 0))


if __name__ == '__main__':
    unittest.main()
