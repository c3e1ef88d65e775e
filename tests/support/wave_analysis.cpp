// Sound range and autocorrelation pitch estimate for 8-bit voice samples.
#include "support/wave_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace yomi6::test {
namespace {

constexpr double kMinPitch = 60.0;
constexpr double kMaxPitch = 500.0;
constexpr double kFrameSeconds = 0.04;
constexpr double kHopSeconds = 0.01;
// A frame counts as voiced when its best normalized correlation reaches this.
constexpr double kVoicedCorrelation = 0.6;
// Frames quieter than this fraction of the loudest frame's energy are not judged.
constexpr double kMinRelativeEnergy = 0.05;
// Among lags that correlate nearly as well as the best one, the shortest wins, so that a
// multiple of the period is not taken for the period itself.
constexpr double kNearBest = 0.9;

double Energy(const std::vector<double>& x, std::size_t at, std::size_t n) {
    double e = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        e += x[i] * x[i];
    }
    return e;
}

// Normalized correlation of x[at, at+n) with itself lag samples later.
double Correlation(const std::vector<double>& x, std::size_t at, std::size_t n, std::size_t lag) {
    double xy = 0;
    double xx = 0;
    double yy = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        xy += x[i] * x[i + lag];
        xx += x[i] * x[i];
        yy += x[i + lag] * x[i + lag];
    }
    return xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : 0.0;
}

std::optional<double> FramePitch(const std::vector<double>& x, std::size_t at, std::size_t n,
                                 int rate) {
    const auto minLag = static_cast<std::size_t>(rate / kMaxPitch);
    const auto maxLag = static_cast<std::size_t>(rate / kMinPitch);
    std::vector<double> r(maxLag + 1, 0.0);
    double best = 0;
    for (std::size_t lag = minLag; lag <= maxLag; ++lag) {
        r[lag] = Correlation(x, at, n, lag);
        best = std::max(best, r[lag]);
    }
    if (best < kVoicedCorrelation) {
        return std::nullopt;
    }
    // The first local maximum that comes near the best one.
    for (std::size_t lag = minLag + 1; lag < maxLag; ++lag) {
        if (r[lag] >= kNearBest * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
            return rate / static_cast<double>(lag);
        }
    }
    return std::nullopt;
}

// The pitch of each frame of x, 0 where it is quiet or not clearly voiced.
std::vector<double> FramePitches(const std::vector<double>& x, int sampleRate) {
    const auto frame = static_cast<std::size_t>(kFrameSeconds * sampleRate);
    const auto hop = static_cast<std::size_t>(kHopSeconds * sampleRate);
    const auto maxLag = static_cast<std::size_t>(sampleRate / kMinPitch);
    std::vector<double> pitches;
    if (x.size() < frame + maxLag) {
        return pitches;
    }
    std::vector<std::size_t> starts;
    double loudest = 0;
    for (std::size_t at = 0; at + frame + maxLag <= x.size(); at += hop) {
        starts.push_back(at);
        loudest = std::max(loudest, Energy(x, at, frame));
    }
    for (const std::size_t at : starts) {
        const bool loud = Energy(x, at, frame) >= kMinRelativeEnergy * loudest;
        pitches.push_back(loud ? FramePitch(x, at, frame, sampleRate).value_or(0.0) : 0.0);
    }
    return pitches;
}

} // namespace

std::optional<SoundRange> SoundingRange(std::span<const unsigned char> samples, int threshold) {
    const auto loud = [threshold](unsigned char s) { return std::abs(s - 128) > threshold; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    if (first == samples.end()) {
        return std::nullopt;
    }
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud);
    return SoundRange{static_cast<std::size_t>(first - samples.begin()),
                      static_cast<std::size_t>(samples.rend() - last)};
}

std::optional<double> EstimatePitch(std::span<const unsigned char> samples, int sampleRate) {
    std::vector<double> x(samples.size());
    std::transform(samples.begin(), samples.end(), x.begin(),
                   [](unsigned char s) { return static_cast<double>(s) - 128.0; });
    std::vector<double> pitches = FramePitches(x, sampleRate);
    std::erase(pitches, 0.0);
    if (pitches.empty()) {
        return std::nullopt;
    }
    return Median(pitches);
}

std::vector<double> PitchTrack(std::span<const std::int16_t> samples, int sampleRate) {
    return FramePitches(std::vector<double>(samples.begin(), samples.end()), sampleRate);
}

double Median(std::span<const double> values) {
    std::vector<double> v(values.begin(), values.end());
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    if (v.size() % 2 == 1) {
        return v[mid];
    }
    const double upper = v[mid];
    const double lower = *std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid));
    return (lower + upper) / 2;
}

} // namespace yomi6::test
