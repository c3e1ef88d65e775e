// The 141 units a voice speaks, named by the suffix of their sample name ("KA", "GYA", "S"), with
// what a person recording a voice is shown for each: the kana and a word that holds it.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace yomi6 {

inline constexpr std::size_t kVoiceUnitCount = 141;

// The pause unit: near-silence, generated rather than recorded.
inline constexpr std::string_view kPauseSuffix = "S";

struct VoiceUnit {
    std::string_view suffix;  // "KA": the sample name without its voice prefix
    std::string_view kana;    // UTF-8, full-width katakana: "カ"
    std::string_view example; // UTF-8, a word that holds the unit; empty where none is common
};

// Every unit once, in the order a recording session goes through them: the plain kana, the
// voiced ones, the contracted ones, the loan-word ones, the pause last.
std::span<const VoiceUnit, kVoiceUnitCount> VoiceUnits();

// The unit of a suffix, matched exactly; nullptr for a name no unit has.
const VoiceUnit* FindVoiceUnit(std::string_view suffix);

// The index of a suffix in VoiceUnits(), or nothing.
std::optional<std::size_t> VoiceUnitIndex(std::string_view suffix);

} // namespace yomi6
