#include "synthesis/worker_engine.h"

#include "synthesis/hts_voice.h"
#include "synthesis/loudness.h"

#include <algorithm>
#include <cmath>

namespace yomi6::synthesis {

WorkerEngine::WorkerEngine(const HtsModel& model) {
    HTS_Engine_initialize(&engine_);
    const HTS_Engine& loaded = model.loader;
    // The model set is shared: this engine holds a copy of its pointers and never frees them.
    engine_.ms = loaded.ms;
    voices_ = loaded.ms.num_voices;
    streams_ = loaded.ms.num_streams;
    const HTS_Condition& defaults = loaded.condition;
    HTS_Condition& c = engine_.condition;
    c.sampling_frequency = defaults.sampling_frequency;
    c.fperiod = defaults.fperiod;
    c.volume = defaults.volume;
    voiceVolume_ = defaults.volume;
    c.stage = defaults.stage;
    c.use_log_gain = defaults.use_log_gain;
    c.alpha = defaults.alpha;
    c.beta = defaults.beta;
    voiceAlpha_ = defaults.alpha;
    msdThreshold_.assign(defaults.msd_threshold, defaults.msd_threshold + streams_);
    gvWeight_.assign(defaults.gv_weight, defaults.gv_weight + streams_);
    durationWeights_.assign(voices_, 0.0);
    parameterWeights_.assign(voices_ * streams_, 0.0);
    gvWeights_.assign(voices_ * streams_, 0.0);
    for (std::size_t v = 0; v < voices_; ++v) {
        parameterRows_.push_back(parameterWeights_.data() + v * streams_);
        gvRows_.push_back(gvWeights_.data() + v * streams_);
    }
    c.msd_threshold = msdThreshold_.data();
    c.gv_weight = gvWeight_.data();
    c.duration_iw = durationWeights_.data();
    c.parameter_iw = parameterRows_.data();
    c.gv_iw = gvRows_.data();
}

WorkerEngine::~WorkerEngine() {
    // Frees what the last sentence made. HTS_Engine_clear would free the shared model set and
    // the condition's arrays, which are not this engine's.
    HTS_Engine_refresh(&engine_);
}

void WorkerEngine::Configure(const SynthesisOptions& options) {
    const auto finite = [](double value, double fallback) {
        return std::isfinite(value) ? value : fallback;
    };
    const bool lowered = options.variant == natural::Variant::Lowered;
    HTS_Engine_set_speed(
        &engine_, std::clamp(finite(options.rate, 1.0), natural::kMinRate, natural::kMaxRate));
    const double halfTones =
        std::clamp(finite(options.halfTones, 0.0), -kMaxHalfTones, kMaxHalfTones);
    HTS_Engine_add_half_tone(&engine_, halfTones + (lowered ? natural::kLoweredHalfTones : 0.0));
    HTS_Engine_set_alpha(&engine_, lowered ? natural::kLoweredAllPass : voiceAlpha_);

    std::vector<double> weights(voices_, 0.0);
    const double w = std::clamp(finite(options.style.weight, 1.0), 0.0, 1.0);
    const std::size_t style = StyleIndex(options.style.style);
    const std::size_t neutral = StyleIndex(natural::Style::Neutral);
    if (style < voices_ && neutral < voices_) {
        weights[neutral] = 1.0 - w;
        weights[style] += w; // the whole weight on neutral when the style is neutral
    } else {
        weights[0] = 1.0;
    }
    // The blend levelled to the samples' loudness (MakeBlocks limits the peaks).
    engine_.condition.volume = voiceVolume_ * (options.level ? BlendGain(weights) : 1.0);
    for (std::size_t v = 0; v < voices_; ++v) {
        durationWeights_[v] = weights[v];
        std::fill_n(parameterRows_[v], streams_, weights[v]);
        std::fill_n(gvRows_[v], streams_, weights[v]);
    }
}

bool WorkerEngine::MakeStates(std::span<const std::string> labels) {
    // The engine copies the strings it is given; it takes them as char*.
    std::vector<std::string> copies(labels.begin(), labels.end());
    std::vector<char*> lines;
    lines.reserve(copies.size());
    for (std::string& line : copies) {
        lines.push_back(line.data());
    }
    return HTS_Engine_generate_state_sequence_from_strings(&engine_, lines.data(), lines.size()) ==
           TRUE;
}

std::vector<std::int64_t> WorkerEngine::LabelFrames() {
    const std::size_t perLabel = HTS_Engine_get_nstate(&engine_);
    const std::size_t states = HTS_Engine_get_total_state(&engine_);
    std::vector<std::int64_t> frames(perLabel == 0 ? 0 : states / perLabel, 0);
    for (std::size_t s = 0; s < frames.size() * perLabel; ++s) {
        frames[s / perLabel] +=
            static_cast<std::int64_t>(HTS_Engine_get_state_duration(&engine_, s));
    }
    return frames;
}

bool WorkerEngine::MakeParameters() {
    return HTS_Engine_generate_parameter_sequence(&engine_) == TRUE;
}

void WorkerEngine::ScaleIntonation(double factor) {
    const HTS_PStreamSet& pss = engine_.pss;
    if (factor == 1.0 || pss.nstream <= kLogF0Stream) {
        return;
    }
    // The voiced frames' values, in order, are the stream's rows (an unvoiced frame has none).
    const HTS_PStream& logF0 = pss.pstream[kLogF0Stream];
    if (logF0.msd_flag == nullptr || logF0.length == 0 || logF0.par == nullptr) {
        return;
    }
    double sum = 0;
    for (std::size_t i = 0; i < logF0.length; ++i) {
        sum += logF0.par[i][0];
    }
    const double mean = sum / static_cast<double>(logF0.length);
    for (std::size_t i = 0; i < logF0.length; ++i) {
        logF0.par[i][0] = mean + factor * (logF0.par[i][0] - mean);
    }
}

} // namespace yomi6::synthesis
