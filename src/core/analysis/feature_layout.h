// Where the fields the automatic reading needs sit in the feature string of a MeCab
// dictionary. Dictionaries differ: IPADIC and NAIST-jdic put the part of speech at fields 0 and
// 1 and the pronunciation at field 8; UniDic has 29 fields with the pronunciation ("pron") at 9.
// The layout is read from the dictionary's own dicrc, never guessed from its folder's name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

struct FeatureLayout {
    std::size_t partOfSpeech = 0; // 名詞, 動詞 ...
    std::size_t subdivision = 1;  // 数 (IPADIC) or 数詞 (UniDic) for a numeral
    std::size_t pronunciation = 8;
    std::size_t conjugationForm = 5; // 連用形, 基本形 (IPADIC) or 連用形-一般 (UniDic "cForm")
    // The rest of the part of speech (IPADIC's fields 2 and 3, UniDic's "pos3" and "pos4"), the
    // conjugation type (五段・ラ行, UniDic's "cType") and the dictionary form ("lemma").
    std::size_t subdivision2 = 2;
    std::size_t subdivision3 = 3;
    std::size_t conjugationType = 4;
    std::size_t baseForm = 6;
    // The accent, where the dictionary carries it. The Open JTalk dictionary: the nucleus and
    // the morae ("accent", 1/2; a compound entry 1/2:0/3), how the accent combines with the word
    // before ("accentRule": C3, 名詞%F1) and whether the word joins the phrase before
    // ("chainFlag", 1 or 0, mostly absent). UniDic: "aType", "aConType" and "aModType".
    std::optional<std::size_t> accent;
    std::optional<std::size_t> accentRule;
    std::optional<std::size_t> chainFlag;
    std::optional<std::size_t> accentType;
    std::optional<std::size_t> accentConnection;
    std::optional<std::size_t> accentModification;
    bool operator==(const FeatureLayout&) const = default;
};

// The layout a dicrc describes. UniDic names its fields in its output formats
// ("pos1:%f[0]", "pron:%f[9]") and in its comment list ("; f[9]:  pron"); a dicrc that names
// no pronunciation field (IPADIC's, NAIST-jdic's) has IPADIC's layout.
FeatureLayout FeatureLayoutOf(std::string_view dicrc);

// The comma-separated fields of a feature string, as MeCab writes them: a field in double
// quotes may hold commas, and "" in it is one quote. At most maxFields fields are split off.
std::vector<std::string> SplitFeature(std::string_view feature, std::size_t maxFields);

} // namespace yomi6
