#include "natural_voice/sentence_labels.h"

#include "analysis/source_text.h"
#include "labels/dictionary_words.h"
#include "labels/labeler.h"
#include "labels/mora_table.h"
#include "labels/number_words.h"
#include "natural/engine_text.h"

#include <algorithm>
#include <optional>

namespace yomi6::natural_voice {

namespace {

// The source bytes of the characters [first, last) of the engine text.
ByteRange SourcesOf(const natural::EngineText& text, std::size_t first, std::size_t last) {
    ByteRange span{};
    bool any = false;
    for (std::size_t k = first; k < last && k < text.sources.size(); ++k) {
        const ByteRange& r = text.sources[k];
        span = any ? ByteRange{std::min(span.begin, r.begin), std::max(span.end, r.end)} : r;
        any = true;
    }
    return span;
}

// The most characters of a given word before the analysed ones read with them.
constexpr std::size_t kContextChars = 8;

constexpr std::string_view kIdeographicBlank = "\u3000";

// The reading's kana as said: a vowel that lengthens the mora before it is its long vowel (オウ
// オー, エイ エー, イイ イー), as the dictionary's pronunciations write them.
std::string SpokenKana(std::string_view kana) {
    std::string out;
    std::string_view vowelBefore;
    for (std::size_t i = 0; i < kana.size();) {
        std::size_t length = 0;
        const labels::Mora* mora = labels::MoraAt(kana.substr(i), length);
        if (mora == nullptr) {
            // ー or another character: kept, and the vowel before stays what it was after ー.
            const std::size_t next = i + 1;
            std::size_t end = next;
            while (end < kana.size() && (static_cast<unsigned char>(kana[end]) & 0xC0) == 0x80) {
                ++end;
            }
            out.append(kana.substr(i, end - i));
            if (kana.substr(i, end - i) != labels::kLongVowel) {
                vowelBefore = {};
            }
            i = end;
            continue;
        }
        const std::string_view v = mora->vowel;
        const bool lengthens = mora->consonant.empty() && v.size() == 1 && !vowelBefore.empty() &&
                               (v == vowelBefore || (vowelBefore == "o" && v == "u") ||
                                (vowelBefore == "e" && v == "i"));
        out.append(lengthens ? labels::kLongVowel : mora->kana);
        if (!lengthens) {
            vowelBefore = v.size() == 1 ? v : std::string_view();
        }
        i += length;
    }
    return out;
}

// The words of a piece of the reading given as its kana ([first, last) of the engine text, one
// word of the reading): each run of kana between blanks one word, said as written, its accent
// by rule.
void AddGivenWords(const natural::EngineText& text, const std::vector<std::size_t>& at,
                   std::size_t first, std::size_t last, std::vector<labels::LabelWord>& words) {
    for (std::size_t k = first; k < last;) {
        std::size_t end = k;
        while (end < last &&
               text.utf8.compare(at[end], at[end + 1] - at[end], kIdeographicBlank) != 0) {
            ++end;
        }
        if (end > k) {
            labels::LabelWord& w = words.emplace_back();
            w.surface = text.utf8.substr(at[k], at[end] - at[k]);
            w.pos = "名詞";
            w.pos1 = "一般";
            w.pronunciation = SpokenKana(w.surface);
            w.moraCount = labels::CountMorae(w.pronunciation);
            w.accentKnown = false;
            const ByteRange source = SourcesOf(text, k, end);
            w.sourceBegin = source.begin;
            w.sourceEnd = source.end;
        }
        k = end + 1;
    }
}

// The words of source bytes piece of text (code page 932) as `--labels` has them for its
// characters (Labeler::Words over the piece's UTF-8 copy, the automatic reading's), each with
// its source bytes in text. Empty when the analysis failed.
std::vector<labels::LabelWord> WordsOfText(std::string_view text, ByteRange piece,
                                           Analyzer& accents, const labels::AccentRules& rules) {
    const std::size_t end = std::min(piece.end, text.size());
    if (piece.begin >= end || end - piece.begin > 0xFFFF) {
        return {}; // nothing, or more than SourceText's offsets hold: each word said by rule
    }
    SourceText source;
    DecodeSource(reinterpret_cast<const unsigned char*>(text.data()) + piece.begin,
                 end - piece.begin, source);
    labels::Labeler labeler(accents, rules);
    std::vector<labels::LabelWord> words;
    if (!labeler.Words(source.utf8, words)) {
        return {};
    }
    for (labels::LabelWord& w : words) {
        w.sourceBegin = piece.begin + source.SourceBegin(source.CharAtUtf8(w.sourceBegin));
        w.sourceEnd = piece.begin + source.SourceBegin(source.CharAtUtf8(w.sourceEnd));
    }
    return words;
}

// A word the reading gave ([first, last) of the engine text) that the words of the whole text
// (WordsOfText) cover exactly and say alike: those words, with the accents and readings
// `--labels` gives them in their context (他の人 ホカ, 三回 サンカイ), over the given word's
// source bytes. False otherwise.
bool AddGivenFromText(const std::vector<labels::LabelWord>& whole,
                      const natural::EngineText& spoken, const std::vector<std::size_t>& at,
                      std::size_t first, std::size_t last, std::vector<labels::LabelWord>& words) {
    const std::string_view given =
        std::string_view(spoken.utf8).substr(at[first], at[last] - at[first]);
    const ByteRange source = SourcesOf(spoken, first, last);
    if (given.find(kIdeographicBlank) != std::string_view::npos || source.end <= source.begin) {
        return false;
    }
    std::vector<labels::LabelWord> inside;
    for (const labels::LabelWord& w : whole) {
        const bool overlaps = w.sourceBegin < source.end && w.sourceEnd > source.begin;
        if (!overlaps) {
            continue;
        }
        if (w.sourceBegin < source.begin || w.sourceEnd > source.end) {
            return false; // a word of the text runs across the given word's edge
        }
        inside.push_back(w);
    }
    std::string said;
    for (const labels::LabelWord& w : inside) {
        said += w.pronunciation;
    }
    if (inside.empty() || inside.front().sourceBegin != source.begin ||
        inside.back().sourceEnd != source.end || said != SpokenKana(given)) {
        return false;
    }
    // Each keeps the given word's source bytes, as every mora of a given word does.
    for (labels::LabelWord& w : inside) {
        w.sourceBegin = source.begin;
        w.sourceEnd = source.end;
        words.push_back(std::move(w));
    }
    return true;
}

// A word the reading gave ([first, last) of the engine text) that the dictionary with accents
// reads the same way when it analyses the word's own characters: its words as the labels of the
// text alone have them, a number with its counter under the number rules (三回 サンカイ flat,
// 一人 ヒト]リ), a user's word or a ruby with the entry's accent, all over the given word's source
// bytes. False when the dictionary reads it otherwise: the word is then said by rule.
bool AddGivenAsAnalyzed(std::string_view text, const natural::EngineText& spoken,
                        const std::vector<std::size_t>& at, std::size_t first, std::size_t last,
                        Analyzer& accents, const labels::AccentRules& rules,
                        std::vector<labels::LabelWord>& words) {
    const ByteRange source = SourcesOf(spoken, first, last);
    return source.end > source.begin && AddGivenFromText(WordsOfText(text, source, accents, rules),
                                                         spoken, at, first, last, words);
}

// The words of the characters [first, last) of the engine text as the analyzer with accents
// finds them, each with its source bytes, read after the characters from context on (the word
// given before them, which the analyzer reads them by). False when the analysis failed.
bool AddAnalyzedWords(const natural::EngineText& text, const std::vector<std::size_t>& at,
                      std::size_t context, std::size_t first, std::size_t last, Analyzer& accents,
                      const labels::AccentRules& rules, std::vector<labels::LabelWord>& words) {
    const std::string_view utf8 =
        std::string_view(text.utf8).substr(at[context], at[last] - at[context]);
    std::vector<AnalyzedWord> analyzed;
    if (!accents.Analyze(utf8, analyzed)) {
        return false;
    }
    std::vector<labels::LabelWord> found =
        labels::WordsFromAnalysis(utf8, analyzed, accents.Layout());
    if (rules.Has("numbers")) {
        labels::ReadNumbers(utf8, found, rules.Has("counting-words"));
    }
    // The character of a byte of utf8.
    auto charOf = [&](std::size_t byte) {
        const std::size_t absolute = at[context] + std::min(byte, utf8.size());
        return static_cast<std::size_t>(std::upper_bound(at.begin(), at.end(), absolute) -
                                        at.begin()) -
               1;
    };
    const bool straddles = std::any_of(found.begin(), found.end(), [&](const labels::LabelWord& w) {
        return charOf(w.sourceBegin) < first && charOf(w.sourceEnd) > first;
    });
    if (straddles) {
        // The context runs into the words to say: without it.
        return AddAnalyzedWords(text, at, first, first, last, accents, rules, words);
    }
    for (labels::LabelWord& w : found) {
        if (charOf(w.sourceBegin) < first) {
            continue; // the context's
        }
        const std::size_t from = charOf(w.sourceBegin);
        const std::size_t to = std::max(charOf(w.sourceEnd), from + 1);
        const ByteRange source = SourcesOf(text, from, std::min(to, last));
        w.sourceBegin = source.begin;
        w.sourceEnd = source.end;
        words.push_back(std::move(w));
    }
    return true;
}

// Whether text[at] (code page 932) is an ellipsis (… ‥) or a dash (―), which the reading says as
// nothing but a reader pauses at.
bool IsPausingSign(std::string_view text, std::size_t at) {
    return at + 1 < text.size() && text[at] == '\x81' &&
           (text[at + 1] == '\x63' || text[at + 1] == '\x64' || text[at + 1] == '\x5C');
}

// A pause word for each ellipsis or dash between two words that nothing else stands for (a
// sign the analyzer found is a word already, said as a pause): a sentence with そうか……わかった
// or 彼は――いや pauses there as at a comma, for as long as the user sets (pause_fitting.h).
void AddSignPauses(std::string_view text, std::vector<labels::LabelWord>& words) {
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        const std::size_t from = words[i].sourceEnd;
        const std::size_t to = std::min(words[i + 1].sourceBegin, text.size());
        for (std::size_t at = from; at < to; at += natural::Cp932CharLength(text, at)) {
            if (IsPausingSign(text, at)) {
                labels::LabelWord pause;
                pause.surface = "…";
                pause.pos = "記号"; // said as a pause (SetPronunciations)
                pause.sourceBegin = at;
                pause.sourceEnd = at + 2;
                words.insert(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, pause);
                ++i;
                break;
            }
        }
    }
}

} // namespace

