// The speech settings kept between runs, copied between the speech state and the settings file.
#pragma once

#include "settings/settings.h"
#include "speech/speech_state.h"

namespace yomi6 {

static_assert(settings_keys::kSpeed.defaultValue == kDefaultSpeed);
static_assert(settings_keys::kReadings.defaultValue == kReadingsDictionary);

inline SpeechChoices ChoicesOf(const SpeechState& state) {
    return SpeechChoices{state.speed, state.voice, state.readings};
}

inline void ApplyChoices(const SpeechChoices& choices, SpeechState& state) {
    state.speed = choices.speed;
    state.voice = choices.voice;
    state.readings = choices.readings;
}

} // namespace yomi6
