// Decoding the 8-bit voice samples into the sound output's 16-bit format at 44100 Hz.
#include "voice/sample_store.h"
#include "wave/sample_pcm.h"
#include "wave/wave_decoder.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace yomi6 {
namespace {

WaveInfo Wave(const std::vector<unsigned char>& samples, int rate) {
    WaveInfo wave;
    wave.sampleRate = rate;
    wave.channels = 1;
    wave.bitsPerSample = 8;
    wave.samples = samples.data();
    wave.sampleCount = samples.size();
    return wave;
}

TEST(SamplePcmTest, WidensUnsignedBytesAroundTheMidpoint) {
    const std::vector<unsigned char> bytes = {128, 0, 255, 129, 127};
    // At the output rate itself no value is interpolated.
    const auto pcm = DecodeSamplePcm(Wave(bytes, kOutputSampleRate));
    EXPECT_EQ(pcm, (std::vector<std::int16_t>{0, -32768, 32512, 256, -256}));
}

TEST(SamplePcmTest, QuadruplesAn11025HzRecordingWithInterpolatedFramesBetween) {
    const std::vector<unsigned char> bytes = {128, 136, 120};
    const auto pcm = DecodeSamplePcm(Wave(bytes, 11025));
    // Each recorded value lands on every fourth frame; the last one is held to the end.
    EXPECT_EQ(pcm, (std::vector<std::int16_t>{0, 512, 1024, 1536, 2048, 1024, 0, -1024, -2048,
                                              -2048, -2048, -2048}));
}

TEST(SamplePcmTest, An8000HzRecordingKeepsItsDurationAndItsValues) {
    std::vector<unsigned char> bytes(8000);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<unsigned char>(i % 256);
    }
    const auto pcm = DecodeSamplePcm(Wave(bytes, 8000));
    ASSERT_EQ(pcm.size(), 44100U); // one second stays one second
    // Frame j lies at input position j * 8000 / 44100: on an input sample every 441 frames.
    for (std::size_t j = 0; j < pcm.size(); j += 441) {
        const std::size_t i = j * 8000 / 44100;
        EXPECT_EQ(pcm[j], (static_cast<int>(bytes[i]) - 128) * 256) << "frame " << j;
    }
    // Between two input samples the value lies between theirs.
    EXPECT_GT(pcm[3], pcm[0]);
    EXPECT_LT(pcm[3], (static_cast<int>(bytes[1]) - 128) * 256);
}

TEST(SamplePcmTest, RoundsAPartialLastFrameUp) {
    const std::vector<unsigned char> bytes(3, 200);
    EXPECT_EQ(DecodeSamplePcm(Wave(bytes, 8000)).size(), 17U); // 3 * 5.5125 = 16.5
}

TEST(SamplePcmTest, RefusesWhatIsNot8BitMono) {
    const std::vector<unsigned char> bytes(100, 100);
    WaveInfo stereo = Wave(bytes, 8000);
    stereo.channels = 2;
    WaveInfo wide = Wave(bytes, 8000);
    wide.bitsPerSample = 16;
    WaveInfo noRate = Wave(bytes, 0);
    WaveInfo empty = Wave({}, 8000);
    for (const WaveInfo& wave : {stereo, wide, noRate, empty}) {
        EXPECT_TRUE(DecodeSamplePcm(wave).empty());
    }
    EXPECT_TRUE(DecodeSamplePcm(Wave(bytes, 8000), 0).empty());
}

TEST(SamplePcmTest, EveryCompiledInSampleDecodesToItsDuration) {
    ASSERT_EQ(SampleNames().size(), 282U);
    for (const auto name : SampleNames()) {
        const SampleImage image = FindSample(name);
        const auto wave = ParseWave(image.data, image.size);
        ASSERT_TRUE(wave) << name;
        const auto pcm = DecodeSamplePcm(*wave);
        const double seconds = static_cast<double>(wave->sampleCount) / wave->sampleRate;
        EXPECT_NEAR(static_cast<double>(pcm.size()) / kOutputSampleRate, seconds,
                    1.0 / kOutputSampleRate)
            << name;
    }
}

} // namespace
} // namespace yomi6
