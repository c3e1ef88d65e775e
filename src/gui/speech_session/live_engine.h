// The one place that makes the engine a reading heard live speaks with (the editor's natural
// voice and --speak): the natural voice in our own process as chosen, started for a listener
// (its first sound after no more than its first word, with only a few milliseconds of lead
// silence), its voice loaded once (a NaturalVoiceCache) and kept for the readings after it.
#pragma once

#include "dictionary/dictionary_view.h"
#include "engine/speech_engine.h"
#include "export/voice_cache.h"
#include "natural/natural_pass.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace yomi6 {

// The engine for pass (its output rate the player's), reading with dictionary (which must
// outlive it) in the voice, which its saying waits for if it is still being loaded (the caller
// does not); each sentence it skips is told to onSkipped, from the thread that says.
std::unique_ptr<SpeechEngine> MakeLiveEngine(natural::NaturalPassOptions pass,
                                             std::shared_ptr<VoiceLoad> voice,
                                             std::optional<DictionaryView> dictionary,
                                             std::function<void(const std::string&)> onSkipped);

} // namespace yomi6
