// When each phoneme of a sentence sounds, known from the engine's state durations before the
// sound is made.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace yomi6::synthesis {

struct PhonemeTime {
    std::string phoneme;         // as the label names it: "a", "ky", "N", "cl", "pau", "sil"
    std::int64_t startFrame = 0; // output frames from the start of the sentence's sound
    std::int64_t endFrame = 0;   // one past its last frame

    friend bool operator==(const PhonemeTime&, const PhonemeTime&) = default;
};

// The phoneme a full-context label is about (its p3 field, between '-' and '+' in
// "p1^p2-p3+p4=p5/A:..."), with or without the start and end times before it; "" for a line
// that is not such a label.
std::string_view PhonemeOf(std::string_view label);

// Whether the phoneme is a pause or the silence around a sentence.
bool IsSilence(std::string_view phoneme);

} // namespace yomi6::synthesis
