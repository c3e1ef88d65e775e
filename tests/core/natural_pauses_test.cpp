// The natural voice's pauses at the marks of the text: which mark a silence stands for, the
// pause after a piece, a piece's silences brought to their lengths in its units and its sound
// alike, and the real voice's rendering of a text with 、 and 。 (its silent runs measured in
// the samples, and its units moved with them).
#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "engine/engine_choice.h"
#include "export/engine_factory.h"
#include "natural_engine_support.h"
#include "natural_voice/pause_fitting.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace yomi6 {
namespace {

using natural::test::Sjis;
using natural_voice::PieceUnit;

TEST(PauseMarksTest, ASilenceStandsForTheMarkAfterTheClosingBrackets) {
    const std::string text = Sjis(u"あ、い。う！え？お……か――き」、く・け「こ｡ ,");
    const auto markAt = [&](std::u16string_view before) {
        const std::size_t at = Sjis(before).size();
        return natural_voice::PauseMarkAt(text, at, text.size());
    };
    EXPECT_EQ(markAt(u"あ"), PauseMark::Comma);
    EXPECT_EQ(markAt(u"あ、い"), PauseMark::Period);
    EXPECT_EQ(markAt(u"あ、い。う"), PauseMark::Question);
    EXPECT_EQ(markAt(u"あ、い。う！え"), PauseMark::Question);
    EXPECT_EQ(markAt(u"あ、い。う！え？お"), PauseMark::Ellipsis);
    EXPECT_EQ(markAt(u"あ、い。う！え？お……か"), PauseMark::Dash);
    EXPECT_EQ(markAt(u"あ、い。う！え？お……か――き"), PauseMark::Comma);       // 」 passed over
    EXPECT_EQ(markAt(u"あ、い。う！え？お……か――き」、く"), std::nullopt);     // ・ is no mark
    EXPECT_EQ(markAt(u"あ、い。う！え？お……か――き」、く・け"), std::nullopt); // nor 「
    EXPECT_EQ(markAt(u"あ、い。う！え？お……か――き」、く・け「こ"), PauseMark::Period); // ｡
    EXPECT_EQ(markAt(u"あ、い。う！え？お……か――き」、く・け「こ｡"), PauseMark::Comma);
    // The long vowel mark is a letter, not the dash; the end given is not passed.
    const std::string longVowel = Sjis(u"ラーメン");
    EXPECT_EQ(natural_voice::PauseMarkAt(longVowel, 2, longVowel.size()), std::nullopt);
    EXPECT_EQ(natural_voice::PauseMarkAt(text, 2, 2), std::nullopt);
}

TEST(PauseMarksTest, ThePauseAfterAPieceIsItsMarksOrTheLongerOfTheLineEndsAfterIt) {
    PauseTable table;
    table.ms = {100, 500, 550, 700, 400, 800, 1500};
    const std::string text = Sjis(u"雨だ。風だ！\r\n晴れ……\n\n\r\n曇り、霧");
    const auto after = [&](std::u16string_view from, std::u16string_view to,
                           std::u16string_view next) {
        const natural::ByteRange piece{Sjis(from).size(), Sjis(to).size()};
        return natural_voice::PauseAfterPiece(text, piece, Sjis(next).size(), table);
    };
    EXPECT_EQ(after(u"", u"雨だ。", u"雨だ。"), 500);
    // A line end (CR LF is one) longer than the mark's pause.
    EXPECT_EQ(after(u"雨だ。", u"雨だ。風だ！", u"雨だ。風だ！\r\n"), 800);
    // Lines without text between: a blank line, whatever their line ends.
    EXPECT_EQ(
        after(u"雨だ。風だ！\r\n", u"雨だ。風だ！\r\n晴れ……", u"雨だ。風だ！\r\n晴れ……\n\n\r\n"),
        1500);
    // A piece cut for its length after a comma, or with no mark at all, pauses as at a comma;
    // the text's end is no line end.
    EXPECT_EQ(after(u"雨だ。風だ！\r\n晴れ……\n\n\r\n", u"雨だ。風だ！\r\n晴れ……\n\n\r\n曇り、",
                    u"雨だ。風だ！\r\n晴れ……\n\n\r\n曇り、"),
              100);
    EXPECT_EQ(
        natural_voice::PauseAfterPiece(text, {text.size() - 2, text.size()}, text.size(), table),
        100);
    // A mark longer than the line end's wins over it.
    table.At(PauseMark::Ellipsis) = 2000;
    EXPECT_EQ(after(u"雨だ。風だ！\r\n", u"雨だ。風だ！\r\n晴れ……", u"雨だ。風だ！\r\n晴れ……\n"),
              2000);
}

// A sound of distinct nonzero samples, so that any frame lost, doubled or moved shows.
std::vector<std::int16_t> Numbered(std::size_t frames) {
    std::vector<std::int16_t> pcm(frames);
    std::iota(pcm.begin(), pcm.end(), std::int16_t{1});
    return pcm;
}

std::vector<std::int16_t> Edited(const std::vector<natural_voice::SoundEdit>& edits,
                                 const std::vector<std::int16_t>& pcm, std::size_t block) {
    natural_voice::SoundEditor editor(edits);
    std::vector<std::int16_t> out;
    for (std::size_t at = 0; at < pcm.size(); at += block) {
        const std::size_t n = std::min(block, pcm.size() - at);
        editor.Edit(std::span(pcm).subspan(at, n), out);
    }
    editor.Finish(out);
    return out;
}

TEST(SilenceFittingTest, SilencesGrowOrShrinkInTheirMiddleAndTheSpeechMovesWhole) {
    std::vector<PieceUnit> units{{"", {}, 0, 100},
                                 {"ア", {}, 100, 300},
                                 {"", {}, 300, 400},
                                 {"イ", {}, 400, 600},
                                 {"", {}, 600, 700}};
    // The pause grows to 250, the silence after the speech shrinks to 50; a target on a spoken
    // unit is not taken.
    const std::vector<std::int64_t> targets{-1, 5, 250, -1, 50};
    const auto edits = natural_voice::FitSilences(units, targets);
    const std::vector<std::pair<std::int64_t, std::int64_t>> times{
        {0, 100}, {100, 300}, {300, 550}, {550, 750}, {750, 800}};
    for (std::size_t i = 0; i < units.size(); ++i) {
        EXPECT_EQ(std::pair(units[i].startFrame, units[i].endFrame), times[i]) << i;
    }
    const std::vector<std::int16_t> pcm = Numbered(700);
    const std::vector<std::int16_t> whole = Edited(edits, pcm, pcm.size());
    ASSERT_EQ(whole.size(), 800u); // the sound ends where the units do
    // The speech as made, where the units now place it.
    EXPECT_TRUE(std::equal(pcm.begin() + 100, pcm.begin() + 300, whole.begin() + 100));
    EXPECT_TRUE(std::equal(pcm.begin() + 400, pcm.begin() + 600, whole.begin() + 550));
    // The silence put in the middle of the pause, and the middle of the trailing one cut.
    EXPECT_TRUE(std::equal(pcm.begin() + 300, pcm.begin() + 350, whole.begin() + 300));
    EXPECT_TRUE(std::all_of(whole.begin() + 350, whole.begin() + 500,
                            [](std::int16_t s) { return s == 0; }));
    EXPECT_TRUE(std::equal(pcm.begin() + 350, pcm.begin() + 400, whole.begin() + 500));
    EXPECT_TRUE(std::equal(pcm.begin() + 600, pcm.begin() + 625, whole.begin() + 750));
    EXPECT_TRUE(std::equal(pcm.begin() + 675, pcm.end(), whole.begin() + 775));
    // Blocks of any size, cut through an edit or not, give the same sound.
    for (const std::size_t block : {1u, 7u, 50u, 64u, 333u}) {
        EXPECT_EQ(Edited(edits, pcm, block), whole) << block;
    }
}

TEST(SilenceFittingTest, SilenceToBePutPastTheSoundsEndComesAtTheFinish) {
    // The engine's trailing silence shorter than the pause after the piece: made up after the
    // last block, and a sound that ends before its units do still gets all of it.
    std::vector<PieceUnit> units{{"ア", {}, 0, 200}, {"", {}, 200, 240}};
    const auto edits = natural_voice::FitSilences(units, std::vector<std::int64_t>{-1, 400});
    EXPECT_EQ(units.back().endFrame, 600);
    const std::vector<std::int16_t> pcm = Numbered(210); // 30 frames short of the units
    const std::vector<std::int16_t> out = Edited(edits, pcm, 64);
    ASSERT_EQ(out.size(), 210u + 360u);
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), out.begin()));
    EXPECT_TRUE(std::all_of(out.begin() + 210, out.end(), [](std::int16_t s) { return s == 0; }));
}

