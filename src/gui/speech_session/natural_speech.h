// A reading with the natural voice in real time: a natural pass says the text sentence by
// sentence on its worker threads, and each sentence is handed to the speech player as one sound,
// back to back with the one before, taken only when it is ready (the event loop never waits for
// the engine). Each mora is handed on at the moment it is placed in the output, as a tick hands
// on its sample, with the moment it starts to sound. Pause ends the sound after the mora being
// heard and goes on with the next one; stop ends it at once.
#pragma once

#include "natural/natural_pass.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace yomi6 {

class SpeechPlayer;

class NaturalSpeech : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;
    // player gives the run's sample player each time it is needed.
    explicit NaturalSpeech(std::function<SpeechPlayer&()> player, QObject* parent = nullptr);
    // A pass still saying a sentence is left to finish on a thread of its own and joined here.
    ~NaturalSpeech() override;
    NaturalSpeech(const NaturalSpeech&) = delete;
    NaturalSpeech& operator=(const NaturalSpeech&) = delete;

    // Says text (code page 932) from its start; a reading still going on ends first. The
    // sound's rate, options.synthesis.outputRate, must be the player's.
    void Start(std::string text, std::optional<DictionaryView> dic,
               natural::NaturalPassOptions options);
    // Ends the sound as soon as the output can, and the reading with it.
    void Stop();
    void Pause();
    void Resume();
    // Started and not ended (a paused reading is active).
    bool IsActive() const { return m_pass != nullptr; }
    bool IsPaused() const { return m_paused; }

    // Asked before each sentence after the first is played, with its first source byte: false
    // ends the reading there, after the sound of the sentence before, and handedOver tells it.
    using GoOn = std::function<bool(std::size_t sourceBegin)>;
    void SetGoOn(GoOn goOn) { m_goOn = std::move(goOn); }

signals:
    // A mora or pause of the sentence of source bytes sentence is placed in the output now; it
    // starts to sound at onset.
    void unitStarted(const yomi6::natural::NaturalUnit& unit, yomi6::natural::ByteRange sentence,
                     Clock::time_point onset);
    // A sentence the engine failed on was skipped: why, in the pass's words. Emitted while the
    // pass hands out the next sentence: a receiver shows it, and must not stop the reading.
    void chunkSkipped(const QString& message);
    // The pass gave up on the engine (NaturalPass::Failure): why, in its words. The reading ends
    // after what was said before (finished follows).
    void gaveUp(const QString& message);
    // The reading was said to its end; its sound ends at end.
    void finished(Clock::time_point end);
    // The reading ended before the sentence at sourceBegin, as GoOn asked.
    void handedOver(std::size_t sourceBegin);

private:
    struct Sentence {
        std::shared_ptr<const natural::PassChunk> chunk; // its units (its sound moved out)
        std::shared_ptr<const std::vector<std::int16_t>> pcm;
        Clock::time_point base; // the moment its first frame is placed at
    };
    struct Pending {
        natural::NaturalUnit unit;
        natural::ByteRange sentence;
        Clock::time_point at;
    };

    // Takes the next sentence when it is ready and due: one sentence ahead of the sound.
    void Feed();
    // Plays sentence from its unit first on, placed at the moment at.
    void Play(Sentence sentence, std::size_t first, Clock::time_point at);
    void HandOnDueUnits();
    void ArmUnitTimer();
    void Finish();
    // Forgets the reading; its pass ends on a thread of its own.
    void Clear();
    void Retire(std::unique_ptr<natural::NaturalPass> pass);
    Clock::duration Frames(std::int64_t frames) const;
    // The moment that is heard now as soon as the output can: now less the output's latency.
    Clock::time_point AtOnce() const;

    std::function<SpeechPlayer&()> m_player;
    GoOn m_goOn;
    std::unique_ptr<natural::NaturalPass> m_pass;
    int m_rate = 16000;
    bool m_paused = false;
    bool m_passEnded = false;
    std::deque<Sentence> m_sentences;       // placed in the output, oldest first
    std::optional<Clock::time_point> m_end; // where the sound placed so far ends
    std::deque<Pending> m_units;            // units still to be handed on
    // Where a paused reading goes on: a sentence and its unit.
    std::optional<std::pair<Sentence, std::size_t>> m_resume;
    // The sentences placed after that one when the reading was paused: taken from the pass
    // already, they are played before its next one.
    std::deque<Sentence> m_held;
    QTimer m_unitTimer;
    QTimer m_feedTimer;
    QTimer m_endTimer;

    struct Retired {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::vector<Retired> m_retired;
};

} // namespace yomi6
