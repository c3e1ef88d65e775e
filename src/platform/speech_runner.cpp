#include "platform/speech_runner.h"

#include "speech/speech_state.h"

namespace yomi6 {

SpeechRunner::SpeechRunner(SpeechState& state, PlayFunction play, QObject* parent)
    : QObject(parent), m_state(state), m_play(std::move(play)) {
    connect(&m_timer, &SpeechTimer::tick, this, &SpeechRunner::OnTick);
}

void SpeechRunner::start() {
    m_timer.start(SpeechTimerInterval(m_state.speed));
}

void SpeechRunner::stop() {
    m_timer.stop();
}

void SpeechRunner::OnTick() {
    const TickResult result = SpeechTick(m_state);
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
