// Synthesis in our own process with the real voice. The labels come from the open_jtalk
// program's front end (tests/support/open_jtalk_labels.h), a stand-in for our own labels until
// the label library lands; without open_jtalk these tests are skipped.
#include "support/open_jtalk_labels.h"
#include "support/wave_analysis.h"
#include "synthesis/hts_voice.h"
#include "synthesis/loudness.h"
#include "synthesis/mora_time.h"
#include "synthesis/synthesizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <map>
#include <numeric>
#include <thread>

namespace yomi6::synthesis {
namespace {

using natural::Style;
using natural::Variant;

constexpr const char* kShort = "今日は良い天気ですね。";
// Four sentences the stand-in makes one run of labels of, with pauses between them.
constexpr const char* kLong = "吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。"
                              "何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶"
                              "している。";

std::string VoiceFile(Style style) {
    return natural::FindVoiceFile(style, YOMI6_NATURAL_TEST_VOICES, {});
}

class HtsSynthesis : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::HasOpenJTalk()) {
            GTEST_SKIP() << "open_jtalk (the stand-in for our labels) is not installed";
        }
    }

    // The stand-in's run on text with the neutral voice, made once per text.
    static const test::OpenJTalkRun& Run(const std::string& text) {
        static std::map<std::string, test::OpenJTalkRun> runs;
        auto found = runs.find(text);
        if (found == runs.end()) {
            std::optional<test::OpenJTalkRun> run =
                test::RunOpenJTalk(text, VoiceFile(Style::Neutral));
            EXPECT_TRUE(run.has_value()) << text;
            found = runs.emplace(text, run.value_or(test::OpenJTalkRun{})).first;
        }
        return found->second;
    }

    static SynthesisOptions Whole() {
        SynthesisOptions options;
        options.block = std::chrono::milliseconds(0);
        return options;
    }

    static Synthesis Say(const std::string& text, const SynthesisOptions& options = {}) {
        Synthesizer synthesizer(Voice());
        return synthesizer.Synthesize(Run(text).labels, options);
    }

    // The voice, loaded once for every test.
    static std::shared_ptr<const HtsVoice> Voice() {
        static const HtsVoice::Loaded loaded =
            HtsVoice::Load(StyleVoiceFiles(YOMI6_NATURAL_TEST_VOICES, {}));
        EXPECT_EQ(loaded.error, "");
        return loaded.voice;
    }
};

// Half-tones between two frequencies.
double HalfTones(double from, double to) {
    return 12.0 * std::log2(to / from);
}

// The pitch of the voiced frames of 16-bit sound.
std::vector<double> Pitches(const std::vector<std::int16_t>& pcm, int rate) {
    std::vector<double> track = test::PitchTrack(pcm, rate);
    std::erase(track, 0.0);
    return track;
}

// How far the pitch of b lies from a's, frame by frame over the frames voiced in both (the
// same sentence, so the same frames): the median, in half-tones.
double Shift(const std::vector<std::int16_t>& a, int rateA, const std::vector<std::int16_t>& b,
             int rateB) {
    const std::vector<double> x = test::PitchTrack(a, rateA);
    const std::vector<double> y = test::PitchTrack(b, rateB);
    std::vector<double> shifts;
    for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
        if (x[i] > 0 && y[i] > 0) {
            shifts.push_back(HalfTones(x[i], y[i]));
        }
    }
    EXPECT_GT(shifts.size(), 100u);
    return shifts.empty() ? 1e9 : test::Median(shifts);
}

// What a sink is told, in order.
struct Recorder : SynthesisSink {
    void Timed(std::span<const PhonemeTime> p, int rate) override {
        EXPECT_TRUE(blocks.empty()) << "the times come before the sound";
        phonemes.assign(p.begin(), p.end());
        sampleRate = rate;
    }
    void Sound(std::span<const std::int16_t> block) override {
        blocks.emplace_back(block.begin(), block.end());
    }
    std::vector<std::int16_t> Pcm() const {
        std::vector<std::int16_t> all;
        for (const auto& b : blocks) {
            all.insert(all.end(), b.begin(), b.end());
        }
        return all;
    }
    std::vector<PhonemeTime> phonemes;
    int sampleRate = 0;
    std::vector<std::vector<std::int16_t>> blocks;
};

