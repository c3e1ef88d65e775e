// The speech timer: one tick per kana unit at the speaking speed, on the user-interface
// thread. A period below the platform's shortest timer period (10 ms) is raised to it.
//
// The ticks are due on the grid start + k x period, and the timer keeps that grid when a tick
// is delivered late; tickTime() gives the moment the current tick was due, so that what the
// tick starts can be placed on the grid however late the event loop delivered it.
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>

namespace yomi6 {

class SpeechTimer : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    explicit SpeechTimer(QObject* parent = nullptr);

    // Starts ticking every intervalMs milliseconds (raised to the shortest period), the first
    // tick one period from now. A running timer is restarted with the new period.
    void start(int intervalMs);
    void stop();
    bool isActive() const { return m_timer.isActive(); }
    // The period in use, after the floor.
    int interval() const { return m_timer.interval(); }

    // During tick(): the moment this tick was due on the grid. A tick delivered later than a
    // whole period (the event loop was blocked and ticks were lost) starts a new grid at the
    // moment of its delivery, as the underlying timer does.
    Clock::time_point tickTime() const { return m_tickTime; }

signals:
    void tick();

private:
    void Fire();

    QTimer m_timer;
    Clock::time_point m_gridStart{};
    std::int64_t m_ticks = 0;
    Clock::time_point m_tickTime{};
};

} // namespace yomi6
