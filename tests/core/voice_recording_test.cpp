// What the recorder does to a take (trim, level) and how a recording session keeps its takes;
// which sound a sample name resolves to once a slot has a voice; the voices in the settings.
#include "io/profile_file.h"
#include "settings/settings_path.h"
#include "settings/voice_settings.h"
#include "support/temp_dir.h"
#include "support/wave_writer.h"
#include "voice/recording_session.h"
#include "voice/sample_edit.h"
#include "voice/voice_selection.h"
#include "wave/sample_pcm.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sndfile.h>

namespace yomi6 {
namespace {

using test::TempDir;
constexpr int kRate = kOutputSampleRate;

// silenceBefore of noise, a tone, silenceAfter of noise; the noise at noiseAmp of full scale.
std::vector<std::int16_t> Take(double before, double tone, double after, double amp,
                               double noiseAmp) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> noise(-noiseAmp, noiseAmp);
    std::vector<std::int16_t> pcm;
    auto add = [&](double seconds, double toneAmp) {
        const auto n = static_cast<std::size_t>(seconds * kRate);
        for (std::size_t i = 0; i < n; ++i) {
            const double v =
                toneAmp * std::sin(2 * M_PI * 300 * static_cast<double>(i) / kRate) + noise(random);
            pcm.push_back(static_cast<std::int16_t>(std::lround(v * 32767)));
        }
    };
    add(before, 0);
    add(tone, amp);
    add(after, 0);
    return pcm;
}

TEST(SampleEditTest, TrimsTheQuietAroundTheVoiceWithASmallMargin) {
    for (const double noise : {0.0, 0.002, 0.01}) {
        SCOPED_TRACE(noise);
        const auto take = Take(0.5, 0.3, 0.7, 0.3, noise);
        const auto trimmed = TrimSilence(take, kRate);
        const double seconds = static_cast<double>(trimmed.size()) / kRate;
        // 0.3 s of voice, 15 ms of margin each side, give or take a 10 ms window.
        EXPECT_GE(seconds, 0.3);
        EXPECT_LE(seconds, 0.35);
        // The ends are faded in and out: no click.
        EXPECT_EQ(trimmed.front(), 0);
        EXPECT_LE(std::abs(trimmed.back()), 1);
    }
}

TEST(SampleEditTest, ATakeWithNothingInItTrimsToNothing) {
    EXPECT_TRUE(TrimSilence(std::vector<std::int16_t>(kRate, 0), kRate).empty());
    EXPECT_TRUE(TrimSilence(Take(0.5, 0, 0.5, 0, 0.003), kRate).empty()); // noise only
    EXPECT_TRUE(TrimSilence({}, kRate).empty());
}

TEST(SampleEditTest, LevelsAQuietTakeToTheBuiltInVoicesWithoutClipping) {
    const double target = BuiltInVoiceLevel();
    // The built-in recordings are ordinary speech levels: between -40 and -3 dBFS.
    EXPECT_GT(target, 328);
    EXPECT_LT(target, 23000);

    auto quiet = TrimSilence(Take(0.2, 0.3, 0.2, 0.02, 0.0005), kRate);
    LevelTo(quiet, kRate, target);
    EXPECT_NEAR(VoicedRms(quiet, kRate), target, target * 0.02);

    // A take with one loud click is raised only as far as the click allows.
    auto clicked = Take(0, 0.3, 0, 0.01, 0);
    clicked[100] = 30000;
    const double gain = LevelTo(clicked, kRate, target);
    int peak = 0;
    for (const auto s : clicked) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    EXPECT_LE(peak, 31130);
    EXPECT_NEAR(gain, 0.95 * 32767 / 30000, 0.01);

    std::vector<std::int16_t> silence(1000, 0);
    EXPECT_EQ(LevelTo(silence, kRate, target), 1.0);
}

TEST(RecordingSessionTest, KeepsEveryTakeAtOnceAndGoesOnWhereItStopped) {
    TempDir dir;
    const std::string folder = dir.File("voices/my voice");
    {
        RecordingSession session(folder);
        std::string error;
        ASSERT_TRUE(session.Open(error)) << error;
        // The pause is there from the start, as silence.
        const auto voice = LoadVoiceFolder(folder);
        EXPECT_EQ(voice->report.UsableCount(), 1U);
        EXPECT_EQ(voice->Find("S").size(), static_cast<std::size_t>(kRate / 4));
        EXPECT_EQ(RecordingSession::Count(), kVoiceUnitCount - 1);
        EXPECT_EQ(session.FirstMissing(), 0U);

        const auto take = test::Sine16(kRate, 0.2, 441, 0.3);
        ASSERT_TRUE(session.Save(0, take, kRate, error)) << error;
        ASSERT_TRUE(session.Save(1, take, kRate, error)) << error;
        ASSERT_TRUE(session.Save(3, take, kRate, error)) << error;
        EXPECT_EQ(session.FirstMissing(), 2U);
        EXPECT_EQ(session.RecordedCount(), 3U);
        // A redo replaces the take.
        ASSERT_TRUE(session.Save(1, test::Sine16(kRate, 0.1, 441, 0.3), kRate, error));
    }
    // Another session over the folder, as after a crash or a closed dialog.
    RecordingSession again(folder);
    std::string error;
    ASSERT_TRUE(again.Open(error)) << error;
    EXPECT_EQ(again.FirstMissing(), 2U);
    const auto voice = LoadVoiceFolder(folder);
    EXPECT_EQ(voice->report.UsableCount(), 4U);
    EXPECT_EQ(voice->Find(RecordingSession::Unit(0).suffix).size(),
              static_cast<std::size_t>(kRate / 5));
    EXPECT_EQ(voice->Find(RecordingSession::Unit(1).suffix).size(),
              static_cast<std::size_t>(kRate / 10));

    test::WriteFile(dir.File("plain"), "x");
    RecordingSession onAFile(dir.File("plain"));
    EXPECT_FALSE(onAFile.Open(error));
    EXPECT_FALSE(error.empty());
}

TEST(VoiceSelectionTest, ASlotSpeaksItsFolderAndFallsBackToItsBuiltInVoice) {
    TempDir dir;
    test::WriteSineWave(dir.File("KA.wav"), 44100, 1, SF_FORMAT_PCM_16, 0.1);
    const auto folder = LoadVoiceFolder(dir.path());

    VoiceSelection selection;
    EXPECT_EQ(selection.Resolve("IDF_KA").builtInName, "IDF_KA");
    EXPECT_TRUE(selection.Resolve("IDF_KA").pcm.empty());

    selection.Assign(VoiceSlot::Female, {VoiceSlot::Female, folder});
    EXPECT_EQ(selection.Resolve("IDF_KA").pcm.data(), folder->Find("KA").data());
    EXPECT_EQ(selection.Resolve("IDF_KI").builtInName, "IDF_KI"); // the folder lacks KI
    EXPECT_EQ(selection.Resolve("IDW_KA").builtInName, "IDW_KA"); // the other slot
    EXPECT_EQ(selection.Resolve("nonsense").builtInName, "nonsense");

    // The female slot speaking with the built-in male voice, and a folder again over it.
    const std::uint64_t before = selection.Generation();
    selection.Assign(VoiceSlot::Female, {VoiceSlot::Male, nullptr});
    EXPECT_GT(selection.Generation(), before);
    EXPECT_EQ(selection.Resolve("IDF_GYA").builtInName, "IDW_GYA");
    EXPECT_TRUE(selection.Resolve("IDF_KA").pcm.empty());
    selection.Assign(VoiceSlot::Male, {VoiceSlot::Female, folder});
    EXPECT_FALSE(selection.Resolve("IDW_KA").pcm.empty());
    EXPECT_EQ(selection.Resolve("IDW_KI").builtInName, "IDF_KI");
}

TEST(VoiceSettingsTest, RoundTripThroughTheSettingsFileAndForgetRemovedFolders) {
    ProfileFile profile;
    EXPECT_EQ(LoadVoiceSettings(profile), VoiceSettings{});
    VoiceSettings voices{"female", "/home/u/voices/a", {"/mnt/x", "/mnt/y", "/mnt/z"}};
    ASSERT_TRUE(SaveVoiceSettings(profile, voices));
    ProfileFile reread = ProfileFile::FromBytes(profile.Bytes());
    EXPECT_EQ(LoadVoiceSettings(reread), voices);
    EXPECT_NE(profile.Bytes().find("[Voices]\r\nMaleSlot=female\r\nFemaleSlot=/home/u/voices/a\r\n"
                                   "Folder1=/mnt/x\r\n"),
              std::string::npos)
        << profile.Bytes();

    voices.addedFolders = {"/mnt/y"};
    ASSERT_TRUE(SaveVoiceSettings(reread, voices));
    EXPECT_EQ(LoadVoiceSettings(ProfileFile::FromBytes(reread.Bytes())), voices);
    EXPECT_EQ(reread.Bytes().find("Folder2"), std::string::npos);
}

TEST(VoiceSettingsTest, NaturalControlsRoundTripAndReadClampedOrAsDefaults) {
    // A file of an earlier version has none of the keys: the voice as it was.
    const ProfileFile earlier = ProfileFile::FromBytes("[Voices]\r\nFemaleSlot=natural:happy\r\n");
    EXPECT_EQ(LoadNaturalControls(earlier), (NaturalControls{0, 10, 100}));

    ProfileFile profile = ProfileFile::FromBytes(earlier.Bytes());
    ASSERT_TRUE(SaveNaturalControls(profile, {-5, 3, 40}));
    EXPECT_EQ(LoadNaturalControls(ProfileFile::FromBytes(profile.Bytes())),
              (NaturalControls{-5, 3, 40}));
    EXPECT_EQ(LoadVoiceSettings(profile).femaleSlot, "natural:happy"); // the slot kept

    // Out of range or not a number: the nearest end, or the default; never a crash.
    const ProfileFile odd = ProfileFile::FromBytes(
        "[Voices]\r\nNaturalPitch=99\r\nNaturalIntonation=-4\r\nNaturalStyleWeight=x\r\n");
    EXPECT_EQ(LoadNaturalControls(odd), (NaturalControls{12, 0, 100}));
    const ProfileFile low =
        ProfileFile::FromBytes("[Voices]\r\nNaturalPitch=-2147483648\r\nNaturalIntonation=500\r\n"
                               "NaturalStyleWeight=101\r\n");
    EXPECT_EQ(LoadNaturalControls(low), (NaturalControls{-12, 20, 100}));
    // What is written is clamped too.
    ProfileFile written;
    ASSERT_TRUE(SaveNaturalControls(written, {40, -1, 250}));
    EXPECT_NE(written.Bytes().find("NaturalPitch=12\r\nNaturalIntonation=0\r\n"
                                   "NaturalStyleWeight=100\r\n"),
              std::string::npos)
        << written.Bytes();
}

TEST(VoiceSettingsTest, VoicesLiveInTheUsersDataDirectory) {
    EXPECT_EQ(VoicesDirectoryFrom("/data", "/home/u"), "/data/yomi6/voices");
    EXPECT_EQ(VoicesDirectoryFrom("relative", "/home/u/"), "/home/u/.local/share/yomi6/voices");
    EXPECT_EQ(VoicesDirectoryFrom(nullptr, nullptr), "");
}

} // namespace
} // namespace yomi6
