// One pass of speech through a reading, tick by tick, without a timer: what the schedule, the
// rendering and the unit listing of the command line are made of. The editor and yomi6 --speak
// call the same tick (SpeechTick) from their timer.
#pragma once

#include "playback/playback.h"
#include "playback/speech_state.h"

#include <functional>

namespace yomi6 {

// Calls onTick for every tick of one pass through the reading of state, from its first byte,
// with no stop request, repeat off and state's voice; the last call is the tick that ends
// playback (killTimer set). The pass runs on a copy: state is not changed.
void RunPass(const SpeechState& state, const std::function<void(const TickResult&)>& onTick);
// The same pass of session spoken with preferences.
void RunPass(const SpeechPreferences& preferences, const SpeechTickState& session,
             const std::function<void(const TickResult&)>& onTick);

} // namespace yomi6
