// One engine of a worker thread over the voice's shared model set: the controls of a sentence,
// its state sequence (the durations) and its generated parameters.
#pragma once

#include "synthesis/hts_model.h"
#include "synthesis/synthesis_options.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace yomi6::synthesis {

class WorkerEngine {
public:
    // model must outlive the engine; it is only read.
    explicit WorkerEngine(const HtsModel& model);
    ~WorkerEngine();
    WorkerEngine(const WorkerEngine&) = delete;
    WorkerEngine& operator=(const WorkerEngine&) = delete;
    WorkerEngine(WorkerEngine&&) = delete;
    WorkerEngine& operator=(WorkerEngine&&) = delete;

    // Rate, pitch, all-pass constant, the style blend's interpolation weights and its gain
    // (BlendGain).
    void Configure(const SynthesisOptions& options);

    // The state sequence of the labels (each a full-context label without times): false when
    // the engine could not make it.
    bool MakeStates(std::span<const std::string> labels);
    // The engine frames of each label, from the state durations (after MakeStates).
    std::vector<std::int64_t> LabelFrames();
    // The parameters of every frame (after MakeStates): false when the engine could not.
    bool MakeParameters();
    // The generated log-F0 scaled around its mean over the voiced frames (after MakeParameters).
    void ScaleIntonation(double factor);

    HTS_Engine& Engine() { return engine_; }

private:
    HTS_Engine engine_{};
    double voiceAlpha_ = 0;
    double voiceVolume_ = 1;
    std::size_t voices_ = 0;
    std::size_t streams_ = 0;
    // The condition's arrays, owned here: the engine frees none of them (see the destructor).
    std::vector<double> msdThreshold_;
    std::vector<double> gvWeight_;
    std::vector<double> durationWeights_;
    std::vector<double> parameterWeights_;
    std::vector<double> gvWeights_;
    std::vector<double*> parameterRows_;
    std::vector<double*> gvRows_;
};

} // namespace yomi6::synthesis
