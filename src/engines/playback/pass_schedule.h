// The schedule of one pass of speech: the sample each timer tick plays. Apart from the
// rendering (wav_render.h), so that a program that only lists it links no time-scaling.
#pragma once

#include "playback/speech_state.h"

#include <string_view>
#include <vector>

namespace yomi6 {

// The schedule entry of a tick that plays nothing.
inline constexpr std::string_view kSilentTick = "-";

// One entry per tick of one pass through the reading of state (from its first byte, no stop
// request, repeat off, state's voice): the sample name the tick plays, or kSilentTick. The
// last entry is the tick that ends playback.
std::vector<std::string_view> PassSchedule(const SpeechState& state);
// The same for session spoken with preferences.
std::vector<std::string_view> PassSchedule(const SpeechPreferences& preferences,
                                           const SpeechTickState& session);

} // namespace yomi6
