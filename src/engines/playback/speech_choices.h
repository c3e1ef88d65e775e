// The speech settings kept between runs, copied between the speech preferences and the settings
// file.
#pragma once

#include "playback/speech_state.h"
#include "settings/settings.h"

namespace yomi6 {

static_assert(settings_keys::kSpeed.defaultValue == kDefaultSpeed);
static_assert(settings_keys::kReadings.defaultValue == kReadingsDictionary);
static_assert(settings_keys::kAozora.defaultValue == 1); // SpeechPreferences's AozoraMode::Auto

// The reading choice as the speech preferences carry it (kReadingsUnchosen for none).
constexpr std::int32_t ReadingsOf(ReadingsChoice choice) {
    switch (choice) {
    case ReadingsChoice::Dictionary:
        return kReadingsDictionary;
    case ReadingsChoice::Automatic:
        return kReadingsAutomatic;
    case ReadingsChoice::Unchosen:
        break;
    }
    return kReadingsUnchosen;
}

// The stored switch: on finds the notation (AozoraMode::Auto), off reads every character.
constexpr AozoraMode AozoraModeOf(const SpeechChoices& choices) {
    return choices.notationSilent ? AozoraMode::Auto : AozoraMode::Off;
}

inline SpeechChoices ChoicesOf(const SpeechPreferences& state) {
    const ReadingsChoice readings = state.readings == kReadingsUnchosen ? ReadingsChoice::Unchosen
                                    : state.readings == kReadingsAutomatic
                                        ? ReadingsChoice::Automatic
                                        : ReadingsChoice::Dictionary;
    return SpeechChoices{state.speed, state.voice == VoiceSlot::Male, readings,
                         state.aozora != AozoraMode::Off};
}

inline void ApplyChoices(const SpeechChoices& choices, SpeechPreferences& state) {
    state.speed = choices.speed;
    state.voice = choices.maleVoice ? VoiceSlot::Male : VoiceSlot::Female;
    state.readings = ReadingsOf(choices.readings);
    state.aozora = AozoraModeOf(choices);
}

} // namespace yomi6
