#include "labels/dictionary_words.h"

#include "analysis/feature_layout.h"
#include "labels/mora_table.h"
#include "labels/unidic_words.h"

#include <charconv>
#include <optional>
#include <string>

namespace yomi6::labels {

namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        out.emplace_back(text.substr(start, at == std::string_view::npos ? text.npos : at - start));
        if (at == std::string_view::npos) {
            return out;
        }
        start = at + 1;
    }
}

std::optional<int> ToInt(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string WithoutMarks(std::string_view pronunciation) {
    std::string out;
    for (std::size_t i = 0; i < pronunciation.size();) {
        if (pronunciation.substr(i, kDevoicedMark.size()) == kDevoicedMark) {
            i += kDevoicedMark.size();
        } else if (pronunciation[i] == ':') {
            ++i;
        } else {
            out += pronunciation[i++];
        }
    }
    return out;
}

// The fields IPADIC and the Open JTalk dictionary share, into word.
void SetPartOfSpeech(const std::vector<std::string>& fields, const FeatureLayout& layout,
                     LabelWord& word) {
    const auto field = [&](std::size_t i) {
        return i < fields.size() && !fields[i].empty() ? fields[i] : std::string(kNone);
    };
    word.pos = field(layout.partOfSpeech);
    word.pos1 = field(layout.subdivision);
    word.pos2 = field(layout.subdivision2);
    word.pos3 = field(layout.subdivision3);
    word.conjugationType = field(layout.conjugationType);
    word.conjugationForm = field(layout.conjugationForm);
    word.base = field(layout.baseForm);
}

// An entry of the Open JTalk dictionary (layout.accent set) as one word or, joined, several.
void AddOpenJTalkEntry(std::string_view surface, const AnalyzedWord& analyzed,
                       const std::vector<std::string>& fields, const FeatureLayout& layout,
                       std::vector<LabelWord>& out) {
    LabelWord word;
    word.surface = surface;
    SetPartOfSpeech(fields, layout, word);
    const auto field = [&](std::optional<std::size_t> i) {
        return i && *i < fields.size() ? fields[*i] : std::string();
    };
    const std::string accent = field(layout.accent);
    const std::string rule = field(layout.accentRule);
    word.accentRule = rule.empty() ? std::string(kNone) : rule;
    const std::string chain = field(layout.chainFlag);
    word.chain = chain == "1" ? 1 : chain == "0" ? 0 : -1;
    word.sourceBegin = analyzed.begin;
    word.sourceEnd = analyzed.end;
    const std::string entryPron =
        layout.pronunciation < fields.size() ? fields[layout.pronunciation] : std::string(kNone);
    // A symbol or an unknown word: no accent, no morae; the pronunciation stage decides.
    if (accent.find('*') != std::string::npos || accent.find('/') == std::string::npos) {
        word.pronunciation = analyzed.pronunciation;
        out.push_back(std::move(word));
        return;
    }
    const std::vector<std::string> accents = Split(accent, ':');
    const std::vector<std::string> prons = Split(entryPron, ':');
    const std::vector<std::string> bases = Split(word.base, ':');
    const bool entrysOwn = WithoutMarks(entryPron) == analyzed.pronunciation;
    if (accents.size() > 1 && entrysOwn && prons.size() == accents.size()) {
        // A compound entry: each part a word, the first keeping the entry's chain flag and the
        // others starting phrases of their own until the phrase rules say otherwise.
        std::size_t used = 0;
        for (std::size_t k = 0; k < accents.size(); ++k) {
            LabelWord part = word;
            const std::string piece = k < bases.size() ? bases[k] : std::string();
            if (k + 1 < accents.size()) {
                part.surface = piece;
                used += piece.size();
            } else {
                part.surface = used <= surface.size() ? std::string(surface.substr(used)) : "";
            }
            part.base = piece.empty() ? std::string(kNone) : piece;
            part.pronunciation = prons[k];
            const std::vector<std::string> am = Split(accents[k], '/');
            part.accent = ToInt(am[0]).value_or(0);
            part.moraCount = am.size() > 1 ? ToInt(am[1]).value_or(0) : 0;
            if (k > 0) {
                part.chain = 0;
            }
            out.push_back(std::move(part));
        }
        return;
    }
    const std::vector<std::string> am = Split(accents[0], '/');
    word.accent = ToInt(am[0]).value_or(0);
    word.moraCount = am.size() > 1 ? ToInt(am[1]).value_or(0) : 0;
    if (entrysOwn) {
        for (const std::string& part : prons) {
            word.pronunciation += part; // the marks ’ kept
        }
    } else {
        // This program reads the word otherwise: the dictionary's accent stays where the new
        // reading has as many morae (a sound changed, not the word), else a rule gives one.
        word.pronunciation = analyzed.pronunciation;
        const int morae = CountMorae(word.pronunciation);
        word.accentKnown = morae == word.moraCount;
        word.entryMorae = word.accentKnown ? 0 : word.moraCount;
        word.moraCount = morae;
    }
    out.push_back(std::move(word));
}

} // namespace

std::vector<LabelWord> WordsFromAnalysis(std::string_view utf8,
                                         const std::vector<AnalyzedWord>& words,
                                         const FeatureLayout& layout) {
    std::vector<LabelWord> out;
    for (const AnalyzedWord& analyzed : words) {
        if (analyzed.end > utf8.size() || analyzed.begin >= analyzed.end) {
            continue;
        }
        const std::string_view surface = utf8.substr(analyzed.begin, analyzed.end - analyzed.begin);
        const std::vector<std::string> fields = SplitFeature(analyzed.feature, 64);
        if (layout.accentType) {
            out.push_back(WordFromUniDic(surface, analyzed, fields, layout));
            continue;
        }
        if (layout.accent) {
            AddOpenJTalkEntry(surface, analyzed, fields, layout, out);
            continue;
        }
        // A dictionary without accent (IPADIC): the part of speech and the reading alone.
        LabelWord word;
        word.surface = surface;
        SetPartOfSpeech(fields, layout, word);
        word.pronunciation = analyzed.pronunciation;
        word.moraCount = CountMorae(word.pronunciation);
        word.accentKnown = false;
        word.sourceBegin = analyzed.begin;
        word.sourceEnd = analyzed.end;
        out.push_back(std::move(word));
    }
    return out;
}

} // namespace yomi6::labels
