#include "labels/unidic_words.h"

#include "labels/mora_table.h"

#include <charconv>

namespace yomi6::labels {

namespace {

// UniDic's part of speech (pos1, pos2, pos3 as prefixes; "" matches anything) and the IPADIC
// part of speech it stands for. The first row that matches is taken.
struct PosRow {
    std::string_view pos1, pos2, pos3;
    std::string_view ipadic[4];
};

constexpr PosRow kPosRows[] = {
    {"名詞", "普通名詞", "サ変", {"名詞", "サ変接続", "*", "*"}},
    {"名詞", "普通名詞", "形状詞", {"名詞", "形容動詞語幹", "*", "*"}},
    {"名詞", "普通名詞", "副詞可能", {"名詞", "副詞可能", "*", "*"}},
    {"名詞", "普通名詞", "助数詞", {"名詞", "接尾", "助数詞", "*"}},
    {"名詞", "普通名詞", "", {"名詞", "一般", "*", "*"}},
    {"名詞", "固有名詞", "人名", {"名詞", "固有名詞", "人名", "一般"}},
    {"名詞", "固有名詞", "地名", {"名詞", "固有名詞", "地域", "一般"}},
    {"名詞", "固有名詞", "", {"名詞", "固有名詞", "一般", "*"}},
    {"名詞", "数詞", "", {"名詞", "数", "*", "*"}},
    {"名詞", "助動詞語幹", "", {"名詞", "特殊", "助動詞語幹", "*"}},
    {"名詞", "", "", {"名詞", "一般", "*", "*"}},
    {"代名詞", "", "", {"名詞", "代名詞", "一般", "*"}},
    {"形状詞", "助動詞語幹", "", {"名詞", "特殊", "助動詞語幹", "*"}},
    {"形状詞", "", "", {"名詞", "形容動詞語幹", "*", "*"}},
    {"動詞", "非自立可能", "", {"動詞", "非自立", "*", "*"}},
    {"動詞", "", "", {"動詞", "自立", "*", "*"}},
    {"形容詞", "非自立可能", "", {"形容詞", "非自立", "*", "*"}},
    {"形容詞", "", "", {"形容詞", "自立", "*", "*"}},
    {"助動詞", "", "", {"助動詞", "*", "*", "*"}},
    {"助詞", "格助詞", "", {"助詞", "格助詞", "一般", "*"}},
    {"助詞", "係助詞", "", {"助詞", "係助詞", "*", "*"}},
    {"助詞", "副助詞", "", {"助詞", "副助詞", "*", "*"}},
    {"助詞", "接続助詞", "", {"助詞", "接続助詞", "*", "*"}},
    {"助詞", "終助詞", "", {"助詞", "終助詞", "*", "*"}},
    {"助詞", "準体助詞", "", {"名詞", "非自立", "一般", "*"}},
    {"助詞", "", "", {"助詞", "特殊", "*", "*"}},
    {"接頭辞", "", "", {"接頭詞", "名詞接続", "*", "*"}},
    {"接尾辞", "名詞的", "助数詞", {"名詞", "接尾", "助数詞", "*"}},
    {"接尾辞", "名詞的", "サ変", {"名詞", "接尾", "サ変接続", "*"}},
    {"接尾辞", "名詞的", "", {"名詞", "接尾", "一般", "*"}},
    {"接尾辞", "形状詞的", "", {"名詞", "接尾", "形容動詞語幹", "*"}},
    {"接尾辞", "動詞的", "", {"動詞", "接尾", "*", "*"}},
    {"接尾辞", "形容詞的", "", {"形容詞", "接尾", "*", "*"}},
    {"接尾辞", "", "", {"名詞", "接尾", "一般", "*"}},
    {"副詞", "", "", {"副詞", "一般", "*", "*"}},
    {"連体詞", "", "", {"連体詞", "*", "*", "*"}},
    {"接続詞", "", "", {"接続詞", "*", "*", "*"}},
    {"感動詞", "フィラー", "", {"フィラー", "*", "*", "*"}},
    {"感動詞", "", "", {"感動詞", "*", "*", "*"}},
    {"補助記号", "句点", "", {"記号", "句点", "*", "*"}},
    {"補助記号", "読点", "", {"記号", "読点", "*", "*"}},
    {"補助記号", "括弧開", "", {"記号", "括弧開", "*", "*"}},
    {"補助記号", "括弧閉", "", {"記号", "括弧閉", "*", "*"}},
    {"", "", "", {"記号", "一般", "*", "*"}},
};

// UniDic's conjugation type and form (prefixes) and the IPADIC names the labels use.
constexpr std::pair<std::string_view, std::string_view> kTypeRows[] = {
    {"五段", "五段・ラ行"},
    {"上一段", "一段"},
    {"下一段", "一段"},
    {"サ行変格", "サ変・スル"},
    {"カ行変格", "カ変・来ル"},
    {"形容詞", "形容詞・アウオ段"},
    {"助動詞-デス", "特殊・デス"},
    {"助動詞-マス", "特殊・マス"},
    {"助動詞-ナイ", "特殊・ナイ"},
    {"助動詞-タ", "特殊・タ"},
    {"助動詞-ダ", "特殊・ダ"},
    {"助動詞", "特殊・タイ"},
    {"文語", "文語・ナリ"},
};
constexpr std::pair<std::string_view, std::string_view> kFormRows[] = {
    {"連用形-促音便", "連用タ接続"},
    {"連用形-イ音便", "連用タ接続"},
    {"連用形-撥音便", "連用タ接続"},
    {"連用形", "連用形"},
    {"未然形", "未然形"},
    {"意志推量形", "未然ウ接続"},
    {"終止形", "基本形"},
    {"連体形", "基本形"},
    {"仮定形", "仮定形"},
    {"命令形", "命令ｅ"},
};

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

template <std::size_t N>
std::string Mapped(std::string_view value,
                   const std::pair<std::string_view, std::string_view> (&rows)[N]) {
    for (const auto& [prefix, name] : rows) {
        if (StartsWith(value, prefix)) {
            return std::string(name);
        }
    }
    return std::string(kNone);
}

} // namespace

LabelWord WordFromUniDic(std::string_view surface, const AnalyzedWord& analyzed,
                         const std::vector<std::string>& fields, const FeatureLayout& layout) {
    const auto field = [&](std::size_t i) -> std::string_view {
        return i < fields.size() ? std::string_view(fields[i]) : std::string_view();
    };
    LabelWord word;
    word.surface = surface;
    word.sourceBegin = analyzed.begin;
    word.sourceEnd = analyzed.end;
    for (const PosRow& row : kPosRows) {
        if (StartsWith(field(layout.partOfSpeech), row.pos1) &&
            StartsWith(field(layout.subdivision), row.pos2) &&
            StartsWith(field(layout.subdivision2), row.pos3)) {
            word.pos = row.ipadic[0];
            word.pos1 = row.ipadic[1];
            word.pos2 = row.ipadic[2];
            word.pos3 = row.ipadic[3];
            break;
        }
    }
    if (field(layout.subdivision3) == "姓" || field(layout.subdivision3) == "名") {
        word.pos3 = field(layout.subdivision3);
    }
    word.conjugationType = Mapped(field(layout.conjugationType), kTypeRows);
    word.conjugationForm = Mapped(field(layout.conjugationForm), kFormRows);
    word.base =
        field(layout.baseForm).empty() ? std::string(kNone) : std::string(field(layout.baseForm));
    word.pronunciation = analyzed.pronunciation;
    word.moraCount = CountMorae(word.pronunciation);
    const std::string_view type = layout.accentType ? field(*layout.accentType) : "";
    const std::string_view first = type.substr(0, type.find(','));
    int accent = 0;
    const auto [end, ec] = std::from_chars(first.data(), first.data() + first.size(), accent);
    word.accentKnown = ec == std::errc() && end == first.data() + first.size() && accent >= 0 &&
                       accent <= word.moraCount;
    word.accent = word.accentKnown ? accent : 0;
    std::string rule(layout.accentConnection ? field(*layout.accentConnection) : "");
    for (char& c : rule) {
        c = c == ',' ? '/' : c;
    }
    word.accentRule = rule.empty() ? std::string(kNone) : rule;
    return word;
}

} // namespace yomi6::labels
