// One word as the label stages take it: what it is (part of speech, conjugation), how it is
// said (pronunciation in katakana), its accent and how that accent combines with the words
// before it, and where it came from in the source. The stages of labels/ refine a sentence of
// these words in turn; labels/label_builder.h makes the labels of the result.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace yomi6::labels {

// A value the dictionary leaves empty.
inline constexpr std::string_view kNone = "*";

// The pronunciation's marks: a devoiced mora (after it), a long vowel, a pause, a question.
inline constexpr std::string_view kDevoicedMark = "’";
inline constexpr std::string_view kLongVowel = "ー";
inline constexpr std::string_view kPause = "、";
inline constexpr std::string_view kQuestion = "？";

struct LabelWord {
    std::string surface; // as written (UTF-8)
    // The part of speech and its three subdivisions, as IPADIC names them (名詞, 固有名詞, 地域,
    // 国), "*" where there is none.
    std::string pos = std::string(kNone);
    std::string pos1 = std::string(kNone);
    std::string pos2 = std::string(kNone);
    std::string pos3 = std::string(kNone);
    std::string conjugationType = std::string(kNone); // 五段・ラ行, 一段 ...
    std::string conjugationForm = std::string(kNone); // 連用形, 基本形 ...
    std::string base = std::string(kNone);            // the dictionary form (買う for 買わ)
    // Full-width katakana as spoken: ー for a long vowel, ’ after a mora said voiceless, 、 for
    // a pause, ？ for a question's end. Empty: the word is not said (a symbol), see moraCount.
    std::string pronunciation;
    int accent = 0;    // the mora of the accent nucleus, 0 for a flat word
    int moraCount = 0; // morae of pronunciation; 0 for a word with no reading of its own
    // How the accent of the phrase changes when this word joins it (C1 to C5, F1 to F5, P1 ...;
    // with a condition on the word before: 名詞%F1/動詞%F2@0), "*" for no change.
    std::string accentRule = std::string(kNone);
    // Whether the word joins the accent phrase of the word before: 1 it does, 0 it starts a
    // phrase of its own, -1 not decided yet (the phrase rules decide).
    int chain = -1;
    // The source bytes the word was read from, [sourceBegin, sourceEnd).
    std::size_t sourceBegin = 0;
    std::size_t sourceEnd = 0;
    // The dictionary gave accent, moraCount and accentRule for this very pronunciation. False
    // for a word read otherwise (a number read by this program's rules, a dictionary without
    // accent, a reading the user's dictionary or the automatic reading changed):
    // accent_by_rule.h gives it an accent.
    bool accentKnown = true;
    // Where this program reads the word otherwise than its dictionary entry, with another count
    // of morae (日本 ニホン for the entry's ニッポン): the entry's morae, accent then keeping the
    // entry's accent; 0 otherwise.
    int entryMorae = 0;
};

} // namespace yomi6::labels