// Loudness in dB of each 10 ms of pcm at 48 kHz.
std::vector<double> Loudness(const std::vector<std::int16_t>& pcm) {
    std::vector<double> db;
    for (std::size_t at = 0; at + 480 <= pcm.size(); at += 480) {
        double sum = 0;
        for (std::size_t i = at; i < at + 480; ++i) {
            sum += static_cast<double>(pcm[i]) * pcm[i];
        }
        db.push_back(10 * std::log10(sum / 480 + 1));
    }
    return db;
}

// The engine alone (open_jtalk with the same voice and labels) is the oracle: the same state
// durations, so the same times to the frame, and the same sound to the rounding of a sample.
TEST_F(HtsSynthesis, TimesAndSoundAreTheEnginesOwn) {
    SynthesisOptions raw = Whole();
    raw.level = false; // the engine's own sound, without our levelling
    for (const char* text : {kShort, kLong}) {
        const test::OpenJTalkRun& run = Run(text);
        const Synthesis said = Say(text, raw);
        ASSERT_EQ(said.end.error, "");
        EXPECT_EQ(said.sampleRate, 48000);
        ASSERT_EQ(said.phonemes.size(), run.labels.size());
        for (std::size_t i = 0; i < run.labels.size(); ++i) {
            // Label times are in 100 ns.
            EXPECT_EQ(said.phonemes[i].startFrame, run.starts[i] * 48 / 10000) << i;
            EXPECT_EQ(said.phonemes[i].endFrame, run.ends[i] * 48 / 10000) << i;
        }
        EXPECT_EQ(said.phonemes.front().phoneme, "sil");
        EXPECT_EQ(said.phonemes[1].phoneme, text == kShort ? "ky" : "w");
        EXPECT_EQ(static_cast<std::int64_t>(said.pcm.size()), said.phonemes.back().endFrame);
        ASSERT_EQ(said.pcm.size(), run.pcm.size());
        int worst = 0;
        for (std::size_t i = 0; i < said.pcm.size(); ++i) {
            worst = std::max(worst, std::abs(said.pcm[i] - run.pcm[i]));
        }
        EXPECT_LE(worst, 1) << text;
    }
}

// Blocks come early and meet without a seam: the first ends soon after the speech starts and
// is the sentence's start as made at once; the speech sounds as loud as made at once, 10 ms by
// 10 ms (only the noise differs, which a burst of a consonant shows); and no cut is a step in
// the waveform, larger than the steps around it.
TEST_F(HtsSynthesis, TheSoundComesInSeamlessBlocks) {
    const Synthesis whole = Say(kLong, Whole());
    Recorder streamed;
    Synthesizer synthesizer(Voice());
    const SynthesisEnd end = synthesizer.Synthesize(Run(kLong).labels, {}, {}, streamed);
    ASSERT_EQ(end.error, "");
    EXPECT_EQ(streamed.phonemes, whole.phonemes);
    ASSERT_GT(streamed.blocks.size(), 5u);
    const auto& first = streamed.blocks[0];
    EXPECT_LT(static_cast<std::int64_t>(first.size()), whole.phonemes[1].startFrame + 48000 / 2);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), whole.pcm.begin()));
    const std::vector<std::int16_t> pcm = streamed.Pcm();
    ASSERT_EQ(pcm.size(), whole.pcm.size());
    const std::vector<double> a = Loudness(whole.pcm);
    const std::vector<double> b = Loudness(pcm);
    const double loudest = *std::max_element(a.begin(), a.end());
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] > loudest - 10) {
            EXPECT_NEAR(a[i], b[i], 1.5) << "10 ms at " << i;
        }
    }
    const auto largestStep = [&](std::size_t from, std::size_t to) {
        int largest = 0;
        for (std::size_t i = from; i < to; ++i) {
            largest = std::max(largest, std::abs(pcm[i] - pcm[i - 1]));
        }
        return largest;
    };
    std::size_t cut = 0;
    for (std::size_t k = 0; k + 1 < streamed.blocks.size(); ++k) {
        cut += streamed.blocks[k].size();
        // The cut and its cross-fade (10 ms) against 10 ms on either side.
        const int around =
            std::max(largestStep(cut - 480, cut - 1), largestStep(cut + 481, cut + 960));
        EXPECT_LE(largestStep(cut - 1, cut + 481), around * 3 / 2 + 2) << "cut at " << cut;
    }
}

