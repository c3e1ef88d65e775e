// The settings module: keys, defaults, order and clamps of the settings file, the font records
// with their baselines, the main window's entries and where the file lives.
#include "playback/speech_state.h"
#include "settings/font_record.h"
#include "settings/settings.h"
#include "settings/settings_keys.h"
#include "settings/settings_path.h"
#include "settings/shell_profile.h"
#include "support/scoped_env.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace yomi6 {
namespace {

using test::ReadFile;
using test::Sjis;
using test::TempDir;
using test::WriteFile;

const std::string kSection = Sjis("よみあげPadのセッティング");

std::string Golden(const char* name) {
    return ReadFile(std::string(YOMI6_SOURCE_DIR) + "/tests/golden/settings/" + name);
}

// A run of the program over one settings file: load at the start, save at the end.
struct ProgramRun {
    AppSettings settings;
    SpeechChoices speech;

    void Start(const std::string& path) {
        const ProfileFile profile = ProfileFile::Open(path);
        LoadSettings(profile, settings, speech);
        LoadChildShowState(profile, settings);
    }
    void End(const std::string& path) {
        ProfileFile profile = ProfileFile::Open(path);
        SaveSettings(profile, settings, speech);
        SaveChildShowState(profile, settings);
        ASSERT_TRUE(profile.Save()) << profile.SaveError();
    }
};

FontDescription ChosenFont(std::int32_t height, const std::string& face) {
    FontDescription font;
    font.height = height;
    font.weight = 400;
    font.charSet = 0;
    SetFaceName(font, face);
    return font;
}

TEST(SettingsTest, FirstRunUsesDefaultsAndWritesExactlyTheListedKeys) {
    TempDir dir;
    const std::string path = dir.File("config/yomi6.ini");
    ProgramRun run;
    run.Start(path);
    EXPECT_EQ(run.speech.speed, 180);
    EXPECT_FALSE(run.speech.maleVoice);
    EXPECT_FALSE(run.settings.wordWrap);
    EXPECT_EQ(run.settings.screenFont.height, 0);
    EXPECT_EQ(run.settings.printerFont.height, 0);
    EXPECT_FALSE(run.settings.printFileName);
    EXPECT_FALSE(run.settings.printDate);
    EXPECT_TRUE(run.settings.printPageNumber);
    EXPECT_EQ(run.settings.childShowState, ShowState::Maximized);
    const WindowRect rect = ReadMainWindowRect(ProfileFile::Open(path));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 580);
    EXPECT_EQ(rect.bottom, 350);
    EXPECT_FALSE(std::filesystem::exists(dir.File("config"))) << "reading creates nothing";

    run.End(path);
    EXPECT_EQ(test::ToHex(ReadFile(path)), test::ToHex(Golden("settings_first_run.ini")));
}

TEST(SettingsTest, ChildShowStateIsWrittenOnlyWhenItChanged) {
    TempDir dir;
    const std::string path = dir.File("yomi6.ini");
    ProgramRun run;
    run.settings.childShowState = ShowState::Minimized; // as if set before loading: the default
    run.Start(path);
    EXPECT_EQ(run.settings.childShowState, ShowState::Minimized);
    EXPECT_EQ(run.settings.childShowStateSaved, ShowState::Minimized);

    ProfileFile profile = ProfileFile::Open(path);
    SaveChildShowState(profile, run.settings);
    EXPECT_FALSE(profile.IsModified());

    run.settings.childShowState = ShowState::Normal;
    SaveChildShowState(profile, run.settings);
    EXPECT_EQ(run.settings.childShowStateSaved, ShowState::Normal);
    EXPECT_EQ(profile.Bytes(), "[" + kSection + "]\r\n" + Sjis("子ウィンドウのサイズ") + "=1\r\n");
    ASSERT_TRUE(profile.Save());

    ProgramRun next;
    next.Start(path);
    EXPECT_EQ(next.settings.childShowState, ShowState::Normal);
    EXPECT_EQ(next.settings.childShowStateSaved, ShowState::Normal);
}

