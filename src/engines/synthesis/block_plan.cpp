#include "synthesis/block_plan.h"

#include <algorithm>
#include <optional>

namespace yomi6::synthesis {

namespace {

// The cut at frame c, if one can be made there.
std::optional<BlockCut> CutAt(const std::vector<bool>& voiced, std::int64_t c, bool voicedToo) {
    const auto first = voiced.begin() + c;
    const auto last = first + kCrossFadeFrames;
    if (std::none_of(first, last, [](bool v) { return v; })) {
        return BlockCut{c, c - kWarmUpFrames, false};
    }
    if (voicedToo && std::all_of(first, last, [](bool v) { return v; })) {
        const auto onset = std::find(std::make_reverse_iterator(first), voiced.rend(), false);
        return BlockCut{c, (voiced.rend() - onset) - kWarmUpFrames, true};
    }
    return std::nullopt;
}

std::optional<BlockCut> NextCut(const std::vector<bool>& voiced, std::int64_t from,
                                bool voicedToo) {
    const auto total = static_cast<std::int64_t>(voiced.size());
    for (std::int64_t c = std::max<std::int64_t>(from, 1); c + kCrossFadeFrames <= total; ++c) {
        if (const std::optional<BlockCut> cut = CutAt(voiced, c, voicedToo)) {
            return cut;
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<BlockCut> PlanBlocks(const std::vector<bool>& voiced, std::int64_t speechStart,
                                 std::int64_t firstFrames, std::int64_t blockFrames) {
    std::vector<BlockCut> cuts;
    if (blockFrames <= 0) {
        return cuts;
    }
    std::optional<BlockCut> cut = NextCut(voiced, speechStart + firstFrames, true);
    while (cut) {
        cuts.push_back(*cut);
        cut = NextCut(voiced, cut->frame + std::max(blockFrames, kCrossFadeFrames), false);
    }
    return cuts;
}

} // namespace yomi6::synthesis
