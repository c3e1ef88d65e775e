#include "export/sample_engine.h"

#include "export/sentence_marks.h"
#include "playback/playback.h"
#include "playback/wav_render.h"

#include <algorithm>
#include <vector>

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

int SampleEngine::SampleRate() const {
    return kRenderRate;
}

EngineCapabilities SampleEngine::Capabilities() const {
    return {UnitKind::Tick, SpeechTimerInterval(m_request.speed)};
}

EngineSettings SampleEngine::Settings() const {
    return {m_request.voice != 0 ? "male" : "female", m_request.speed, 0};
}

EngineResult SampleEngine::Run(const EngineText& text, const EngineSink& sink) {
    ExportRequest request = m_request;
    request.text = text.text;
    request.from = text.from;
    request.to = text.to;
    const std::int64_t tickMs = SpeechTimerInterval(request.speed);
    const std::size_t to = std::min(text.to, text.text.size());
    SentenceMarks sentences(text.text, std::min(text.from, to), to);
    // The units wait for the block their sound starts in: the rendering writes a tick's sound
    // only once a later tick is placed.
    std::vector<SpokenUnit> waiting;
    std::int64_t written = 0;
    bool stopped = false;
    auto hand = [&](const unsigned char* samples, std::size_t count) {
        const auto end = written + static_cast<std::int64_t>(count);
        const auto within =
            std::partition_point(waiting.begin(), waiting.end(),
                                 [&](const SpokenUnit& u) { return u.startFrame < end; });
        const auto units = static_cast<std::size_t>(within - waiting.begin());
        const SoundBlock block{samples, nullptr, count, written,
                               std::span<const SpokenUnit>(waiting).first(units)};
        if (!Hand(block, sink, stopped)) {
            return false;
        }
        waiting.erase(waiting.begin(), within);
        written = end;
        return true;
    };
    ExportCallbacks ticks;
    // A pass's ending tick passes over no unit: it only keeps the clock.
    ticks.onTick = [&](const ExportTick& tick) {
        if (tick.unit) {
            waiting.push_back(SpokenUnitOfTick(tick, tickMs));
            waiting.back().startsSentence = sentences.Starts(tick.sourceBegin);
        }
        return true;
    };
    ticks.onSound = hand;
    ticks.onProgress = sink.onProgress;
    const ExportResult run = RunSpeechExport(request, ticks, &m_sounds);
    EngineResult result{run.status, run.error, run.ticks, run.samples};
    // The units after the sound's end (a silent reading's) come in a block of their own.
    if (result.status == SpeechStatus::Done && !waiting.empty() && !hand(nullptr, 0)) {
        result.status = SpeechStatus::Stopped;
    }
    return result;
}

} // namespace yomi6