TEST(SettingsTest, SpeedAbove1000IsCutNegativeIsKeptAndAbsentKeepsTheCurrentSpeed) {
    const std::string speedKey = Sjis("しゃべるスピード");
    const auto loaded = [&](const std::string& line, std::int32_t current) {
        SpeechChoices speech;
        speech.speed = current;
        LoadSpeechSettings(ProfileFile::FromBytes("[" + kSection + "]\r\n" + line + "\r\n"),
                           speech);
        return speech.speed;
    };
    EXPECT_EQ(loaded(speedKey + "=5000", 180), 1000);
    EXPECT_EQ(loaded(speedKey + "=1000", 180), 1000);
    EXPECT_EQ(loaded(speedKey + "=-50", 180), -50);
    EXPECT_EQ(loaded(speedKey + "=0", 180), 0);
    EXPECT_EQ(loaded("other=1", 250), 250);
    EXPECT_EQ(loaded(speedKey + "=fast", 250), 250);
}

TEST(SettingsTest, ChangedValuesSurviveARun) {
    TempDir dir;
    const std::string path = dir.File("yomi6.ini");
    ProgramRun first;
    first.Start(path);
    first.settings.wordWrap = true;
    first.settings.printFileName = true;
    first.settings.printDate = true;
    first.settings.printPageNumber = false;
    first.settings.childShowState = ShowState::Normal;
    first.settings.screenFont = ChosenFont(-16, Sjis("ＭＳ ゴシック"));
    first.settings.printerFont = ChosenFont(-120, "Courier");
    first.speech.speed = 90;
    first.speech.maleVoice = true;
    first.speech.readings = ReadingsChoice::Automatic;
    first.speech.notationSilent = false;
    first.End(path);
    // Every key with the number it has always had in the file.
    EXPECT_EQ(test::ToHex(ReadFile(path)), test::ToHex(Golden("settings_changed.ini")));

    ProgramRun second;
    second.Start(path);
    EXPECT_TRUE(second.settings.wordWrap);
    EXPECT_TRUE(second.settings.printFileName);
    EXPECT_TRUE(second.settings.printDate);
    EXPECT_FALSE(second.settings.printPageNumber);
    EXPECT_EQ(second.settings.childShowState, ShowState::Normal);
    EXPECT_EQ(second.speech.speed, 90);
    EXPECT_TRUE(second.speech.maleVoice);
    EXPECT_EQ(second.speech.readings, ReadingsChoice::Automatic);
    EXPECT_FALSE(second.speech.notationSilent);
    EXPECT_EQ(second.settings.screenFont.height, -16);
    EXPECT_EQ(FaceName(second.settings.screenFont), Sjis("ＭＳ ゴシック"));
    EXPECT_EQ(second.settings.printerFont.height, -120);
    EXPECT_EQ(FaceName(second.settings.printerFontBaseline), "Courier");
    EXPECT_EQ(second.settings.printerFontBaseline.weight, 400);

    // Nothing changed during the second run: saving it leaves the file byte for byte.
    const std::string before = ReadFile(path);
    second.End(path);
    EXPECT_EQ(ReadFile(path), before);
}

TEST(SettingsTest, ReadingModeIsKeptOnceChosenAndOddValuesReadAsTheDictionary) {
    TempDir dir;
    const std::string path = dir.File("yomi6.ini");
    const std::string key = Sjis("読み方=");
    // No key: the mode is not chosen, and a run that does not switch it leaves the file without.
    ProgramRun fresh;
    fresh.Start(path);
    EXPECT_EQ(fresh.speech.readings, ReadingsChoice::Unchosen);
    fresh.End(path);
    EXPECT_EQ(ReadFile(path).find(key), std::string::npos);
    // A switch to the dictionary from there is kept, though 0 is the key's old default.
    ProgramRun switcher;
    switcher.Start(path);
    switcher.speech.readings = ReadingsChoice::Dictionary;
    switcher.End(path);
    EXPECT_NE(ReadFile(path).find(key + "0\r\n"), std::string::npos);

    ProgramRun first;
    first.Start(path);
    EXPECT_EQ(first.speech.readings, ReadingsChoice::Dictionary);
    first.speech.readings = ReadingsChoice::Automatic;
    first.End(path);
    EXPECT_NE(ReadFile(path).find(key + "1\r\n"), std::string::npos);

    ProgramRun second;
    second.Start(path);
    EXPECT_EQ(second.speech.readings, ReadingsChoice::Automatic);
    // Back to the dictionary: the key, now in the file, says so.
    second.speech.readings = ReadingsChoice::Dictionary;
    second.End(path);
    EXPECT_NE(ReadFile(path).find(key + "0\r\n"), std::string::npos);

    for (const char* value : {"2", "-1", "x"}) {
        WriteFile(path, "[" + Sjis("よみあげPadのセッティング") + "]\r\n" + key + value + "\r\n");
        ProgramRun run;
        run.speech.readings = ReadingsChoice::Automatic;
        run.Start(path);
        EXPECT_EQ(run.speech.readings, ReadingsChoice::Dictionary) << value;
    }

    // The analyzer dictionary folder is read from the file, in code page 932, never written.
    WriteFile(path, "[" + Sjis("よみあげPadのセッティング") + "]\r\n" + Sjis("解析辞書=/opt/辞書") +
                        "\r\n");
    EXPECT_EQ(AnalyzerDictionarySetting(ProfileFile::Open(path)), "/opt/辞書");
    EXPECT_EQ(AnalyzerDictionarySetting(ProfileFile()), "");
}

