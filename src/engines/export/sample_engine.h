// The sample voices as a speech engine: their units are the ticks that pass over a unit of the
// reading, one tick long each, and their sound the 8-bit rendering at kRenderRate.
#pragma once

#include "engine/speech_engine.h"
#include "export/speech_export.h"

namespace yomi6 {

// The unit of a tick at the timer interval tickMs: it starts at the tick and lasts one tick.
SpokenUnit SpokenUnitOfTick(const ExportTick& tick, std::int64_t tickMs);

class SampleEngine : public SpeechEngine {
public:
    // Says with the voice, speed, reading and sounds of request, whose text, from and to are
    // those of each saying.
    explicit SampleEngine(const ExportRequest& request)
        : m_request(request), m_sounds(request.sounds, request.speed, request.fitting) {}

    int SampleRate() const override;
    SampleBits Bits() const override { return SampleBits::Eight; }
    EngineCapabilities Capabilities() const override;
    EngineSettings Settings() const override;

private:
    EngineResult Run(const EngineText& text, const EngineSink& sink) override;

    ExportRequest m_request;
    RenderedSounds m_sounds; // the samples' frames, kept from one saying to the next
};

} // namespace yomi6
