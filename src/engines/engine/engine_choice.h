// The one choice and set-up of the engine a reading speaks with, for the editor's reading, its
// audio export and the command line alike: the samples, or the natural voice when the speaking
// slot has it (or it is asked for) and its engine and voice file are there. The caller passes
// the values of the settings it owns; nothing here reads the settings file.
#pragma once

#include "natural/natural_pass.h"
#include "natural/voice_choice.h"
#include "natural/voice_setup.h"
#include "settings/dialogue_voice.h"
#include "settings/voice_settings.h"

#include <cstdint>
#include <optional>
#include <string>

namespace yomi6 {

// The rate the natural voice is made at, at which it is spoken and exported.
inline constexpr int kNaturalVoiceRate = 48000;

struct EngineRequest {
    std::string slotValue;      // the speaking slot's stored voice ("natural:happy", a folder, ...)
    bool maleSlot = false;      // the speaking slot is the male one
    std::int32_t speed = 180;   // milliseconds per unit of the sample voices
    std::string analyzerFolder; // the analyzer's dictionary folder the engine's text is read with
    // The natural voice even when the slot has none: the voice as recorded for the female slot,
    // its lowered variant for the male one.
    bool naturalAsked = false;
    std::optional<natural::Style> style; // a style other than the slot's
    unsigned workers = 1;                // chunks said at once
    int outputRate = 0;                  // the natural voice's sound: 0 for its own rate
    natural::VoiceControls controls;     // the natural voice's pitch, intonation and style weight
    PauseTable pauses = DefaultPauses(); // the natural voice's pauses at the text's marks
};

// The natural voice's controls as the settings keep them, for a request.
natural::VoiceControls VoiceControlsOf(const NaturalControls& stored);

struct ChosenEngine {
    // The natural voice the request names; none: the samples speak.
    std::optional<natural::VoiceChoice> natural;
    // For natural: the engine and voice file found, or what is missing (then the samples speak).
    natural::VoiceSetup setup;
    // For a natural voice that can speak: the pass said at the player's rate and level.
    natural::NaturalPassOptions pass;

    bool SpeaksNaturally() const { return natural && setup.CanSpeak(); }
};

// The natural voice request names, if any, without looking for its files.
std::optional<natural::VoiceChoice> NaturalVoiceOf(const EngineRequest& request);

// The request of the voice that says the lines in 「」 and 『』 when the rest is said as narrator
// asks: the other slot, whose stored voice is otherSlotValue ("" when the slots' natural voices
// are not to be asked for), or the natural voice of narrator's slot in a style of its own. None
// when voice is Off.
std::optional<EngineRequest> DialogueRequestOf(const EngineRequest& narrator, DialogueVoice voice,
                                               const std::string& otherSlotValue);

// The engine request speaks with, its natural voice looked for where installation says.
ChosenEngine ChooseEngine(const natural::Installation& installation, const EngineRequest& request);

} // namespace yomi6
