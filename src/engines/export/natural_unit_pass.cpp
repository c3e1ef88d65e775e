#include "export/natural_unit_pass.h"

#include <algorithm>

namespace yomi6 {

NaturalUnitPass::NaturalUnitPass(std::string_view text, std::size_t from, std::size_t to,
                                 std::optional<DictionaryView> dic,
                                 natural::NaturalPassOptions options,
                                 natural::PassMessage onMessage)
    : m_text(text), m_to(std::min(to, text.size())), m_dic(dic), m_options(std::move(options)),
      m_onMessage(std::move(onMessage)) {
    m_from = std::min(from, m_to);
}

TimingsLayout NaturalUnitPass::Timings() const {
    TimingsLayout layout;
    layout.version = 2;
    layout.engine = "natural";
    layout.sampleRate = SampleRate();
    layout.nameKey = "mora";
    layout.ends = true;
    return layout;
}

UnitPassResult NaturalUnitPass::Run(const UnitPassCallbacks& callbacks) {
    UnitPassResult result;
    const int rate = SampleRate();
    const std::size_t total = m_to - m_from;
    natural::NaturalPass pass(std::string(m_text.substr(m_from, total)), m_dic, m_options,
                              m_onMessage);
    // Told before the first chunk, which may take a while on a loaded machine, so that a
    // cancel is seen from the start.
    if (callbacks.onProgress && !callbacks.onProgress(0, total)) {
        result.status = ExportStatus::Stopped;
        return result;
    }
    while (std::optional<natural::PassChunk> chunk = pass.Next()) {
        for (const natural::NaturalUnit& mora : chunk->units) {
            SpokenUnit unit;
            unit.index = result.units++;
            unit.startFrame = mora.startFrame;
            unit.endFrame = mora.endFrame;
            unit.startMs = FrameToMs(mora.startFrame, rate);
            unit.endMs = FrameToMs(mora.endFrame, rate);
            unit.says = mora.silent ? std::string_view() : std::string_view(mora.mora);
            const std::size_t begin = std::min(mora.source.begin, total);
            unit.sourceBegin = m_from + begin;
            unit.sourceEnd = m_from + std::clamp(mora.source.end, begin, total);
            if (callbacks.onUnit && !callbacks.onUnit(unit)) {
                result.status = ExportStatus::Stopped;
                return result;
            }
        }
        if (callbacks.onSound &&
            !callbacks.onSound(SoundBlock{nullptr, chunk->pcm.data(), chunk->pcm.size()})) {
            result.status = ExportStatus::Stopped;
            return result;
        }
        result.frames += static_cast<std::int64_t>(chunk->pcm.size());
        const std::size_t done = std::min(chunk->source.end, total);
        if (callbacks.onProgress && !callbacks.onProgress(done, total)) {
            result.status = ExportStatus::Stopped;
            return result;
        }
    }
    if (std::string failure = pass.Failure(); !failure.empty()) {
        result.status = ExportStatus::Failed;
        result.error = "the natural voice: " + failure;
    }
    return result;
}

} // namespace yomi6
