// One worker's synthesizer: full-context labels (the voice's HTS_TTS_JPN format) to 16-bit mono
// sound, with each phoneme's time known before the sound. Nothing is written to disk and no
// process is started. One per worker thread, all of them over one loaded voice.
#pragma once

#include "synthesis/hts_voice.h"
#include "synthesis/phoneme_time.h"
#include "synthesis/synthesis_options.h"
#include "synthesis/synthesis_sink.h"

#include <cstdint>
#include <memory>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

namespace yomi6::synthesis {

class WorkerEngine;

// A whole sentence: its sound, its times at the same rate, and how it ended.
struct Synthesis {
    std::vector<std::int16_t> pcm;
    std::vector<PhonemeTime> phonemes;
    int sampleRate = 0;
    SynthesisEnd end;
};

class Synthesizer {
public:
    explicit Synthesizer(std::shared_ptr<const HtsVoice> voice);
    ~Synthesizer();
    Synthesizer(const Synthesizer&) = delete;
    Synthesizer& operator=(const Synthesizer&) = delete;
    Synthesizer(Synthesizer&&) = delete;
    Synthesizer& operator=(Synthesizer&&) = delete;

    // Says the sentence of labels (one full-context label each, times before it allowed and
    // ignored), handing its times and then its sound to sink as they are made. A request on
    // stop ends it at once, between blocks or within the frame being made. Labels that are not
    // full-context labels are an error, and nothing reaches the sink.
    SynthesisEnd Synthesize(std::span<const std::string> labels, const SynthesisOptions& options,
                            const std::stop_token& stop, SynthesisSink& sink);

    // The same, gathered.
    Synthesis Synthesize(std::span<const std::string> labels, const SynthesisOptions& options,
                         const std::stop_token& stop = {});

    const HtsVoice& Voice() const { return *voice_; }

private:
    std::shared_ptr<const HtsVoice> voice_;
    std::unique_ptr<WorkerEngine> engine_;
};

} // namespace yomi6::synthesis
