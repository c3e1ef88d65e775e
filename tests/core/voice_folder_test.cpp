// Voice folders on disk: which units are usable, missing or unusable and why, with files of
// every common layout, broken files, links, pipes and folders that cannot be read.
#include "support/temp_dir.h"
#include "support/wave_writer.h"
#include "voice/voice_folder.h"
#include "voice/voice_report_text.h"
#include "voice/voice_table.h"
#include "wave/sample_pcm.h"
#include "wave/wave_decoder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace yomi6 {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::WriteFile;

const UnitReport& UnitOf(const VoiceFolderReport& report, std::string_view suffix) {
    for (const UnitReport& unit : report.units) {
        if (unit.suffix == suffix) {
            return unit;
        }
    }
    throw std::runtime_error("no unit " + std::string(suffix));
}

TEST(VoiceUnitsTest, AreTheSuffixesOfTheUnitTablesEachOnceThePauseLast) {
    std::set<std::string_view> fromTables;
    for (const UnitTable& table : UnitTables()) {
        for (std::size_t i = 0; i < table.units.size(); ++i) {
            fromTables.insert(FieldText(table.femaleNames[i]).substr(kFemalePrefix.size()));
            fromTables.insert(FieldText(table.maleNames[i]).substr(kMalePrefix.size()));
        }
    }
    std::set<std::string_view> listed;
    for (const VoiceUnit& unit : VoiceUnits()) {
        EXPECT_TRUE(listed.insert(unit.suffix).second) << unit.suffix << " twice";
        EXPECT_FALSE(unit.kana.empty()) << unit.suffix;
    }
    EXPECT_EQ(listed, fromTables);
    EXPECT_EQ(VoiceUnits().back().suffix, kPauseSuffix);
    EXPECT_EQ(FindVoiceUnit("GYA")->kana, "ギャ");
    EXPECT_EQ(FindVoiceUnit("gya"), nullptr);
}

TEST(VoiceFolderTest, ConvertsEveryLayoutToThePlayersFormatOnce) {
    TempDir dir;
    test::WriteSineWave(dir.File("KA.wav"), 48000, 2, SF_FORMAT_PCM_16, 0.3, 441);
    test::WriteSineWave(dir.File("ga.WAV"), 8000, 1, SF_FORMAT_PCM_U8, 0.2, 441);
    test::WriteSineWave(dir.File("S.wav"), 44100, 1, SF_FORMAT_FLOAT, 0.25, 441, 0.1, true);
    test::WriteSineWave(dir.File("GYA.wav"), 96000, 4, SF_FORMAT_PCM_24, 0.1, 441);
    const auto voice = LoadVoiceFolder(dir.path());
    const VoiceFolderReport& report = voice->report;
    EXPECT_EQ(report.folderProblem, FolderProblem::None);
    EXPECT_EQ(report.UsableCount(), 4U);
    EXPECT_EQ(report.MissingCount(), kVoiceUnitCount - 4);
    EXPECT_FALSE(report.HasUnusable());

    const UnitReport& ka = UnitOf(report, "KA");
    EXPECT_EQ(ka.file, "KA.wav");
    EXPECT_EQ(ka.sampleRate, 48000);
    EXPECT_EQ(ka.channels, 2);
    EXPECT_EQ(UnitOf(report, "GA").file, "ga.WAV");
    struct Expect {
        std::string_view suffix;
        double seconds;
    };
    for (const Expect e :
         {Expect{"KA", 0.3}, Expect{"GA", 0.2}, Expect{"S", 0.25}, Expect{"GYA", 0.1}}) {
        SCOPED_TRACE(e.suffix);
        const auto pcm = voice->Find(e.suffix);
        // The duration is kept to within a frame or two, and the tone stays a 441 Hz tone.
        EXPECT_NEAR(static_cast<double>(pcm.size()), e.seconds * kOutputSampleRate, 2);
        const int crossings = test::ZeroCrossings({pcm.begin(), pcm.end()});
        EXPECT_NEAR(crossings, 2 * 441 * e.seconds, 3);
    }
    EXPECT_TRUE(voice->Find("KI").empty());
    EXPECT_TRUE(voice->Find("nonsense").empty());
}

