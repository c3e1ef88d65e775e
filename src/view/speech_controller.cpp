#include "view/speech_controller.h"

#include "app/app_settings.h"
#include "platform/sample_player.h"
#include "platform/speech_timer.h"
#include "speech/playback.h"
#include "speech/speech_state.h"
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

SpeechController::SpeechController() : m_timer(std::make_unique<SpeechTimer>()) {
    connect(m_timer.get(), &SpeechTimer::tick, this, &SpeechController::OnTick);
    // The sound output opens in the background now, so that the first speak command is heard
    // from its first unit.
    Player();
}

SpeechController::~SpeechController() = default;

SamplePlayer& SpeechController::Player() {
    if (!m_player) {
        // Also after Shutdown(): a test may start the editor again in the same process.
        m_player = std::make_unique<SamplePlayer>();
    }
    return *m_player;
}

void SpeechController::Speak(const QObject* owner, const QByteArray& text) {
    StartSpeech(g_speech, reinterpret_cast<const unsigned char*>(text.constData()),
                static_cast<std::size_t>(text.size()));
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
    m_timer->start(SpeechTimerInterval(g_speech.speed));
    emit stateChanged();
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
        m_timer->stop();
        m_owner = nullptr;
        emit stateChanged();
    }
}

void SpeechController::Shutdown() {
    m_timer->stop();
    m_owner = nullptr;
    m_player.reset();
}

bool SpeechController::IsTimerRunning() const {
    return m_timer->isActive();
}

void SpeechController::OnTick() {
    const TickResult result = SpeechTick(g_speech);
    if (!result.sample.empty()) {
        // Placed at the moment the tick was due, so that a late tick still sounds on the grid.
        Player().Play(result.sample, m_timer->tickTime());
    }
    emit ticked(
        QString::fromLatin1(result.sample.data(), static_cast<qsizetype>(result.sample.size())));
    if (result.killTimer) {
        m_timer->stop();
        m_owner = nullptr;
        emit stateChanged();
    }
}

} // namespace yomi6
