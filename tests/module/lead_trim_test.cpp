// The quiet before a message's first sound, left out so that it is heard at once.
#include "module/speaking_loop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace yomi6::module {
namespace {

constexpr int kRate = 48000;
constexpr std::size_t kMs = kRate / 1000;

// ms of quiet (a faint hiss below speech) and then ms of sound.
std::vector<std::int16_t> QuietThenSound(std::size_t quietMs, std::size_t soundMs) {
    std::vector<std::int16_t> block(quietMs * kMs, 30);
    block.insert(block.end(), soundMs * kMs, -2000);
    return block;
}

TEST(LeadTrim, LeavesOutTheQuietBeforeTheFirstSoundButAFewMilliseconds) {
    // A voice whose first 140 ms are the closure of a stop: heard 135 ms sooner.
    LeadTrim trim(kRate);
    EXPECT_EQ(trim.Skip(QuietThenSound(140, 10)), 135 * kMs);
    // Once the sound has begun, nothing more is left out: pauses inside the message stay.
    EXPECT_EQ(trim.Skip(QuietThenSound(200, 10)), 0u);

    // A sound from its first sample loses nothing.
    LeadTrim loud(kRate);
    EXPECT_EQ(loud.Skip(QuietThenSound(0, 10)), 0u);
}

TEST(LeadTrim, QuietBlocksAreLeftOutWholeUpToALimit) {
    LeadTrim trim(kRate);
    EXPECT_EQ(trim.Skip(QuietThenSound(100, 0)), 100 * kMs);
    EXPECT_EQ(trim.Skip(QuietThenSound(100, 0)), 100 * kMs);
    EXPECT_EQ(trim.Skip(QuietThenSound(50, 10)), 45 * kMs);

    // A message that begins with a long silence keeps all of it past 300 ms.
    LeadTrim long_(kRate);
    EXPECT_EQ(long_.Skip(QuietThenSound(250, 0)), 250 * kMs);
    EXPECT_EQ(long_.Skip(QuietThenSound(250, 10)), 50 * kMs);
    EXPECT_EQ(long_.Skip(QuietThenSound(100, 0)), 0u);
}

} // namespace
} // namespace yomi6::module
