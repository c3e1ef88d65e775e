// A voice an engine of the editor's reading speaks with.
#pragma once

#include "natural/engine_setup.h"
#include "natural/voice_choice.h"
#include "settings/pause_table.h"
#include "voice/voice_slot.h"

#include <optional>

namespace yomi6 {

// The samples of a slot, or a natural voice set up for the speed.
struct EngineVoice {
    std::optional<natural::VoiceChoice> natural; // none: the samples
    natural::EngineSetup setup;                  // for natural
    PauseTable pauses = DefaultPauses();         // for natural
    VoiceSlot slot = VoiceSlot::Female;          // the slot it is

    // Both the samples, or both the same natural voice with the same controls and pauses (a
    // change of them is heard from the next sentence on).
    bool SpeaksAs(const EngineVoice& other) const {
        return natural == other.natural &&
               (!natural || (setup.controls == other.setup.controls && pauses == other.pauses));
    }
};

} // namespace yomi6
