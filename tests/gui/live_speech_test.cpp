// The editor's live reading as a client of the engine interface, against the scripted stand-in
// engine and the speech player without a sound device (the clock is the player's schedule):
// every unit handed on once, in order, at its place on the sound's clock; a pause that stops the
// engine after what it handed over and says on from there; a hand-over before a sentence; a stop
// while the engine waits for room; skip notices reaching the event loop's thread; and the one
// conversion of a unit an engine said into the unit a session tells of.
#include "sound/sample_bank.h"
#include "sound/sound_backend.h"
#include "sound/speech_player.h"
#include "speech_session/natural_speech.h"
#include "speech_session/unit_session.h"
#include "support/test_engine.h"
#include "text/speech_text.h"
#include "voice/voice_selection.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace yomi6 {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::ScriptedUnit;
using test::TestEngine;

namespace {

// The player has no output here: the stand-in's rate, not the output's, sets the clock.
constexpr std::int64_t kSentenceFrames = TestEngine::kRate * 3 / 10; // 0.3 s
constexpr std::size_t kSentenceBytes = 6;

// sentences sentences of two morae and a pause each, one block per sentence, each sentence
// kSentenceBytes source bytes.
std::vector<ScriptedUnit> Script(int sentences) {
    std::vector<ScriptedUnit> units;
    for (int s = 0; s < sentences; ++s) {
        const std::int64_t f = s * kSentenceFrames;
        const std::size_t b = static_cast<std::size_t>(s) * kSentenceBytes;
        units.push_back({"ア", b, b + 2, f, f + kSentenceFrames / 3, true});
        units.push_back(
            {"メ", b + 2, b + 4, f + kSentenceFrames / 3, f + 2 * kSentenceFrames / 3, false});
        units.push_back(
            {"", b + 4, b + 6, f + 2 * kSentenceFrames / 3, f + kSentenceFrames, false});
    }
    return units;
}

// A unit as it was handed on.
struct Handed {
    std::size_t sourceBegin;
    std::string says;
    Clock::time_point onset;
};

// One live reading of the scripted engine through a player without an output.
class Reading {
public:
    Reading(SoundBackend& sound, int sentences)
        : m_player(m_bank, m_voices, sound),
          m_speech([this]() -> SpeechPlayer& { return m_player; }), m_sentences(sentences) {
        QObject::connect(
            &m_speech, &NaturalSpeech::unitStarted, &m_context,
            [this](const SpokenUnit& unit, std::size_t, std::size_t, Clock::time_point onset) {
                handed.push_back({unit.sourceBegin, std::string(unit.says), onset});
            });
    }

    void Start() {
        m_speech.Start(std::string(kSentenceBytes * static_cast<std::size_t>(m_sentences), 'a'),
                       [this](const NaturalSpeech::SkipNotice& onSkipped) {
                           auto engine = std::make_unique<TestEngine>(
                               Script(m_sentences), m_sentences * kSentenceFrames, kSentenceFrames);
                           engine->onSay = [this](std::size_t from) {
                               const std::lock_guard lock(m_mutex);
                               m_saidFrom.push_back(from);
                           };
                           engine->beforeBlock = [this, onSkipped](std::size_t) {
                               ++m_blocks;
                               if (skipOnFirstBlock.exchange(false)) {
                                   onSkipped("scripted");
                               }
                           };
                           return engine;
                       });
    }

    std::vector<std::size_t> SaidFrom() {
        const std::lock_guard lock(m_mutex);
        return m_saidFrom;
    }
    int Blocks() const { return m_blocks.load(); }
    NaturalSpeech& speech() { return m_speech; }

    std::vector<Handed> handed;
    std::atomic<bool> skipOnFirstBlock{false};

private:
    const SampleBank m_bank;
    const VoiceSelection m_voices;
    SpeechPlayer m_player;
    NaturalSpeech m_speech;
    QObject m_context;
    int m_sentences;
    std::mutex m_mutex;
    std::vector<std::size_t> m_saidFrom;
    std::atomic<int> m_blocks{0};
};

// The source bytes of the units handed on, in order.
std::vector<std::size_t> Sources(const std::vector<Handed>& handed) {
    std::vector<std::size_t> sources;
    sources.reserve(handed.size());
    for (const Handed& h : handed) {
        sources.push_back(h.sourceBegin);
    }
    return sources;
}

std::vector<std::size_t> ScriptSources(int sentences) {
    const std::vector<ScriptedUnit> script = Script(sentences);
    std::vector<std::size_t> sources;
    sources.reserve(script.size());
    for (const ScriptedUnit& u : script) {
        sources.push_back(u.sourceBegin);
    }
    return sources;
}

} // namespace

