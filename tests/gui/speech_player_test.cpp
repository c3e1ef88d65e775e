// The speech player without a sound device (the test runs with PULSE_SERVER pointing nowhere):
// it reports no output, stays silent, never blocks, prints nothing; and the decoded samples it
// plays from.
#include "sound/sample_bank.h"
#include "sound/sound_backend.h"
#include "sound/sound_message_filter.h"
#include "sound/speech_player.h"
#include "voice/sample_store.h"
#include "voice/voice_selection.h"
#include "wave/sample_pcm.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <cstdlib>

namespace yomi6 {

using namespace std::chrono_literals;

namespace {

// A Qt message handler is a plain function: what it records can only be reached through state
// at namespace scope, set up and restored by the test that installs it.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
QStringList g_messages;
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
QtMessageHandler g_qtHandler = nullptr;

void RecordMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    g_messages.append(message);
}

} // namespace

class SpeechPlayerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void DropsOnlyTheSoundBackendsMessages();
    void WithoutADeviceIsSilentAndNeverWaits();
    void AnUnknownNamePlaysNothing();
    void HoldsEverySampleDecoded();

private:
    // The players' sound thread, for the whole run of the class: the backend keeps talking to
    // the thread that used it first.
    SoundBackend m_sound;
};

void SpeechPlayerTest::initTestCase() {
    // Record what reaches standard error from here on, below the player's filter.
    g_qtHandler = qInstallMessageHandler(RecordMessage);
    QVERIFY(qEnvironmentVariableIsSet("PULSE_SERVER"));
}

void SpeechPlayerTest::cleanupTestCase() {
    qInstallMessageHandler(g_qtHandler);
}

void SpeechPlayerTest::DropsOnlyTheSoundBackendsMessages() {
    InstallSoundMessageFilter();
    InstallSoundMessageFilter(); // once only: a second call must not chain the filter to itself
    g_messages.clear();
    qWarning("PulseAudioService: pa_context_connect() failed");
    qCritical("Stream error: Connection terminated");
    qWarning("something else went wrong");
    // Written as a string through the debug stream, the backend's lines arrive quoted.
    qWarning() << QStringLiteral("PulseAudioService: Connection failure: Timeout");
    qWarning() << QStringLiteral("a quoted line of another part");
    QCOMPARE(g_messages, (QStringList{QStringLiteral("something else went wrong"),
                                      QStringLiteral("\"a quoted line of another part\"")}));
}

void SpeechPlayerTest::WithoutADeviceIsSilentAndNeverWaits() {
    g_messages.clear();
    const VoiceSelection voices;
    const SampleBank bank;
    SpeechPlayer player(bank, voices, m_sound);
    QSignalSpy ready(&player, &SpeechPlayer::ready);
    QSignalSpy unavailable(&player, &SpeechPlayer::outputUnavailable);
    QVERIFY(ready.count() == 1 || ready.wait(10000));
    QCOMPARE(ready.first().first().toBool(), false);
    QCOMPARE(unavailable.count(), 1);
    QVERIFY(player.IsReady());
    QVERIFY(!player.HasOutput());
    for (int i = 0; i < 100; ++i) {
        QVERIFY(!player.Play("IDF_KA"));
    }
    QCOMPARE(player.TimeUntilSilent(), 0ms);
    QCOMPARE(player.stats().lateRequests, 0);
    // The missing server was not reported.
    QVERIFY2(g_messages.isEmpty(), qPrintable(g_messages.join('\n')));
}

void SpeechPlayerTest::AnUnknownNamePlaysNothing() {
    const VoiceSelection voices;
    const SampleBank bank;
    SpeechPlayer player(bank, voices, m_sound);
    QSignalSpy ready(&player, &SpeechPlayer::ready);
    QVERIFY(ready.count() == 1 || ready.wait(10000));
    for (const char* name : {"", "IDF_", "IDF_XX", "idf_ka", "IDF_KA ", "IDX_KA"}) {
        QVERIFY(!player.Play(name));
        QVERIFY(bank.Find(voices, name).empty());
    }
}

void SpeechPlayerTest::HoldsEverySampleDecoded() {
    const SampleBank bank;
    const VoiceSelection voices;
    QCOMPARE(bank.size(), SampleNames().size());
    for (const std::string_view name : SampleNames()) {
        const auto pcm = bank.Find(voices, name);
        // Every recording lasts between 0.1 and 0.35 s.
        QVERIFY(pcm.size() > kOutputSampleRate / 10);
        QVERIFY(pcm.size() < kOutputSampleRate * 35 / 100);
    }
    // The same sample is decoded once: two finds give the same frames.
    QCOMPARE(bank.Find(voices, "IDW_KA").data(), bank.Find(voices, "IDW_KA").data());
    QVERIFY(bank.Find(voices, "IDW_KA").data() != bank.Find(voices, "IDF_KA").data());
}

} // namespace yomi6

QTEST_GUILESS_MAIN(yomi6::SpeechPlayerTest)
#include "speech_player_test.moc"
