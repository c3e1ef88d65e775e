// Reading WAVE files of any common layout, written by libsndfile, and refusing headers that do
// not fit their files.
#include "support/temp_dir.h"
#include "support/wave_writer.h"
#include "wave/wave_decoder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sndfile.h>

namespace yomi6 {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::vector<unsigned char> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

void Put32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        s[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

struct Layout {
    int rate;
    int channels;
    int subtype;
    bool extensible;
    int bits;
    bool isFloat;
    double tolerance; // of full scale
};

TEST(WaveDecoderTest, ReadsEveryCommonLayoutAsTheSineThatWasWritten) {
    const Layout layouts[] = {
        {8000, 1, SF_FORMAT_PCM_U8, false, 8, false, 1.0 / 64},
        {11025, 2, SF_FORMAT_PCM_16, false, 16, false, 1e-4},
        {44100, 2, SF_FORMAT_PCM_16, false, 16, false, 1e-4},
        {48000, 1, SF_FORMAT_PCM_24, false, 24, false, 1e-6},
        {22050, 2, SF_FORMAT_PCM_32, false, 32, false, 1e-6},
        {96000, 1, SF_FORMAT_FLOAT, false, 32, true, 1e-6},
        {16000, 1, SF_FORMAT_DOUBLE, false, 64, true, 1e-6},
        {32000, 3, SF_FORMAT_PCM_16, true, 16, false, 1e-4},
        {44100, 6, SF_FORMAT_FLOAT, true, 32, true, 1e-6},
    };
    TempDir dir;
    for (const Layout& l : layouts) {
        SCOPED_TRACE(testing::Message() << l.rate << " Hz, " << l.channels << " ch, " << l.bits
                                        << " bits" << (l.extensible ? " extensible" : ""));
        const std::string path = dir.File("t.wav");
        test::WriteSineWave(path, l.rate, l.channels, l.subtype, 0.1, 440, 0.5, l.extensible);
        const WaveDecodeResult r = DecodeWave(Bytes(ReadFile(path)));
        ASSERT_TRUE(r) << r.detail;
        EXPECT_EQ(r.wave.sampleRate, l.rate);
        EXPECT_EQ(r.wave.channels, l.channels);
        EXPECT_EQ(r.wave.bitsPerSample, l.bits);
        EXPECT_EQ(r.wave.isFloat, l.isFloat);
        ASSERT_EQ(r.wave.mono.size(), static_cast<std::size_t>(l.rate / 10));
        double worst = 0;
        for (std::size_t i = 0; i < r.wave.mono.size(); ++i) {
            const double expected =
                0.5 * std::sin(2 * M_PI * 440 * static_cast<double>(i) / l.rate);
            worst = std::max(worst, std::abs(r.wave.mono[i] - expected));
        }
        EXPECT_LE(worst, l.tolerance);
    }
}

TEST(WaveDecoderTest, RefusesHeadersThatLieAboutTheFile) {
    TempDir dir;
    const std::string path = dir.File("t.wav");
    test::WriteSineWave(path, 44100, 2, SF_FORMAT_PCM_16, 0.05);
    const std::string good = ReadFile(path);
    ASSERT_TRUE(DecodeWave(Bytes(good)));
    // libsndfile writes a 16-byte "fmt " chunk at 12 and "data" right after it (at 36).
    ASSERT_EQ(good.substr(12, 4), "fmt ");
    const std::size_t data = good.find("data");
    ASSERT_NE(data, std::string::npos);

    // The file is cut short: the RIFF size and the data size still claim the whole sound.
    std::string cut = good.substr(0, good.size() - 1000);
    EXPECT_EQ(DecodeWave(Bytes(cut)).error, WaveError::Truncated);
    // Only the data chunk claims more than the file holds.
    Put32(cut, 4, static_cast<std::uint32_t>(cut.size() - 8));
    const WaveDecodeResult dataLies = DecodeWave(Bytes(cut));
    EXPECT_EQ(dataLies.error, WaveError::Truncated);
    EXPECT_NE(dataLies.detail.find("\"data\" chunk declares"), std::string::npos)
        << dataLies.detail;

    std::string byteRate = good;
    Put32(byteRate, 28, 44100); // should be 44100 x 4
    EXPECT_EQ(DecodeWave(Bytes(byteRate)).error, WaveError::HeaderMismatch);

    std::string blockAlign = good;
    blockAlign[32] = 3; // 2 channels of 16 bits are 4 bytes a frame
    EXPECT_EQ(DecodeWave(Bytes(blockAlign)).error, WaveError::HeaderMismatch);

    std::string channels = good;
    channels[22] = 12;
    EXPECT_EQ(DecodeWave(Bytes(channels)).error, WaveError::Unsupported);

    std::string compressed = good;
    compressed[20] = 2; // ADPCM
    EXPECT_EQ(DecodeWave(Bytes(compressed)).error, WaveError::Unsupported);

    // A sound of 4-byte frames that ends two bytes into a frame.
    std::string partial = good.substr(0, good.size() - 2);
    Put32(partial, 4, static_cast<std::uint32_t>(partial.size() - 8));
    Put32(partial, data + 4, static_cast<std::uint32_t>(partial.size() - data - 8));
    EXPECT_EQ(DecodeWave(Bytes(partial)).error, WaveError::PartialFrame);

    std::string empty = good.substr(0, data + 8);
    Put32(empty, 4, static_cast<std::uint32_t>(empty.size() - 8));
    Put32(empty, data + 4, 0);
    EXPECT_EQ(DecodeWave(Bytes(empty)).error, WaveError::Empty);

    EXPECT_EQ(DecodeWave(Bytes("This is a text file that someone named KA.wav\n")).error,
              WaveError::NotRiff);
    EXPECT_EQ(DecodeWave(Bytes(good.substr(0, 36))).error, WaveError::Truncated);
    std::string noData = good.substr(0, 36);
    Put32(noData, 4, 28);
    EXPECT_EQ(DecodeWave(Bytes(noData)).error, WaveError::NoData);
}

TEST(WaveDecoderTest, TakesTheSizesOfAStreamedFileFromTheFile) {
    TempDir dir;
    const std::string path = dir.File("t.wav");
    test::WriteSineWave(path, 8000, 1, SF_FORMAT_PCM_16, 0.05);
    std::string streamed = ReadFile(path);
    Put32(streamed, 4, 0xFFFFFFFF);
    Put32(streamed, streamed.find("data") + 4, 0xFFFFFFFF);
    const WaveDecodeResult r = DecodeWave(Bytes(streamed));
    ASSERT_TRUE(r) << r.detail;
    EXPECT_EQ(r.wave.mono.size(), 400U);
}

// One chunk walk serves the decoder and the samples' strict view: the layout it reports is where
// the sound really lies, and the view refuses what the samples are never kept in.
TEST(WaveDecoderTest, LocatesTheSoundForBothItsUses) {
    const std::vector<std::int16_t> pcm = {100, -100, 200};
    std::vector<unsigned char> image = EncodeWave16(pcm, 8000);
    const std::vector<unsigned char> list = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'};
    image.insert(image.begin() + 36, list.begin(), list.end());
    const auto formSize = static_cast<std::uint32_t>(image.size() - 8);
    for (int i = 0; i < 4; ++i) {
        image[4 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(formSize >> (8 * i));
    }
    const WaveLayoutResult located = ReadWaveLayout(image);
    ASSERT_TRUE(located) << located.detail;
    EXPECT_EQ(located.layout.formatOffset, 12U);
    EXPECT_EQ(located.layout.formatSize, 16U);
    EXPECT_EQ(located.layout.dataOffset, 56U); // after the LIST chunk
    EXPECT_EQ(located.layout.dataSize, 6U);
    EXPECT_EQ(located.layout.bitsPerSample, 16);
    EXPECT_EQ(located.layout.formEnd, image.size());
    EXPECT_FALSE(located.layout.formSizeUnknown || located.layout.dataSizeUnknown);
    const WaveDecodeResult decoded = DecodeWave(image);
    ASSERT_TRUE(decoded) << decoded.detail;
    EXPECT_EQ(decoded.wave.mono.size(), 3U);
    std::string error;
    EXPECT_FALSE(ParseWave(image.data(), image.size(), &error)); // 16-bit, a chunk between
    EXPECT_FALSE(error.empty());

    // No sound at all is located, and the samples' view takes it, but nothing is decoded.
    const std::vector<unsigned char> silent = EncodeWave16({}, 8000);
    const WaveLayoutResult empty = ReadWaveLayout(silent);
    ASSERT_TRUE(empty) << empty.detail;
    EXPECT_EQ(empty.layout.dataOffset, 44U);
    EXPECT_EQ(empty.layout.dataSize, 0U);
    EXPECT_EQ(DecodeWave(silent).error, WaveError::Empty);

    // A streamed header is read to the end of the file, and refused as a sample.
    std::string streamed(reinterpret_cast<const char*>(silent.data()), silent.size());
    streamed += std::string(4, '\0');
    Put32(streamed, 4, 0xFFFFFFFF);
    Put32(streamed, 40, 0xFFFFFFFF);
    const std::vector<unsigned char> streamedBytes = Bytes(streamed);
    const WaveLayoutResult open = ReadWaveLayout(streamedBytes);
    ASSERT_TRUE(open) << open.detail;
    EXPECT_TRUE(open.layout.formSizeUnknown && open.layout.dataSizeUnknown);
    EXPECT_EQ(open.layout.dataSize, 4U);
    EXPECT_FALSE(ParseWave(streamedBytes.data(), streamedBytes.size()));
}

TEST(WaveDecoderTest, WhatItWritesItReadsBackExactly) {
    const std::vector<std::int16_t> pcm = {0, 1, -1, 32767, -32768, 1234, -4321};
    const std::vector<unsigned char> image = EncodeWave16(pcm, 44100);
    const WaveDecodeResult r = DecodeWave(image);
    ASSERT_TRUE(r) << r.detail;
    ASSERT_EQ(r.wave.mono.size(), pcm.size());
    for (std::size_t i = 0; i < pcm.size(); ++i) {
        EXPECT_EQ(std::lround(r.wave.mono[i] * 32768), pcm[i]);
    }
    // And libsndfile reads it too.
    TempDir dir;
    WriteFile(dir.File("x.wav"), std::string(image.begin(), image.end()));
    SF_INFO info{};
    SNDFILE* file = sf_open(dir.File("x.wav").c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(info.samplerate, 44100);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.frames, static_cast<sf_count_t>(pcm.size()));
    sf_close(file);
}

} // namespace
} // namespace yomi6
