// Reading a long text pass after pass: the passes follow each other without loss or overlap,
// also where the reading buffer fills before the source cut, and repeat starts again where the
// reading started.
#include "playback/long_reading.h"
#include "playback/pass_planner.h"
#include "playback/speech_state.h"

#include "support/test_reading.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace yomi6;

namespace {

struct Pass {
    std::size_t offset = 0; // text position of the pass's first character
    std::size_t read = 0;   // characters its reading covered
    std::size_t bytes = 0;  // its source bytes
};

std::vector<Pass> AllPasses(LongReading& reading, SpeechState& state) {
    test::TestReading run;
    std::vector<Pass> passes;
    while (reading.LoadNextPass(state, run.Setup(), false)) {
        const std::size_t sourceEnd = static_cast<std::size_t>(state.sourceEnd);
        passes.push_back({reading.PassOffset(), reading.Source().TextSpan(0, sourceEnd).end,
                          reading.Source().bytes.size()});
        if (passes.size() > 1000) {
            break; // a reading that never ends
        }
    }
    return passes;
}

} // namespace

TEST(LongReading, PassesFollowEachOtherFromTheStartToTheEnd) {
    std::u16string text;
    for (int i = 0; i < 600; ++i) {
        text += u"かきくけこ、さしすせそ。\n";
    }
    const std::size_t begin = 7; // inside the first line
    auto state = std::make_unique<SpeechState>();
    LongReading reading;
    reading.Begin(text, begin, text.size());
    const std::vector<Pass> passes = AllPasses(reading, *state);
    ASSERT_GE(passes.size(), 4u);
    std::size_t at = begin;
    for (const Pass& pass : passes) {
        EXPECT_EQ(pass.offset, at);
        EXPECT_LE(pass.bytes, kPassSourceBytes);
        // Each pass but the last ends at a sentence end.
        if (&pass != &passes.back()) {
            EXPECT_EQ(text[pass.offset + pass.read - 1], u'\n') << "pass at " << pass.offset;
        }
        at = pass.offset + pass.read;
    }
    EXPECT_EQ(at, text.size());
    EXPECT_EQ(state->speaking, 1);
}

TEST(LongReading, AFullReadingBufferMovesTheNextPassBack) {
    // Digits read one by one take several reading bytes each: the buffer fills long before
    // 4000 source bytes.
    const std::u16string text(6000, u'7');
    auto state = std::make_unique<SpeechState>();
    LongReading reading;
    reading.Begin(text, 0, text.size());
    const std::vector<Pass> passes = AllPasses(reading, *state);
    ASSERT_GE(passes.size(), 3u);
    std::size_t at = 0;
    for (const Pass& pass : passes) {
        EXPECT_EQ(pass.offset, at);
        EXPECT_GT(pass.read, 0u);
        at = pass.offset + pass.read;
    }
    EXPECT_EQ(at, text.size());
    EXPECT_LT(passes.front().read, kPassSourceBytes);
}

TEST(LongReading, RepeatStartsAgainWhereTheReadingStartedAndEmptyRangesReadNothing) {
    test::TestReading run;
    const std::u16string text = u"あいう。かきく。";
    auto state = std::make_unique<SpeechState>();
    LongReading reading;
    reading.Begin(text, 4, 100); // the end is clamped to the text
    ASSERT_TRUE(reading.LoadNextPass(*state, run.Setup(), true));
    EXPECT_EQ(reading.PassOffset(), 4u);
    ASSERT_TRUE(reading.LoadNextPass(*state, run.Setup(), true));
    EXPECT_EQ(reading.PassOffset(), 4u);
    EXPECT_FALSE(reading.LoadNextPass(*state, run.Setup(), false));

    reading.Begin(text, 8, 8);
    EXPECT_FALSE(reading.LoadNextPass(*state, run.Setup(), true));
    reading.Clear();
    EXPECT_FALSE(reading.IsActive());
    EXPECT_FALSE(reading.LoadNextPass(*state, run.Setup(), true));
}