TEST(FontRecordTest, OnlyFieldsThatDifferFromTheBaselineAreWritten) {
    const std::string section = Sjis("フォント");
    ProfileFile profile = ProfileFile::FromBytes("");
    FontDescription baseline; // nothing stored before: all zero
    const FontDescription chosen = ChosenFont(-16, "Gothic");
    SaveFontRecord(profile, section, chosen, baseline);
    EXPECT_EQ(profile.Bytes(),
              "[" + section + "]\r\nHeight=-16\r\nWeight=400\r\nFaceName=Gothic\r\n");
    EXPECT_EQ(baseline.weight, 400);
    EXPECT_EQ(FaceName(baseline), "Gothic");

    // The character set 0 was never written, so the next run reads it as 1; italic 0 as 0.
    FontDescription next;
    LoadFontRecord(profile, section, next);
    EXPECT_EQ(next.height, -16);
    EXPECT_EQ(next.charSet, 1);
    EXPECT_EQ(next.italic, 0);
    EXPECT_EQ(next.weight, 400);

    // Byte fields go out as 0 to 255, in the order of the keys.
    FontDescription styled = chosen;
    styled.italic = 255;
    styled.charSet = 128;
    styled.pitchAndFamily = 49;
    ProfileFile second = ProfileFile::FromBytes("");
    SaveFontRecord(second, section, styled, baseline);
    EXPECT_EQ(second.Bytes(), "[" + section +
                                  "]\r\nHeight=-16\r\nItalic=255\r\nPitchAndFamily=49\r\n"
                                  "CharSet=128\r\n");
}

TEST(FontRecordTest, HeightZeroLeavesTheOtherFieldsAsTheyAre) {
    const ProfileFile profile =
        ProfileFile::FromBytes("[F]\nHeight=0\nWeight=700\nCharSet=128\nFaceName=Other\n");
    FontDescription record = ChosenFont(-12, "Kept");
    record.charSet = 7;
    LoadFontRecord(profile, "F", record);
    EXPECT_EQ(record.height, 0);
    EXPECT_EQ(record.weight, 400);
    EXPECT_EQ(record.charSet, 7);
    EXPECT_EQ(FaceName(record), "Kept");
}

TEST(FontRecordTest, HeightsBeyondTheLimitAreCutKeepingTheirSign) {
    const auto loadedHeight = [](const std::string& height) {
        FontDescription record;
        LoadFontRecord(ProfileFile::FromBytes("[F]\nHeight=" + height + "\n"), "F", record);
        return record.height;
    };
    EXPECT_EQ(loadedHeight("-2147483648"), -kMaxFontHeight);
    EXPECT_EQ(loadedHeight("2147483647"), kMaxFontHeight);
    EXPECT_EQ(loadedHeight("-1001"), -kMaxFontHeight);
    EXPECT_EQ(loadedHeight("1001"), kMaxFontHeight);
    EXPECT_EQ(loadedHeight("-1000"), -1000);
    EXPECT_EQ(loadedHeight("-16"), -16);
    EXPECT_EQ(loadedHeight("1"), 1);

    // Both the screen font and the printer font of a run's settings.
    TempDir dir;
    const std::string path = dir.File("yomi6.ini");
    WriteFile(path, Sjis("[フォント]\r\nHeight=-2147483648\r\n[プリンタ用フォント]\r\n"
                         "Height=-2147483648\r\n"));
    ProgramRun run;
    run.Start(path);
    EXPECT_EQ(run.settings.screenFont.height, -kMaxFontHeight);
    EXPECT_EQ(run.settings.printerFont.height, -kMaxFontHeight);
}

