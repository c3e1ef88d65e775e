#include "playback/fitted_samples.h"

#include "playback/playback.h"

#include <rubberband/RubberBandStretcher.h>

#include <algorithm>
#include <cmath>

namespace yomi6 {

std::vector<std::int16_t> FitToLength(std::span<const std::int16_t> pcm, int sampleRate,
                                      std::int64_t targetFrames) {
    const auto length = static_cast<std::int64_t>(pcm.size());
    if (length <= targetFrames || length == 0 || sampleRate <= 0) {
        return {pcm.begin(), pcm.end()};
    }
    const double ratio =
        std::max(static_cast<double>(targetFrames) / static_cast<double>(length), kMinFitRatio);
    const auto outLength =
        std::max<std::int64_t>(1, std::llround(static_cast<double>(length) * ratio));

    using RubberBand::RubberBandStretcher;
    // Offline: the whole sample is studied first, so the result starts where the sample
    // starts (no latency to skip) and has the length asked for. The finer engine keeps the
    // voice's harmonics cleaner than the faster one; crisp transients keep the plosives.
    RubberBandStretcher stretcher(static_cast<std::size_t>(sampleRate), 1,
                                  RubberBandStretcher::OptionProcessOffline |
                                      RubberBandStretcher::OptionEngineFiner |
                                      RubberBandStretcher::OptionTransientsCrisp,
                                  ratio);
    stretcher.setExpectedInputDuration(static_cast<std::size_t>(length));
    std::vector<float> in(pcm.size());
    std::transform(pcm.begin(), pcm.end(), in.begin(),
                   [](std::int16_t v) { return static_cast<float>(v) / 32768.0f; });
    const float* input = in.data();
    stretcher.study(&input, in.size(), true);
    stretcher.process(&input, in.size(), true);

    std::vector<float> out;
    out.reserve(static_cast<std::size_t>(outLength));
    std::vector<float> block;
    for (int available = stretcher.available(); available > 0; available = stretcher.available()) {
        block.resize(static_cast<std::size_t>(available));
        float* output = block.data();
        const std::size_t got = stretcher.retrieve(&output, block.size());
        out.insert(out.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got));
    }
    out.resize(static_cast<std::size_t>(outLength), 0.0f);

    std::vector<std::int16_t> fitted(out.size());
    std::transform(out.begin(), out.end(), fitted.begin(), [](float v) {
        return static_cast<std::int16_t>(std::clamp(std::lround(v * 32768.0f), -32768L, 32767L));
    });
    return fitted;
}

void FittedSamples::Prepare(std::int32_t speed, std::uint64_t voices) {
    m_speed = speed;
    m_voices = voices;
    m_tickFrames = std::int64_t{SpeechTimerInterval(speed)} * m_rate / 1000;
    m_sets[{speed, voices}];
}

const FittedSamples::Set* FittedSamples::Current() const {
    const auto set = m_sets.find({m_speed, m_voices});
    return set == m_sets.end() ? nullptr : &set->second;
}

void FittedSamples::Add(std::string_view name, Pcm pcm) {
    Set& set = m_sets[{m_speed, m_voices}];
    if (set.contains(name) || static_cast<std::int64_t>(pcm.size()) <= m_tickFrames) {
        return;
    }
    set.emplace(name, FitToLength(pcm, m_rate, m_tickFrames));
}

FittedSamples::Pcm FittedSamples::Find(std::string_view name, Pcm pcm) const {
    const Set* set = Current();
    if (set == nullptr) {
        return pcm;
    }
    const auto it = set->find(name);
    return it == set->end() ? pcm : Pcm(it->second);
}

std::size_t FittedSamples::size() const {
    const Set* set = Current();
    return set == nullptr ? 0 : set->size();
}

} // namespace yomi6
