#include "synthesis/sentence_layout.h"

#include <algorithm>

namespace yomi6::synthesis {

SentenceLayout LayOut(std::span<const std::string> labels, std::span<const std::int64_t> frames,
                      std::int64_t maxLeadFrames, std::int64_t maxTrailFrames) {
    SentenceLayout layout;
    std::int64_t speechBegin = -1;
    for (std::size_t i = 0; i < frames.size() && i < labels.size(); ++i) {
        layout.starts.push_back(layout.total);
        layout.total += frames[i];
        if (!IsSilence(PhonemeOf(labels[i]))) {
            if (speechBegin < 0) {
                speechBegin = layout.starts.back();
            }
            layout.speechEnd = layout.total;
        }
    }
    if (speechBegin < 0) {
        speechBegin = 0;
        layout.speechEnd = layout.total;
    }
    layout.speechBegin = speechBegin;
    layout.soundBegin =
        maxLeadFrames < 0 ? 0 : std::max<std::int64_t>(speechBegin - maxLeadFrames, 0);
    layout.soundEnd = maxTrailFrames < 0
                          ? layout.total
                          : std::min(layout.speechEnd + maxTrailFrames, layout.total);
    return layout;
}

std::vector<PhonemeTime> PhonemeTimes(const SentenceLayout& layout,
                                      std::span<const std::string> labels, int framePeriod,
                                      int voiceRate, int outRate) {
    const auto outputFrame = [&](std::int64_t engineFrame) {
        const std::int64_t kept =
            std::clamp(engineFrame, layout.soundBegin, layout.soundEnd) - layout.soundBegin;
        return (kept * framePeriod * outRate + voiceRate / 2) / voiceRate;
    };
    std::vector<PhonemeTime> phonemes;
    for (std::size_t i = 0; i < layout.starts.size(); ++i) {
        const std::int64_t end = i + 1 < layout.starts.size() ? layout.starts[i + 1] : layout.total;
        phonemes.push_back(
            {std::string(PhonemeOf(labels[i])), outputFrame(layout.starts[i]), outputFrame(end)});
    }
    return phonemes;
}

std::string BareLabel(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    if (const std::size_t blank = line.find_last_of(" \t"); blank != std::string_view::npos) {
        line.remove_prefix(blank + 1);
    }
    const bool printable = std::all_of(line.begin(), line.end(), [](char c) {
        return static_cast<unsigned char>(c) > 0x20 && static_cast<unsigned char>(c) < 0x7F;
    });
    const bool letterFirst =
        !line.empty() && ((line[0] >= 'a' && line[0] <= 'z') || (line[0] >= 'A' && line[0] <= 'Z'));
    if (!printable || !letterFirst || PhonemeOf(line).empty()) {
        return {};
    }
    return std::string(line);
}

} // namespace yomi6::synthesis
