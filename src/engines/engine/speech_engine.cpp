#include "engine/speech_engine.h"

#include <algorithm>

namespace yomi6 {

namespace {

constexpr int Value(StopAt at) {
    return static_cast<int>(at);
}

} // namespace

EngineResult SpeechEngine::Say(const EngineText& text, const EngineSink& sink) {
    m_lastUnitEnd = 0;
    m_frames = 0;
    EngineResult result = Run(text, sink);
    result.frames = m_frames;
    m_stop = kNoStop;
    return result;
}

void SpeechEngine::Stop(StopAt at) {
    int current = m_stop.load();
    while (Value(at) < current && !m_stop.compare_exchange_weak(current, Value(at))) {
    }
    if (at == StopAt::Now) {
        Interrupt();
    }
}

bool SpeechEngine::Hand(const SoundBlock& block, const EngineSink& sink, bool& stopped) {
    stopped = false;
    int stop = m_stop.load();
    if (stop == Value(StopAt::Now)) {
        stopped = true;
        return false;
    }
    SoundBlock handed = block;
    if (stop == Value(StopAt::AfterSentence)) {
        // The units up to the next sentence's first one; from there on the stop is at the end
        // of the last of them (a stop at once asked for meanwhile stays).
        const auto next = std::find_if(block.units.begin(), block.units.end(),
                                       [](const SpokenUnit& u) { return u.startsSentence; });
        handed.units = block.units.first(static_cast<std::size_t>(next - block.units.begin()));
        if (next != block.units.end()) {
            m_stop.compare_exchange_strong(stop, Value(StopAt::AfterUnit));
            stop = std::min(stop, Value(StopAt::AfterUnit));
        }
    } else if (stop == Value(StopAt::AfterUnit)) {
        handed.units = {};
    }
    for (const SpokenUnit& unit : handed.units) {
        m_lastUnitEnd = std::max(m_lastUnitEnd, unit.endFrame);
    }
    bool end = false;
    if (stop == Value(StopAt::AfterUnit) || stop == Value(StopAt::Now)) {
        // The sound up to the end of the last unit handed over, then nothing.
        const std::int64_t room = std::max<std::int64_t>(m_lastUnitEnd - block.startFrame, 0);
        end = room <= static_cast<std::int64_t>(block.count);
        handed.count = static_cast<std::size_t>(
            std::min<std::int64_t>(room, static_cast<std::int64_t>(block.count)));
    }
    if ((handed.count > 0 || !handed.units.empty()) && sink.onBlock && !sink.onBlock(handed)) {
        return false;
    }
    m_frames += static_cast<std::int64_t>(handed.count);
    stopped = end;
    return !end;
}

} // namespace yomi6
