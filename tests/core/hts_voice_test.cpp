// The synthesis library without a front end: loading the voice.
#include "synthesis/hts_voice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace yomi6::synthesis {
namespace {

std::shared_ptr<const HtsVoice> TestVoice() {
    static const HtsVoice::Loaded loaded =
        HtsVoice::Load(StyleVoiceFiles(YOMI6_NATURAL_TEST_VOICES, {}));
    EXPECT_EQ(loaded.error, "");
    return loaded.voice;
}

TEST(HtsVoice, LoadsTheFourStylesOrSaysWhichFileIsWrong) {
    const auto files = StyleVoiceFiles(YOMI6_NATURAL_TEST_VOICES, {});
    EXPECT_NE(files[StyleIndex(natural::Style::Sad)].find("tohoku-f01-sad.htsvoice"),
              std::string::npos);
    const std::shared_ptr<const HtsVoice> voice = TestVoice();
    ASSERT_NE(voice, nullptr);
    EXPECT_EQ(voice->SampleRate(), 48000);
    EXPECT_EQ(voice->FramePeriod(), 240);
    EXPECT_EQ(voice->LabelFormat(), "HTS_TTS_JPN");

    auto missing = files;
    missing[StyleIndex(natural::Style::Angry)] = "";
    HtsVoice::Loaded loaded = HtsVoice::Load(missing);
    EXPECT_EQ(loaded.voice, nullptr);
    EXPECT_EQ(loaded.error, "the natural voice's file tohoku-f01-angry.htsvoice is not installed");

    auto unreadable = files;
    unreadable[1] = "/nonexistent/tohoku-f01-happy.htsvoice";
    loaded = HtsVoice::Load(unreadable);
    EXPECT_EQ(loaded.voice, nullptr);
    EXPECT_EQ(loaded.error,
              "the natural voice's file /nonexistent/tohoku-f01-happy.htsvoice cannot be read");

    // A file that is no voice: refused, never a crash.
    const std::string path = std::filesystem::temp_directory_path() / "yomi6-not-a-voice.htsvoice";
    std::ofstream(path) << "[GLOBAL]\nHTS_VOICE_VERSION:1.0\n";
    auto broken = files;
    broken[2] = path;
    loaded = HtsVoice::Load(broken);
    std::filesystem::remove(path);
    EXPECT_EQ(loaded.voice, nullptr);
    EXPECT_NE(loaded.error, "");
}

} // namespace
} // namespace yomi6::synthesis
