// The natural voice said in our own process as a speech engine: its units are the morae and
// pauses of our reading, each timed by the engine's state durations before its sound, and its
// sound the voice's 16-bit sound at its own rate (48000 Hz) or the rate asked for, piece after
// piece on one clock. A stop at once ends the synthesis under way within a frame.
#pragma once

#include "engine/speech_engine.h"
#include "natural/natural_pass.h"
#include "natural_voice/voice_pass.h"
#include "synthesis/hts_voice.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace yomi6 {

class NaturalVoiceEngine : public SpeechEngine {
public:
    // A piece that cannot be said is skipped and told to onMessage (on the thread that says);
    // kMaxFailuresInARow of them in a row fail the saying. dic, when given, must outlive the
    // engine.
    NaturalVoiceEngine(std::shared_ptr<const synthesis::HtsVoice> voice,
                       std::optional<DictionaryView> dic, natural_voice::VoicePassOptions options,
                       EngineSettings settings, natural::PassMessage onMessage = {});

    int SampleRate() const override;
    SampleBits Bits() const override { return SampleBits::Sixteen; }
    EngineCapabilities Capabilities() const override { return {UnitKind::Mora, 0}; }
    EngineSettings Settings() const override { return m_settings; }

private:
    EngineResult Run(const EngineText& text, const EngineSink& sink) override;
    void Interrupt() override;

    std::shared_ptr<const synthesis::HtsVoice> m_voice;
    std::optional<DictionaryView> m_dic;
    natural_voice::VoicePassOptions m_options;
    EngineSettings m_settings;
    natural::PassMessage m_onMessage;
    std::mutex m_passMutex;
    natural_voice::VoicePass* m_pass = nullptr; // the pass under way, for Interrupt
};

} // namespace yomi6
