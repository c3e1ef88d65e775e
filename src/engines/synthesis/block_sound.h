// A sentence's sound made block by block from its generated parameters, each block handed on
// as soon as it is made.
#pragma once

#include "synthesis/block_plan.h"
#include "synthesis/hts_model.h"
#include "synthesis/synthesis_sink.h"

#include <cstdint>
#include <span>
#include <stop_token>

namespace yomi6::synthesis {

struct SoundFormat {
    int voiceRate = 0;   // the engine's output frames per second
    int framePeriod = 0; // its output frames per engine frame
    int outRate = 0;     // the rate handed on
    bool limit = true;   // the peaks bent below full scale (SoftLimit), else clipped there
};

// Makes engine frames [begin, end) of hts's generated parameters, cut at cuts (frames counted
// from begin), and hands each block to sink as 16-bit samples. At an outRate other than the
// voice's, the whole stretch is resampled and handed on as one block.
SynthesisEnd MakeBlocks(const HTS_Engine& hts, std::int64_t begin, std::int64_t end,
                        std::span<const BlockCut> cuts, const SoundFormat& format,
                        const std::stop_token& stop, SynthesisSink& sink);

} // namespace yomi6::synthesis
