#include "voice/sample_edit.h"

#include "voice/sample_store.h"
#include "wave/sample_pcm.h"
#include "wave/wave_decoder.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace yomi6 {

namespace {

constexpr double kWindowSeconds = 0.010;
constexpr double kMarginSeconds = 0.015;
constexpr double kFadeSeconds = 0.005;
constexpr double kFloorFactor = 4.0;   // the voice stands 12 dB above the noise floor
constexpr double kPeakFactor = 0.03;   // and within 30 dB of the loudest window
constexpr double kAbsoluteMin = 104.0; // -50 dBFS
constexpr double kMaxPeak = 0.95 * 32767.0;

std::size_t WindowSize(int rate) {
    return std::max<std::size_t>(1, static_cast<std::size_t>(rate * kWindowSeconds));
}

std::vector<double> WindowRms(std::span<const std::int16_t> pcm, std::size_t window) {
    std::vector<double> rms;
    for (std::size_t start = 0; start < pcm.size(); start += window) {
        const std::size_t end = std::min(pcm.size(), start + window);
        double sum = 0;
        for (std::size_t i = start; i < end; ++i) {
            sum += static_cast<double>(pcm[i]) * pcm[i];
        }
        rms.push_back(std::sqrt(sum / static_cast<double>(end - start)));
    }
    return rms;
}

} // namespace

std::vector<std::int16_t> TrimSilence(std::span<const std::int16_t> pcm, int rate) {
    if (pcm.empty() || rate <= 0) {
        return {};
    }
    const std::size_t window = WindowSize(rate);
    const std::vector<double> rms = WindowRms(pcm, window);
    std::vector<double> sorted = rms;
    std::sort(sorted.begin(), sorted.end());
    const double floor = sorted[sorted.size() / 10];
    const double peak = sorted.back();
    const double threshold = std::max({floor * kFloorFactor, peak * kPeakFactor, kAbsoluteMin});
    if (peak < threshold) {
        return {};
    }
    std::size_t first = 0;
    while (rms[first] < threshold) {
        ++first;
    }
    std::size_t last = rms.size() - 1;
    while (rms[last] < threshold) {
        --last;
    }
    const auto margin = static_cast<std::size_t>(rate * kMarginSeconds);
    const std::size_t begin = first * window > margin ? first * window - margin : 0;
    const std::size_t end = std::min(pcm.size(), (last + 1) * window + margin);
    std::vector<std::int16_t> out(pcm.begin() + static_cast<std::ptrdiff_t>(begin),
                                  pcm.begin() + static_cast<std::ptrdiff_t>(end));
    const std::size_t fade =
        std::min(out.size() / 2, static_cast<std::size_t>(rate * kFadeSeconds));
    for (std::size_t i = 0; i < fade; ++i) {
        const double g = static_cast<double>(i) / static_cast<double>(fade);
        out[i] = static_cast<std::int16_t>(std::lround(out[i] * g));
        out[out.size() - 1 - i] =
            static_cast<std::int16_t>(std::lround(out[out.size() - 1 - i] * g));
    }
    return out;
}

double VoicedRms(std::span<const std::int16_t> pcm, int rate) {
    if (pcm.empty() || rate <= 0) {
        return 0;
    }
    const std::vector<double> rms = WindowRms(pcm, WindowSize(rate));
    const double peak = *std::max_element(rms.begin(), rms.end());
    if (peak <= 0) {
        return 0;
    }
    double sum = 0;
    std::size_t count = 0;
    for (const double r : rms) {
        if (r >= peak * kPeakFactor) {
            sum += r * r;
            ++count;
        }
    }
    return std::sqrt(sum / static_cast<double>(count));
}

double LevelTo(std::vector<std::int16_t>& pcm, int rate, double target) {
    const double current = VoicedRms(pcm, rate);
    if (current <= 0 || target <= 0) {
        return 1;
    }
    int peak = 0;
    for (const std::int16_t s : pcm) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    const double gain = std::min(target / current, kMaxPeak / static_cast<double>(peak));
    for (std::int16_t& s : pcm) {
        s = static_cast<std::int16_t>(std::lround(std::clamp(s * gain, -32768.0, 32767.0)));
    }
    return gain;
}

double BuiltInVoiceLevel() {
    static const double level = [] {
        std::vector<double> levels;
        for (const std::string_view name : SampleNames()) {
            if (name.substr(name.find('_') + 1) == "S") {
                continue;
            }
            const SampleImage image = FindSample(name);
            const auto wave = ParseWave(image.data, image.size);
            if (!wave) {
                continue;
            }
            const double rms = VoicedRms(DecodeSamplePcm(*wave), kOutputSampleRate);
            if (rms > 0) {
                levels.push_back(rms);
            }
        }
        if (levels.empty()) {
            return 0.0;
        }
        std::nth_element(levels.begin(),
                         levels.begin() + static_cast<std::ptrdiff_t>(levels.size() / 2),
                         levels.end());
        return levels[levels.size() / 2];
    }();
    return level;
}

} // namespace yomi6
