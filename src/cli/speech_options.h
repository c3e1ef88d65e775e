// The voice and speed the command-line modes speak with.
#pragma once

#include "cli/cli_options.h"
#include "engine/engine_choice.h"
#include "natural/voice_choice.h"
#include "playback/fitted_samples.h"
#include "playback/speech_state.h"
#include "voice/voice_selection.h"

#include <cstdint>
#include <optional>
#include <string>

namespace yomi6::cli {

struct SpeechDefaults {
    std::int32_t voice = 0; // female
    std::int32_t speed = kDefaultSpeed;
    std::int32_t readings = kReadingsUnchosen;
    std::string analyzerDictionary; // the settings' analyzer dictionary folder, "" for none
    AozoraMode aozora = AozoraMode::Auto;
};

// The voice, speed and reading mode used when the command line names none: those of the
// settings file, else the female voice at 180 ms with the reading mode unchosen (read
// automatically when the analyzer can be loaded, as in the editor).
SpeechDefaults DefaultSpeechOptions();

// Whom a failure to load the analyzer is said of on standard error: --readings auto when the
// command line asked for it, else the automatic reading (of the settings, or the default).
std::string AutomaticReadingSource(const Options& options);
// Whether the automatic reading reads text as Aozora notation: --aozora, else the settings
// (checked: auto), and never in the dictionary reading.
bool ReadsAozoraOption(const Options& options, std::int32_t readings, std::string_view text,
                       const AnalyzerLoader& analyzer);

// Sets the voice and speed of state from --voice and --speed, else from the defaults.
void ApplySpeechOptions(const Options& options, SpeechState& state);

// Whether samples fit the tick: --fit-samples or --no-fit-samples, else the settings file's
// choice, else off.
SampleFitting SampleFittingOption(const Options& options);

// The natural voice the run speaks with, or none for the samples: --engine natural, or without
// --engine a natural voice in the settings file's slot for --voice (else the settings' voice),
// as the editor's slot speaks. The slot's value gives the variant and the style (--style goes
// first); without one, --voice male is the lowered variant and the style is neutral.
std::optional<natural::VoiceChoice> NaturalVoiceOption(const Options& options);

// What the engine of the run is chosen from (ChooseEngine): the options, and for what they
// leave open the settings file's slots, voice, speed and analyzer folder, read once. With
// --engine samples the slot's natural voice is not asked for.
EngineRequest EngineRequestOf(const Options& options, unsigned workers);

// The request of the voice that says the lines in 「」 and 『』 (DialogueRequestOf):
// --dialogue-voice, else the settings file's choice; none when it is off.
std::optional<EngineRequest> DialogueRequestFor(const Options& options, unsigned workers);

} // namespace yomi6::cli