TEST(SilenceFittingTest, TargetsFollowTheMarksAndTheEndsOfTheSpeech) {
    const std::string text = Sjis(u"あ、い・う");
    const std::size_t comma = Sjis(u"あ").size();
    const std::size_t dot = Sjis(u"あ、い").size();
    const std::vector<PieceUnit> units{{"", {0, 0}, 0, 4800},
                                       {"ア", {0, 2}, 4800, 9600},
                                       {"", {comma, comma + 2}, 9600, 12000},
                                       {"イ", {4, 6}, 12000, 16800},
                                       {"", {dot, dot}, 16800, 19200},
                                       {"ウ", {8, 10}, 19200, 24000},
                                       {"", {10, 10}, 24000, 48000}};
    PauseTable table = DefaultPauses();
    table.At(PauseMark::Comma) = 300;
    const natural::ByteRange piece{0, text.size()};
    // At 48000 Hz: the comma 300 ms; the middle dot kept; the lead of 100 ms kept as it is
    // longer than 60 ms; the trailing silence 200 ms.
    EXPECT_EQ(natural_voice::SilenceTargets(units, text, piece, table, 48000, 60, 200),
              (std::vector<std::int64_t>{-1, -1, 14400, -1, -1, -1, 9600}));
    // A lead shorter than the one asked for is made up to it; negative lengths keep both ends.
    EXPECT_EQ(natural_voice::SilenceTargets(units, text, piece, table, 48000, 150, -1),
              (std::vector<std::int64_t>{7200, -1, 14400, -1, -1, -1, -1}));
    // Silence alone has nothing to fit.
    const std::vector<PieceUnit> quiet{{"", {0, 0}, 0, 4800}};
    EXPECT_EQ(natural_voice::SilenceTargets(quiet, text, piece, table, 48000, 60, 0),
              (std::vector<std::int64_t>{-1}));
}

