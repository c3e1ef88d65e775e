#include "synthesis/block_vocoder.h"

#include "synthesis/mcep_vocoder.h"

#include <algorithm>
#include <atomic>

namespace yomi6::synthesis {

namespace {

// The streams of frames [from, end) of all, sharing its rows. A stream with voiced and unvoiced
// frames (log-F0) holds rows for its voiced frames only, so its rows start after the voiced
// frames before from.
std::vector<HTS_PStream> StreamsOf(const HTS_PStreamSet& all, std::size_t from, std::size_t end) {
    std::vector<HTS_PStream> streams(all.nstream);
    for (std::size_t i = 0; i < all.nstream; ++i) {
        const HTS_PStream& whole = all.pstream[i];
        HTS_PStream& part = streams[i];
        part.vector_length = whole.vector_length;
        if (whole.msd_flag != nullptr) {
            const auto before = static_cast<std::size_t>(
                std::count(whole.msd_flag, whole.msd_flag + from, static_cast<HTS_Boolean>(TRUE)));
            part.msd_flag = whole.msd_flag + from;
            part.length = static_cast<std::size_t>(std::count(
                whole.msd_flag + from, whole.msd_flag + end, static_cast<HTS_Boolean>(TRUE)));
            part.par = whole.par == nullptr ? nullptr : whole.par + before;
        } else {
            part.length = end - from;
            part.par = whole.par + from;
        }
    }
    return streams;
}

// Frames [from, to) of source's parameters, within them.
struct FrameRange {
    std::size_t first = 0;
    std::size_t last = 0;
};

FrameRange Clamped(const HTS_Engine& source, std::int64_t from, std::int64_t to) {
    const auto total = static_cast<std::int64_t>(source.pss.total_frame);
    const auto first = std::clamp<std::int64_t>(from, 0, total);
    return {static_cast<std::size_t>(first),
            static_cast<std::size_t>(std::clamp<std::int64_t>(to, first, total))};
}

// The engine's own waveform generator on frames [first, last).
std::optional<std::vector<double>> EngineFrames(const HTS_Engine& source, std::size_t first,
                                                std::size_t last, const std::stop_token& stop) {
    if (last == first) {
        return std::vector<double>();
    }
    std::vector<HTS_PStream> streams = StreamsOf(source.pss, first, last);
    // An engine of its own for the stretch: its parameters are the view above, and its stop
    // flag is the one the generator reads at every frame.
    HTS_Engine part{};
    HTS_Engine_initialize(&part);
    const HTS_Condition& c = source.condition;
    part.condition.sampling_frequency = c.sampling_frequency;
    part.condition.fperiod = c.fperiod;
    part.condition.volume = c.volume;
    part.condition.stage = c.stage;
    part.condition.use_log_gain = c.use_log_gain;
    part.condition.alpha = c.alpha;
    part.condition.beta = c.beta;
    part.pss.pstream = streams.data();
    part.pss.nstream = streams.size();
    part.pss.total_frame = last - first;
    bool made = false;
    {
        // Runs on the thread that asks to stop, while the generator runs here; the engine
        // only reads the flag. The callback is gone before the flag is touched again below.
        const std::stop_callback wake(stop, [&part] {
            std::atomic_ref<HTS_Boolean>(part.condition.stop)
                .store(TRUE, std::memory_order_relaxed);
        });
        made = HTS_Engine_generate_sample_sequence(&part) == TRUE;
    }
    std::optional<std::vector<double>> samples;
    if (made && !stop.stop_requested()) {
        samples.emplace(HTS_Engine_get_nsamples(&part));
        for (std::size_t i = 0; i < samples->size(); ++i) {
            (*samples)[i] = HTS_Engine_get_generated_speech(&part, i);
        }
    }
    // The view's rows belong to source: only the generated sound is the part engine's to free.
    part.pss = HTS_PStreamSet{};
    HTS_Engine_refresh(&part);
    return samples;
}

// Whether our own vocoder makes the sound of source's streams: a mel-cepstrum (gamma 0), log-F0
// and, if any, an odd-length low-pass filter of the excitation.
bool OurVocoderTakes(const HTS_Engine& source) {
    const HTS_PStreamSet& pss = source.pss;
    return source.condition.stage == 0 && (pss.nstream == 2 || pss.nstream == 3) &&
           pss.pstream[0].vector_length >= 3 && pss.pstream[0].msd_flag == nullptr &&
           pss.pstream[kLogF0Stream].vector_length == 1 &&
           pss.pstream[kLogF0Stream].msd_flag != nullptr &&
           (pss.nstream == 2 ||
            (pss.pstream[2].vector_length % 2 == 1 && pss.pstream[2].msd_flag == nullptr));
}

std::optional<std::vector<double>> OurVocodeFrames(const HTS_Engine& source, std::size_t first,
                                                   std::size_t last, const std::stop_token& stop) {
    const HTS_PStreamSet& pss = source.pss;
    const HTS_Condition& c = source.condition;
    McepSetup setup;
    setup.order = static_cast<int>(pss.pstream[0].vector_length) - 1;
    setup.alpha = c.alpha;
    setup.beta = c.beta;
    setup.volume = c.volume;
    setup.rate = static_cast<double>(c.sampling_frequency);
    setup.framePeriod = static_cast<int>(c.fperiod);
    setup.lowPassTaps = pss.nstream == 3 ? static_cast<int>(pss.pstream[2].vector_length) : 0;
    McepVocoder vocoder(setup);
    const HTS_PStream& logF0 = pss.pstream[kLogF0Stream];
    // The voiced frames' rows of log-F0 are consecutive: the row of frame first comes after
    // those of the voiced frames before it.
    auto voicedRow = static_cast<std::size_t>(
        std::count(logF0.msd_flag, logF0.msd_flag + first, static_cast<HTS_Boolean>(TRUE)));
    std::vector<double> samples;
    samples.reserve((last - first) * c.fperiod);
    for (std::size_t f = first; f < last; ++f) {
        if (stop.stop_requested()) {
            return std::nullopt;
        }
        double lf0 = kUnvoicedLogF0;
        if (logF0.msd_flag[f] == TRUE) {
            lf0 = logF0.par[voicedRow++][0];
        }
        const std::span<const double> lowPass =
            setup.lowPassTaps > 0
                ? std::span<const double>(pss.pstream[2].par[f], pss.pstream[2].vector_length)
                : std::span<const double>();
        vocoder.Frame(lf0, {pss.pstream[0].par[f], pss.pstream[0].vector_length}, lowPass, samples);
    }
    return samples;
}

} // namespace

std::optional<std::vector<double>> VocodeFrames(const HTS_Engine& source, std::int64_t from,
                                                std::int64_t to, const std::stop_token& stop) {
    const FrameRange frames = Clamped(source, from, to);
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    return OurVocoderTakes(source) ? OurVocodeFrames(source, frames.first, frames.last, stop)
                                   : EngineFrames(source, frames.first, frames.last, stop);
}

std::optional<std::vector<double>> EngineVocodeFrames(const HTS_Engine& source, std::int64_t from,
                                                      std::int64_t to,
                                                      const std::stop_token& stop) {
    const FrameRange frames = Clamped(source, from, to);
    if (stop.stop_requested()) {
        return std::nullopt;
    }
    return EngineFrames(source, frames.first, frames.last, stop);
}

std::vector<bool> VoicedFrames(const HTS_Engine& source, std::int64_t from, std::int64_t to) {
    std::vector<bool> voiced(static_cast<std::size_t>(std::max<std::int64_t>(to - from, 0)), true);
    const HTS_PStreamSet& pss = source.pss;
    if (pss.nstream > kLogF0Stream && pss.pstream[kLogF0Stream].msd_flag != nullptr) {
        const HTS_Boolean* flags = pss.pstream[kLogF0Stream].msd_flag + from;
        std::transform(flags, flags + voiced.size(), voiced.begin(),
                       [](HTS_Boolean f) { return f == TRUE; });
    }
    return voiced;
}

} // namespace yomi6::synthesis
