// The full-context labels of one utterance (HTS_TTS_JPN, the format the voice reads), from its
// words after the stages. The words' pronunciations become phonemes in morae; a word that joins
// the phrase before (chain 1) is of its accent phrase, a pause (、) between two words ends a
// breath group, ？ marks its accent phrase a question. Each phoneme, with the silences at both
// ends, is one label:
//   p1^p2-p3+p4=p5                        the phoneme with two before and two after
//   /A:a1+a2+a3                           the mora's place against the nucleus, from the
//                                         phrase's start and from its end
//   /B:pos-type_form /C: /D:              the word before, this word, the word after
//   /E:morae_accent!question_xx-pause     the accent phrase before (pause: 0 one follows it)
//   /F:morae_accent#question_xx@i_j|k_l   this phrase, its place among the phrases and the
//                                         morae of its breath group
//   /G:morae_accent%question_xx_pause     the phrase after
//   /H:phrases_morae /I:... /J:           the breath group before, this one, the one after
//   /K:groups+phrases-morae               the utterance
// as the voice's own front end writes them, field for field.
#pragma once

#include "labels/label_word.h"

#include <cstddef>
#include <string>
#include <vector>

namespace yomi6::labels {

// A mora the labels say, in their order: its kana (full-width katakana, ー for a long vowel)
// and the source bytes of its word.
struct LabelMora {
    std::string kana;
    std::size_t sourceBegin = 0;
    std::size_t sourceEnd = 0;
};

// The labels, one per phoneme with the leading and the closing silence; none when the words
// say nothing. morae, when given, receives the morae said, one for each mora of the labels.
std::vector<std::string> BuildLabels(const std::vector<LabelWord>& words,
                                     std::vector<LabelMora>* morae = nullptr);

} // namespace yomi6::labels
