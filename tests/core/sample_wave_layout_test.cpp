// ParseWave, the WAVE reader's view of the built-in samples: accepts their one 8-bit mono PCM
// layout and refuses every damaged header with a reason, without reading past the image.
#include "wave/wave_decoder.h"

#include "wave/riff_fields.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<unsigned char>(v & 0xFF);
    b[at + 1] = static_cast<unsigned char>(v >> 8 & 0xFF);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

// A well-formed image with dataSize bytes of samples 0, 1, 2, ...
Bytes MakeWave(std::uint32_t dataSize, std::uint32_t rate = 8000) {
    Bytes b(44 + dataSize);
    const std::string head = "RIFF....WAVEfmt ";
    std::copy(head.begin(), head.end(), b.begin());
    Put32(b, 4, 36 + dataSize);
    Put32(b, 16, 16);
    Put16(b, 20, 1);
    Put16(b, 22, 1);
    Put32(b, 24, rate);
    Put32(b, 28, rate);
    Put16(b, 32, 1);
    Put16(b, 34, 8);
    b[36] = 'd';
    b[37] = 'a';
    b[38] = 't';
    b[39] = 'a';
    Put32(b, 40, dataSize);
    for (std::uint32_t i = 0; i < dataSize; ++i) {
        b[44 + i] = static_cast<unsigned char>(i);
    }
    return b;
}

// Parses a copy placed in a buffer of exactly its size, so that AddressSanitizer catches any
// read past the end.
std::optional<WaveInfo> Parse(const Bytes& b, std::string* error) {
    auto copy = std::make_unique<unsigned char[]>(b.size() + (b.empty() ? 1 : 0));
    std::copy(b.begin(), b.end(), copy.get());
    auto info = ParseWave(copy.get(), b.size(), error);
    if (info) {
        // Point into the caller's bytes instead of the copy that is about to go.
        info->samples = b.data() + (info->samples - copy.get());
    }
    return info;
}

void ExpectRefused(const Bytes& b, const std::string& what) {
    std::string error;
    EXPECT_FALSE(Parse(b, &error)) << what;
    EXPECT_FALSE(error.empty()) << what;
    EXPECT_FALSE(Parse(b, nullptr)) << what << " (no error string)";
}

TEST(ParseWaveTest, ReadsAWellFormedImage) {
    for (const std::uint32_t rate : {8000u, 11025u}) {
        const Bytes b = MakeWave(1001, rate);
        std::string error = "untouched";
        const auto info = Parse(b, &error);
        ASSERT_TRUE(info) << error;
        EXPECT_EQ(info->sampleRate, static_cast<int>(rate));
        EXPECT_EQ(info->channels, 1);
        EXPECT_EQ(info->bitsPerSample, 8);
        EXPECT_EQ(info->samples, b.data() + 44);
        EXPECT_EQ(info->sampleCount, 1001u);
    }
    const auto empty = Parse(MakeWave(0), nullptr);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->sampleCount, 0u);
}

TEST(ParseWaveTest, AcceptsThePadByteAfterOddDataOnly) {
    Bytes padded = MakeWave(5);
    padded.push_back(0);
    Put32(padded, 4, static_cast<std::uint32_t>(padded.size() - 8));
    const auto info = Parse(padded, nullptr);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->sampleCount, 5u);

    Bytes even = MakeWave(4);
    even.push_back(0);
    Put32(even, 4, static_cast<std::uint32_t>(even.size() - 8));
    ExpectRefused(even, "a byte after even data");
}

TEST(ParseWaveTest, RefusesEveryTruncation) {
    const Bytes whole = MakeWave(100);
    for (std::size_t n = 0; n < whole.size(); ++n) {
        ExpectRefused(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n)),
                      "cut to " + std::to_string(n) + " bytes");
    }
    EXPECT_FALSE(ParseWave(nullptr, 0));
    EXPECT_FALSE(ParseWave(nullptr, 44));
}

