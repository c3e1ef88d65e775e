#include "speaking/highlight_schedule.h"

namespace yomi6 {

HighlightSchedule::HighlightSchedule(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &HighlightSchedule::ShowDue);
}

void HighlightSchedule::Add(const SpeechHighlight& highlight, Clock::time_point at) {
    if (m_waiting.empty() && at <= Clock::now()) {
        emit due(highlight);
        return;
    }
    m_waiting.push_back({highlight, at});
    Arm();
}

void HighlightSchedule::Clear() {
    m_waiting.clear();
    m_timer.stop();
}

void HighlightSchedule::Forget(const QObject* owner) {
    std::erase_if(m_waiting, [owner](const Waiting& w) { return w.highlight.owner == owner; });
    Arm();
}

void HighlightSchedule::DropFrom(Clock::time_point at) {
    std::erase_if(m_waiting, [at](const Waiting& w) { return w.at >= at; });
    Arm();
}

void HighlightSchedule::ShowDue() {
    const Clock::time_point now = Clock::now();
    while (!m_waiting.empty() && m_waiting.front().at <= now) {
        const SpeechHighlight highlight = m_waiting.front().highlight;
        m_waiting.pop_front();
        emit due(highlight);
    }
    Arm();
}

void HighlightSchedule::Arm() {
    if (m_waiting.empty()) {
        m_timer.stop();
        return;
    }
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(m_waiting.front().at - Clock::now());
    m_timer.start(std::max<std::chrono::milliseconds>(wait, std::chrono::milliseconds(0)));
}

} // namespace yomi6