TEST(FontRecordTest, ByteFieldsTakeTheLowEightBitsAndTheFaceDefaultsToSystem) {
    const ProfileFile profile = ProfileFile::FromBytes(
        "[F]\nHeight=20\nItalic=257\nUnderline=-1\nPitchAndFamily=x\nCharSet=128\n");
    FontDescription record;
    LoadFontRecord(profile, "F", record);
    EXPECT_EQ(record.italic, 1);
    EXPECT_EQ(record.underline, 255);
    EXPECT_EQ(record.pitchAndFamily, 0);
    EXPECT_EQ(record.charSet, 128);
    EXPECT_EQ(record.weight, 0);
    EXPECT_EQ(FaceName(record), "System");
}

TEST(FontRecordTest, LongFaceNamesAreCutTo31BytesWithoutSplittingACharacter) {
    const auto loadedFace = [](const std::string& face) {
        FontDescription record;
        LoadFontRecord(ProfileFile::FromBytes("[F]\nHeight=1\nFaceName=" + face + "\n"), "F",
                       record);
        EXPECT_EQ(record.faceName[kFaceNameSize - 1], '\0');
        return std::string(FaceName(record));
    };
    EXPECT_EQ(loadedFace(std::string(40, 'a')), std::string(31, 'a'));
    EXPECT_EQ(loadedFace(std::string(31, 'a')), std::string(31, 'a'));
    EXPECT_EQ(loadedFace(std::string(29, 'a') + Sjis("ゴ") + "b"),
              std::string(29, 'a') + Sjis("ゴ"));
    // Byte 31 would be the first half of "ゴ": the character is left out whole.
    EXPECT_EQ(loadedFace(std::string(30, 'a') + Sjis("ゴ")), std::string(30, 'a'));
    std::string wide;
    for (int i = 0; i < 16; ++i) {
        wide += Sjis("Ｍ");
    }
    EXPECT_EQ(loadedFace(wide), wide.substr(0, 30));
}

TEST(ShellProfileTest, MainWindowRectangleIsWrittenTopBottomLeftRight) {
    ProfileFile profile = ProfileFile::FromBytes("");
    WriteMainWindowRect(profile, {10, 20, 810, 620});
    EXPECT_EQ(profile.Bytes(), "[" + kSection + "]\r\nY1=20\r\nY2=620\r\nX1=10\r\nX2=810\r\n");
    const WindowRect read = ReadMainWindowRect(ProfileFile::FromBytes(profile.Bytes()));
    EXPECT_EQ(read.left, 10);
    EXPECT_EQ(read.top, 20);
    EXPECT_EQ(read.right, 810);
    EXPECT_EQ(read.bottom, 620);
}

TEST(ShellProfileTest, RecentFilesAreWrittenInOrderAndStaleEntriesRemoved) {
    ProfileFile profile = ProfileFile::FromBytes("[Recent File List]\n; mine\nFile4=/old\n");
    EXPECT_EQ(ReadRecentFiles(profile), std::vector<std::string>{"/old"});
    EXPECT_TRUE(WriteRecentFiles(profile, {"/a.txt", Sjis("/文書.txt"), "/c", "/d", "/e"}));
    EXPECT_EQ(ReadRecentFiles(profile),
              (std::vector<std::string>{"/a.txt", Sjis("/文書.txt"), "/c", "/d"}));

    EXPECT_FALSE(WriteRecentFiles(profile, {"/bad\nname", "", "/b"}));
    EXPECT_EQ(ReadRecentFiles(profile), std::vector<std::string>{"/b"});
    EXPECT_EQ(profile.Bytes(), "[Recent File List]\n; mine\nFile1=/b\n");
}

