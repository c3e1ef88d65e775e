// The natural voice as a speech engine: its units are the morae and pauses of a NaturalPass,
// timed by the engine's labels, and its sound the engine's 16-bit sound at the pass's output
// rate, chunk after chunk on one clock.
#pragma once

#include "engine/speech_engine.h"
#include "natural/natural_pass.h"

#include <mutex>
#include <optional>
#include <string>

namespace yomi6 {

// The failure of a saying as the natural pass gave it, without the words that name the voice.
std::string NaturalFailure(const std::string& error);

class NaturalEngine : public SpeechEngine {
public:
    // A chunk the engine fails on is skipped and told to onMessage (on the thread that says); a
    // pass that gives up on the engine (NaturalPass::Failure) fails with its reason. dic, when
    // given, must outlive the engine.
    NaturalEngine(std::optional<DictionaryView> dic, natural::NaturalPassOptions options,
                  natural::PassMessage onMessage = {});

    int SampleRate() const override { return m_options.synthesis.outputRate; }
    SampleBits Bits() const override { return SampleBits::Sixteen; }
    EngineCapabilities Capabilities() const override { return {UnitKind::Mora, 0}; }
    EngineSettings Settings() const override;

private:
    EngineResult Run(const EngineText& text, const EngineSink& sink) override;
    void Interrupt() override;

    std::optional<DictionaryView> m_dic;
    natural::NaturalPassOptions m_options;
    natural::PassMessage m_onMessage;
    std::mutex m_passMutex;
    natural::NaturalPass* m_pass = nullptr; // the pass under way, for Interrupt
};

} // namespace yomi6
