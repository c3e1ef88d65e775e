#include "synthesis/synthesizer.h"

#include "synthesis/block_plan.h"
#include "synthesis/block_sound.h"
#include "synthesis/block_vocoder.h"
#include "synthesis/sentence_layout.h"
#include "synthesis/worker_engine.h"

#include <algorithm>
#include <cmath>

namespace yomi6::synthesis {

namespace {

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
                             options.outputRate > 0 ? options.outputRate : voice_->SampleRate(),
                             options.level};
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
    const HTS_Engine& hts = engine.Engine();
    const std::vector<BlockCut> cuts =
        PlanBlocks(VoicedFrames(hts, layout.soundBegin, layout.soundEnd),
                   layout.speechBegin - layout.soundBegin,
                   std::max<std::int64_t>(frames(options.firstBlock), 0),
                   std::max<std::int64_t>(frames(options.block), 0));
    return MakeBlocks(hts, layout.soundBegin, layout.soundEnd, cuts, format, stop, sink);
}

Synthesis Synthesizer::Synthesize(std::span<const std::string> labels,
                                  const SynthesisOptions& options, const std::stop_token& stop) {
    Synthesis result;
    Gatherer gatherer(result);
    result.end = Synthesize(labels, options, stop, gatherer);
    return result;
}

} // namespace yomi6::synthesis
