// The morae of a sentence and when each sounds, from the times of its phonemes.
#pragma once

#include "synthesis/phoneme_time.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace yomi6::synthesis {

struct MoraTime {
    std::size_t firstPhoneme = 0; // index into the sentence's phonemes
    std::size_t phonemeCount = 0;
    std::int64_t startFrame = 0;
    std::int64_t endFrame = 0;
    bool silent = false; // a pause or the silence around the sentence

    friend bool operator==(const MoraTime&, const MoraTime&) = default;
};

// Groups phonemes into morae as the labels spell them: a vowel (voiced, or devoiced in upper
// case) with the consonants before it is one mora; the moraic nasal N and the geminate cl are
// one each; a pause or the silence around the sentence is a unit of its own. Consonants with no
// vowel after them (labels cut short) make a mora of their own.
std::vector<MoraTime> GroupMorae(std::span<const PhonemeTime> phonemes);

} // namespace yomi6::synthesis
