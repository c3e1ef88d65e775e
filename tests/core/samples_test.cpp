// The compiled-in voice samples: every name of both voices, the exact WAVE layout, the rates,
// the pause, and that each sample is a short, distinct syllable, the female voice higher.
#include "support/wave_analysis.h"
#include "voice/sample_store.h"
#include "wave/wave_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <numbers>
#include <set>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

using test::EstimatePitch;
using test::Median;
using test::SoundingRange;

// The 141 suffixes every voice has: the units of the three tables and the pause "S".
const std::vector<std::string> kSuffixes = {
    "GYA", "GYU", "GYE", "GYO", "JA",  "JU",  "JE",  "JO",  "DHA", "DHI", "DHU", "DHE", "DHO",
    "DWU", "BYA", "BYU", "BYE", "BYO", "PYA", "PYU", "PYE", "PYO", "VA",  "VI",  "VE",  "VO",
    "KYA", "KYU", "KYE", "KYO", "SHA", "SHU", "SHE", "SHO", "CHA", "CHU", "CHE", "CHO", "THA",
    "THI", "THU", "THE", "THO", "TWU", "NYA", "NYU", "NYE", "NYO", "HYA", "HYU", "HYE", "HYO",
    "FA",  "FI",  "FE",  "FO",  "MYA", "MYU", "MYE", "MYO", "RYA", "RYU", "RYE", "RYO", "GA",
    "GI",  "GU",  "GE",  "GO",  "ZA",  "ZI",  "ZU",  "ZE",  "ZO",  "DA",  "DI",  "DU",  "DE",
    "DO",  "BA",  "BI",  "BU",  "BE",  "BO",  "PA",  "PI",  "PU",  "PE",  "PO",  "UXA", "UXI",
    "UXE", "UXO", "VU",  "A",   "I",   "U",   "E",   "O",   "KA",  "KI",  "KU",  "KE",  "KO",
    "SA",  "SI",  "SU",  "SE",  "SO",  "TA",  "TI",  "TU",  "TE",  "TO",  "NA",  "NI",  "NU",
    "NE",  "NO",  "HA",  "HI",  "HU",  "HE",  "HO",  "MA",  "MI",  "MU",  "ME",  "MO",  "YA",
    "YU",  "YO",  "RA",  "RI",  "RU",  "RE",  "RO",  "WA",  "WO",  "NN",  "S"};

const std::set<std::string> kWideFemale = {"PA", "PI",  "PU",  "PO",  "SA", "SI",
                                           "SU", "SHA", "SHU", "SHE", "SHO"};

constexpr const char* kVoices[] = {"IDW_", "IDF_"};
// |x - 128| above this counts as sound: the samples are not dithered, so silence is exactly
// 128 and anything beyond the rounding of a faint tail is the voice.
constexpr int kSoundThreshold = 3;
constexpr double kMaxOnsetSeconds = 0.005;
constexpr double kMinSounding = 0.1;
constexpr double kMaxSounding = 0.35;

std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16) |
           static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint32_t Le16(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0] | p[1] << 8);
}

std::span<const unsigned char> Data(const std::string& name) {
    const SampleImage image = FindSample(name);
    const auto info = ParseWave(image.data, image.size);
    if (!info) {
        ADD_FAILURE() << name << " does not parse";
        return {};
    }
    return {info->samples, info->sampleCount};
}

int RateOf(const std::string& name) {
    const SampleImage image = FindSample(name);
    const auto info = ParseWave(image.data, image.size);
    return info ? info->sampleRate : 0;
}

// The measuring tools themselves, on made-up signals whose answer is known.
std::vector<unsigned char> Tone(double hz, int rate, double seconds) {
    std::vector<unsigned char> out(static_cast<std::size_t>(seconds * rate));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        // A fundamental with two weaker harmonics, like a vowel.
        const double x = std::sin(2 * std::numbers::pi * hz * t) +
                         0.6 * std::sin(4 * std::numbers::pi * hz * t) +
                         0.3 * std::sin(6 * std::numbers::pi * hz * t);
        out[i] = static_cast<unsigned char>(128 + std::lround(50 * x));
    }
    return out;
}