// Stopping ends the sentence at once: between blocks, nothing after the block being handed on;
// within the one block of a whole sentence, long before it would have been made.
TEST_F(HtsSynthesis, StopEndsTheSentenceAtOnce) {
    struct StopAtFirstBlock : Recorder {
        std::stop_source source;
        void Sound(std::span<const std::int16_t> block) override {
            Recorder::Sound(block);
            source.request_stop();
        }
    } first;
    Synthesizer synthesizer(Voice());
    SynthesisEnd end =
        synthesizer.Synthesize(Run(kLong).labels, {}, first.source.get_token(), first);
    EXPECT_TRUE(end.stopped);
    EXPECT_EQ(end.error, "");
    EXPECT_EQ(first.blocks.size(), 1u);

    using Clock = std::chrono::steady_clock;
    const auto wholeStart = Clock::now();
    const Synthesis whole = Say(kLong, Whole());
    const auto wholeTook = Clock::now() - wholeStart;
    struct NotesTimes : Recorder {
        std::atomic<bool> timed{false};
        void Timed(std::span<const PhonemeTime> p, int rate) override {
            Recorder::Timed(p, rate);
            timed = true;
        }
    } late;
    std::stop_source source;
    Clock::time_point asked;
    std::thread stopper([&] {
        while (!late.timed) {
            std::this_thread::yield();
        }
        // Well into the making of the sound.
        std::this_thread::sleep_for(wholeTook / 3);
        asked = Clock::now();
        source.request_stop();
    });
    end = synthesizer.Synthesize(Run(kLong).labels, Whole(), source.get_token(), late);
    const auto ended = Clock::now();
    stopper.join();
    EXPECT_TRUE(end.stopped);
    EXPECT_TRUE(late.blocks.empty());
    EXPECT_EQ(late.phonemes, whole.phonemes);
    EXPECT_LT(ended - asked, wholeTook / 4);

    // Asked before it starts: nothing at all.
    Recorder none;
    source = std::stop_source();
    source.request_stop();
    EXPECT_TRUE(synthesizer.Synthesize(Run(kShort).labels, {}, source.get_token(), none).stopped);
    EXPECT_TRUE(none.phonemes.empty());
}

// The length follows the rate as the engine's durations do, within its range.
TEST_F(HtsSynthesis, RateScalesTheDurations) {
    const auto frames = [](double rate) {
        SynthesisOptions options;
        options.rate = rate;
        return static_cast<double>(Say(kShort, options).pcm.size());
    };
    const double normal = frames(1.0);
    EXPECT_NEAR(frames(2.0) / normal, 0.5, 0.05);
    EXPECT_NEAR(frames(0.5) / normal, 2.0, 0.1);
    EXPECT_EQ(frames(9.0), frames(natural::kMaxRate));
}

