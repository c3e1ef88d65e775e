// The one place every client makes the natural voice's engine: the command line's --wav,
// --units and --export, the editor's audio export and its reading. The engine says the text in
// our own process (our reading, our labels, libhtsengine), its voice loaded here.
#pragma once

#include "dictionary/dictionary_view.h"
#include "engine/speech_engine.h"
#include "natural/natural_pass.h"
#include "natural_voice/voice_pass.h"
#include "synthesis/hts_voice.h"

#include <memory>
#include <optional>

namespace yomi6 {

// The options of the natural voice said in our own process for a pass's options.
natural_voice::VoicePassOptions VoicePassOptionsOf(const natural::NaturalPassOptions& options);

// The natural voice's engine for options (ChooseEngine's pass, which the voice can speak). A
// part of the text the engine cannot say is skipped and told to onMessage on the thread that
// says. dic, when given, must outlive the engine.
std::unique_ptr<SpeechEngine> MakeNaturalEngine(std::optional<DictionaryView> dic,
                                                const natural::NaturalPassOptions& options,
                                                natural::PassMessage onMessage = {});

// The four styles of the voice options' setup found, loaded (a few hundred milliseconds): for
// a client that makes engines again and again and loads the voice once.
synthesis::HtsVoice::Loaded LoadNaturalVoice(const natural::NaturalPassOptions& options);

class VoiceLoad;

// The same engine with its voice as loaded (LoadNaturalVoice of the same options), or still
// being loaded (a NaturalVoiceCache's): then the engine's saying waits for it, on the thread
// that says (a stop at once ends the waiting), and whoever makes the engine never does.
std::unique_ptr<SpeechEngine> MakeNaturalEngine(const synthesis::HtsVoice::Loaded& loaded,
                                                std::optional<DictionaryView> dic,
                                                const natural::NaturalPassOptions& options,
                                                natural::PassMessage onMessage = {});
std::unique_ptr<SpeechEngine> MakeNaturalEngine(std::shared_ptr<VoiceLoad> loading,
                                                std::optional<DictionaryView> dic,
                                                const natural::NaturalPassOptions& options,
                                                natural::PassMessage onMessage = {});

} // namespace yomi6
