// The natural voice's pauses as the settings file and the command line keep them: the defaults
// of a file of an earlier version, a list read onto the table, and what is clamped or refused.
#include "cli/cli_options.h"
#include "io/profile_file.h"
#include "settings/pause_table.h"
#include "settings/voice_settings.h"

#include <gtest/gtest.h>

namespace yomi6 {
namespace {

TEST(PauseTableTest, AFileWithoutTheKeysReadsAsTheDefaultsAndWhatIsWrittenReadsBack) {
    const ProfileFile earlier = ProfileFile::FromBytes("[Voices]\r\nNaturalPitch=3\r\n");
    const PauseTable defaults = DefaultPauses();
    EXPECT_EQ(LoadPauses(earlier), defaults);
    // Each mark its own value: a table of equal values would hide keys that are swapped.
    for (std::size_t i = 1; i < kPauseMarkCount; ++i) {
        EXPECT_GT(defaults.ms[i], defaults.At(PauseMark::Comma)) << kPauseNames[i];
    }
    EXPECT_GT(defaults.At(PauseMark::BlankLine), defaults.At(PauseMark::LineEnd));

    ProfileFile profile = ProfileFile::FromBytes(earlier.Bytes());
    PauseTable set;
    set.ms = {10, 20, 30, 40, 50, 60, 70};
    ASSERT_TRUE(SavePauses(profile, set));
    const ProfileFile reread = ProfileFile::FromBytes(profile.Bytes());
    EXPECT_EQ(LoadPauses(reread), set);
    EXPECT_EQ(LoadNaturalControls(reread).halfTones, 3); // the controls beside them kept
    EXPECT_NE(profile.Bytes().find("PauseComma=10\r\nPausePeriod=20\r\n"), std::string::npos);

    // Out of range: the nearest end; no number: the default; never a crash.
    const ProfileFile odd = ProfileFile::FromBytes(
        "[Voices]\r\nPauseComma=-5\r\nPausePeriod=999999\r\nPauseDash=long\r\n"
        "PauseBlankLine=-2147483648\r\n");
    const PauseTable read = LoadPauses(odd);
    EXPECT_EQ(read.At(PauseMark::Comma), 0);
    EXPECT_EQ(read.At(PauseMark::Period), 5000);
    EXPECT_EQ(read.At(PauseMark::Dash), defaults.At(PauseMark::Dash));
    EXPECT_EQ(read.At(PauseMark::BlankLine), 0);
    // What is written is clamped too.
    ProfileFile written;
    PauseTable wild = defaults;
    wild.At(PauseMark::Ellipsis) = 70000;
    wild.At(PauseMark::LineEnd) = -1;
    ASSERT_TRUE(SavePauses(written, wild));
    EXPECT_NE(written.Bytes().find("PauseEllipsis=5000\r\n"), std::string::npos);
    EXPECT_NE(written.Bytes().find("PauseLineEnd=0\r\n"), std::string::npos);
}

TEST(PauseTableTest, AListSetsTheMarksItNamesAndABadOneChangesNothing) {
    PauseTable table = DefaultPauses();
    EXPECT_EQ(ParsePauseList("period=600,comma=250,blank=0", table), "");
    EXPECT_EQ(table.At(PauseMark::Comma), 250);
    EXPECT_EQ(table.At(PauseMark::Period), 600);
    EXPECT_EQ(table.At(PauseMark::BlankLine), 0);
    EXPECT_EQ(table.At(PauseMark::Dash), DefaultPauses().At(PauseMark::Dash));
    // The full list reads back as the same table.
    PauseTable again;
    EXPECT_EQ(ParsePauseList(PauseListOf(table), again), "");
    EXPECT_EQ(again, table);
    EXPECT_EQ(PauseListOf(DefaultPauses()),
              "comma=120,period=500,question=500,ellipsis=700,dash=400,line=800,blank=1500");

    const PauseTable before = table;
    for (const auto& [list, error] : std::vector<std::pair<std::string, std::string>>{
             {"comma=250,colon=100",
              "--pauses knows comma, period, question, ellipsis, dash, line, blank, not 'colon'"},
             {"comma=5001", "--pauses takes for comma a whole number of milliseconds from 0 to "
                            "5000, not '5001'"},
             {"dash=-1", "--pauses takes for dash a whole number of milliseconds from 0 to "
                         "5000, not '-1'"},
             {"line=1.5", "--pauses takes for line a whole number of milliseconds from 0 to "
                          "5000, not '1.5'"},
             {"line=", "--pauses takes for line a whole number of milliseconds from 0 to "
                       "5000, not ''"},
             {"comma=100,", "--pauses takes name=milliseconds items separated by commas, not ''"},
             {"", "--pauses takes name=milliseconds items separated by commas, not ''"},
             {"comma", "--pauses takes name=milliseconds items separated by commas, not 'comma'"},
         }) {
        EXPECT_EQ(ParsePauseList(list, table), error) << list;
        EXPECT_EQ(table, before) << list; // the good items before the bad one not taken either
    }
}

TEST(PauseTableTest, TheCommandLineTakesAListWithTheNaturalVoice) {
    const auto parsed = cli::ParseCommandLine(
        {"--engine", "natural", "--pauses", "comma=300,line=0", "--wav", "o.wav", "a"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.pauses, "comma=300,line=0");
    EXPECT_EQ(
        cli::ParseCommandLine({"--engine", "natural", "--pauses", "comma=x", "--wav", "o.wav", "a"})
            .error,
        "--pauses takes for comma a whole number of milliseconds from 0 to 5000, not 'x'");
    EXPECT_EQ(cli::ParseCommandLine({"--pauses", "comma=300", "--wav", "o.wav", "a"}).error,
              "--pauses goes with --engine natural");
    EXPECT_EQ(
        cli::ParseCommandLine({"--engine", "natural", "--wav", "o.wav", "a", "--pauses"}).error,
        "--pauses needs a list such as comma=250,period=600");
    EXPECT_NE(cli::UsageText().find("--pauses MARK=MS"), std::string::npos);
}

} // namespace
} // namespace yomi6
