#include "labels/pronunciation_stage.h"

#include "labels/mora_table.h"
#include "text/utf8_codec.h"

#include <algorithm>
#include <string>

namespace yomi6::labels {

namespace {

constexpr std::string_view kFiller = "フィラー";
constexpr std::string_view kSymbol = "記号";
constexpr std::string_view kVerb = "動詞";
constexpr std::string_view kAuxiliary = "助動詞";

// The kana of surface as katakana morae (ー kept), and how many; other characters are skipped.
std::string KanaOf(std::string_view surface, int& morae) {
    std::string out;
    morae = 0;
    for (std::size_t i = 0; i < surface.size();) {
        std::size_t n = 0;
        if (const Mora* m = MoraAt(surface.substr(i), n)) {
            out += m->kana;
            ++morae;
            i += n;
        } else if (surface.substr(i, kLongVowel.size()) == kLongVowel) {
            out += kLongVowel;
            ++morae;
            i += kLongVowel.size();
        } else {
            i += Utf8Step(surface.substr(i));
        }
    }
    return out;
}

// Whether surface is exactly one mora of kana (or ー).
bool IsOneMora(std::string_view surface) {
    std::size_t n = 0;
    if (MoraAt(surface, n) != nullptr) {
        return n == surface.size();
    }
    return surface == kLongVowel;
}

} // namespace

void SetPronunciations(std::vector<LabelWord>& words) {
    for (LabelWord& w : words) {
        if (w.moraCount != 0) {
            continue;
        }
        int morae = 0;
        w.pronunciation = KanaOf(w.surface, morae);
        w.moraCount = morae;
        if (morae != 0) {
            w.pos = kFiller;
            w.pos1 = w.pos2 = w.pos3 = kNone;
            if (w.base == kNone) {
                w.base = w.surface;
            }
            continue;
        }
        if (w.surface == kQuestion) {
            w.pronunciation = kQuestion;
            continue;
        }
        w.pronunciation = kPause;
        w.pos = kSymbol;
    }
    // Kana of one mora each in a row, each a filler, are one filler.
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].pos != kFiller || !IsOneMora(words[i].surface)) {
            continue;
        }
        std::size_t j = i + 1;
        for (; j < words.size() && words[j].pos == kFiller && IsOneMora(words[j].surface); ++j) {
            LabelWord& head = words[i];
            head.surface += words[j].surface;
            head.base += words[j].base;
            head.pronunciation += words[j].pronunciation;
            head.moraCount += words[j].moraCount;
            head.sourceEnd = words[j].sourceEnd;
            words[j].pronunciation.clear();
        }
        i = j - 1;
    }
    words.erase(std::remove_if(words.begin(), words.end(),
                               [](const LabelWord& w) { return w.pronunciation.empty(); }),
                words.end());
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        LabelWord& w = words[i];
        LabelWord& next = words[i + 1];
        if (next.pronunciation == "ウ" && next.pos == kAuxiliary &&
            (w.pos == kVerb || w.pos == kAuxiliary) && w.moraCount > 0) {
            next.pronunciation = kLongVowel;
        }
        if (w.pos == kAuxiliary && next.surface == kQuestion) {
            if (w.surface == "です") {
                w.pronunciation = "デス";
            } else if (w.surface == "ます") {
                w.pronunciation = "マス";
            }
        }
    }
}

} // namespace yomi6::labels

namespace yomi6::labels {

void SayIuAsYuu(std::vector<LabelWord>& words) {
    constexpr std::string_view kIu = "イウ";
    for (LabelWord& w : words) {
        if (w.pos == kVerb && (w.base == "言う" || w.base == "いう") &&
            w.pronunciation.compare(0, kIu.size(), kIu) == 0) {
            w.pronunciation = "ユー" + w.pronunciation.substr(kIu.size());
        }
    }
}

} // namespace yomi6::labels

namespace yomi6::labels {

void AskAtFinalKa(std::vector<LabelWord>& words) {
    std::size_t last = words.size();
    for (std::size_t i = words.size(); i-- > 0;) {
        if (words[i].pronunciation == kQuestion) {
            return; // the text asks already
        }
        if (words[i].moraCount > 0) {
            last = i;
            break;
        }
    }
    if (last == words.size() || words[last].pos != "助詞" || words[last].surface != "か") {
        return;
    }
    LabelWord question;
    question.surface = kQuestion;
    question.pos = "記号";
    question.pronunciation = kQuestion;
    question.sourceBegin = question.sourceEnd = words[last].sourceEnd;
    words.insert(words.begin() + static_cast<std::ptrdiff_t>(last) + 1, question);
}

} // namespace yomi6::labels
