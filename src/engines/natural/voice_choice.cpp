#include "natural/voice_choice.h"

namespace yomi6::natural {

namespace {

constexpr std::string_view kAsRecordedPrefix = "natural:";
constexpr std::string_view kLoweredPrefix = "natural-lowered:";

} // namespace

std::optional<VoiceChoice> ParseVoiceChoice(std::string_view value) {
    for (const auto& [prefix, variant] : {std::pair{kAsRecordedPrefix, Variant::AsRecorded},
                                          std::pair{kLoweredPrefix, Variant::Lowered}}) {
        if (value.starts_with(prefix)) {
            if (const std::optional<Style> style = ParseStyle(value.substr(prefix.size()))) {
                return VoiceChoice{variant, *style};
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string VoiceChoiceValue(const VoiceChoice& choice) {
    const std::string_view prefix =
        choice.variant == Variant::Lowered ? kLoweredPrefix : kAsRecordedPrefix;
    return std::string(prefix) + std::string(StyleName(choice.style));
}

} // namespace yomi6::natural
