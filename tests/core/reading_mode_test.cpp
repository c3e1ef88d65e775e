// The one reading-mode resolver: a chosen mode is kept, no choice reads automatically while the
// analyzer can be loaded and with the dictionary once it could not (said once, not at every
// reading), and the switch of the menu item goes from the mode in effect to the other one.
#include "analysis/analyzer_loader.h"
#include "dictionary/dic_tables.h"
#include "dictionary/dictionary.h"
#include "playback/speech_state.h"
#include "reading/reading_mode.h"
#include "support/recording_sink.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace yomi6 {
namespace {

using test::Sjis;

class ReadingModeTest : public ::testing::Test {
protected:
    Dictionary dic;

    // Speaks text in the choice readings with the loader; returns the messages said.
    std::size_t Speak(std::int32_t readings, AnalyzerLoader& loader, const std::string& text) {
        test::RecordingSink sink;
        ReaderSetup setup(dic.View(), loader);
        setup.messages = &sink;
        state->speaking = 0;
        state->readings = readings;
        StartSpeech(*state, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                    setup);
        return sink.messages.size();
    }

    std::string Reading() const {
        return std::string(reinterpret_cast<const char*>(state->reading),
                           static_cast<std::size_t>(state->endIndex));
    }

    std::unique_ptr<SpeechState> state = std::make_unique<SpeechState>();
    test::TempDir dir;
};

TEST_F(ReadingModeTest, AChosenModeIsKeptWhateverTheAnalyzer) {
    AnalyzerLoader missing;
    missing.SetConfiguredDictionary(dir.File("none"));
    EXPECT_EQ(ResolveReadingMode(kReadingsDictionary, missing), ReadingMode::Dictionary);
    EXPECT_EQ(ResolveReadingMode(kReadingsAutomatic, missing), ReadingMode::Automatic);
    // The automatic reading chosen: a missing analyzer is said at every reading, which falls
    // back to the dictionary each time (the user may install it meanwhile).
    EXPECT_EQ(Speak(kReadingsAutomatic, missing, Sjis("人")), 1u);
    EXPECT_EQ(Speak(kReadingsAutomatic, missing, Sjis("人")), 1u);
    EXPECT_EQ(ResolveReadingMode(kReadingsAutomatic, missing), ReadingMode::Automatic);
    EXPECT_EQ(Reading(), Sjis("人"));
    // The dictionary chosen: the analyzer is never tried.
    AnalyzerLoader fine;
    EXPECT_EQ(Speak(kReadingsDictionary, fine, Sjis("人")), 0u);
    EXPECT_FALSE(fine.IsLoaded());
    EXPECT_EQ(Reading(), Sjis("人"));
}

TEST_F(ReadingModeTest, NoChoiceReadsAutomaticallyWhenTheAnalyzerLoads) {
    AnalyzerLoader loader; // the system's analyzer dictionary
    EXPECT_EQ(ResolveReadingMode(kReadingsUnchosen, loader), ReadingMode::Automatic);
    EXPECT_FALSE(loader.IsLoaded()); // resolving loads nothing
    EXPECT_EQ(Speak(kReadingsUnchosen, loader, Sjis("東京")), 0u);
    EXPECT_TRUE(loader.IsLoaded());
    EXPECT_EQ(Reading(), Sjis("ﾄｵｷｮｵ"));
    EXPECT_EQ(SwitchedReadings(kReadingsUnchosen, loader), kReadingsDictionary);
}

TEST_F(ReadingModeTest, NoChoiceFallsBackToTheDictionaryOnceTheAnalyzerFailed) {
    AnalyzerLoader missing;
    missing.SetConfiguredDictionary(dir.File("none"));
    EXPECT_EQ(ResolveReadingMode(kReadingsUnchosen, missing), ReadingMode::Automatic);
    // The first reading tries, says so once and reads with the dictionary ...
    EXPECT_EQ(Speak(kReadingsUnchosen, missing, Sjis("漢字")), 1u);
    EXPECT_EQ(Reading(), Sjis("ｶﾝｼﾞ"));
    // ... and from then on the dictionary reading is the mode in effect, said no more.
    EXPECT_EQ(ResolveReadingMode(kReadingsUnchosen, missing), ReadingMode::Dictionary);
    EXPECT_EQ(Speak(kReadingsUnchosen, missing, Sjis("漢字")), 0u);
    EXPECT_EQ(Reading(), Sjis("ｶﾝｼﾞ"));
    // The menu item then switches to the automatic reading, chosen, which tries again.
    EXPECT_EQ(SwitchedReadings(kReadingsUnchosen, missing), kReadingsAutomatic);
    EXPECT_EQ(SwitchedReadings(kReadingsAutomatic, missing), kReadingsDictionary);
    EXPECT_EQ(SwitchedReadings(kReadingsDictionary, missing), kReadingsAutomatic);
    EXPECT_EQ(Speak(kReadingsAutomatic, missing, Sjis("漢字")), 1u);
}

TEST_F(ReadingModeTest, AFailureCountsForTheFolderThatFailedOnly) {
    AnalyzerLoader loader;
    loader.SetConfiguredDictionary(dir.File("none"));
    EXPECT_EQ(Speak(kReadingsUnchosen, loader, Sjis("漢字")), 1u);
    EXPECT_EQ(ResolveReadingMode(kReadingsUnchosen, loader), ReadingMode::Dictionary);
    // Another folder named in the settings has not failed yet: the next reading tries it.
    loader.SetConfiguredDictionary(dir.File("other"));
    EXPECT_EQ(ResolveReadingMode(kReadingsUnchosen, loader), ReadingMode::Automatic);
    EXPECT_EQ(Speak(kReadingsUnchosen, loader, Sjis("漢字")), 1u);
}

TEST(ReadingsIndicatorTest, NamesTheModeInEffect) {
    EXPECT_EQ(ReadingsIndicatorText(ReadingMode::Automatic), "自動");
    EXPECT_EQ(ReadingsIndicatorText(ReadingMode::Dictionary), "辞書");
}

} // namespace
} // namespace yomi6
