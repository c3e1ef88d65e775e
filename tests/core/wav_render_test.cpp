// One pass laid out in time: the tick schedule, and the WAVE rendering with its onsets, cuts
// (the cut sample fading out just before the next), silent ticks, resampling and length, over
// made-up sounds and over the compiled-in samples.
#include "playback/playback.h"
#include "playback/sample_handover.h"
#include "playback/wav_render.h"
#include "support/sjis.h"
#include "support/test_reading.h"
#include "wave/wave_decoder.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

namespace yomi6 {
namespace {

using test::Sjis;

constexpr unsigned char kSilence = 128;
// Output samples over which a cut sample fades out.
constexpr std::size_t kFade = kCutFadeMicroseconds * kRenderRate / 1'000'000;

class WavRenderTest : public ::testing::Test {
protected:
    void SetReading(const std::string& reading, std::int32_t speed) {
        std::memset(state.reading, 0, kReadingBufferSize);
        std::memcpy(state.reading, reading.data(), reading.size());
        state.endIndex = static_cast<std::int32_t>(reading.size());
        state.speed = speed;
    }

    // A source of made-up 8000 Hz sounds, each a constant level, so that every output sample
    // tells which sound it belongs to.
    void AddSound(std::string name, unsigned char level, std::size_t count, int rate = 8000) {
        sounds[std::move(name)] = {rate, std::vector<unsigned char>(count, level)};
    }
    SoundSource Source() {
        return [this](std::string_view name) -> SampleSound {
            const auto it = sounds.find(std::string(name));
            if (it == sounds.end()) {
                return {};
            }
            return {it->second.first, it->second.second};
        };
    }

    std::vector<unsigned char> Render() {
        std::string error;
        auto image = RenderPassWave(state, Source(), &error);
        EXPECT_TRUE(image.has_value()) << error;
        return image.value_or(std::vector<unsigned char>{});
    }

    static std::vector<unsigned char> Data(const std::vector<unsigned char>& image) {
        return {image.begin() + static_cast<std::ptrdiff_t>(kWaveHeaderSize), image.end()};
    }

    // The runs of equal levels of data: "200x1600 150x800 128x800".
    static std::string Runs(const std::vector<unsigned char>& data) {
        std::string out;
        for (std::size_t i = 0; i < data.size();) {
            std::size_t j = i;
            while (j < data.size() && data[j] == data[i]) {
                ++j;
            }
            out += (out.empty() ? "" : " ") + std::to_string(data[i]) + "x" + std::to_string(j - i);
            i = j;
        }
        return out;
    }

    // data with the fade before each cut at the given output samples checked and blanked out
    // (as 70, 'F'): over the fade the cut sound moves to silence frame by frame, never back,
    // in steps of a few levels at most; the test then sees the runs around it.
    static std::vector<unsigned char> CheckFades(std::vector<unsigned char> data,
                                                 const std::vector<std::size_t>& cuts) {
        for (const std::size_t cut : cuts) {
            EXPECT_LE(cut, data.size());
            EXPECT_GE(cut, kFade + 1);
            const int level = data[cut - kFade - 1]; // the cut sound before its fade
            int previous = level;
            for (std::size_t i = cut - kFade; i < cut; ++i) {
                const int v = data[i];
                EXPECT_LE(std::abs(v - previous), 6) << "a step at " << i;
                EXPECT_TRUE(level > kSilence ? v <= previous : v >= previous) << i;
                previous = v;
                data[i] = 'F';
            }
            EXPECT_LE(std::abs(previous - kSilence), 2) << "the fade before " << cut << " ends off";
        }
        return data;
    }

