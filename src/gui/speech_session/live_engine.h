// The one place that makes the engine a reading heard live speaks with (the editor's natural
// voice and --speak): the natural voice in our own process as chosen, started for a listener
// (its first sound after no more than its first word, with only a few milliseconds of lead
// silence), its voice loaded once and kept for the readings after it.
#pragma once

#include "dictionary/dictionary_view.h"
#include "engine/speech_engine.h"
#include "natural/natural_pass.h"
#include "synthesis/hts_voice.h"

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

namespace yomi6 {

// The natural voice's styles, loaded once for every reading of its owner: loading takes a few
// hundred milliseconds, which a reading should not wait for each time. Used on one thread.
class LiveVoice {
public:
    // Starts loading the voice of pass's setup on a thread of its own, unless it is loaded or
    // being loaded already.
    void Prepare(const natural::NaturalPassOptions& pass);
    // The voice of pass's setup, loaded or being loaded (never waited for here).
    std::shared_future<synthesis::HtsVoice::Loaded> Voice(const natural::NaturalPassOptions& pass);

private:
    std::string m_voiceFile; // the file the voice was loaded beside
    std::shared_future<synthesis::HtsVoice::Loaded> m_loading;
};

// The engine for pass (its output rate the player's), reading with dictionary (which must
// outlive it) in the voice, which its saying waits for if it is still being loaded (the caller
// does not); each sentence it skips is told to onSkipped, from the thread that says.
std::unique_ptr<SpeechEngine> MakeLiveEngine(natural::NaturalPassOptions pass,
                                             std::shared_future<synthesis::HtsVoice::Loaded> voice,
                                             std::optional<DictionaryView> dictionary,
                                             std::function<void(const std::string&)> onSkipped);

} // namespace yomi6