TEST(WaveAnalysisTest, PitchOfKnownTonesAndNoneForNoiseOrSilence) {
    for (const double hz : {80.0, 110.0, 220.0, 330.0}) {
        for (const int rate : {8000, 11025}) {
            const auto f = EstimatePitch(Tone(hz, rate, 0.2), rate);
            ASSERT_TRUE(f) << hz << " Hz at " << rate;
            EXPECT_NEAR(*f, hz, hz * 0.03) << hz << " Hz at " << rate;
        }
    }
    std::vector<unsigned char> noise(1600);
    std::uint32_t x = 12345;
    for (unsigned char& s : noise) {
        x = x * 1103515245u + 12345u;
        s = static_cast<unsigned char>(x >> 24);
    }
    EXPECT_FALSE(EstimatePitch(noise, 8000));
    EXPECT_FALSE(EstimatePitch(std::vector<unsigned char>(1600, 128), 8000));
    EXPECT_FALSE(EstimatePitch(Tone(200, 8000, 0.05), 8000)) << "too short to judge";
}

TEST(WaveAnalysisTest, SoundingRangeSkipsQuietEnds) {
    std::vector<unsigned char> s(100, 128);
    EXPECT_FALSE(SoundingRange(s, 3));
    s[10] = 131; // not beyond the threshold
    s[20] = 132;
    s[70] = 120;
    s[80] = 126;
    const auto r = SoundingRange(s, 3);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->begin, 20u);
    EXPECT_EQ(r->end, 71u);
}

TEST(SampleStoreTest, HoldsEverySuffixOfBothVoicesAndNothingElse) {
    ASSERT_EQ(kSuffixes.size(), 141u);
    ASSERT_EQ(std::set<std::string>(kSuffixes.begin(), kSuffixes.end()).size(), 141u);
    std::set<std::string> expected;
    for (const char* voice : kVoices) {
        for (const std::string& suffix : kSuffixes) {
            expected.insert(voice + suffix);
            const SampleImage image = FindSample(voice + suffix);
            EXPECT_TRUE(image) << voice + suffix;
            EXPECT_GT(image.size, 44u) << voice + suffix;
        }
    }
    const std::span<const std::string_view> names = SampleNames();
    EXPECT_EQ(names.size(), 282u);
    const std::set<std::string> held(names.begin(), names.end());
    EXPECT_EQ(held, expected);
}

TEST(SampleStoreTest, NamesAreInAFixedSortedOrderAndEachFindsItsOwnImage) {
    const std::span<const std::string_view> names = SampleNames();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    std::set<const unsigned char*> images;
    for (const std::string_view name : names) {
        const SampleImage a = FindSample(name);
        const SampleImage b = FindSample(std::string(name));
        EXPECT_EQ(a.data, b.data) << name;
        images.insert(a.data);
    }
    EXPECT_EQ(images.size(), names.size());
}

TEST(SampleStoreTest, UnknownNamesFindNothing) {
    for (const char* name : {"", "IDW_", "IDF_", "IDW_XA", "IDW_ka", "idw_KA", "IDW_KA ", " IDW_KA",
                             "IDW_KAA", "IDX_KA", "IDW_KA\n", "ZZZZ", "A"}) {
        EXPECT_FALSE(FindSample(name)) << '"' << name << '"';
        EXPECT_EQ(FindSample(name).size, 0u);
    }
    EXPECT_FALSE(FindSample(std::string_view("IDW_KA\0", 7)));
}

TEST(SampleFormatTest, EveryImageIsExactlyRiffFmtAndData) {
    for (const std::string_view view : SampleNames()) {
        const std::string name(view);
        const SampleImage image = FindSample(name);
        ASSERT_GE(image.size, 44u) << name;
        const unsigned char* p = image.data;
        const int rate = RateOf(name);
        EXPECT_EQ(std::memcmp(p, "RIFF", 4), 0) << name;
        EXPECT_EQ(Le32(p + 4), image.size - 8) << name;
        EXPECT_EQ(std::memcmp(p + 8, "WAVEfmt ", 8), 0) << name;
        EXPECT_EQ(Le32(p + 16), 16u) << name;
        EXPECT_EQ(Le16(p + 20), 1u) << name << ": PCM";
        EXPECT_EQ(Le16(p + 22), 1u) << name << ": channels";
        EXPECT_EQ(Le32(p + 24), static_cast<std::uint32_t>(rate)) << name;
        EXPECT_EQ(Le32(p + 28), static_cast<std::uint32_t>(rate)) << name << ": byte rate";
        EXPECT_EQ(Le16(p + 32), 1u) << name << ": block align";
        EXPECT_EQ(Le16(p + 34), 8u) << name << ": bits";
        EXPECT_EQ(std::memcmp(p + 36, "data", 4), 0) << name;
        EXPECT_EQ(Le32(p + 40), image.size - 44) << name << ": data must end the image";

        std::string error;
        const auto info = ParseWave(image.data, image.size, &error);
        ASSERT_TRUE(info) << name << ": " << error;
        EXPECT_EQ(info->channels, 1);
        EXPECT_EQ(info->bitsPerSample, 8);
        EXPECT_EQ(info->samples, image.data + 44);
        EXPECT_EQ(info->sampleCount, image.size - 44);
    }
}