// Pitch moves the measured F0 by the half-tones asked; the lowered variant by its six down.
TEST_F(HtsSynthesis, PitchMovesTheMeasuredF0) {
    SynthesisOptions options;
    options.outputRate = 16000; // measured at 16 kHz, which costs a ninth
    const Synthesis base = Say(kLong, options);
    EXPECT_GT(test::Median(Pitches(base.pcm, 16000)), 180.0); // a female voice
    for (const double asked : {4.0, -3.0}) {
        options.halfTones = asked;
        EXPECT_NEAR(Shift(base.pcm, 16000, Say(kLong, options).pcm, 16000), asked, 0.3) << asked;
    }
    options.halfTones = 0;
    options.variant = Variant::Lowered;
    EXPECT_NEAR(Shift(base.pcm, 16000, Say(kLong, options).pcm, 16000), natural::kLoweredHalfTones,
                0.3);
}

// Intonation scales the melody around its middle: each voiced frame's distance from the
// median (in half-tones) is the asked multiple of the same frame's as generated, in the median
// over the frames at least a half-tone away (which leaves out the tracker's octave errors).
TEST_F(HtsSynthesis, IntonationScalesTheMelody) {
    SynthesisOptions options;
    options.outputRate = 16000;
    const std::vector<double> asGenerated = test::PitchTrack(Say(kLong, options).pcm, 16000);
    for (const double k : {0.0, 0.5, 2.0}) {
        options.intonation = k;
        const std::vector<double> scaled = test::PitchTrack(Say(kLong, options).pcm, 16000);
        std::vector<double> x;
        std::vector<double> y;
        for (std::size_t i = 0; i < asGenerated.size() && i < scaled.size(); ++i) {
            if (asGenerated[i] > 0 && scaled[i] > 0) {
                x.push_back(12 * std::log2(asGenerated[i]));
                y.push_back(12 * std::log2(scaled[i]));
            }
        }
        ASSERT_GT(x.size(), 200u);
        const double mx = test::Median(x);
        const double my = test::Median(y);
        std::vector<double> ratios;
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (std::abs(x[i] - mx) >= 1.0) {
                ratios.push_back((y[i] - my) / (x[i] - mx));
            }
        }
        ASSERT_GT(ratios.size(), 100u);
        EXPECT_NEAR(test::Median(ratios), k, 0.2) << k;
        EXPECT_NEAR(my, mx, 1.0) << k; // around the same middle
    }
}

// A style at weight 0 is neutral; at 1 it sounds as that voice alone; halfway it lies between.
TEST_F(HtsSynthesis, StyleWeightsBlendTheVoices) {
    const auto said = [](Style style, double weight) {
        SynthesisOptions options;
        options.outputRate = 16000;
        options.style = {style, weight};
        return Say(kLong, options);
    };
    const Synthesis neutral = said(Style::Neutral, 1.0);
    EXPECT_EQ(said(Style::Happy, 0.0).pcm, neutral.pcm);
    const Synthesis happy = said(Style::Happy, 1.0);
    EXPECT_NE(happy.pcm, neutral.pcm);
    const Synthesis half = said(Style::Happy, 0.5);
    const double f0Neutral = test::Median(Pitches(neutral.pcm, 16000));
    const double f0Happy = test::Median(Pitches(happy.pcm, 16000));
    const double f0Half = test::Median(Pitches(half.pcm, 16000));
    EXPECT_GT(std::abs(HalfTones(f0Neutral, f0Happy)), 1.0);
    EXPECT_GT(f0Half, std::min(f0Neutral, f0Happy));
    EXPECT_LT(f0Half, std::max(f0Neutral, f0Happy));
    for (const Style style : {Style::Sad, Style::Angry}) {
        EXPECT_NE(said(style, 1.0).pcm, neutral.pcm);
    }
}

