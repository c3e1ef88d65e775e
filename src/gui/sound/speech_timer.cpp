#include "sound/speech_timer.h"

#include "playback/playback.h"

namespace yomi6 {

SpeechTimer::SpeechTimer(QObject* parent) : QObject(parent) {
    // Precise: the ticks keep their grid instead of being bunched to save wake-ups.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SpeechTimer::Fire);
}

void SpeechTimer::start(int intervalMs) {
    m_timer.start(SpeechTimerInterval(intervalMs));
    m_gridStart = Clock::now();
    m_ticks = 0;
}

void SpeechTimer::stop() {
    m_timer.stop();
}

void SpeechTimer::Fire() {
    const auto now = Clock::now();
    const auto period = std::chrono::milliseconds(m_timer.interval());
    ++m_ticks;
    m_tickTime = m_gridStart + m_ticks * period;
    if (now - m_tickTime >= period) {
        m_gridStart = now - m_ticks * period;
        m_tickTime = now;
    }
    emit tick();
}

} // namespace yomi6
