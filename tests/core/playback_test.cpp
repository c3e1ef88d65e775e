// The playback state machine tick by tick: units and silent ticks, line ends, the end of the
// text, repeat, stop and deactivation, a second speak command, the voice toggle and the timer.
#include "playback/playback.h"
#include "support/sjis.h"
#include "support/test_reading.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace yomi6 {
namespace {

using test::Sjis;

class PlaybackTest : public ::testing::Test {
protected:
    // The state as the speak command leaves it for a reading (not converted: the bytes are the
    // reading), speaking and with the timer running.
    void Speak(const std::string& reading) {
        ASSERT_LT(reading.size(), kReadingBufferSize);
        state.stopRequest = state.speaking != 0 ? 1 : 0;
        state.speaking = 1;
        std::memset(state.reading, 0, kReadingBufferSize);
        std::memcpy(state.reading, reading.data(), reading.size());
        state.playIndex = 0;
        state.secondByteIndex = -1;
        state.endIndex = static_cast<std::int32_t>(reading.size());
        timerRunning = true;
    }

    // One tick: the suffix played ("-" for none), with "|end" when the timer was killed.
    std::string Tick() {
        EXPECT_TRUE(timerRunning) << "a tick without a running timer";
        const TickResult r = SpeechTick(state);
        std::string out = r.sample.empty() ? "-" : std::string(r.sample);
        if (r.killTimer) {
            timerRunning = false;
            out += "|end";
        }
        return out;
    }

    // Ticks until the timer is killed (at most limit ticks): "IDF_GA IDF_KO -|end".
    std::string RunToEnd(int limit = 10000) {
        std::string out;
        for (int i = 0; i < limit && timerRunning; ++i) {
            out += (out.empty() ? "" : " ") + Tick();
        }
        return out;
    }

    // The state is large; keep it off the stack.
    std::unique_ptr<SpeechState> owned = std::make_unique<SpeechState>();
    SpeechState& state = *owned;
    bool timerRunning = false;
};

TEST_F(PlaybackTest, GakkouPlaysItsUnitsThenASilentTickForTheTerminator) {
    Speak(Sjis("ｶﾞｯｺｳ"));
    EXPECT_EQ(Tick(), "IDF_GA");
    EXPECT_EQ(state.playIndex, 2);
    EXPECT_EQ(Tick(), "-");
    EXPECT_EQ(state.playIndex, 3);
    EXPECT_EQ(Tick(), "IDF_KO");
    EXPECT_EQ(Tick(), "IDF_U");
    EXPECT_EQ(state.speaking, 1);
    EXPECT_EQ(Tick(), "-|end");
    EXPECT_EQ(state.playIndex, 6);
    EXPECT_EQ(state.speaking, 0);
    EXPECT_EQ(state.stopRequest, 0);
    EXPECT_TRUE(IsSpeakEnabled(state));
}

TEST_F(PlaybackTest, EmptyTextEndsOnItsFirstTickOrTicksSilentlyWithRepeat) {
    Speak("");
    EXPECT_EQ(RunToEnd(), "-|end");

    state.repeat = true;
    Speak("");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Tick(), "-");
        EXPECT_EQ(state.playIndex, 0);
    }
    StopSpeech(state);
    EXPECT_EQ(Tick(), "-|end");
}

TEST_F(PlaybackTest, LineEndsCostNoTick) {
    Speak(Sjis("ｱ\r\n\r\nｲ"));
    EXPECT_EQ(RunToEnd(), "IDF_A IDF_I -|end");

    // A text ending with a line break: the CR LF goes in the same tick as the terminator.
    Speak(Sjis("ｱ\r\n"));
    EXPECT_EQ(RunToEnd(), "IDF_A -|end");
    EXPECT_EQ(state.playIndex, 4);

    // A line end after a stop request still ends after one unit.
    Speak(Sjis("\r\nｱｲ"));
    StopSpeech(state);
    EXPECT_EQ(RunToEnd(), "IDF_A|end");
}

