#include "synthesis/block_sound.h"

#include "synthesis/block_joiner.h"
#include "synthesis/block_vocoder.h"
#include "synthesis/loudness.h"
#include "wave/pcm_convert.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace yomi6::synthesis {

namespace {

std::int16_t ToSample(double x) {
    return static_cast<std::int16_t>(std::clamp(std::round(x), -32768.0, 32767.0));
}

} // namespace

SynthesisEnd MakeBlocks(const HTS_Engine& hts, std::int64_t begin, std::int64_t end,
                        std::span<const BlockCut> cuts, const SoundFormat& format,
                        const std::stop_token& stop, SynthesisSink& sink) {
    const bool resample = format.outRate != format.voiceRate;
    if (resample) {
        cuts = {};
    }
    const std::int64_t period = format.framePeriod;
    BlockJoiner joiner;
    std::vector<float> whole; // the stretch to resample
    std::vector<std::int16_t> pcm;
    std::int64_t from = begin;
    std::int64_t warmFrom = std::max<std::int64_t>(begin - kWarmUpFrames, 0);
    CrossFade fade = CrossFade::EqualPower;
    for (std::size_t k = 0; k <= cuts.size(); ++k) {
        const bool last = k == cuts.size();
        const std::int64_t to = last ? end : begin + cuts[k].frame;
        const std::int64_t overlap = last ? 0 : kCrossFadeFrames;
        std::optional<std::vector<double>> samples =
            VocodeFrames(hts, warmFrom, to + overlap, stop);
        if (!samples) {
            return stop.stop_requested()
                       ? SynthesisEnd{true, ""}
                       : SynthesisEnd{false, "the engine could not make the sentence's sound"};
        }
        const auto warmUp =
            std::min(static_cast<std::size_t>((from - warmFrom) * period), samples->size());
        samples->erase(samples->begin(), samples->begin() + static_cast<std::ptrdiff_t>(warmUp));
        std::vector<double> block =
            joiner.Join(std::move(*samples), static_cast<std::size_t>(overlap * period), fade);
        if (format.limit) {
            // The levelled voice's rare peaks are bent below full scale, never clipped.
            std::transform(block.begin(), block.end(), block.begin(), SoftLimit);
        }
        if (resample) {
            std::transform(block.begin(), block.end(), std::back_inserter(whole),
                           [](double x) { return static_cast<float>(x / 32767.0); });
        } else {
            pcm.resize(block.size());
            std::transform(block.begin(), block.end(), pcm.begin(), ToSample);
            sink.Sound(pcm);
        }
        if (!last) {
            from = to;
            warmFrom = std::max<std::int64_t>(begin + cuts[k].warmFrom, 0);
            fade = cuts[k].voiced ? CrossFade::Linear : CrossFade::EqualPower;
        }
    }
    if (resample) {
        pcm = ToPlayerPcm(whole, format.voiceRate, format.outRate);
        // As long as the times say, whatever the resampler's rounding of the length.
        const std::int64_t frames =
            ((end - begin) * period * format.outRate + format.voiceRate / 2) / format.voiceRate;
        pcm.resize(static_cast<std::size_t>(frames), 0);
        sink.Sound(pcm);
    }
    return {};
}

} // namespace yomi6::synthesis
