// Aozora notation along every path of a reading: the settings switch, --aozora, passes through a
// long text (the colophon never reached, notation longer than a pass never read, a ruby given
// in one pass read in the next), the export's ticks and its subtitles.
#include "cli/cli_options.h"
#include "export/speech_export.h"
#include "export/subtitle_cues.h"
#include "playback/long_reading.h"
#include "playback/speech_choices.h"
#include "playback/speech_state.h"
#include "settings/settings.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "support/test_reading.h"
#include "text/speech_text.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

using test::ReadFile;
using test::Sjis;

TEST(AozoraPathsTest, TheSwitchIsStoredOnlyOnceTurnedOffAndReadBack) {
    test::TempDir dir;
    const std::string path = dir.File("yomi6.ini");
    const std::string key = Sjis("青空文庫の注記を読まない=");
    SpeechState state;
    EXPECT_EQ(state.aozora, AozoraMode::Auto);
    AppSettings settings;
    {
        ProfileFile profile = ProfileFile::Open(path);
        SaveSettings(profile, settings, ChoicesOf(state));
        ASSERT_TRUE(profile.Save());
    }
    EXPECT_EQ(ReadFile(path).find(key), std::string::npos); // the default stays out of the file
    state.aozora = AozoraMode::Off;
    {
        ProfileFile profile = ProfileFile::Open(path);
        SaveSettings(profile, settings, ChoicesOf(state));
        ASSERT_TRUE(profile.Save());
    }
    EXPECT_NE(ReadFile(path).find(key + "0\r\n"), std::string::npos);
    SpeechChoices loaded;
    LoadSettings(ProfileFile::Open(path), settings, loaded);
    SpeechState next;
    ApplyChoices(loaded, next);
    EXPECT_EQ(next.aozora, AozoraMode::Off);
    // Any other number is the switch on.
    test::WriteFile(path, "[" + Sjis("よみあげPadのセッティング") + "]\r\n" + key + "7\r\n");
    LoadSettings(ProfileFile::Open(path), settings, loaded);
    ApplyChoices(loaded, next);
    EXPECT_EQ(next.aozora, AozoraMode::Auto);
}

TEST(AozoraPathsTest, TheCommandLineOption) {
    using cli::ParseCommandLine;
    EXPECT_FALSE(ParseCommandLine({"--units", "a"}).options.aozora.has_value());
    EXPECT_EQ(ParseCommandLine({"--aozora", "off", "--units", "a"}).options.aozora, 0);
    EXPECT_EQ(ParseCommandLine({"--units", "a", "--aozora", "auto"}).options.aozora, 1);
    EXPECT_EQ(ParseCommandLine({"--export", "o.wav", "--aozora", "on", "a"}).options.aozora, 2);
    EXPECT_EQ(ParseCommandLine({"--units", "a", "--aozora", "yes"}).error,
              "--aozora takes auto, on or off, not 'yes'");
    EXPECT_NE(ParseCommandLine({"--units", "a", "--aozora"}).error, "");
    EXPECT_NE(cli::UsageText().find("--aozora auto|on|off"), std::string::npos);
}

// A long text in the notation: many lines with a ruby, then the colophon.
std::u16string LongBook() {
    std::u16string text = u"題\n";
    for (int i = 0; i < 400; ++i) {
        text += u"下人《げにん》が来た。\n";
    }
    return text + u"底本：全集\n入力：誰か\n";
}

TEST(AozoraPathsTest, PassesReadTheRubyAndStopBeforeTheColophon) {
    test::TestReading run;
    const std::u16string text = LongBook();
    const std::size_t colophon = text.find(u"底本");
    for (const AozoraMode mode : {AozoraMode::Auto, AozoraMode::Off}) {
        auto state = std::make_unique<SpeechState>();
        state->readings = kReadingsAutomatic;
        LongReading reading;
        reading.Begin(text, 0, text.size(), mode);
        EXPECT_EQ(reading.ReadsAozora(), mode == AozoraMode::Auto);
        std::size_t end = 0;
        int passes = 0;
        std::string heard;
        while (reading.LoadNextPass(*state, run.Setup(), false) && ++passes < 100) {
            heard.append(reinterpret_cast<const char*>(state->reading),
                         static_cast<std::size_t>(state->endIndex));
            end = reading.PassOffset() +
                  reading.Source().TextSpan(0, static_cast<std::size_t>(state->sourceEnd)).end;
        }
        EXPECT_GE(passes, 2);
        if (mode == AozoraMode::Auto) {
            EXPECT_EQ(end, colophon);
            EXPECT_EQ(heard.find(Sjis("ｹﾞﾆﾝｹﾞﾆﾝ")), std::string::npos);
            EXPECT_NE(heard.find(Sjis("ｹﾞﾆﾝｶﾞｷﾀ")), std::string::npos);
        } else {
            EXPECT_EQ(end, text.size());
        }
    }
}

