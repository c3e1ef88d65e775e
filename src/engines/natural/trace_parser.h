// The trace the engine writes beside its sound (-ot): the text analysis (one line per
// morpheme: its surface, part of speech, pronunciation and mora count) and the full-context
// labels with their start and end times in units of 100 ns, read into morphemes and morae.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6::natural {

struct Morpheme {
    std::string surface;       // as the engine wrote it (UTF-8, normalised by the engine)
    std::string partOfSpeech;  // its first two fields, "名詞,数"
    std::string pronunciation; // katakana, accent marks removed; "、" for a pause mark
    int morae = 0;             // how many morae it is said in
};

// One mora, or a pause, with the time span the labels give it.
struct TimedMora {
    std::string phonemes;   // "ky o", "N", "cl"; "pau" or "sil" for silence
    std::int64_t start = 0; // 100 ns units from the start of the sound
    std::int64_t end = 0;
    bool silent = false;
};

struct Trace {
    std::vector<Morpheme> morphemes;
    std::vector<TimedMora> morae;
};

// The longest label time read, an hour in 100 ns units: far beyond any chunk's sound, and small
// enough that a time scaled to any output rate fits 64 bits.
inline constexpr std::int64_t kMaxLabelTime = 3600LL * 10'000'000;

// The morphemes and morae of a trace, or std::nullopt with the reason in *error when the
// trace is cut short or malformed: no label section, a label line without two times, times
// that are negative, go backwards, overlap or lie past kMaxLabelTime, or a morpheme line with
// too few fields. The labels and the text
// analysis may count the morae differently: the alignment takes care of that.
std::optional<Trace> ParseTrace(std::string_view text, std::string* error = nullptr);

// A pronunciation split into its morae: a small ャュョァィゥェォヮ joins the kana before it,
// every other kana (ー ッ ン included) is a mora of its own.
std::vector<std::string> SplitMorae(std::string_view pronunciation);

} // namespace yomi6::natural