TEST(VoiceFolderTest, EveryBrokenFileIsAnEntryWithItsReason) {
    TempDir dir;
    const std::string& d = dir.path();
    // A text named like a unit.
    WriteFile(dir.File("KA.wav"), "not a sound at all\n");
    // A header that claims far more sound than the file holds.
    test::WriteSineWave(dir.File("KI.wav"), 44100, 1, SF_FORMAT_PCM_16, 0.2);
    fs::resize_file(dir.File("KI.wav"), 1000);
    // 2 GB, sparse: refused by its size before anything is read.
    {
        WriteFile(dir.File("KU.wav"), "RIFF");
        fs::resize_file(dir.File("KU.wav"), 2ULL * 1024 * 1024 * 1024);
    }
    // A pipe nobody writes to: opening it for reading must not wait.
    ASSERT_EQ(::mkfifo(dir.File("KE.wav").c_str(), 0600), 0);
    fs::create_directory(dir.File("KO.wav"));
    // Links: to a good file outside the folder, to nothing, in a loop, to a folder.
    TempDir elsewhere;
    test::WriteSineWave(elsewhere.File("borrowed.wav"), 22050, 2, SF_FORMAT_PCM_16, 0.2);
    fs::create_symlink(elsewhere.File("borrowed.wav"), dir.File("SA.wav"));
    fs::create_symlink(dir.File("gone.wav"), dir.File("SI.wav"));
    fs::create_symlink(dir.File("SE.wav"), dir.File("SU.wav"));
    fs::create_symlink(dir.File("SU.wav"), dir.File("SE.wav"));
    fs::create_symlink(elsewhere.path(), dir.File("SO.wav"));
    // Too long for a unit.
    test::WriteSineWave(dir.File("TA.wav"), 8000, 1, SF_FORMAT_PCM_16, 6.0);
    // Two spellings of one unit, and a file that is no unit at all.
    test::WriteSineWave(dir.File("TI.wav"), 8000, 1, SF_FORMAT_PCM_16, 0.1);
    test::WriteSineWave(dir.File("ti.wav"), 8000, 1, SF_FORMAT_PCM_16, 0.1);
    test::WriteSineWave(dir.File("XYZ.wav"), 8000, 1, SF_FORMAT_PCM_16, 0.1);
    // What the crash-safe writer leaves while it writes, and other files: not looked at.
    WriteFile(dir.File(".TU.wav.tmp-123"), "partial");
    WriteFile(dir.File("notes.txt"), "my voice");

    const auto voice = LoadVoiceFolder(d);
    const VoiceFolderReport& report = voice->report;
    EXPECT_TRUE(report.HasUnusable());

    EXPECT_EQ(UnitOf(report, "KA").problem, UnitProblem::BadWave);
    EXPECT_EQ(UnitOf(report, "KA").waveError, WaveError::NotRiff);
    EXPECT_EQ(UnitOf(report, "KI").problem, UnitProblem::BadWave);
    EXPECT_EQ(UnitOf(report, "KI").waveError, WaveError::Truncated);
    EXPECT_EQ(UnitOf(report, "KU").problem, UnitProblem::TooLarge);
    EXPECT_NE(UnitOf(report, "KU").detail.find("2147483648 bytes"), std::string::npos);
    EXPECT_EQ(UnitOf(report, "KE").problem, UnitProblem::NotRegularFile);
    EXPECT_EQ(UnitOf(report, "KE").detail, "a named pipe");
    EXPECT_EQ(UnitOf(report, "KO").problem, UnitProblem::NotRegularFile);
    EXPECT_EQ(UnitOf(report, "SA").problem, UnitProblem::None);
    EXPECT_EQ(UnitOf(report, "SA").sampleRate, 22050);
    EXPECT_EQ(UnitOf(report, "SI").problem, UnitProblem::BrokenLink);
    EXPECT_EQ(UnitOf(report, "SU").problem, UnitProblem::BrokenLink);
    EXPECT_EQ(UnitOf(report, "SU").detail, "a loop of symbolic links");
    EXPECT_EQ(UnitOf(report, "SO").problem, UnitProblem::NotRegularFile);
    EXPECT_EQ(UnitOf(report, "TA").problem, UnitProblem::TooLong);
    EXPECT_EQ(UnitOf(report, "TI").problem, UnitProblem::None);
    EXPECT_EQ(UnitOf(report, "TI").file, "TI.wav");
    EXPECT_EQ(UnitOf(report, "TU").problem, UnitProblem::Missing);
    EXPECT_EQ(report.ignoredFiles, (std::vector<std::string>{"XYZ.wav: not named after a unit",
                                                             "ti.wav: TI.wav is used for TI"}));
    // Only usable units have frames.
    EXPECT_FALSE(voice->Find("SA").empty());
    EXPECT_TRUE(voice->Find("KA").empty());
    EXPECT_TRUE(voice->Find("TA").empty());

    const std::string text = FormatVoiceReport(report);
    EXPECT_NE(text.find("Units: 141 (2 usable, 129 missing, 10 unusable)"), std::string::npos)
        << text;
    EXPECT_NE(text.find("  KU.wav: too large: the file holds 2147483648 bytes"), std::string::npos)
        << text;
    EXPECT_NE(text.find("  KE.wav: not a regular file: a named pipe\n"), std::string::npos);
    EXPECT_NE(text.find("Missing (the built-in voice speaks them): A I U E O TU"),
              std::string::npos)
        << text;
}

