#include "synthesis/loudness.h"

#include <cmath>

namespace yomi6::synthesis {

double BlendGain(std::span<const double> weights) {
    double db = 0;
    for (std::size_t v = 0; v < weights.size() && v < kStyleGainDb.size(); ++v) {
        db += weights[v] * kStyleGainDb[v];
    }
    return std::pow(10.0, db / 20.0);
}

double SoftLimit(double sample) {
    constexpr double kFull = 32767.0;
    constexpr double kKnee = kLimitKnee * kFull;
    constexpr double kRoom = (kLimitCeiling - kLimitKnee) * kFull;
    const double size = std::abs(sample);
    if (!(size > kKnee)) {
        return std::isnan(sample) ? 0.0 : sample;
    }
    // tanh has slope 1 at 0, so the bend joins the straight part without a kink.
    const double bent = kKnee + kRoom * std::tanh((size - kKnee) / kRoom);
    return std::copysign(bent, sample);
}

} // namespace yomi6::synthesis
