// Joins blocks of sound made apart into one: each block is made a little past its end, and
// that part fades out under the start of the next block.
#pragma once

#include <cstddef>
#include <vector>

namespace yomi6::synthesis {

enum class CrossFade {
    EqualPower, // two noises drawn apart: their power stays even
    Linear,     // the same pulses under two noises: their sum stays even
};

class BlockJoiner {
public:
    // block holds a block's sound followed by overlap samples made past its end. Returns the
    // block's sound with the overlap of the block before faded into its start.
    std::vector<double> Join(std::vector<double> block, std::size_t overlap, CrossFade fade);

private:
    std::vector<double> tail_; // the last block's overlap
};

} // namespace yomi6::synthesis