TEST(ParseWaveTest, RefusesWrongSizes) {
    struct Case {
        std::size_t at;
        std::uint32_t value;
        const char* what;
    };
    const Case cases[] = {
        {4, 36 + 100 + 1, "RIFF size one too large"},
        {4, 36 + 100 - 1, "RIFF size one too small"},
        {4, 0xFFFFFFFF, "RIFF size huge"},
        {16, 18, "fmt chunk of 18 bytes"},
        {16, 14, "fmt chunk of 14 bytes"},
        {40, 101, "data size past the end"},
        {40, 0xFFFFFFFF, "data size huge"},
        {40, 0xFFFFFFF8, "data size that wraps when added"},
        {40, 98, "data size two bytes short of the end"},
    };
    for (const Case& c : cases) {
        Bytes b = MakeWave(100);
        Put32(b, c.at, c.value);
        ExpectRefused(b, c.what);
    }
}

TEST(ParseWaveTest, RefusesOtherFormats) {
    struct Case {
        std::size_t at;
        int width; // bytes of the field
        std::uint32_t value;
        const char* what;
    };
    const Case cases[] = {
        {20, 2, 3, "float format tag"},
        {20, 2, 0xFFFE, "extensible format tag"},
        {20, 2, 0, "format tag 0"},
        {22, 2, 2, "two channels"},
        {22, 2, 0, "no channels"},
        {34, 2, 16, "16 bits"},
        {34, 2, 4, "4 bits"},
        {32, 2, 2, "block align 2"},
        {28, 4, 16000, "byte rate twice the sample rate"},
        {24, 4, 11025, "sample rate that differs from the byte rate"},
    };
    for (const Case& c : cases) {
        Bytes b = MakeWave(100);
        if (c.width == 2) {
            Put16(b, c.at, c.value);
        } else {
            Put32(b, c.at, c.value);
        }
        ExpectRefused(b, c.what);
    }
    for (const std::uint32_t rate : {0u, 1u, 999u, 192001u, 0xFFFFFFFFu}) {
        ExpectRefused(MakeWave(100, rate), "sample rate " + std::to_string(rate));
    }
}

TEST(ParseWaveTest, RefusesWrongIdsAndExtraChunks) {
    for (const std::size_t at : {0u, 8u, 12u, 36u}) {
        Bytes b = MakeWave(100);
        b[at + 1] ^= 0x20; // "RIFF" -> "RiFF" and so on
        ExpectRefused(b, "id at " + std::to_string(at));
    }

    // A LIST chunk between "fmt " and "data".
    Bytes list = MakeWave(100);
    const Bytes chunk = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 'I', 'N', 'F', 'O'};
    list.insert(list.begin() + 36, chunk.begin(), chunk.end());
    Put32(list, 4, static_cast<std::uint32_t>(list.size() - 8));
    ExpectRefused(list, "LIST before data");

    // The same chunk after "data".
    Bytes after = MakeWave(100);
    after.insert(after.end(), chunk.begin(), chunk.end());
    Put32(after, 4, static_cast<std::uint32_t>(after.size() - 8));
    ExpectRefused(after, "LIST after data");

    // Trailing bytes outside the RIFF form.
    Bytes trailing = MakeWave(100);
    trailing.push_back(0);
    ExpectRefused(trailing, "a byte after the RIFF form");
}

// The WAVE reader takes its fields here: bytes with the high bit set are not sign-extended,
// and the low byte comes first.
TEST(RiffFieldsTest, LittleEndianFieldsOfHighBytes) {
    const unsigned char bytes[] = {0xFF, 0x80, 0xFE, 0x01, 'd', 'a', 't', 'a'};
    EXPECT_EQ(riff::Le16(bytes), 0x80FFU);
    EXPECT_EQ(riff::Le32(bytes), 0x01FE80FFU);
    EXPECT_TRUE(riff::IdIs(bytes + 4, "data"));
    EXPECT_FALSE(riff::IdIs(bytes + 4, "date"));
}

} // namespace
} // namespace yomi6
