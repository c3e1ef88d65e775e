#include "sound/speech_runner.h"

#include "playback/speech_state.h"

namespace yomi6 {

SpeechRunner::SpeechRunner(const SpeechPreferences& preferences, SpeechTickState& session,
                           PlayFunction play, QObject* parent)
    : QObject(parent), m_preferences(preferences), m_session(session), m_play(std::move(play)) {
    connect(&m_timer, &SpeechTimer::tick, this, &SpeechRunner::RunTick);
}

void SpeechRunner::start() {
    m_timer.start(SpeechTimerInterval(m_preferences.speed));
}

void SpeechRunner::stop() {
    m_timer.stop();
}

TickResult SpeechRunner::Tick() {
    if (!m_nextPass) {
        return SpeechTick(m_preferences, m_session);
    }
    // The passes of a long reading each end at their last byte: repeat is the caller's.
    SpeechPreferences passPreferences = m_preferences;
    passPreferences.repeat = false;
    return SpeechTick(passPreferences, m_session);
}

void SpeechRunner::RunTick() {
    const bool stopAsked = m_session.stopRequest == 1;
    TickResult result = Tick();
    if (result.killTimer && !stopAsked && m_nextPass && m_nextPass()) {
        // The tick over the pass's end plays nothing: the next pass's first unit takes it.
        result = Tick();
    }
    if (!result.sample.empty()) {
        // Placed at the moment the tick was due, so that a late tick still sounds on the grid.
        m_play(result.sample, m_timer.tickTime());
    }
    if (result.killTimer) {
        m_timer.stop();
    }
    emit ticked(result);
    if (result.killTimer) {
        emit finished();
    }
}

} // namespace yomi6