bool LabelPiece(std::string_view text, ByteRange piece, const ReadingSources& reading,
                Analyzer& accents, const labels::AccentRules& rules, SentenceLabels& out) {
    out = {};
    // The piece as the automatic reading says it: a word read otherwise than written is given
    // as that reading in katakana, the silent notation is left out; each character keeps its
    // source bytes.
    const natural::EngineText spoken =
        natural::BuildEngineText(text, piece, reading.dic, reading.reader, reading.notation);
    const std::size_t n = spoken.folded.size();
    if (n == 0) {
        return true;
    }
    // The byte each character starts at, and the end.
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < spoken.utf8.size(); ++i) {
        if ((static_cast<unsigned char>(spoken.utf8[i]) & 0xC0) != 0x80) {
            at.push_back(i);
        }
    }
    at.resize(n);
    at.push_back(spoken.utf8.size());
    // The words the reading gave (a user's word, a number with its counter, a ruby, a letter)
    // are said as given, each a word of its own; the rest is analysed between them.
    std::vector<labels::LabelWord> words;
    // The words of the piece's text as `--labels` has them, made at the first given word.
    std::optional<std::vector<labels::LabelWord>> textWords;
    for (std::size_t k = 0; k < n;) {
        std::size_t end = k + 1;
        if (spoken.fromReading[k]) {
            while (end < n && spoken.fromReading[end] && !spoken.wordStart[end]) {
                ++end;
            }
            if (!textWords) {
                textWords = WordsOfText(text, piece, accents, rules);
            }
            if (!AddGivenFromText(*textWords, spoken, at, k, end, words) &&
                !AddGivenAsAnalyzed(text, spoken, at, k, end, accents, rules, words)) {
                AddGivenWords(spoken, at, k, end, words);
            }
        } else {
            while (end < n && !spoken.fromReading[end]) {
                ++end;
            }
            // The given word before as context, as the analyzer would have read it there.
            std::size_t context = k;
            while (context > 0 && spoken.fromReading[context - 1] && k - context < kContextChars) {
                --context;
            }
            if (!AddAnalyzedWords(spoken, at, context, k, end, accents, rules, words)) {
                return false;
            }
        }
        k = end;
    }
    AddSignPauses(text, words);
    std::vector<labels::LabelMora> morae;
    out.labels = labels::LabelsOfWords(std::move(words), rules, &morae);
    for (labels::LabelMora& m : morae) {
        out.morae.push_back({std::move(m.kana), ByteRange{m.sourceBegin, m.sourceEnd}});
    }
    return true;
}

} // namespace yomi6::natural_voice
