#include "speech_session/live_engine.h"

#include "export/engine_factory.h"

namespace yomi6 {

namespace {

// The silence kept before the first sound of a reading: a few milliseconds of the engine's own
// onset, not the pause that separates sentences.
constexpr std::int64_t kStartLeadMs = 15;

} // namespace

std::unique_ptr<SpeechEngine> MakeLiveEngine(natural::NaturalPassOptions pass,
                                             std::shared_ptr<VoiceLoad> voice,
                                             std::optional<DictionaryView> dictionary,
                                             std::function<void(const std::string&)> onSkipped) {
    pass.firstLeadSilenceMs = kStartLeadMs;
    pass.chunks.firstAtParticle = true;
    return MakeNaturalEngine(std::move(voice), dictionary, pass, std::move(onSkipped));
}

} // namespace yomi6