TEST(SampleFormatTest, ElevenFemaleSamplesAre11025HzAndTheRest8000Hz) {
    int wide = 0;
    for (const char* voice : kVoices) {
        for (const std::string& suffix : kSuffixes) {
            const bool isWide = std::string(voice) == "IDF_" && kWideFemale.count(suffix) > 0;
            EXPECT_EQ(RateOf(voice + suffix), isWide ? 11025 : 8000) << voice + suffix;
            wide += isWide ? 1 : 0;
        }
    }
    EXPECT_EQ(wide, 11);
}

TEST(PauseSampleTest, BothVoicesShareOneNearSilentQuarterSecond) {
    const SampleImage male = FindSample("IDW_S");
    const SampleImage female = FindSample("IDF_S");
    ASSERT_TRUE(male);
    ASSERT_TRUE(female);
    ASSERT_EQ(male.size, female.size);
    EXPECT_EQ(std::memcmp(male.data, female.data, male.size), 0);
    EXPECT_EQ(RateOf("IDW_S"), 8000);

    const std::span<const unsigned char> data = Data("IDW_S");
    EXPECT_EQ(data.size(), 2036u);
    std::set<unsigned char> values(data.begin(), data.end());
    EXPECT_TRUE(values.count(128) > 0);
    for (const unsigned char v : values) {
        EXPECT_TRUE(v == 126 || v == 128 || v == 130) << int{v};
    }
}

TEST(SyllableSampleTest, StartAtOnceAndSoundBetweenATenthAndAThirdOfASecond) {
    for (const char* voice : kVoices) {
        for (const std::string& suffix : kSuffixes) {
            if (suffix == "S") {
                continue;
            }
            const std::string name = voice + suffix;
            const std::span<const unsigned char> data = Data(name);
            const double rate = RateOf(name);
            const auto range = SoundingRange(data, kSoundThreshold);
            ASSERT_TRUE(range) << name << " is silent";
            EXPECT_LE(static_cast<double>(range->begin) / rate, kMaxOnsetSeconds) << name;
            const double sounding = static_cast<double>(range->end - range->begin) / rate;
            EXPECT_GE(sounding, kMinSounding) << name;
            EXPECT_LE(sounding, kMaxSounding) << name;
            // Nothing but a fade-out tail may follow the sound.
            EXPECT_LE(static_cast<double>(data.size() - range->end) / rate, 0.03) << name;
        }
    }
}

TEST(SyllableSampleTest, EverySyllableIsItsOwnRecording) {
    for (const char* voice : kVoices) {
        for (std::size_t i = 0; i < kSuffixes.size(); ++i) {
            const std::span<const unsigned char> a = Data(voice + kSuffixes[i]);
            for (std::size_t j = i + 1; j < kSuffixes.size(); ++j) {
                const std::span<const unsigned char> b = Data(voice + kSuffixes[j]);
                EXPECT_FALSE(std::equal(a.begin(), a.end(), b.begin(), b.end()))
                    << voice << kSuffixes[i] << " and " << voice << kSuffixes[j];
            }
        }
    }
}

TEST(SyllableSampleTest, FemaleMedianPitchIsAtLeast1point4TimesTheMale) {
    std::vector<double> pitches[2];
    for (int v = 0; v < 2; ++v) {
        for (const std::string& suffix : kSuffixes) {
            const std::string name = kVoices[v] + suffix;
            if (const auto f = EstimatePitch(Data(name), RateOf(name))) {
                pitches[v].push_back(*f);
            }
        }
        // Nearly every syllable has a vowel; only the pause and a few whispered ones may not.
        EXPECT_GE(pitches[v].size(), 120u) << kVoices[v];
    }
    ASSERT_FALSE(pitches[0].empty());
    ASSERT_FALSE(pitches[1].empty());
    const double male = Median(pitches[0]);
    const double female = Median(pitches[1]);
    RecordProperty("male_median_hz", std::to_string(male));
    RecordProperty("female_median_hz", std::to_string(female));
    EXPECT_GE(female, 1.4 * male) << "male " << male << " Hz, female " << female << " Hz";
    EXPECT_GT(male, 70.0);
    EXPECT_LT(female, 400.0);
}

} // namespace
} // namespace yomi6