    std::unique_ptr<SpeechState> owned = std::make_unique<SpeechState>();
    SpeechState& state = *owned;
    std::map<std::string, std::pair<int, std::vector<unsigned char>>> sounds;
};

TEST_F(WavRenderTest, ScheduleIsOnePassFromTheFirstByte) {
    SetReading(Sjis("ｶﾞｯｺｳ\r\n"), 180);
    state.playIndex = 3; // wherever a running speech is, the pass starts at the first byte
    state.repeat = true;
    state.stopRequest = 1;
    const std::vector<std::string_view> expected = {"IDF_GA", "-", "IDF_KO", "IDF_U", "-"};
    EXPECT_EQ(PassSchedule(state), expected);
    EXPECT_EQ(state.playIndex, 3); // the caller's state is untouched
    EXPECT_EQ(state.stopRequest, 1);

    state.voice = VoiceSlot::Male;
    SetReading(Sjis("ﾁﾞｬ-"), 180);
    const std::vector<std::string_view> male = {"IDW_JA", "IDW_S", "-"};
    EXPECT_EQ(PassSchedule(state), male);

    SetReading("", 180);
    EXPECT_EQ(PassSchedule(state), std::vector<std::string_view>{"-"});
}

TEST_F(WavRenderTest, HeaderDescribesEightBitMonoAtTheRenderRate) {
    AddSound("IDF_A", 200, 100);
    SetReading(Sjis("ｱ"), 180);
    const std::vector<unsigned char> image = Render();
    ASSERT_GE(image.size(), kWaveHeaderSize);
    std::string error;
    const std::optional<WaveInfo> wave = ParseWave(image.data(), image.size(), &error);
    ASSERT_TRUE(wave.has_value()) << error;
    EXPECT_EQ(wave->sampleRate, kRenderRate);
    EXPECT_EQ(wave->channels, 1);
    EXPECT_EQ(wave->bitsPerSample, 8);
    EXPECT_EQ(wave->sampleCount, image.size() - kWaveHeaderSize);
    EXPECT_EQ(std::memcmp(image.data(), "RIFF", 4), 0);
    EXPECT_EQ(image[4] | image[5] << 8 | image[6] << 16 | image[7] << 24,
              static_cast<int>(image.size() - 8));
    EXPECT_EQ(image[28] | image[29] << 8 | image[30] << 16, kRenderRate); // byte rate
    EXPECT_EQ(image[32], 1);                                              // block alignment
}

TEST_F(WavRenderTest, SamplesStartOnTheTickGridAndTheNextSampleCutsThem) {
    // 0.3 s sounds at 100 ms per tick: each is cut by the next; the last sounds to its end.
    AddSound("IDF_A", 200, 2400);
    AddSound("IDF_I", 150, 2400);
    AddSound("IDF_U", 100, 2400);
    SetReading(Sjis("ｱｲｳ"), 100);
    EXPECT_EQ(Runs(CheckFades(Data(Render()), {1600, 3200})),
              "200x1536 70x64 150x1536 70x64 100x4800");
}

TEST_F(WavRenderTest, SilentTicksLetTheSampleSoundOn) {
    // ｯ and an unknown byte play nothing: ｱ sounds on through both of their ticks.
    AddSound("IDF_A", 200, 2000); // 0.25 s: 4000 output samples, longer than 2 ticks
    AddSound("IDF_I", 150, 400);
    SetReading(Sjis("ｱｯ") + "?" + Sjis("ｲ"), 80);
    EXPECT_EQ(Runs(CheckFades(Data(Render()), {3840})), "200x3776 70x64 150x800 128x480");
    // The same with the second tick's sample missing from the source: it plays nothing either.
    SetReading(Sjis("ｱｵｲ"), 80);
    EXPECT_EQ(Runs(CheckFades(Data(Render()), {2560})), "200x2496 70x64 150x800 128x480");
}

TEST_F(WavRenderTest, ShortSamplesLeaveSilenceAndTheImageLastsToTheLastTick) {
    AddSound("IDF_KA", 90, 400); // 50 ms
    SetReading(Sjis("ｶｯｶ"), 180);
    // Onsets at 0 and 360 ms; the pass ends at the fourth tick, 540 ms = 8640 samples.
    EXPECT_EQ(Runs(Data(Render())), "90x800 128x4960 90x800 128x2080");
}

TEST_F(WavRenderTest, SpeedsBelowTheFloorTickEveryTenMilliseconds) {
    AddSound("IDF_A", 200, 8000);
    AddSound("IDF_I", 150, 80);
    for (const std::int32_t speed : {0, 5, -30}) {
        SetReading(Sjis("ｱｲ"), speed);
        EXPECT_EQ(Runs(CheckFades(Data(Render()), {160})), "200x96 70x64 150x160") << speed;
    }
    SetReading(Sjis("ｱｲ"), 11);
    EXPECT_EQ(Runs(CheckFades(Data(Render()), {176})), "200x112 70x64 150x160 128x16");
}

TEST_F(WavRenderTest, ACutSampleIsSilentByTheNextTickHoweverShortTheNextSample) {
    AddSound("IDF_A", 200, 8000);
    AddSound("IDF_I", 160, 1); // one recorded value: two output samples
    SetReading(Sjis("ｱｲ"), 10);
    EXPECT_EQ(Runs(CheckFades(Data(Render()), {160})), "200x96 70x64 160x2 128x158");
}

TEST_F(WavRenderTest, EmptyReadingGivesAnEmptyImage) {
    SetReading("", 180);
    const std::vector<unsigned char> image = Render();
    ASSERT_EQ(image.size(), kWaveHeaderSize);
    EXPECT_EQ(image[40] | image[41] | image[42] | image[43], 0);
    ASSERT_TRUE(ParseWave(image.data(), image.size()).has_value());
}

TEST_F(WavRenderTest, SpeedAboveTheMaximumIsRefused) {
    SetReading(Sjis("ｱ"), kMaxSpeed + 1);
    std::string error;
    EXPECT_FALSE(RenderPassWave(state, Source(), &error).has_value());
    EXPECT_NE(error.find("1001"), std::string::npos) << error;
    SetReading(Sjis("ｱ"), kMaxSpeed);
    EXPECT_TRUE(RenderPassWave(state, Source(), &error).has_value());
}

TEST_F(WavRenderTest, ResamplingKeepsRecordedValuesAndInterpolatesBetween) {
    sounds["IDF_A"] = {8000, {10, 20, 40, 50}};
    sounds["IDF_SA"] = {11025, {0, 110, 220, 255}};
    SetReading(Sjis("ｱ"), 1000);
    std::vector<unsigned char> data = Data(Render());
    // 8000 Hz doubles exactly; the last value is held.
    ASSERT_GE(data.size(), 8u);
    EXPECT_EQ(std::vector<unsigned char>(data.begin(), data.begin() + 8),
              (std::vector<unsigned char>{10, 15, 20, 30, 40, 45, 50, 50}));

    // 11025 Hz: ceil(4 x 16000 / 11025) = 6 samples; output j lies at input j x 0.689.
    SetReading(Sjis("ｻ"), 1000);
    data = Data(Render());
    ASSERT_GE(data.size(), 7u);
    EXPECT_EQ(std::vector<unsigned char>(data.begin(), data.begin() + 7),
              (std::vector<unsigned char>{0, 76, 152, 222, 246, 255, kSilence}));
}

// A 4000-byte text with the compiled-in samples: every tick that plays a sample starts it on
// the grid, and until the next sample cuts it the output holds the recorded values (an 8000 Hz
// sample's values land on every other output sample).
TEST_F(WavRenderTest, FourThousandByteTextRendersTheRecordedSamples) {
    test::TestReading run;
    std::string text;
    const std::string kana = Sjis("ｶﾞｯｺｳﾃﾞｨｽﾞｷｬ-ﾝｦ\r\nﾎﾟﾁﾞｭ");
    while (text.size() + kana.size() <= kMaxTextBytes) {
        text += kana;
    }
    text.resize(kMaxTextBytes, ' ');
    StartSpeech(state, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                run.Setup());
    state.voice = VoiceSlot::Male;
    state.speed = 120;
    const std::vector<std::string_view> schedule = PassSchedule(state);
    const auto image = RenderPassWave(state, CompiledInSound);
    ASSERT_TRUE(image.has_value());
    const std::vector<unsigned char> data = Data(*image);
    const std::size_t tick = 120 * kRenderRate / 1000;
    ASSERT_GE(data.size(), (schedule.size() - 1) * tick);

    std::size_t checkedTicks = 0;
    for (std::size_t k = 0; k < schedule.size(); ++k) {
        if (schedule[k] == kSilentTick) {
            continue;
        }
        const SampleSound sound = CompiledInSound(schedule[k]);
        ASSERT_EQ(sound.sampleRate, 8000) << schedule[k]; // every male sample is 8000 Hz
        std::size_t next = k + 1;
        while (next < schedule.size() && schedule[next] == kSilentTick) {
            ++next;
        }
        const std::size_t onset = k * tick;
        const std::size_t until = next < schedule.size() ? next * tick : data.size();
        const std::size_t heard = std::min(until - onset, 2 * sound.samples.size());
        // Whatever still sounds in the last frames before the next sample's tick fades out.
        const bool cut = 2 * sound.samples.size() > until - onset;
        const std::size_t exact =
            next < schedule.size() ? std::min(heard, until - onset - kFade) : heard;
        for (std::size_t j = 0; j < exact; j += 2) {
            ASSERT_EQ(data[onset + j], sound.samples[j / 2]) << schedule[k] << " tick " << k;
        }
        for (std::size_t j = onset + heard; j < until; ++j) {
            ASSERT_EQ(data[j], kSilence) << "after " << schedule[k] << " tick " << k;
        }
        if (cut) {
            EXPECT_LE(std::abs(data[until - 1] - kSilence), 2) << schedule[k] << " tick " << k;
        }
        ++checkedTicks;
    }
    EXPECT_EQ(checkedTicks, 11 * (kMaxTextBytes / kana.size())); // 11 units per repetition
}

// Everyday sentences at 180 and 120 ms with the compiled-in samples of both voices: at every
// tick that cuts a sample still sounding, the waveform moves from the frame before the tick to
// the tick's frame by little (a cut on a step would jump by a tenth of full scale and more),
// and every sample starts on its tick.
TEST_F(WavRenderTest, CutPointsOfSentencesJumpByLittleAndSamplesStartOnTheGrid) {
    test::TestReading run;
    const std::string text = Sjis("ｷｮｳﾊ ｲｲ ﾃﾝｷﾃﾞｽﾈ｡ｴｷﾏﾃﾞ ｱﾙｲﾃ ｼﾞｯﾌﾟﾝｸﾞﾗｲﾃﾞｽ｡ﾋﾙｺﾞﾊﾝﾊ "
                                  "ﾅﾆﾆ ｼﾏｼｮｳｶ｡ﾃﾞﾝｼｬｶﾞ ｽｺｼ ｵｸﾚﾃｲﾏｽ｡");
    std::vector<double> jumps;
    for (const VoiceSlot voice : {VoiceSlot::Female, VoiceSlot::Male}) {
        for (const std::int32_t speed : {180, 120}) {
            SCOPED_TRACE(std::to_string(FlagOfVoice(voice)) + " " + std::to_string(speed));
            StartSpeech(state, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                        run.Setup());
            state.voice = voice;
            state.speed = speed;
            const auto schedule = PassSchedule(state);
            const auto image = RenderPassWave(state, CompiledInSound);
            ASSERT_TRUE(image.has_value());
            const std::vector<unsigned char> data = Data(*image);
            const std::size_t tick = static_cast<std::size_t>(speed) * kRenderRate / 1000;
            std::size_t previousEnd = 0;
            for (std::size_t k = 0; k < schedule.size(); ++k) {
                if (schedule[k] == kSilentTick) {
                    continue;
                }
                const std::size_t c = k * tick;
                const SampleSound sound = CompiledInSound(schedule[k]);
                ASSERT_GT(sound.sampleRate, 0) << schedule[k];
                // On the grid: the recorded values from the tick on (an 8000 Hz sample's values
                // land on every other output sample).
                for (std::size_t j = 0; j < 2 * kFade && sound.sampleRate == 8000; j += 2) {
                    ASSERT_EQ(data[c + j], sound.samples[j / 2]) << schedule[k] << " tick " << k;
                }
                // A cut point: the sample before still had frames to sound at this tick.
                if (previousEnd > c) {
                    const double jump = std::abs(data[c] - data[c - 1]) / 128.0;
                    EXPECT_LE(jump, 0.08) << schedule[k] << " tick " << k;
                    jumps.push_back(jump);
                }
                const auto rate = static_cast<std::size_t>(sound.sampleRate);
                previousEnd = c + (sound.samples.size() * kRenderRate + rate - 1) / rate;
            }
        }
    }
    ASSERT_GE(jumps.size(), 60u);
    std::sort(jumps.begin(), jumps.end());
    EXPECT_LT(jumps[jumps.size() / 2], 0.02);
}

} // namespace
} // namespace yomi6
