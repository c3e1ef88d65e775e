// The export's core: the streamed rendering against the one-pass rendering, passes over long
// texts, cancelling, sentences and cues, the subtitle text, the formats by name.
#include "export/cue_text.h"
#include "export/export_job.h"
#include "export/speech_export.h"
#include "export/subtitle_cues.h"
#include "playback/speech_state.h"
#include "playback/wav_render.h"
#include "support/sjis.h"
#include "support/test_reading.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

using test::Sjis;
namespace fs = std::filesystem;

std::vector<unsigned char> Exported(const std::string& text, int speed,
                                    SampleFitting fitting = SampleFitting::Off) {
    test::TestReading run;
    ExportRequest request(run.Setup());
    request.text = text;
    request.speed = speed;
    request.fitting = fitting;
    std::vector<unsigned char> out;
    ExportCallbacks callbacks;
    callbacks.onSound = [&](const unsigned char* p, std::size_t n) {
        out.insert(out.end(), p, p + n);
        return true;
    };
    EXPECT_EQ(RunSpeechExport(request, callbacks).status, ExportStatus::Done);
    return out;
}

TEST(SpeechExport, StreamedRenderingEqualsTheOnePassRenderingAtEverySpeed) {
    test::TestReading run;
    // At 10 ms every sample is cut by the next; at 1000 ms every one sounds whole.
    const std::string text = Sjis("ガッコウへ行く。キャット、ABC123\r\nおわり");
    for (const int speed : {0, 10, 55, 180, 1000}) {
        auto state = std::make_unique<SpeechState>();
        state->speed = speed;
        StartSpeech(*state, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                    run.Setup());
        const auto image = RenderPassWave(*state, CompiledInSound);
        ASSERT_TRUE(image.has_value());
        const std::vector<unsigned char> pcm(image->begin() + kWaveHeaderSize, image->end());
        EXPECT_EQ(Exported(text, speed), pcm) << "speed " << speed;
    }
}

TEST(SpeechExport, SamplesFittedToTheTickAreTheOnePassRenderingsFittedOnes) {
    test::TestReading run;
    const std::string text = Sjis("ガッコウへ行く。キャット、ABC123\r\nおわり");
    for (const int speed : {55, 180}) {
        auto state = std::make_unique<SpeechState>();
        state->speed = speed;
        StartSpeech(*state, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                    run.Setup());
        const auto image = RenderPassWave(*state, CompiledInSound, nullptr, SampleFitting::On);
        ASSERT_TRUE(image.has_value());
        const std::vector<unsigned char> pcm(image->begin() + kWaveHeaderSize, image->end());
        const std::vector<unsigned char> fitted = Exported(text, speed, SampleFitting::On);
        EXPECT_EQ(fitted, pcm) << "speed " << speed;
        // At 55 ms most samples overrun their tick and are shortened; at 180 few do.
        if (speed == 55) {
            EXPECT_NE(fitted, Exported(text, speed)) << "speed " << speed;
        }
    }
}

TEST(SpeechExport, LongTextIsReadWholePassAfterPassOnOneClock) {
    test::TestReading run;
    std::string text;
    for (int i = 0; i < 400; ++i) {
        text += Sjis("あいうえお、かきくけこ。\r\n"); // 26 bytes a line, 10400 in all
    }
    ExportRequest request(run.Setup());
    request.text = text;
    std::vector<ExportTick> ticks;
    ExportCallbacks callbacks;
    callbacks.onTick = [&](const ExportTick& t) {
        ticks.push_back(t);
        return true;
    };
    std::vector<std::size_t> progress;
    callbacks.onProgress = [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, text.size());
        progress.push_back(done);
        return true;
    };
    const ExportResult result = RunSpeechExport(request, callbacks);
    ASSERT_EQ(result.status, ExportStatus::Done);
    // Three passes, the first two cut after the last whole line within 4000 bytes.
    EXPECT_EQ(progress, (std::vector<std::size_t>{3978, 7956, 10400}));
    ASSERT_EQ(static_cast<std::int64_t>(ticks.size()), result.ticks);
    std::size_t covered = 0;
    int passEnds = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_EQ(ticks[i].index, static_cast<std::int64_t>(i));
        EXPECT_EQ(ticks[i].timeMs, static_cast<std::int64_t>(i) * 180);
        if (ticks[i].unit) {
            EXPECT_GE(ticks[i].sourceBegin, covered) << "tick " << i;
            covered = ticks[i].sourceEnd;
        } else {
            ++passEnds;
        }
    }
    EXPECT_EQ(passEnds, 3); // one silent tick between passes, one at the end
    EXPECT_EQ(covered, text.size() - 2);
    // Until the last tick, or the end of the last sample when that sounds on past it.
    EXPECT_GE(result.samples, (result.ticks - 1) * 180 * 16);
    EXPECT_LT(result.samples, (result.ticks + 2) * 180 * 16);
}