class LiveSpeechTest : public QObject {
    Q_OBJECT
private slots:
    void everyUnitIsHandedOnOnceInOrderAtItsPlaceOnTheClock() {
        Reading reading(m_sound, 3);
        QSignalSpy finished(&reading.speech(), &NaturalSpeech::finished);
        reading.Start();
        QVERIFY(reading.speech().IsActive());
        QVERIFY(finished.wait(10000));
        QCOMPARE(Sources(reading.handed), ScriptSources(3));
        QCOMPARE(reading.handed[1].says, std::string("メ"));
        // The sentences play back to back: each unit's onset is its frame's place after the
        // first unit's, to the microsecond.
        const std::vector<ScriptedUnit> script = Script(3);
        for (std::size_t k = 0; k < script.size(); ++k) {
            const auto expected =
                std::chrono::microseconds(script[k].startFrame * 1'000'000 / TestEngine::kRate);
            const auto actual = std::chrono::duration_cast<std::chrono::microseconds>(
                reading.handed[k].onset - reading.handed[0].onset);
            QVERIFY2(std::chrono::abs(actual - expected) <= 1us,
                     qPrintable(QStringLiteral("unit %1: %2 us, not %3 us")
                                    .arg(k)
                                    .arg(actual.count())
                                    .arg(expected.count())));
        }
        QVERIFY(!reading.speech().IsActive());
        QCOMPARE(reading.SaidFrom(), std::vector<std::size_t>{0});
    }

    void aPauseStopsTheEngineAfterWhatItHandedOverAndResumeSaysOnFromThere() {
        constexpr int kSentences = 8;
        Reading reading(m_sound, kSentences);
        QSignalSpy finished(&reading.speech(), &NaturalSpeech::finished);
        reading.Start();
        QTRY_VERIFY_WITH_TIMEOUT(!reading.handed.empty(), 10000);
        reading.speech().Pause();
        QVERIFY(reading.speech().IsPaused());
        const std::size_t atPause = reading.handed.size();
        // Paused, the engine says nothing more: far fewer blocks than the text has.
        QTest::qWait(400);
        QCOMPARE(reading.handed.size(), atPause);
        const int blocks = reading.Blocks();
        QVERIFY2(blocks < kSentences, qPrintable(QString::number(blocks)));
        QCOMPARE(reading.SaidFrom().size(), std::size_t{1});

        reading.speech().Resume();
        QVERIFY(finished.wait(10000));
        // Nothing lost and nothing said twice; the second saying started where the first one's
        // blocks ended, at a sentence it had not handed over.
        QCOMPARE(Sources(reading.handed), ScriptSources(kSentences));
        const std::vector<std::size_t> from = reading.SaidFrom();
        QCOMPARE(from.size(), std::size_t{2});
        QVERIFY2(from[1] > 0 && from[1] % kSentenceBytes == 0 &&
                     from[1] < kSentences * kSentenceBytes,
                 qPrintable(QString::number(from[1])));
    }

    void aHandOverEndsBeforeTheSentenceAndStopsTheEngine() {
        Reading reading(m_sound, 6);
        QSignalSpy handedOver(&reading.speech(), &NaturalSpeech::handedOver);
        QSignalSpy finished(&reading.speech(), &NaturalSpeech::finished);
        reading.speech().SetGoOn([](std::size_t begin) { return begin < 2 * kSentenceBytes; });
        reading.Start();
        QVERIFY(handedOver.wait(10000));
        QCOMPARE(handedOver.first().first().value<std::size_t>(), 2 * kSentenceBytes);
        QVERIFY(!reading.speech().IsActive());
        QTest::qWait(200);
        QCOMPARE(finished.count(), 0);
        // The first sentence whole, then what of the second was due, and nothing after it.
        const std::vector<std::size_t> sources = Sources(reading.handed);
        const std::vector<std::size_t> script = ScriptSources(2);
        QVERIFY(sources.size() >= 3 && sources.size() <= script.size());
        QVERIFY(std::equal(sources.begin(), sources.end(), script.begin()));
    }

