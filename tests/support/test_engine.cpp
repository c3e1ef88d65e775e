#include "support/test_engine.h"

#include <algorithm>

namespace yomi6::test {

EngineResult TestEngine::Run(const EngineText& text, const EngineSink& sink) {
    if (onSay) {
        onSay(text.from);
    }
    EngineResult result;
    // The frame the saying starts at: its first unit's.
    std::int64_t skip = m_frames;
    for (const ScriptedUnit& s : m_units) {
        if (s.sourceBegin >= text.from) {
            skip = std::min(skip, s.startFrame);
        }
    }
    if (text.from == 0) {
        skip = 0;
    }
    const std::int64_t frames = m_frames - skip;
    std::vector<SpokenUnit> all;
    for (const ScriptedUnit& s : m_units) {
        if (s.sourceBegin < text.from) {
            continue;
        }
        SpokenUnit& u = all.emplace_back();
        u.index = static_cast<std::int64_t>(all.size()) - 1;
        u.startFrame = s.startFrame - skip;
        u.endFrame = s.endFrame - skip;
        u.startMs = FrameToMs(u.startFrame, kRate);
        u.endMs = FrameToMs(u.endFrame, kRate);
        u.says = s.says;
        u.sourceBegin = s.sourceBegin;
        u.sourceEnd = s.sourceEnd;
        u.startsSentence = s.startsSentence;
    }
    result.units = static_cast<std::int64_t>(all.size());
    std::vector<std::int16_t> pcm;
    std::size_t next = 0; // the first unit not handed over
    std::size_t index = 0;
    for (std::int64_t start = 0; start < frames || next < all.size();
         start += static_cast<std::int64_t>(m_blockFrames), ++index) {
        const std::int64_t end = std::min(start + static_cast<std::int64_t>(m_blockFrames), frames);
        pcm.clear();
        for (std::int64_t f = start; f < end; ++f) {
            pcm.push_back(SampleAt(f + skip));
        }
        // The last block carries every unit left.
        std::size_t last = next;
        while (last < all.size() && (all[last].startFrame < end || end == frames)) {
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
        if (end == frames) {
            break;
        }
    }
    return result;
}

} // namespace yomi6::test
