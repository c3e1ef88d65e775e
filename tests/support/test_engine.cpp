#include "support/test_engine.h"

#include <algorithm>

namespace yomi6::test {

EngineResult TestEngine::Run(const EngineText&, const EngineSink& sink) {
    EngineResult result;
    std::vector<SpokenUnit> all;
    for (const ScriptedUnit& s : m_units) {
        SpokenUnit& u = all.emplace_back();
        u.index = static_cast<std::int64_t>(all.size()) - 1;
        u.startFrame = s.startFrame;
        u.endFrame = s.endFrame;
        u.startMs = FrameToMs(s.startFrame, kRate);
        u.endMs = FrameToMs(s.endFrame, kRate);
        u.says = s.says;
        u.sourceBegin = s.sourceBegin;
        u.sourceEnd = s.sourceEnd;
        u.startsSentence = s.startsSentence;
    }
    result.units = static_cast<std::int64_t>(all.size());
    std::vector<std::int16_t> pcm;
    std::size_t next = 0; // the first unit not handed over
    std::size_t index = 0;
    for (std::int64_t start = 0; start < m_frames || next < all.size();
         start += static_cast<std::int64_t>(m_blockFrames), ++index) {
        const std::int64_t end =
            std::min(start + static_cast<std::int64_t>(m_blockFrames), m_frames);
        pcm.clear();
        for (std::int64_t f = start; f < end; ++f) {
            pcm.push_back(SampleAt(f));
        }
        // The last block carries every unit left.
        std::size_t last = next;
        while (last < all.size() && (all[last].startFrame < end || end == m_frames)) {
            ++last;
        }
        if (beforeBlock) {
            beforeBlock(index);
        }
        bool stopped = false;
        const SoundBlock block{nullptr, pcm.data(), pcm.size(), start,
                               std::span<const SpokenUnit>(all).subspan(next, last - next)};
        if (!Hand(block, sink, stopped)) {
            result.status = SpeechStatus::Stopped;
            return result;
        }
        next = last;
        if (end == m_frames) {
            break;
        }
    }
    return result;
}

} // namespace yomi6::test
