// The voices of the settings file's slots for the modes that speak with samples. Apart from the
// speech options, so that a mode that only reads (yomi6 --reading) loads no voice folder code.
#pragma once

#include "voice/voice_selection.h"

namespace yomi6::cli {

// The voices the settings file gives the male and the female slot (read, never written), each
// folder loaded as the editor loads it. A folder that cannot be read, or units that cannot be
// used, are one line each on standard error; the slot's built-in voice speaks what is missing,
// and all that a slot with the natural voice says with samples.
VoiceSelection SettingsVoiceSelection();

} // namespace yomi6::cli