TEST(ShellProfileTest, PreviewPagesSharesAnExistingSectionWhateverItsCase) {
    ProfileFile profile = ProfileFile::FromBytes("[SETTINGS]\r\npreviewpages=2\r\n");
    EXPECT_EQ(ReadPreviewPages(profile), 2);
    WritePreviewPages(profile, 1);
    EXPECT_EQ(profile.Bytes(), "[SETTINGS]\r\npreviewpages=1\r\n");
    EXPECT_EQ(ReadPreviewPages(ProfileFile::FromBytes("")), 0);
}

TEST(SettingsPathTest, ConfigurationDirectoryFollowsXdgThenHome) {
    EXPECT_EQ(SettingsPathFrom("/x/conf", "/home/u"), "/x/conf/yomi6.ini");
    EXPECT_EQ(SettingsPathFrom("/x/conf/", "/home/u"), "/x/conf/yomi6.ini");
    EXPECT_EQ(SettingsPathFrom("relative", "/home/u"), "/home/u/.config/yomi6.ini");
    EXPECT_EQ(SettingsPathFrom("", "/home/u/"), "/home/u/.config/yomi6.ini");
    EXPECT_EQ(SettingsPathFrom(nullptr, "/"), "/.config/yomi6.ini");
    EXPECT_EQ(SettingsPathFrom(nullptr, nullptr), "");
    EXPECT_EQ(SettingsPathFrom(nullptr, "home"), "");
}

using yomi6::test::ScopedEnv;

TEST(SettingsPathTest, TheEnvironmentChoosesTheFile) {
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/tmp/xdg");
        EXPECT_EQ(SettingsPath(), "/tmp/xdg/yomi6.ini");
    }
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv home("HOME", "/tmp/someone");
    EXPECT_EQ(SettingsPath(), "/tmp/someone/.config/yomi6.ini");
}

