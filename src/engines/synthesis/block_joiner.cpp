#include "synthesis/block_joiner.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace yomi6::synthesis {

std::vector<double> BlockJoiner::Join(std::vector<double> block, std::size_t overlap,
                                      CrossFade fade) {
    overlap = std::min(overlap, block.size());
    std::vector<double> tail(block.end() - static_cast<std::ptrdiff_t>(overlap), block.end());
    block.resize(block.size() - overlap);
    const std::size_t n = std::min(tail_.size(), block.size());
    for (std::size_t i = 0; i < n; ++i) {
        const double t = (static_cast<double>(i) + 0.5) / static_cast<double>(n);
        const double in = fade == CrossFade::Linear ? t : std::sin(std::numbers::pi / 2 * t);
        const double out = fade == CrossFade::Linear ? 1 - t : std::cos(std::numbers::pi / 2 * t);
        block[i] = tail_[i] * out + block[i] * in;
    }
    tail_ = std::move(tail);
    return block;
}

} // namespace yomi6::synthesis
