#include "export/sample_unit_pass.h"

#include "playback/playback.h"
#include "playback/wav_render.h"

namespace yomi6 {

SpokenUnit SpokenUnitOfTick(const ExportTick& tick, std::int64_t tickMs) {
    constexpr std::int64_t kFramesPerMs = kRenderRate / 1000;
    SpokenUnit unit;
    unit.index = tick.index;
    unit.startMs = tick.timeMs;
    unit.endMs = tick.timeMs + tickMs;
    unit.startFrame = unit.startMs * kFramesPerMs;
    unit.endFrame = unit.endMs * kFramesPerMs;
    unit.says = tick.sample;
    unit.sourceBegin = tick.sourceBegin;
    unit.sourceEnd = tick.sourceEnd;
    return unit;
}

int SampleUnitPass::SampleRate() const {
    return kRenderRate;
}

TimingsLayout SampleUnitPass::Timings() const {
    return SampleTimingsLayout(SpeechTimerInterval(m_request.speed));
}

UnitPassResult SampleUnitPass::Run(const UnitPassCallbacks& callbacks) {
    const std::int64_t tickMs = SpeechTimerInterval(m_request.speed);
    ExportCallbacks ticks;
    if (callbacks.onUnit) {
        // A pass's ending tick passes over no unit: it only keeps the clock.
        ticks.onTick = [&](const ExportTick& tick) {
            return !tick.unit || callbacks.onUnit(SpokenUnitOfTick(tick, tickMs));
        };
    }
    if (callbacks.onSound) {
        ticks.onSound = [&](const unsigned char* samples, std::size_t count) {
            return callbacks.onSound(SoundBlock{samples, nullptr, count});
        };
    }
    ticks.onProgress = callbacks.onProgress;
    const ExportResult run = RunSpeechExport(m_request, ticks);
    return UnitPassResult{run.status, run.error, run.ticks, run.samples};
}

} // namespace yomi6