TEST_F(PlaybackTest, EachByteOfACopiedTwoByteCharacterIsASilentTick) {
    // 漢 (8A BF): its second byte alone would be ｿ. 換 (8A B7) before ｬ would be ｷｬ.
    Speak(Sjis("ｱ漢ｲ"));
    EXPECT_EQ(RunToEnd(), "IDF_A - - IDF_I -|end");
    Speak(Sjis("換ｬｱ"));
    EXPECT_EQ(RunToEnd(), "- - - IDF_A -|end");
    // Two in a row, and a lead byte as the reading's last byte (a cut character).
    Speak(Sjis("漢換") + "\x8A");
    EXPECT_EQ(RunToEnd(), "- - - - - -|end");
    // A byte that is no lead byte (0xA0) leaves the kana after it a kana.
    Speak("\xA0\xBF");
    EXPECT_EQ(RunToEnd(), "- IDF_SO -|end");
    // With repeat on, the second pass hears the same.
    state.repeat = true;
    Speak(Sjis("漢ｱ"));
    std::string heard;
    for (int i = 0; i < 7; ++i) {
        heard += Tick() + " ";
    }
    EXPECT_EQ(heard, "- - IDF_A - - - IDF_A ");
}

TEST_F(PlaybackTest, RepeatStartsAgainAfterOneSilentTick) {
    state.repeat = true;
    Speak(Sjis("ｱｲ"));
    EXPECT_EQ(Tick(), "IDF_A");
    EXPECT_EQ(Tick(), "IDF_I");
    EXPECT_EQ(Tick(), "-");
    EXPECT_EQ(state.playIndex, 0);
    EXPECT_FALSE(IsSpeakEnabled(state));
    EXPECT_EQ(Tick(), "IDF_A");
    // The repeat setting is read only at the end of the text.
    state.repeat = false;
    EXPECT_EQ(Tick(), "IDF_I");
    EXPECT_EQ(Tick(), "-|end");
}

TEST_F(PlaybackTest, StopLetsOneMoreUnitSoundThenEnds) {
    Speak(Sjis("ｱｲｳｴ"));
    EXPECT_EQ(Tick(), "IDF_A");
    StopSpeech(state);
    EXPECT_EQ(state.speaking, 0);
    EXPECT_EQ(state.stopRequest, 1);
    EXPECT_TRUE(IsSpeakEnabled(state)); // enabled again at once, before the timer ends
    EXPECT_EQ(RunToEnd(), "IDF_I|end");
    EXPECT_EQ(state.stopRequest, 0);

    // With repeat on, a stop at the end of the text is honoured rather than starting again.
    state.repeat = true;
    Speak(Sjis("ｱ"));
    EXPECT_EQ(Tick(), "IDF_A");
    StopSpeech(state);
    EXPECT_EQ(RunToEnd(), "-|end");
}

TEST_F(PlaybackTest, DeactivationStopsLikeTheStopCommand) {
    Speak(Sjis("ｶｷｸ"));
    EXPECT_EQ(Tick(), "IDF_KA");
    StopSpeechOnDeactivation(state);
    EXPECT_EQ(state.speaking, 0);
    EXPECT_EQ(state.stopRequest, 1);
    EXPECT_EQ(RunToEnd(), "IDF_KI|end");
}

TEST_F(PlaybackTest, StopWhileIdleIsClearedByTheNextSpeak) {
    test::TestReading run;
    StopSpeech(state);
    EXPECT_EQ(state.stopRequest, 1);
    EXPECT_EQ(state.speaking, 0);
    StartSpeech(state, reinterpret_cast<const unsigned char*>("-"), 1, run.Setup());
    timerRunning = true;
    EXPECT_EQ(state.stopRequest, 0);
    EXPECT_EQ(state.speaking, 1);
    EXPECT_EQ(RunToEnd(), "IDF_S -|end");
}