// Each style is levelled by its own gain, a blend by its styles' gains weighted, and the peaks
// the gain lifts (angry clips as the engine makes it) are bent below full scale.
TEST_F(HtsSynthesis, TheVoiceIsLevelledWithoutClipping) {
    const auto rms = [](const std::vector<std::int16_t>& pcm) {
        double sum = 0;
        for (const std::int16_t x : pcm) {
            sum += static_cast<double>(x) * x;
        }
        return 10 * std::log10(sum / static_cast<double>(pcm.size()));
    };
    const auto fullScale = [](const std::vector<std::int16_t>& pcm) {
        return std::count_if(pcm.begin(), pcm.end(),
                             [](std::int16_t x) { return std::abs(int{x}) >= 32767; });
    };
    const std::string shout = "ふざけるな！いいかげんにしろ！何度言ったらわかるんだ！";
    for (const Style style : kVoiceStyles) {
        SynthesisOptions options = Whole();
        options.style = {style, 1.0};
        options.level = false;
        const Synthesis raw = Say(kLong, options);
        options.level = true;
        const Synthesis level = Say(kLong, options);
        const double gain = kStyleGainDb[StyleIndex(style)];
        // The soft limit takes a little off the loudest peaks only.
        EXPECT_NEAR(rms(level.pcm) - rms(raw.pcm), gain, 0.15) << natural::StyleName(style);
        options.style = {style, 0.5};
        const double half = rms(Say(kLong, options).pcm);
        options.level = false;
        EXPECT_NEAR(half - rms(Say(kLong, options).pcm),
                    (gain + kStyleGainDb[StyleIndex(Style::Neutral)]) / 2, 0.15)
            << natural::StyleName(style);
    }
    SynthesisOptions angry = Whole();
    angry.style = {Style::Angry, 1.0};
    angry.level = false;
    EXPECT_GT(fullScale(Say(shout, angry).pcm), 0); // what the limit is for
    angry.level = true;
    EXPECT_EQ(fullScale(Say(shout, angry).pcm), 0);
    angry.outputRate = 16000;
    EXPECT_EQ(fullScale(Say(shout, angry).pcm), 0);

    // The limit itself: the straight line up to the knee, then a bend that rises and never
    // reaches the ceiling.
    EXPECT_EQ(SoftLimit(-12000.0), -12000.0);
    EXPECT_EQ(SoftLimit(kLimitKnee * 32767), kLimitKnee * 32767);
    double last = SoftLimit(kLimitKnee * 32767);
    for (double x = kLimitKnee * 32767 + 100; x < 100000; x += 100) {
        const double y = SoftLimit(x);
        EXPECT_GT(y, last);
        EXPECT_LE(y, kLimitCeiling * 32767);
        EXPECT_EQ(SoftLimit(-x), -y);
        last = y;
    }
    EXPECT_EQ(SoftLimit(std::nan("")), 0.0);
    EXPECT_DOUBLE_EQ(SoftLimit(INFINITY), kLimitCeiling * 32767);
}

// Two synthesizers over the one voice, on two threads at once, say what one says alone.
TEST_F(HtsSynthesis, TwoEnginesOnTwoThreadsSayWhatOneSays) {
    std::vector<SynthesisOptions> jobs(4);
    jobs[1].style = {Style::Sad, 0.5};
    jobs[2].halfTones = 3;
    jobs[2].intonation = 1.5;
    jobs[3].variant = Variant::Lowered;
    jobs[3].rate = 1.6;
    const std::vector<std::string>& labels = Run(kLong).labels;
    std::vector<std::vector<std::int16_t>> alone;
    alone.reserve(jobs.size());
    Synthesizer one(Voice());
    for (const SynthesisOptions& job : jobs) {
        alone.push_back(one.Synthesize(labels, job).pcm);
    }
    std::vector<std::vector<std::int16_t>> together[2];
    const auto work = [&](int t) {
        Synthesizer mine(Voice());
        for (std::size_t k = 0; k < jobs.size(); ++k) {
            const std::size_t j = t == 0 ? k : jobs.size() - 1 - k; // opposite orders
            together[t].resize(jobs.size());
            together[t][j] = mine.Synthesize(labels, jobs[j]).pcm;
        }
    };
    std::thread other(work, 1);
    work(0);
    other.join();
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        EXPECT_EQ(together[0][j], alone[j]) << j;
        EXPECT_EQ(together[1][j], alone[j]) << j;
    }
}