TEST(VoiceFolderTest, AFolderThatCannotBeReadIsOneEntryAndEveryUnitFallsBack) {
    TempDir dir;
    WriteFile(dir.File("file"), "x");
    struct Case {
        std::string path;
        FolderProblem problem;
    };
    for (const Case& c : {Case{dir.File("absent"), FolderProblem::NotFound},
                          Case{dir.File("file"), FolderProblem::NotADirectory},
                          Case{dir.File("file/below"), FolderProblem::Unreadable}}) {
        SCOPED_TRACE(c.path);
        const auto voice = LoadVoiceFolder(c.path);
        EXPECT_EQ(voice->report.folderProblem, c.problem);
        EXPECT_TRUE(voice->report.HasUnusable());
        EXPECT_EQ(voice->report.MissingCount(), kVoiceUnitCount);
        EXPECT_NE(FormatVoiceReport(voice->report).find("All units: the built-in voice"),
                  std::string::npos);
    }
    if (::geteuid() != 0) { // permissions do not bind the superuser
        const std::string locked = dir.File("locked");
        fs::create_directory(locked);
        fs::permissions(locked, fs::perms::none);
        const auto voice = LoadVoiceFolder(locked);
        EXPECT_EQ(voice->report.folderProblem, FolderProblem::Unreadable);
        EXPECT_EQ(voice->report.folderDetail, "Permission denied");
    }
}

TEST(VoiceFolderTest, MessagesSayExactlyWhatIsWrong) {
    TempDir dir;
    // One frame over the limit at 16 kHz: "5.00 s" would look within "5.0 s".
    auto write = [&](const char* name, std::size_t frames) {
        const std::vector<std::int16_t> pcm(frames, 1000);
        const auto bytes = EncodeWave16(pcm, 16000);
        WriteFile(dir.File(name), std::string(bytes.begin(), bytes.end()));
    };
    write("A.wav", 80001);
    write("I.wav", 80000);
    const auto voice = LoadVoiceFolder(dir.path());
    EXPECT_EQ(UnitOf(voice->report, "A").problem, UnitProblem::TooLong);
    EXPECT_EQ(UnitOf(voice->report, "A").frames, 80001U);
    EXPECT_EQ(UnitOf(voice->report, "A").detail,
              "it holds 80001 frames at 16000 Hz (5.000 s); a unit may hold 80000 (5 s) at most");
    EXPECT_EQ(UnitOf(voice->report, "I").problem, UnitProblem::None);
    EXPECT_EQ(MaxUnitFrames({}, 44100), 220500U);

    // A folder that is something else says what it is, once.
    WriteFile(dir.File("file"), "x");
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    EXPECT_NE(FormatVoiceReport(LoadVoiceFolder(dir.File("file"))->report)
                  .find("\nThe folder is not a folder but a regular file\n"),
              std::string::npos);
    EXPECT_EQ(FolderProblemText(LoadVoiceFolder(dir.File("pipe"))->report),
              "is not a folder but a named pipe");
    EXPECT_EQ(FolderProblemText(LoadVoiceFolder(dir.File("absent"))->report), "does not exist");
}

TEST(VoiceFolderTest, ReportsProgressPerFileAndCanBeCancelled) {
    TempDir dir;
    for (const char* name : {"A.wav", "I.wav", "U.wav", "E.wav"}) {
        test::WriteSineWave(dir.File(name), 8000, 1, SF_FORMAT_PCM_16, 0.05);
    }
    std::vector<std::size_t> seen;
    const auto all = LoadVoiceFolder(dir.path(), [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 4U);
        seen.push_back(done);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(all->report.UsableCount(), 4U);

    const auto cut =
        LoadVoiceFolder(dir.path(), [](std::size_t done, std::size_t) { return done < 2; });
    EXPECT_TRUE(cut->report.cancelled);
    EXPECT_EQ(cut->report.UsableCount(), 2U);
}

} // namespace
} // namespace yomi6