TEST(AozoraPathsTest, TheExportEndsAtTheColophonAndItsSubtitlesShowThePrintedText) {
    test::TestReading run;
    std::string text = Sjis("題\r\n");
    for (int i = 0; i < 300; ++i) {
        text += Sjis("下人《げにん》が［＃傍点］来た。\r\n");
    }
    const std::size_t colophon = text.size();
    text += Sjis("底本：全集\r\n");
    ExportRequest request(run.Setup());
    request.text = text;
    request.readings = kReadingsAutomatic;
    request.setup.aozora = true;
    std::vector<ExportTick> ticks;
    ExportCallbacks callbacks;
    callbacks.onTick = [&](const ExportTick& t) {
        ticks.push_back(t);
        return true;
    };
    ASSERT_EQ(RunSpeechExport(request, callbacks).status, ExportStatus::Done);
    ASSERT_FALSE(ticks.empty());
    for (const ExportTick& t : ticks) {
        EXPECT_LE(t.sourceEnd, colophon);
    }
    EXPECT_EQ(ticks.back().sourceEnd, colophon);

    std::vector<std::string> cues;
    SubtitleCueBuilder builder(text, 0, text.size(), 100, [&](const SubtitleCue& c) {
        cues.push_back(c.text);
        return true;
    });
    builder.ShowWithoutNotation(true);
    for (const ExportTick& t : ticks) {
        ASSERT_TRUE(builder.Add(t));
    }
    ASSERT_TRUE(builder.Finish());
    ASSERT_EQ(cues.size(), 301u);
    EXPECT_EQ(cues[0], "題");
    EXPECT_EQ(cues[1], "下人が来た。");
}

// The reading of every pass of text (UTF-16) read as Aozora notation from the start, each
// reading byte with the text span of its source.
struct Heard {
    std::string reading;
    std::vector<std::pair<std::size_t, std::size_t>> spans;
};

Heard ReadInPasses(const std::u16string& text) {
    test::TestReading run;
    auto state = std::make_unique<SpeechState>();
    state->readings = kReadingsAutomatic;
    LongReading reading;
    reading.Begin(text, 0, text.size(), AozoraMode::On);
    Heard heard;
    for (int passes = 0; reading.LoadNextPass(*state, run.Setup(), false) && passes < 100;
         ++passes) {
        for (std::int32_t i = 0; i < state->endIndex; ++i) {
            heard.reading.push_back(static_cast<char>(state->reading[i]));
            const SourceRange r = state->source[i];
            const SpeechSource::Span span = reading.Source().TextSpan(r.begin, r.end);
            heard.spans.emplace_back(reading.PassOffset() + span.begin,
                                     reading.PassOffset() + span.end);
        }
    }
    return heard;
}

// The ticks of an export of text (code page 932) read as Aozora notation.
std::vector<ExportTick> ExportTicks(const std::string& text) {
    test::TestReading run;
    ExportRequest request(run.Setup());
    request.text = text;
    request.readings = kReadingsAutomatic;
    request.setup.aozora = true;
    std::vector<ExportTick> ticks;
    ExportCallbacks callbacks;
    callbacks.onTick = [&](const ExportTick& t) {
        ticks.push_back(t);
        return true;
    };
    EXPECT_EQ(RunSpeechExport(request, callbacks).status, ExportStatus::Done);
    return ticks;
}