// At 16 kHz (an export's option) the sound is the same sentence, a third as many frames, and
// the times are at that rate.
TEST_F(HtsSynthesis, SixteenKilohertzIsTheSameSentenceResampled) {
    const Synthesis high = Say(kShort);
    SynthesisOptions options;
    options.outputRate = 16000;
    Recorder low;
    Synthesizer synthesizer(Voice());
    ASSERT_EQ(synthesizer.Synthesize(Run(kShort).labels, options, {}, low).error, "");
    EXPECT_EQ(low.sampleRate, 16000);
    EXPECT_EQ(low.blocks.size(), 1u);
    ASSERT_EQ(low.phonemes.size(), high.phonemes.size());
    for (std::size_t i = 0; i < low.phonemes.size(); ++i) {
        EXPECT_EQ(low.phonemes[i].startFrame * 3, high.phonemes[i].startFrame);
    }
    EXPECT_EQ(low.Pcm().size() * 3, high.pcm.size());
    EXPECT_NEAR(Shift(high.pcm, 48000, low.Pcm(), 16000), 0.0, 0.2);
}

// The engine's half second of silence before the speech, and after it, cut to what is asked,
// and never made: the times count from the first frame kept.
TEST_F(HtsSynthesis, SilenceAroundTheSpeechIsCut) {
    const Synthesis whole = Say(kShort);
    SynthesisOptions options;
    options.maxLeadingSilence = std::chrono::milliseconds(50);
    options.maxTrailingSilence = std::chrono::milliseconds(100);
    const Synthesis cut = Say(kShort, options);
    ASSERT_EQ(cut.phonemes.size(), whole.phonemes.size());
    const std::int64_t dropped = whole.phonemes[1].startFrame - 2400;
    EXPECT_GT(dropped, 0);
    EXPECT_EQ(cut.phonemes[0].startFrame, 0);
    EXPECT_EQ(cut.phonemes[1].startFrame, 2400);
    const std::size_t last = cut.phonemes.size() - 1;
    for (std::size_t i = 1; i < last; ++i) {
        EXPECT_EQ(cut.phonemes[i].startFrame + dropped, whole.phonemes[i].startFrame) << i;
    }
    EXPECT_EQ(cut.phonemes[last].endFrame - cut.phonemes[last].startFrame, 4800);
    EXPECT_EQ(static_cast<std::int64_t>(cut.pcm.size()), cut.phonemes[last].endFrame);
    // The speech is the same.
    const std::vector<double> a =
        Loudness(std::vector<std::int16_t>(whole.pcm.begin() + dropped, whole.pcm.end()));
    const std::vector<double> b = Loudness(cut.pcm);
    const double loudest = *std::max_element(a.begin(), a.end());
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (a[i] > loudest - 10) {
            EXPECT_NEAR(a[i], b[i], 1.5) << "10 ms at " << i;
        }
    }
}

// The morae of a sentence and their times, from its phonemes.
TEST_F(HtsSynthesis, MoraeGroupThePhonemes) {
    const Synthesis said = Say("学校で新聞を読んだ。");
    std::string morae;
    for (const MoraTime& m : GroupMorae(said.phonemes)) {
        for (std::size_t i = 0; i < m.phonemeCount; ++i) {
            morae += said.phonemes[m.firstPhoneme + i].phoneme;
        }
        morae += m.silent ? "_ " : " ";
        EXPECT_EQ(m.startFrame, said.phonemes[m.firstPhoneme].startFrame);
    }
    EXPECT_EQ(morae, "sil_ ga cl ko o de shi N bu N o yo N da sil_ ");
}

} // namespace
} // namespace yomi6::synthesis