TEST(SettingsReadOnlyTest, CommandLineModesReadSpeedAndVoiceAndWriteNothing) {
    TempDir dir;
    const std::string path = dir.File("yomi6.ini");
    const std::string content = "[" + kSection + "]\r\n" + Sjis("しゃべるスピード") + "=5000\r\n" +
                                Sjis("声の質") + "=1\r\n";
    WriteFile(path, content);
    SpeechChoices speech;
    LoadSpeechSettingsReadOnly(path, speech);
    EXPECT_EQ(speech.speed, 1000);
    EXPECT_TRUE(speech.maleVoice);
    EXPECT_EQ(ReadFile(path), content);

    SpeechChoices fresh;
    LoadSpeechSettingsReadOnly(dir.File("missing/yomi6.ini"), fresh);
    EXPECT_EQ(fresh.speed, 180);
    EXPECT_FALSE(fresh.maleVoice);
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST(SettingsTest, FitSamplesIsReadAndWrittenOnlyWhenItChanged) {
    TempDir dir;
    const std::string path = dir.File("yomi6.ini");
    ProgramRun run;
    run.Start(path);
    EXPECT_FALSE(run.settings.fitSamples);
    run.End(path);
    EXPECT_EQ(ReadFile(path).find("FitSamples"), std::string::npos) << "untouched: not written";
    EXPECT_FALSE(LoadFitSamplesReadOnly(path));

    ProgramRun on;
    on.Start(path);
    on.settings.fitSamples = true;
    on.End(path);
    EXPECT_NE(ReadFile(path).find("[Settings]\r\nFitSamples=1\r\n"), std::string::npos)
        << ReadFile(path);
    const std::string written = ReadFile(path);
    EXPECT_TRUE(LoadFitSamplesReadOnly(path));
    EXPECT_EQ(ReadFile(path), written); // reading writes nothing

    ProgramRun next;
    next.Start(path);
    EXPECT_TRUE(next.settings.fitSamples);
    next.settings.fitSamples = false;
    next.End(path);
    EXPECT_FALSE(LoadFitSamplesReadOnly(path));
    EXPECT_FALSE(LoadFitSamplesReadOnly(dir.File("missing/yomi6.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST(SettingsTest, ReadingPaneScriptIsKeptUnderItsOwnKeyOnlyOnceChosen) {
    TempDir dir;
    const std::string path = dir.File("yomi6.ini");
    const std::string key = Sjis("読みパネルの文字");
    ProgramRun run;
    run.Start(path);
    EXPECT_EQ(run.settings.readingPaneScript, 0);
    run.End(path);
    EXPECT_EQ(ReadFile(path).find(key), std::string::npos) << "untouched: not written";

    ProgramRun hiragana;
    hiragana.Start(path);
    hiragana.settings.readingPaneScript = 1;
    hiragana.End(path);
    EXPECT_NE(ReadFile(path).find(key + "=1\r\n"), std::string::npos) << ReadFile(path);
    ProgramRun next;
    next.Start(path);
    EXPECT_EQ(next.settings.readingPaneScript, 1);
    next.settings.readingPaneScript = 0; // back to the default: the key stays, saying so
    next.End(path);
    EXPECT_NE(ReadFile(path).find(key + "=0\r\n"), std::string::npos) << ReadFile(path);

    // Full-width katakana is the last choice; a value the program never writes reads as the
    // default.
    const std::pair<const char*, int> values[] = {{"2", 2}, {"3", 0}, {"-1", 0}, {"x", 0}};
    for (const auto& [value, read] : values) {
        std::string ini = "[" + kSection + "]\r\n";
        ini.append(key).append("=").append(value).append("\r\n");
        WriteFile(path, ini);
        ProgramRun odd;
        odd.Start(path);
        EXPECT_EQ(odd.settings.readingPaneScript, read) << value;
    }
}

TEST(SettingsTest, ShowStatesAndSwitchesAreTheNumbersTheFileHolds) {
    TempDir dir;
    const std::string path = dir.File("yomi6.ini");
    const std::string showKey = Sjis("子ウィンドウのサイズ");
    // 1 normal, 2 minimized, 3 maximized; a number the program never writes opens maximized.
    const std::pair<const char*, ShowState> states[] = {
        {"1", ShowState::Normal},    {"2", ShowState::Minimized}, {"3", ShowState::Maximized},
        {"0", ShowState::Maximized}, {"7", ShowState::Maximized}, {"x", ShowState::Maximized},
    };
    for (const auto& [value, read] : states) {
        std::string ini = "[" + kSection + "]\r\n";
        ini.append(showKey).append("=").append(value).append("\r\n");
        WriteFile(path, ini);
        ProgramRun run;
        run.Start(path);
        EXPECT_EQ(run.settings.childShowState, read) << value;
    }
    const std::pair<ShowState, const char*> written[] = {
        {ShowState::Normal, "1"}, {ShowState::Minimized, "2"}, {ShowState::Maximized, "3"}};
    for (const auto& [state, value] : written) {
        WriteFile(path, "");
        ProfileFile profile = ProfileFile::Open(path);
        AppSettings settings;
        settings.childShowStateSaved =
            state == ShowState::Normal ? ShowState::Minimized : ShowState::Normal;
        settings.childShowState = state;
        SaveChildShowState(profile, settings);
        std::string expected = "[" + kSection + "]\r\n";
        expected.append(showKey).append("=").append(value).append("\r\n");
        EXPECT_EQ(profile.Bytes(), expected);
    }

    // A switch is on for any number but 0, and written back as 1; so is the male voice.
    WriteFile(path, "[" + kSection + "]\r\n" + std::string(settings_keys::kWordWrap.key) +
                        "=5\r\n" + std::string(settings_keys::kPrintPageNumber.key) + "=0\r\n" +
                        std::string(settings_keys::kVoice.key) + "=7\r\n");
    ProgramRun run;
    run.Start(path);
    EXPECT_TRUE(run.settings.wordWrap);
    EXPECT_FALSE(run.settings.printPageNumber);
    EXPECT_TRUE(run.speech.maleVoice);
    run.End(path);
    ProgramRun next;
    next.Start(path);
    EXPECT_TRUE(next.settings.wordWrap);
    EXPECT_FALSE(next.settings.printPageNumber);
    EXPECT_TRUE(next.speech.maleVoice);
    const std::string rewritten = ReadFile(path);
    EXPECT_NE(rewritten.find(std::string(settings_keys::kWordWrap.key) + "=1\r\n"),
              std::string::npos);
    EXPECT_NE(rewritten.find(std::string(settings_keys::kVoice.key) + "=1\r\n"), std::string::npos);
}

} // namespace
} // namespace yomi6