// The real voice, as every client chooses it.
class NaturalPauses : public ::testing::Test {
protected:
    yomi6::test::ScopedEnv m_analyzer{kAnalyzerDictionaryVariable,
                                      std::string(kDefaultAnalyzerDictionary)};

    struct Rendered {
        std::vector<std::int16_t> pcm;
        std::vector<SpokenUnit> units; // says points nowhere once the block is gone
        std::vector<bool> spoken;
    };

    static Rendered Render(const std::string& text, const PauseTable& pauses) {
        natural::Installation installation;
        installation.voiceFolder = YOMI6_NATURAL_TEST_VOICES;
        EngineRequest request;
        request.naturalAsked = true;
        request.pauses = pauses;
        const ChosenEngine chosen = ChooseEngine(installation, request);
        EXPECT_TRUE(chosen.SpeaksNaturally()) << natural::MissingText(chosen.setup);
        const std::unique_ptr<SpeechEngine> engine = MakeNaturalEngine(std::nullopt, chosen.pass);
        Rendered out;
        EngineSink sink;
        sink.onBlock = [&](const SoundBlock& block) {
            EXPECT_EQ(block.startFrame, static_cast<std::int64_t>(out.pcm.size()));
            out.pcm.insert(out.pcm.end(), block.sixteen, block.sixteen + block.count);
            for (const SpokenUnit& u : block.units) {
                out.units.push_back(u);
                out.spoken.push_back(!u.says.empty());
            }
            return true;
        };
        const EngineResult result = engine->Say(EngineText{text}, sink);
        EXPECT_EQ(result.status, SpeechStatus::Done) << result.error;
        return out;
    }

    // The frames from the end of the last spoken unit before byte `at` of the text to the start
    // of the first spoken unit from there on: the pause there as the units time it.
    static std::pair<std::int64_t, std::int64_t> GapAt(const Rendered& r, std::size_t at) {
        std::int64_t before = -1;
        std::int64_t after = -1;
        for (std::size_t i = 0; i < r.units.size(); ++i) {
            if (!r.spoken[i]) {
                continue;
            }
            if (r.units[i].sourceBegin < at) {
                before = r.units[i].endFrame;
            } else if (after < 0) {
                after = r.units[i].startFrame;
            }
        }
        return {before, after};
    }

    // The longest run of quiet frames (5 ms windows of RMS below -46 dB of full scale) within
    // [from, to) of the sound, in frames.
    static constexpr std::int64_t kWindow = 240;
    static std::int64_t QuietRun(const Rendered& r, std::int64_t from, std::int64_t to) {
        std::int64_t longest = 0;
        std::int64_t run = 0;
        for (std::int64_t w = std::max<std::int64_t>(from, 0);
             w + kWindow <= std::min<std::int64_t>(to, static_cast<std::int64_t>(r.pcm.size()));
             w += kWindow) {
            double sum = 0;
            for (std::int64_t i = w; i < w + kWindow; ++i) {
                sum += static_cast<double>(r.pcm[static_cast<std::size_t>(i)]) *
                       r.pcm[static_cast<std::size_t>(i)];
            }
            const bool quiet = std::sqrt(sum / kWindow) < 165.0;
            run = quiet ? run + kWindow : 0;
            longest = std::max(longest, run);
        }
        return longest;
    }
};

