// Where a sentence's sound is cut into blocks, so that its first block comes early. Each block
// is made by the waveform generator started afresh a few frames before it (the warm-up, which
// fills the generator's filters), and meets the block before it in a short cross-fade. What
// differs between two starts of the generator is which noise it draws, and where its pulse
// train stands: that train starts afresh at every voiced frame after an unvoiced one, so a
// block cut within voiced frames is started before their voicing.
#pragma once

#include <cstdint>
#include <vector>

namespace yomi6::synthesis {

// Frames made before a block and thrown away.
inline constexpr std::int64_t kWarmUpFrames = 4;
// Frames from a cut on in which the block before fades out and the next fades in: the block
// before is made this far past its end.
inline constexpr std::int64_t kCrossFadeFrames = 2;

struct BlockCut {
    std::int64_t frame = 0;    // where a block ends and the next begins
    std::int64_t warmFrom = 0; // where the next block's generator starts (may be before frame 0)
    // Cut within voiced frames: the generator starts kWarmUpFrames before their voicing, so
    // that its pulses are the block before's, and the two are faded linearly. Within unvoiced
    // frames it starts kWarmUpFrames before the cut, and the two noises fade at equal power.
    bool voiced = false;

    friend bool operator==(const BlockCut&, const BlockCut&) = default;
};

// The cuts of a sentence whose engine frame f is voiced when voiced[f]. A cut c needs frames
// c to c + kCrossFadeFrames - 1 all voiced or all unvoiced. The first cut is the first possible
// one at or after speechStart + firstFrames; each later one the first in unvoiced frames at
// least blockFrames after the one before (which a block would otherwise make twice). blockFrames
// 0: no cut, the whole sentence at once.
std::vector<BlockCut> PlanBlocks(const std::vector<bool>& voiced, std::int64_t speechStart,
                                 std::int64_t firstFrames, std::int64_t blockFrames);

} // namespace yomi6::synthesis
