// The one place that makes the engine a reading heard live speaks with (the editor's natural
// voice and --speak): the pass of the natural voice as chosen, started for a listener (its first
// sound after no more than its first word, with only a few milliseconds of lead silence).
#pragma once

#include "dictionary/dictionary_view.h"
#include "engine/speech_engine.h"
#include "natural/natural_pass.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace yomi6 {

// The engine for pass (its output rate the player's), reading with dictionary (which must
// outlive it); each sentence it skips is told to onSkipped, from the thread that says.
std::unique_ptr<SpeechEngine> MakeLiveEngine(natural::NaturalPassOptions pass,
                                             std::optional<DictionaryView> dictionary,
                                             std::function<void(const std::string&)> onSkipped);

} // namespace yomi6
