// The speech settings kept between runs, copied between the speech preferences and the settings
// file.
#pragma once

#include "playback/speech_state.h"
#include "settings/settings.h"

namespace yomi6 {

static_assert(settings_keys::kSpeed.defaultValue == kDefaultSpeed);
static_assert(settings_keys::kReadings.defaultValue == kReadingsDictionary);
static_assert(settings_keys::kAozora.defaultValue == 1); // SpeechPreferences's AozoraMode::Auto

// The stored switch: on finds the notation (AozoraMode::Auto), off reads every character.
inline SpeechChoices ChoicesOf(const SpeechPreferences& state) {
    return SpeechChoices{state.speed, state.voice, state.readings,
                         state.aozora == AozoraMode::Off ? 0 : 1};
}

inline void ApplyChoices(const SpeechChoices& choices, SpeechPreferences& state) {
    state.speed = choices.speed;
    state.voice = choices.voice;
    state.readings = choices.readings;
    state.aozora = choices.aozora != 0 ? AozoraMode::Auto : AozoraMode::Off;
}

} // namespace yomi6