TEST(AozoraPathsTest, NotationLongerThanAPassIsSilentWholeAndTheTextAfterItIsRead) {
    // A note of 3,000 characters (with sentence ends in it), a ruby of 2,500 and a gaiji note
    // of 2,100, each far longer than the 4000 bytes of a pass, among sentences.
    std::u16string note = u"［＃";
    for (int i = 0; i < 300; ++i) {
        note += u"注記の文です。注記";
    }
    note += u"］";
    const std::u16string ruby = u"《" + std::u16string(2500, u'か') + u"》";
    const std::u16string gaiji = u"※［＃「" + std::u16string(2100, u'木') + u"」、U+6728］";
    const std::u16string text = u"本《ほん》を読む。" + note + u"猫を見る。\n前の" + ruby +
                                u"犬を見る。\n" + gaiji + u"鳥を見る。\n";
    const std::vector<std::pair<std::size_t, std::size_t>> notation = {
        {text.find(note), text.find(note) + note.size()},
        {text.find(ruby), text.find(ruby) + ruby.size()},
        {text.find(gaiji), text.find(gaiji) + gaiji.size()}};

    const auto within = [](const auto& ranges, std::size_t from, std::size_t to) {
        return std::any_of(ranges.begin(), ranges.end(),
                           [&](const auto& r) { return from < r.second && to > r.first; });
    };
    const Heard heard = ReadInPasses(text);
    EXPECT_EQ(std::count_if(heard.spans.begin(), heard.spans.end(),
                            [&](const auto& s) { return within(notation, s.first, s.second); }),
              0);
    EXPECT_EQ(heard.reading.find(Sjis("ﾁｭｳｷ")), std::string::npos);
    EXPECT_EQ(heard.reading.find(Sjis("ｶｶｶｶ")), std::string::npos);
    EXPECT_EQ(heard.reading.find(Sjis("ｷｷｷｷ")), std::string::npos);
    for (const char* after : {"ﾈｺｦﾐﾙ", "ｲﾇｦﾐﾙ", "ﾄﾘｦﾐﾙ"}) {
        EXPECT_NE(heard.reading.find(Sjis(after)), std::string::npos) << after;
    }

    // The export in code page 932: no tick within the notation, and the text after it read.
    std::vector<std::pair<std::size_t, std::size_t>> notationBytes;
    notationBytes.reserve(notation.size());
    for (const auto& [begin, end] : notation) {
        notationBytes.emplace_back(SpeechBytes(std::u16string_view(text).substr(0, begin)).size(),
                                   SpeechBytes(std::u16string_view(text).substr(0, end)).size());
    }
    const std::vector<ExportTick> ticks = ExportTicks(SpeechBytes(text));
    EXPECT_EQ(std::count_if(ticks.begin(), ticks.end(),
                            [&](const ExportTick& t) {
                                return t.unit && within(notationBytes, t.sourceBegin, t.sourceEnd);
                            }),
              0);
    EXPECT_TRUE(std::any_of(ticks.begin(), ticks.end(), [&](const ExportTick& t) {
        return t.unit && t.sourceBegin >= notationBytes[2].second;
    }));
}

TEST(AozoraPathsTest, AWordGivenARubyInOnePassIsReadByItInTheNextOnEveryPath) {
    // The ruby in the first line; the word again, alone, after more than a pass of text.
    std::u16string text = u"禅智内供《ぜんちないぐ》の鼻と云えば、内供《ないぐ》の鼻である。\n";
    while (SpeechBytes(text).size() < 5000) {
        text += u"池の尾で知らない者はない。\n";
    }
    const std::size_t again = text.size();
    text += u"内供は鼻を気にしていた。\n";

    const Heard heard = ReadInPasses(text);
    std::string word;
    for (std::size_t i = 0; i < heard.spans.size(); ++i) {
        if (heard.spans[i].first == again && heard.spans[i].second == again + 2) {
            word.push_back(heard.reading[i]);
        }
    }
    EXPECT_EQ(test::ToHex(word), test::ToHex(Sjis("ﾅｲｸﾞ")));

    const std::string bytes = SpeechBytes(text);
    const std::size_t againBytes = SpeechBytes(std::u16string_view(text).substr(0, again)).size();
    std::string samples;
    for (const ExportTick& t : ExportTicks(bytes)) {
        if (t.unit && t.sourceBegin == againBytes && t.sourceEnd == againBytes + 4) {
            samples += std::string(t.sample.substr(t.sample.find('_') + 1)) + " ";
        }
    }
    EXPECT_EQ(samples, "NA I GU ");
}

} // namespace
} // namespace yomi6
