#include "synthesis/synthesizer.h"

#include "synthesis/block_vocoder.h"
#include "synthesis/sentence_layout.h"
#include "synthesis/worker_engine.h"
#include "wave/pcm_convert.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace yomi6::synthesis {

namespace {

// Frames the waveform generator makes before the first frame kept, when the silence before the
// speech is cut, and throws away: they fill its filters as they would have been.
constexpr std::int64_t kWarmUpFrames = 4;

std::int16_t ToSample(double x) {
    return static_cast<std::int16_t>(std::clamp(std::round(x), -32768.0, 32767.0));
}

struct SoundFormat {
    int voiceRate = 0;   // the engine's output frames per second
    int framePeriod = 0; // its output frames per engine frame
    int outRate = 0;     // the rate handed on
};

// The sound of engine frames [begin, end) of hts's generated parameters, handed to sink.
SynthesisEnd MakeSound(const HTS_Engine& hts, std::int64_t begin, std::int64_t end,
                       const SoundFormat& format, const std::stop_token& stop,
                       SynthesisSink& sink) {
    const std::int64_t warmFrom = std::max<std::int64_t>(begin - kWarmUpFrames, 0);
    std::optional<std::vector<double>> samples = VocodeFrames(hts, warmFrom, end, stop);
    if (!samples) {
        return stop.stop_requested()
                   ? SynthesisEnd{true, ""}
                   : SynthesisEnd{false, "the engine could not make the sentence's sound"};
    }
    const auto warmUp = std::min(static_cast<std::size_t>((begin - warmFrom) * format.framePeriod),
                                 samples->size());
    samples->erase(samples->begin(), samples->begin() + static_cast<std::ptrdiff_t>(warmUp));
    std::vector<std::int16_t> pcm;
    if (format.outRate == format.voiceRate) {
        pcm.resize(samples->size());
        std::transform(samples->begin(), samples->end(), pcm.begin(), ToSample);
    } else {
        std::vector<float> whole;
        std::transform(samples->begin(), samples->end(), std::back_inserter(whole),
                       [](double x) { return static_cast<float>(x / 32767.0); });
        pcm = ToPlayerPcm(whole, format.voiceRate, format.outRate);
        // As long as the times say, whatever the resampler's rounding of the length.
        const std::int64_t frames =
            ((end - begin) * format.framePeriod * format.outRate + format.voiceRate / 2) /
            format.voiceRate;
        pcm.resize(static_cast<std::size_t>(frames), 0);
    }
    sink.Sound(pcm);
    return {};
}

// What the whole-sentence call gathers.
class Gatherer : public SynthesisSink {
public:
    explicit Gatherer(Synthesis& into) : into_(into) {}
    void Timed(std::span<const PhonemeTime> phonemes, int sampleRate) override {
        into_.phonemes.assign(phonemes.begin(), phonemes.end());
        into_.sampleRate = sampleRate;
    }
    void Sound(std::span<const std::int16_t> block) override {
        into_.pcm.insert(into_.pcm.end(), block.begin(), block.end());
    }

private:
    Synthesis& into_;
};

} // namespace

Synthesizer::Synthesizer(std::shared_ptr<const HtsVoice> voice)
    : voice_(std::move(voice)), engine_(std::make_unique<WorkerEngine>(voice_->Model())) {}

Synthesizer::~Synthesizer() = default;

SynthesisEnd Synthesizer::Synthesize(std::span<const std::string> labels,
                                     const SynthesisOptions& options, const std::stop_token& stop,
                                     SynthesisSink& sink) {
    std::vector<std::string> bare;
    bare.reserve(labels.size());
    for (const std::string& label : labels) {
        bare.push_back(BareLabel(label));
        if (bare.back().empty()) {
            return {false, "label " + std::to_string(bare.size()) + " is not a full-context label"};
        }
    }
    if (bare.empty()) {
        return {false, "there are no labels to say"};
    }
    if (stop.stop_requested()) {
        return {true, ""};
    }
    WorkerEngine& engine = *engine_;
    engine.Configure(options);
    if (!engine.MakeStates(bare)) {
        return {false, "the engine could not make the sentence's durations"};
    }
    const SoundFormat format{voice_->SampleRate(), voice_->FramePeriod(),
                             options.outputRate > 0 ? options.outputRate : voice_->SampleRate()};
    const auto frames = [&](std::chrono::milliseconds span) {
        return span.count() < 0 ? -1 : span.count() * format.voiceRate / 1000 / format.framePeriod;
    };
    const SentenceLayout layout =
        LayOut(bare, engine.LabelFrames(), frames(options.maxLeadingSilence),
               frames(options.maxTrailingSilence));
    sink.Timed(PhonemeTimes(layout, bare, format.framePeriod, format.voiceRate, format.outRate),
               format.outRate);
    if (stop.stop_requested()) {
        return {true, ""};
    }
    if (!engine.MakeParameters()) {
        return {false, "the engine could not make the sentence's parameters"};
    }
    engine.ScaleIntonation(std::clamp(std::isfinite(options.intonation) ? options.intonation : 1.0,
                                      0.0, kMaxIntonation));
    return MakeSound(engine.Engine(), layout.soundBegin, layout.soundEnd, format, stop, sink);
}

Synthesis Synthesizer::Synthesize(std::span<const std::string> labels,
                                  const SynthesisOptions& options, const std::stop_token& stop) {
    Synthesis result;
    Gatherer gatherer(result);
    result.end = Synthesize(labels, options, stop, gatherer);
    return result;
}

} // namespace yomi6::synthesis