TEST_F(NaturalPauses, ACommaAndASentencesEndGetTheSetLengthsInSoundAndUnits) {
    const std::string text = Sjis(u"今日は、とても良い天気です。明日は雨が降るでしょう。");
    const std::size_t comma = Sjis(u"今日は").size();
    const std::size_t second = Sjis(u"今日は、とても良い天気です。").size();
    PauseTable shortTable = DefaultPauses();
    shortTable.At(PauseMark::Comma) = 100;
    shortTable.At(PauseMark::Period) = 400;
    PauseTable longTable = shortTable;
    longTable.At(PauseMark::Comma) = 700;
    longTable.At(PauseMark::Period) = 1300;
    const Rendered a = Render(text, shortTable);
    const Rendered b = Render(text, longTable);
    ASSERT_FALSE(a.units.empty() || b.units.empty());
    for (const Rendered* r : {&a, &b}) {
        // The units cover the sound to its end: the highlight and the subtitles end with it.
        EXPECT_EQ(r->units.back().endFrame, static_cast<std::int64_t>(r->pcm.size()));
    }
    constexpr std::int64_t kMs = 48; // frames a millisecond at the voice's rate
    const auto ms = [](std::int64_t frames) { return static_cast<double>(frames) / kMs; };
    // The units' pauses are the set lengths, to a frame.
    const auto [aComma0, aComma1] = GapAt(a, comma);
    const auto [bComma0, bComma1] = GapAt(b, comma);
    EXPECT_NEAR(ms(aComma1 - aComma0), 100, 0.05);
    EXPECT_NEAR(ms(bComma1 - bComma0), 700, 0.05);
    const auto [aEnd0, aEnd1] = GapAt(a, second);
    const auto [bEnd0, bEnd1] = GapAt(b, second);
    EXPECT_NEAR(ms(aEnd1 - aEnd0), 400, 0.05);
    EXPECT_NEAR(ms(bEnd1 - bEnd0), 1300, 0.05);
    // The speech before the comma is the same; what follows moves by the added lengths.
    EXPECT_EQ(aComma0, bComma0);
    EXPECT_EQ(bComma1 - aComma1, 600 * kMs);
    EXPECT_EQ(bEnd1 - aEnd1, (600 + 900) * kMs);
    // The last sentence's end too: the pause after it ends the sound.
    EXPECT_EQ(b.pcm.size() - a.pcm.size(), static_cast<std::size_t>((600 + 900 + 900) * kMs));

    // The samples: each pause is a quiet run where the units place it, about its set length
    // (the speech fades in and out at its edges), and the longer table's runs are longer by
    // what was added, within two windows.
    const auto quietBetween = [](const Rendered& r, std::int64_t from, std::int64_t to) {
        return QuietRun(r, from - 100 * kMs, to + 100 * kMs);
    };
    const double aCommaRun = ms(quietBetween(a, aComma0, aComma1));
    const double bCommaRun = ms(quietBetween(b, bComma0, bComma1));
    const double aEndRun = ms(quietBetween(a, aEnd0, aEnd1));
    const double bEndRun = ms(quietBetween(b, bEnd0, bEnd1));
    EXPECT_NEAR(bCommaRun, 700, 120);
    EXPECT_NEAR(aEndRun, 400, 120);
    EXPECT_NEAR(bEndRun, 1300, 120);
    EXPECT_NEAR(bCommaRun - aCommaRun, 600, 10);
    EXPECT_NEAR(bEndRun - aEndRun, 900, 10);
}

TEST_F(NaturalPauses, AnEllipsisAndADashWithinASentencePauseForTheirSetLengths) {
    // The reading says them as nothing: the pause is there all the same, and follows the table.
    const std::string text = Sjis(u"そうか……わかった。彼は――いや、違う。");
    const std::size_t ellipsis = Sjis(u"そうか").size();
    const std::size_t dash = Sjis(u"そうか……わかった。彼は").size();
    PauseTable first = DefaultPauses();
    first.At(PauseMark::Ellipsis) = 300;
    first.At(PauseMark::Dash) = 650;
    PauseTable second = first;
    second.At(PauseMark::Ellipsis) = 900;
    second.At(PauseMark::Dash) = 50;
    const Rendered a = Render(text, first);
    const Rendered b = Render(text, second);
    constexpr std::int64_t kMs = 48;
    const auto ms = [](std::int64_t frames) { return static_cast<double>(frames) / kMs; };
    const auto [a0, a1] = GapAt(a, ellipsis);
    const auto [b0, b1] = GapAt(b, ellipsis);
    EXPECT_NEAR(ms(a1 - a0), 300, 0.05);
    EXPECT_NEAR(ms(b1 - b0), 900, 0.05);
    const auto [c0, c1] = GapAt(a, dash);
    const auto [d0, d1] = GapAt(b, dash);
    EXPECT_NEAR(ms(c1 - c0), 650, 0.05);
    EXPECT_NEAR(ms(d1 - d0), 50, 0.05);
    EXPECT_NEAR(ms(QuietRun(b, b0 - 100 * kMs, b1 + 100 * kMs)) -
                    ms(QuietRun(a, a0 - 100 * kMs, a1 + 100 * kMs)),
                600, 10);
}

} // namespace
} // namespace yomi6
