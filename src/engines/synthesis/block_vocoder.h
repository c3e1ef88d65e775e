// The waveform of a stretch of a sentence's generated parameters, which the stop token ends at
// once: made by our own vocoder for a mel-cepstral voice (mcep_vocoder.h), by the engine's own
// waveform generator for any other.
#pragma once

#include "synthesis/hts_model.h"

#include <cstdint>
#include <optional>
#include <stop_token>
#include <vector>

namespace yomi6::synthesis {

// The samples of engine frames [from, to) of source's generated parameters (after
// WorkerEngine::MakeParameters), as the engine makes them (full scale ±32768), the generator
// started afresh at from. nullopt when stop was requested before or while it ran (the
// generator stops within the frame it is making), or when the engine failed.
std::optional<std::vector<double>> VocodeFrames(const HTS_Engine& source, std::int64_t from,
                                                std::int64_t to, const std::stop_token& stop);

// The same samples as the engine's own generator makes them: for voices our vocoder does not
// take, and as the reference it is measured against.
std::optional<std::vector<double>> EngineVocodeFrames(const HTS_Engine& source, std::int64_t from,
                                                      std::int64_t to, const std::stop_token& stop);

// Whether each engine frame in [from, to) of source's generated parameters is voiced.
std::vector<bool> VoicedFrames(const HTS_Engine& source, std::int64_t from, std::int64_t to);

} // namespace yomi6::synthesis
