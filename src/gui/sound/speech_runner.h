// The speech path in real time: the speech timer's ticks run the core tick over a speech
// session, spoken with the user's preferences as they stand at each tick, and hand each tick's
// sample to a player at the moment the tick was due. The editor and yomi6 --speak both speak
// through it.
#pragma once

#include "playback/playback.h"
#include "sound/speech_timer.h"

#include <QObject>

#include <functional>
#include <string_view>

namespace yomi6 {

struct SpeechPreferences;
struct SpeechTickState;

class SpeechRunner : public QObject {
    Q_OBJECT
public:
    // Plays a sample at the moment its tick was due.
    using PlayFunction =
        std::function<void(std::string_view sample, SpeechTimer::Clock::time_point due)>;

    // preferences and session belong to the caller and outlive the runner.
    SpeechRunner(const SpeechPreferences& preferences, SpeechTickState& session, PlayFunction play,
                 QObject* parent = nullptr);

    // Loads the next pass of a long reading into the session when a pass has been read to its end
    // (no stop asked); true when it did. Set, the passes run with repeat off, and the first
    // unit of the next pass plays on the tick that ended the previous pass.
    using NextPassFunction = std::function<bool()>;
    void setNextPass(NextPassFunction next) { m_nextPass = std::move(next); }

    // Starts (or restarts) the ticks at the preferences' speed.
    void start();
    // Stops the ticks where they are (the view that owned them went away).
    void stop();
    bool isActive() const { return m_timer.isActive(); }
    // The moment the tick being handled (or the last one) was due.
    SpeechTimer::Clock::time_point tickTime() const { return m_timer.tickTime(); }

signals:
    // A tick ran: its sample went to the player; tick.source says what it read.
    void ticked(const yomi6::TickResult& tick);
    // The tick that ended playback ran; the timer is stopped.
    void finished();

private:
    void RunTick();
    TickResult Tick();

    const SpeechPreferences& m_preferences;
    SpeechTickState& m_session;
    PlayFunction m_play;
    NextPassFunction m_nextPass;
    SpeechTimer m_timer;
};

} // namespace yomi6
