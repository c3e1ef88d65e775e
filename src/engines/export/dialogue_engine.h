// The lines in 「」 and 『』 said by a voice of their own: an engine that says the narration of a
// text with one engine and its lines (DialogueSpans) with another, run after run on one clock.
// Each run's units keep their source bytes and follow the runs before them, so that the
// subtitles and timings made from the units stay exact.
#pragma once

#include "engine/speech_engine.h"

#include <memory>
#include <mutex>

namespace yomi6 {

class DialogueEngine : public SpeechEngine {
public:
    // The narrator says what lies outside the lines, dialogue the lines, their sound joined at
    // the higher of their rates, 16-bit when either's is.
    DialogueEngine(std::unique_ptr<SpeechEngine> narrator, std::unique_ptr<SpeechEngine> dialogue);
    // The same with the joined sound 16-bit at rate (a player's).
    DialogueEngine(std::unique_ptr<SpeechEngine> narrator, std::unique_ptr<SpeechEngine> dialogue,
                   int rate);

    // The texts said start inside a line (EndsInsideLine of what came before them): their start
    // is said by the lines' voice up to the closing bracket.
    void StartInsideLine(bool inside) { m_startsInsideLine = inside; }

    // Each engine's sound is brought to these.
    int SampleRate() const override { return m_rate; }
    SampleBits Bits() const override { return m_bits; }
    // The narrator's when both count their units alike; else morae (each unit with its end),
    // with the sample voices' ticks among them when one says in samples and the other in morae.
    EngineCapabilities Capabilities() const override;
    EngineSettings Settings() const override { return m_narrator->Settings(); }

private:
    EngineResult Run(const EngineText& text, const EngineSink& sink) override;
    void Interrupt() override;

    std::unique_ptr<SpeechEngine> m_narrator;
    std::unique_ptr<SpeechEngine> m_dialogue;
    int m_rate;
    SampleBits m_bits;
    bool m_startsInsideLine = false;
    std::mutex m_sayingMutex;
    SpeechEngine* m_saying = nullptr; // the engine saying a run now, for Interrupt
};

} // namespace yomi6