TEST(SpeechExport, CancelAndFailureLeaveNoFile) {
    test::TestReading run;
    const fs::path dir = fs::temp_directory_path() / ("yomi6_export_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string text;
    for (int i = 0; i < 500; ++i) {
        text += Sjis("テスト。"); // 4000 bytes: two passes
    }
    ExportRequest request(run.Setup());
    request.text = text;
    const ExportOutputs outputs{(dir / "a.flac").string(), (dir / "a.vtt").string(),
                                (dir / "a.json").string()};
    int calls = 0;
    const ExportJobResult cancelled =
        RunExportJob(request, outputs, [&](std::size_t, std::size_t) { return ++calls < 1; });
    EXPECT_EQ(cancelled.status, ExportStatus::Stopped);
    EXPECT_TRUE(fs::is_empty(dir));

    request.speed = 1001;
    EXPECT_EQ(RunExportJob(request, outputs).status, ExportStatus::Failed);
    EXPECT_TRUE(fs::is_empty(dir));

    request.speed = 180;
    const ExportJobResult done = RunExportJob(request, outputs);
    EXPECT_EQ(done.status, ExportStatus::Done) << done.error;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a.flac", "a.json", "a.vtt"}));
    fs::remove_all(dir);
}

TEST(SubtitleCues, SentencesEndAtStopsWithTheirClosingBracketsAndAtLineEnds) {
    const std::string text = Sjis("「はい。」と言った。円周率は3.14です! 次\r\n行");
    std::vector<std::string> sentences;
    for (std::size_t b = 0; b < text.size();) {
        const std::size_t e = SentenceEnd(text, b, text.size());
        ASSERT_GT(e, b);
        sentences.push_back(text.substr(b, e - b));
        b = e;
    }
    EXPECT_EQ(sentences,
              (std::vector<std::string>{Sjis("「はい。」"), Sjis("と言った。"),
                                        Sjis("円周率は3.14です!"), Sjis(" 次\r\n"), Sjis("行")}));
    EXPECT_EQ(SentenceEnd(text, 0, 3), 3u); // never past the range
}

TEST(SubtitleCues, CuesRunFromTheFirstToOneTickAfterTheLastSoundingUnit) {
    const std::string text = Sjis("あ。 い\r\n\r\nう");
    std::vector<SubtitleCue> cues;
    SubtitleCueBuilder builder(text, 0, text.size(), 100, [&](const SubtitleCue& c) {
        cues.push_back(c);
        return true;
    });
    auto tick = [](std::int64_t i, std::string_view sample, std::size_t b, std::size_t e) {
        return ExportTick{i, i * 100, sample, true, b, e};
    };
    EXPECT_TRUE(builder.Add(tick(0, "A", 0, 2)));
    EXPECT_TRUE(builder.Add(tick(1, "", 2, 4))); // a silent stop: not the cue's last unit
    EXPECT_TRUE(builder.Add(tick(2, "", 4, 5))); // a silent blank: not the next cue's first
    EXPECT_TRUE(builder.Add(tick(3, "I", 5, 7)));
    EXPECT_TRUE(builder.Add(ExportTick{4, 400, "", false, 13, 13})); // a pass's end
    EXPECT_TRUE(builder.Add(tick(5, "U", 11, 13)));
    EXPECT_TRUE(builder.Finish());
    ASSERT_EQ(cues.size(), 3u);
    EXPECT_EQ(cues[0].startMs, 0);
    EXPECT_EQ(cues[0].endMs, 100);
    EXPECT_EQ(cues[0].text, "あ。");
    EXPECT_EQ(cues[1].startMs, 300);
    EXPECT_EQ(cues[1].endMs, 400);
    EXPECT_EQ(cues[1].text, "い");
    EXPECT_EQ(cues[2].startMs, 500);
    EXPECT_EQ(cues[2].text, "う");
}

TEST(SubtitleCues, CharactersTheCodePageLacksAreShownAsWritten) {
    // 𠮷 and 鷗 of a UTF-8 document stand in the speech bytes as 吉 and 鴎, 😀 as a blank;
    // the cues show them as written, also without the notation, where a stand-in in the
    // silent notation stays hidden.
    std::vector<StandIn> standIns;
    const auto bytes = [&](std::u16string_view text) {
        standIns.clear();
        return SpeechBytes(text, std::string::npos, &standIns);
    };
    const std::string text = bytes(u"𠮷野家《よしのや》の😀森鷗外。");
    EXPECT_EQ(CueText(text, 0, text.size(), false, standIns), "𠮷野家《よしのや》の😀森鷗外。");
    EXPECT_EQ(CueText(text, 0, text.size(), true, standIns), "𠮷野家の😀森鷗外。");
    const std::string ruby = bytes(u"野家《𠮷》。");
    EXPECT_EQ(CueText(ruby, 0, ruby.size(), true, standIns), "野家。");
    // A piece of the text shows the stand-ins within it; so do the cues of an export.
    const std::string line = bytes(u"あ鷗。い鷗。");
    EXPECT_EQ(CueText(line, 6, line.size(), false, standIns), "い鷗。");
    std::vector<std::string> cues;
    SubtitleCueBuilder builder(line, 0, line.size(), 100, [&](const SubtitleCue& c) {
        cues.push_back(c.text);
        return true;
    });
    builder.ShowStandIns(standIns);
    EXPECT_TRUE(builder.Add(ExportTick{0, 0, "A", true, 0, 2}));
    EXPECT_TRUE(builder.Add(ExportTick{1, 100, "I", true, 6, 8}));
    EXPECT_TRUE(builder.Finish());
    EXPECT_EQ(cues, (std::vector<std::string>{"あ鷗。", "い鷗。"}));
}

TEST(SubtitleCues, TimesAndTextInBothFormats) {
    EXPECT_EQ(FormatCueTime(0, SubtitleFormat::Srt), "00:00:00,000");
    EXPECT_EQ(FormatCueTime(3723004, SubtitleFormat::WebVtt), "01:02:03.004");
    EXPECT_EQ(FormatCueTime(360000000 + 59999, SubtitleFormat::Srt), "100:00:59,999");
    // No text reads as a tag, an override or a timing line: SRT has no escapes, so its signs
    // go full-width; WebVTT has its own.
    const SubtitleCue cue{1000, 2500, 0, 0, "a<b>&c-->d{\\an8}"};
    EXPECT_EQ(FormatCue(cue, 7, SubtitleFormat::Srt),
              "7\n00:00:01,000 --> 00:00:02,500\na＜b＞&c--＞d｛\\an8}\n\n");
    EXPECT_EQ(FormatCue(cue, 7, SubtitleFormat::WebVtt),
              "00:00:01.000 --> 00:00:02.500\na&lt;b&gt;&amp;c--&gt;d{\\an8}\n\n");
}

TEST(SubtitleCues, ControlCharactersNeverReachTheCueText) {
    // NUL, SOH, ESC, DEL and a C1 control (0x80 in code page 932) are dropped; a tab is a
    // space; a sentence of controls alone has no cue.
    std::string text = Sjis("あ") + std::string("\0\x01\x1b\x7f\x80", 5) + Sjis("い\tう。") +
                       std::string("\x01\x02\r\n", 4) + Sjis("え");
    std::vector<std::string> texts;
    SubtitleCueBuilder builder(text, 0, text.size(), 100, [&](const SubtitleCue& c) {
        texts.push_back(c.text);
        return true;
    });
    const std::size_t second = text.find('\x01', 8);
    EXPECT_TRUE(builder.Add(ExportTick{0, 0, "A", true, 0, 2}));
    EXPECT_TRUE(builder.Add(ExportTick{1, 100, "S", true, second, second + 1}));
    EXPECT_TRUE(builder.Add(ExportTick{2, 200, "E", true, text.size() - 2, text.size()}));
    EXPECT_TRUE(builder.Finish());
    EXPECT_EQ(texts, (std::vector<std::string>{"あい う。", "え"}));
}

// The cues of an export of text (code page 932) at speed, and the ticks they were made of.
struct ExportedCues {
    std::vector<ExportTick> ticks;
    std::vector<SubtitleCue> cues;
};

ExportedCues CuesOf(const std::string& text, int speed) {
    test::TestReading run;
    ExportRequest request(run.Setup());
    request.text = text;
    request.speed = speed;
    ExportedCues out;
    ExportCallbacks callbacks;
    callbacks.onTick = [&](const ExportTick& t) {
        out.ticks.push_back(t);
        return true;
    };
    EXPECT_EQ(RunSpeechExport(request, callbacks).status, ExportStatus::Done);
    SubtitleCueBuilder builder(text, 0, text.size(), speed, [&](const SubtitleCue& c) {
        out.cues.push_back(c);
        return true;
    });
    for (const ExportTick& t : out.ticks) {
        EXPECT_TRUE(builder.Add(t));
    }
    EXPECT_TRUE(builder.Finish());
    return out;
}

std::size_t Characters(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Every cue within the limits, on the ticks' times, and the cues together the text.
void ExpectCuesWithinLimits(const ExportedCues& out, const std::string& shown, int speed) {
    std::string joined;
    for (const SubtitleCue& cue : out.cues) {
        EXPECT_LE(cue.endMs - cue.startMs, kMaxCueMs) << cue.text;
        EXPECT_LE(Characters(cue.text), kMaxCueCharacters) << cue.text;
        const bool onTicks =
            std::any_of(out.ticks.begin(), out.ticks.end(),
                        [&](const ExportTick& t) { return t.timeMs == cue.startMs; }) &&
            std::any_of(out.ticks.begin(), out.ticks.end(),
                        [&](const ExportTick& t) { return t.timeMs + speed == cue.endMs; });
        EXPECT_TRUE(onTicks) << cue.startMs << " " << cue.endMs;
        joined += cue.text;
    }
    EXPECT_EQ(joined, shown);
}

TEST(SubtitleCues, ASentenceTooLongForACueIsSplitAfterItsClausesOrBetweenWords) {
    // 300 kana in clauses of ten (54 s at 180 ms a tick): split after the commas.
    std::string clauses;
    for (int i = 0; i < 30; ++i) {
        clauses += "あいうえおかきくけこ、";
    }
    clauses += "さしすせそ。";
    const ExportedCues split = CuesOf(Sjis(clauses), 180);
    ASSERT_GT(split.cues.size(), 5u);
    ExpectCuesWithinLimits(split, clauses, 180);
    for (std::size_t i = 0; i + 1 < split.cues.size(); ++i) {
        EXPECT_EQ(split.cues[i].text.substr(split.cues[i].text.size() - 3), "、") << i;
        EXPECT_EQ(split.cues[i].sourceEnd, split.cues[i + 1].sourceBegin);
    }
    // A sentence of 400 kana without a comma is split between its words.
    std::string words;
    for (int i = 0; i < 80; ++i) {
        words += "たちつてと";
    }
    words += "。";
    ExpectCuesWithinLimits(CuesOf(Sjis(words), 180), words, 180);
    // Clauses of kanji that the dictionary reading leaves silent: few ticks, many characters.
    std::string silent;
    for (int i = 0; i < 12; ++i) {
        silent += "あ漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字、";
    }
    silent += "い。";
    const ExportedCues wide = CuesOf(Sjis(silent), 180);
    ASSERT_GT(wide.cues.size(), 2u);
    ExpectCuesWithinLimits(wide, silent, 180);
    // A short sentence stays one cue.
    EXPECT_EQ(CuesOf(Sjis("あいう、えお。"), 180).cues.size(), 1u);
}

TEST(SubtitleCues, FormatCharactersNeverReachTheCueText) {
    // Gaiji that name a right-to-left override, marks of direction, isolates and a byte order
    // mark: the reading shows them as the characters they name, the cue drops them.
    const std::string text = Sjis("あ※［＃「甲」、U+202E］い※［＃「乙」、U+200F］う"
                                  "※［＃「丙」、U+2067］え※［＃「丁」、U+FEFF］お。");
    std::vector<std::string> texts;
    SubtitleCueBuilder builder(text, 0, text.size(), 100, [&](const SubtitleCue& c) {
        texts.push_back(c.text);
        return true;
    });
    builder.ShowWithoutNotation(true);
    EXPECT_TRUE(builder.Add(ExportTick{0, 0, "A", true, 0, 2}));
    EXPECT_TRUE(builder.Add(ExportTick{1, 100, "O", true, text.size() - 4, text.size() - 2}));
    EXPECT_TRUE(builder.Finish());
    EXPECT_EQ(texts, (std::vector<std::string>{"あいうえお。"}));
}

TEST(ExportNames, FormatsByExtension) {
    EXPECT_EQ(AudioFormatForPath("a/B.WAV"), AudioFormat::Wav);
    EXPECT_EQ(AudioFormatForPath("x.Opus"), AudioFormat::OggOpus);
    EXPECT_EQ(AudioFormatForPath("x.ogg"), AudioFormat::OggVorbis);
    EXPECT_FALSE(AudioFormatForPath("dir/.wav").has_value());
    EXPECT_FALSE(AudioFormatForPath("x.wav.txt").has_value());
    EXPECT_FALSE(AudioFormatForPath("mp3").has_value());
    EXPECT_TRUE(CheckExportNames({"a.flac", "a.VTT", "t.JSON"}).empty());
    // The timings are JSON: another name is a mistake (a text file's name, the sound's).
    EXPECT_FALSE(CheckExportNames({"a.flac", "", "t"}).empty());
    EXPECT_FALSE(CheckExportNames({"a.flac", "", "a.flac"}).empty());
    EXPECT_FALSE(CheckExportNames({"a.flac", "a.txt", ""}).empty());
    EXPECT_FALSE(CheckExportNames({"a.aiff", "", ""}).empty());
}

} // namespace
} // namespace yomi6
