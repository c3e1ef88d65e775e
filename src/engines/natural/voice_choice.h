// A natural voice as a slot of the editor stores it in the settings, beside the names of the
// built-in sample voices and the paths of voice folders: "natural:STYLE" for the voice as
// recorded and "natural-lowered:STYLE" for its lowered variant, STYLE one of neutral, happy,
// sad, angry. Neither can be a voice folder's path, which is absolute.
#pragma once

#include "natural/engine_setup.h"

#include <optional>
#include <string>
#include <string_view>

namespace yomi6::natural {

struct VoiceChoice {
    Variant variant = Variant::AsRecorded;
    Style style = Style::Neutral;

    friend bool operator==(const VoiceChoice&, const VoiceChoice&) = default;
};

// The natural voice a stored value names, or std::nullopt for any other value.
std::optional<VoiceChoice> ParseVoiceChoice(std::string_view value);
std::string VoiceChoiceValue(const VoiceChoice& choice);

} // namespace yomi6::natural