    void aStopWhileTheEngineWaitsForRoomEndsAtOnce() {
        const auto before = Clock::now();
        {
            Reading reading(m_sound, 40);
            reading.Start();
            // The engine has handed over what it may and waits for the player to take more.
            QTRY_VERIFY_WITH_TIMEOUT(reading.Blocks() >= 2, 10000);
            reading.speech().Stop();
            QVERIFY(!reading.speech().IsActive());
            QTest::qWait(100);
            QVERIFY(reading.handed.size() <= 3);
        }
        // The reading and its engine's thread are gone long before the 12 s it would say.
        QVERIFY(Clock::now() - before < 5s);
    }

    void aSkipNoticeReachesTheEventLoopsThreadOnlyWhileItsReadingLasts() {
        {
            Reading reading(m_sound, 2);
            QThread* receivedOn = nullptr;
            QObject::connect(&reading.speech(), &NaturalSpeech::chunkSkipped, &reading.speech(),
                             [&] { receivedOn = QThread::currentThread(); });
            QSignalSpy skipped(&reading.speech(), &NaturalSpeech::chunkSkipped);
            reading.skipOnFirstBlock = true;
            reading.Start();
            QVERIFY(skipped.wait(10000));
            QCOMPARE(skipped.first().first().toString(), QStringLiteral("scripted"));
            QCOMPARE(receivedOn, QThread::currentThread());
        }
        {
            Reading reading(m_sound, 2);
            QSignalSpy skipped(&reading.speech(), &NaturalSpeech::chunkSkipped);
            reading.skipOnFirstBlock = true;
            reading.Start();
            // Without running the event loop: the notice waits in its queue when the reading
            // stops.
            const auto limit = Clock::now() + 10s;
            while (reading.Blocks() < 1 && Clock::now() < limit) {
                std::this_thread::sleep_for(1ms);
            }
            QVERIFY(reading.Blocks() >= 1);
            reading.speech().Stop();
            QTest::qWait(100);
            QCOMPARE(skipped.count(), 0);
        }
    }

    void aUnitBecomesTheSessionsUnitAtItsCharactersAndWord() {
        // 最初。漢字かな。: the second sentence's words are counted from its first byte.
        const SpeechSource source = SpeechSourceOf(u"最初。漢字かな。");
        const std::size_t sentence = 6; // the bytes of 最初。
        const std::vector<SourceRange> words{{0, 4}, {4, 8}, {8, 10}};
        SpokenUnit unit;
        unit.says = "カ";
        unit.sourceBegin = sentence + 2; // 字
        unit.sourceEnd = sentence + 4;
        const auto onset = Clock::now();
        const SessionUnit placed =
            SessionUnitOf(unit, {source, 10, words, sentence, sentence + 10}, 1, 1, onset);
        QCOMPARE(placed.says, QString::fromUtf8("カ"));
        QCOMPARE(placed.begin, 10 + 4);
        QCOMPARE(placed.end, 10 + 5);
        QVERIFY(placed.heard);
        QCOMPARE(placed.wordBegin, 10 + 3); // 漢字
        QCOMPARE(placed.wordEnd, 10 + 5);
        QCOMPARE(placed.offsetInSource, 1);
        QCOMPARE(placed.length, 1);
        QCOMPARE(placed.onset, onset);
        // A pause over no text, or a unit of no length, is not heard and has no word.
        unit.says = {};
        const SessionUnit pause =
            SessionUnitOf(unit, {source, 10, words, sentence, sentence + 10}, 0, 0, onset);
        QVERIFY(!pause.heard);
        QCOMPARE(pause.wordBegin, -1);
        QCOMPARE(pause.onset, Clock::time_point{});
    }

private:
    SoundBackend m_sound;
};

} // namespace yomi6

QTEST_GUILESS_MAIN(yomi6::LiveSpeechTest)
#include "live_speech_test.moc"
