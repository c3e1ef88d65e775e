#include "view/speech_controller.h"

#include "app/app_settings.h"
#include "dictionary/message_sink.h"
#include "platform/sample_player.h"
#include "platform/speech_runner.h"
#include "speech/playback.h"
#include "speech/speech_state.h"
#include "speech/text_reader.h"
#include "speech/wav_render.h"

#include <QApplication>

#include <memory>
#include <string_view>
#include <vector>

namespace yomi6 {

SpeechController& SpeechController::Instance() {
    static SpeechController controller;
    return controller;
}

namespace {

// Collects what the reading wants to tell the user, to be shown after the speak command.
class CollectingSink : public IMessageSink {
public:
    void ShowMessage(std::string_view text, MessageBoxType) override {
        messages.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    QStringList messages;
};

} // namespace

SpeechController::SpeechController()
    : m_runner(std::make_unique<SpeechRunner>(
          g_speech, [this](std::string_view sample, SpeechTimer::Clock::time_point due) {
              Player().Play(sample, due);
          })) {
    connect(m_runner.get(), &SpeechRunner::ticked, this, &SpeechController::OnTick);
    connect(m_runner.get(), &SpeechRunner::finished, this, &SpeechController::OnFinished);
    // The sound output opens in the background now, so that the first speak command is heard
    // from its first unit.
    Player();
}

SpeechController::~SpeechController() = default;

SamplePlayer& SpeechController::Player() {
    if (!m_player) {
        // Also after Shutdown(): a test may start the editor again in the same process.
        m_player = std::make_unique<SamplePlayer>();
        connect(m_player.get(), &SamplePlayer::outputUnavailable, this,
                &SpeechController::soundUnavailable);
    }
    return *m_player;
}

QStringList SpeechController::Speak(const QObject* owner, const SpeechSource& text) {
    m_source = text;
    CollectingSink sink;
    ReaderSetup setup;
    setup.messages = &sink;
    StartSpeech(g_speech, reinterpret_cast<const unsigned char*>(m_source.bytes.data()),
                m_source.bytes.size(), setup);
    m_owner = owner;
    // The samples are fitted to the speed before the first tick (the first time at a speed
    // that takes a moment), never on a tick.
    // Those of the reading in both voices, as F5 may switch the voice meanwhile.
    if (app_settings::FitSamples()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        auto other = std::make_unique<SpeechState>(g_speech);
        other->voice = g_speech.voice != 0 ? 0 : 1;
        std::vector<std::string_view> names = PassSchedule(g_speech);
        const std::vector<std::string_view> otherNames = PassSchedule(*other);
        names.insert(names.end(), otherNames.begin(), otherNames.end());
        Player().SetFitting(SampleFitting::On, g_speech.speed, names);
        QApplication::restoreOverrideCursor();
    } else {
        Player().SetFitting(SampleFitting::Off, g_speech.speed, {});
    }
    // A timer already running is replaced, at the current speed.
    m_runner->start();
    emit stateChanged();
    return sink.messages;
}

void SpeechController::Stop() {
    StopSpeech(g_speech);
    emit stateChanged();
}

void SpeechController::ViewDeactivated(const QObject*) {
    StopSpeechOnDeactivation(g_speech);
    emit stateChanged();
}

void SpeechController::ViewDestroyed(const QObject* view) {
    if (view == m_owner) {
        // The timer belonged to the view's window: it ends with it, the stop request stays.
        m_runner->stop();
        m_owner = nullptr;
        emit stateChanged();
    }
}

void SpeechController::Shutdown() {
    m_runner->stop();
    m_owner = nullptr;
    m_player.reset();
}

bool SpeechController::IsTimerRunning() const {
    return m_runner->isActive();
}

void SpeechController::OnTick(const TickResult& tick) {
    const QString sample =
        QString::fromLatin1(tick.sample.data(), static_cast<qsizetype>(tick.sample.size()));
    emit ticked(sample);
    const SpeechSource::Span span = m_source.TextSpan(tick.source.begin, tick.source.end);
    emit unitTicked(sample, static_cast<int>(span.begin), static_cast<int>(span.end));
}

void SpeechController::OnFinished() {
    m_owner = nullptr;
    emit stateChanged();
}

} // namespace yomi6