TEST_F(PlaybackTest, SecondSpeakWhileSpeakingPlaysOneUnitOfTheNewTextAndEnds) {
    test::TestReading run;
    const std::string first = Sjis("ｱｲｳ");
    const std::string second = Sjis("ｶｷｸ");
    StartSpeech(state, reinterpret_cast<const unsigned char*>(first.data()), first.size(),
                run.Setup());
    timerRunning = true;
    EXPECT_EQ(Tick(), "IDF_A");
    EXPECT_FALSE(IsSpeakEnabled(state));
    StartSpeech(state, reinterpret_cast<const unsigned char*>(second.data()), second.size(),
                run.Setup());
    EXPECT_EQ(state.stopRequest, 1);
    EXPECT_EQ(state.playIndex, 0);
    EXPECT_EQ(RunToEnd(), "IDF_KA|end");
}

TEST_F(PlaybackTest, VoiceIsReadPerUnit) {
    Speak(Sjis("ｶｷｸｹ"));
    EXPECT_EQ(Tick(), "IDF_KA");
    EXPECT_TRUE(ToggleVoiceOnF5(state, KeyRepeat::FirstPress));
    EXPECT_EQ(Tick(), "IDW_KI");
    state.voice = VoiceSlot::Female; // the settings dialog
    EXPECT_EQ(Tick(), "IDF_KU");
    EXPECT_TRUE(ToggleVoiceOnF5(state, KeyRepeat::FirstPress));
    EXPECT_EQ(RunToEnd(), "IDW_KE -|end");
}

TEST_F(PlaybackTest, F5TogglesOnlyOnAFirstPress) {
    EXPECT_EQ(VoiceIndicatorText(state.voice), "女性");
    EXPECT_TRUE(ToggleVoiceOnF5(state, KeyRepeat::FirstPress));
    EXPECT_EQ(state.voice, VoiceSlot::Male);
    EXPECT_EQ(VoiceIndicatorText(state.voice), "男性");
    // Held down, the keyboard repeats the key: the voice stays.
    EXPECT_FALSE(ToggleVoiceOnF5(state, KeyRepeat::AutoRepeat));
    EXPECT_EQ(state.voice, VoiceSlot::Male);
    EXPECT_TRUE(ToggleVoiceOnF5(state, KeyRepeat::FirstPress));
    EXPECT_EQ(state.voice, VoiceSlot::Female);
}

TEST(SpeechTimerIntervalTest, SpeedWithATenMillisecondFloor) {
    EXPECT_EQ(SpeechTimerInterval(180), 180);
    EXPECT_EQ(SpeechTimerInterval(1000), 1000);
    EXPECT_EQ(SpeechTimerInterval(11), 11);
    EXPECT_EQ(SpeechTimerInterval(10), 10);
    EXPECT_EQ(SpeechTimerInterval(9), 10);
    EXPECT_EQ(SpeechTimerInterval(0), 10);
    EXPECT_EQ(SpeechTimerInterval(-1), 10);
    EXPECT_EQ(SpeechTimerInterval(INT_MIN), 10);
}

TEST_F(PlaybackTest, AFullBufferIsPlayedWithoutReadingPastIt) {
    // 4094 bytes of ｱ and a ｷﾞ cut by the end of the longest reading: the lookup at the last
    // unit must not look at bytes behind the buffer.
    std::string reading(kReadingBufferSize - 2, static_cast<char>(0xB1));
    reading += Sjis("ｷ");
    Speak(reading);
    int ticks = 0;
    std::string last;
    while (timerRunning && ticks < 5000) {
        last = Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, static_cast<int>(kReadingBufferSize)); // 4095 units and the terminator
    EXPECT_EQ(last, "-|end");

    // A buffer with no terminator at all (only line ends) still ends within it.
    std::memset(state.reading, 0x0D, kReadingBufferSize);
    state.speaking = 1;
    state.playIndex = 0;
    state.endIndex = static_cast<std::int32_t>(kReadingBufferSize);
    timerRunning = true;
    EXPECT_EQ(RunToEnd(), "-|end");
}

} // namespace
} // namespace yomi6
