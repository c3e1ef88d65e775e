// A stand-in engine for the tests of the engine interface's clients: it says a scripted sound
// (16-bit, each sample its frame number modulo 30000, so that a cut shows where it fell) in
// blocks of a fixed size, with scripted units, exactly as the interface hands them over. A
// saying from a later source byte says the script from its first unit that starts there on, its
// sound and units moved to start at frame 0.
#pragma once

#include "engine/speech_engine.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace yomi6::test {

struct ScriptedUnit {
    std::string says; // "" for a pause
    std::size_t sourceBegin = 0;
    std::size_t sourceEnd = 0;
    std::int64_t startFrame = 0;
    std::int64_t endFrame = 0;
    bool startsSentence = false;
};

class TestEngine : public SpeechEngine {
public:
    static constexpr int kRate = 16000;

    TestEngine(std::vector<ScriptedUnit> units, std::int64_t frames, std::size_t blockFrames)
        : m_units(std::move(units)), m_frames(frames), m_blockFrames(blockFrames) {}

    // Called before the block with this index is handed over (on the saying thread).
    std::function<void(std::size_t block)> beforeBlock;
    // Called as a saying starts, with the source byte it says from (on the saying thread).
    std::function<void(std::size_t from)> onSay;

    // The sample the scripted sound has at frame.
    static std::int16_t SampleAt(std::int64_t frame) {
        return static_cast<std::int16_t>(frame % 30000);
    }

    int SampleRate() const override { return kRate; }
    SampleBits Bits() const override { return SampleBits::Sixteen; }
    EngineCapabilities Capabilities() const override { return {UnitKind::Mora, 0}; }
    EngineSettings Settings() const override { return {"scripted", 180, 0}; }

private:
    EngineResult Run(const EngineText& text, const EngineSink& sink) override;

    std::vector<ScriptedUnit> m_units;
    std::int64_t m_frames;
    std::size_t m_blockFrames;
};

} // namespace yomi6::test
