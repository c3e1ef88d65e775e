// A reading heard live from a speech engine whose units are morae (the natural voice): the
// engine says the text on a thread of its own (EngineFeed), and each block it hands over, a
// sentence, is handed to the speech player as one sound, back to back with the one before, taken
// only when it is ready (the event loop never waits for the engine). Each unit is handed on at
// the moment it is placed in the output, as a tick hands on its sample, with the moment it
// starts to sound. Pause ends the sound after the unit being heard and stops the engine after
// what it has handed over; resume plays what was kept and says on from there. Stop ends the
// sound and the engine at once.
#pragma once

#include "engine/speech_engine.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace yomi6 {

class EngineFeed;
struct KeptBlock;
class SpeechPlayer;

class NaturalSpeech : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;
    // Called from the thread that says, with why a sentence was skipped.
    using SkipNotice = std::function<void(const std::string& message)>;
    // Makes the engine of a saying (one for the start and one for each resume), which tells
    // of each sentence it skips to its argument. Its sample rate must be the player's.
    using EngineMaker = std::function<std::unique_ptr<SpeechEngine>(SkipNotice onSkipped)>;

    // player gives the run's sample player each time it is needed.
    explicit NaturalSpeech(std::function<SpeechPlayer&()> player, QObject* parent = nullptr);
    // Waits for the engines still saying, which were told to stop at once.
    ~NaturalSpeech() override;
    NaturalSpeech(const NaturalSpeech&) = delete;
    NaturalSpeech& operator=(const NaturalSpeech&) = delete;

    // Says text (code page 932) from its start with engines make makes; a reading still going
    // on ends first.
    void Start(std::string text, EngineMaker make);
    // Ends the sound as soon as the output can, and the reading with it.
    void Stop();
    void Pause();
    void Resume();
    // Started and not ended (a paused reading is active).
    bool IsActive() const { return m_feed != nullptr; }
    bool IsPaused() const { return m_paused; }

    // Asked before each sentence after the first is played, with its first source byte: false
    // ends the reading there, after the sound of the sentence before, and handedOver tells it.
    using GoOn = std::function<bool(std::size_t sourceBegin)>;
    void SetGoOn(GoOn goOn) { m_goOn = std::move(goOn); }

signals:
    // A unit of the sentence of source bytes [sentenceBegin, sentenceEnd) is placed in the
    // output now; it starts to sound at onset. What unit.says points to lasts while this is
    // emitted.
    void unitStarted(const yomi6::SpokenUnit& unit, std::size_t sentenceBegin,
                     std::size_t sentenceEnd, Clock::time_point onset);
    // A sentence the engine failed on was skipped: why, in the engine's words.
    void chunkSkipped(const QString& message);
    // The engine gave up: why, in its words. The reading ends after what was said before
    // (finished follows).
    void gaveUp(const QString& message);
    // The reading was said to its end; its sound ends at end.
    void finished(Clock::time_point end);
    // The reading ended before the sentence at sourceBegin, as GoOn asked.
    void handedOver(std::size_t sourceBegin);

private:
    struct Sentence {
        std::shared_ptr<const KeptBlock> block;
        Clock::time_point base; // the moment its first frame is placed at
    };
    struct Pending {
        SpokenUnit unit;
        std::shared_ptr<const KeptBlock> block; // what unit points into
        Clock::time_point at;
    };

    // Starts saying the text from source byte from.
    void SayFrom(std::size_t from);
    // Takes the next sentence when it is ready and due: one sentence ahead of the sound.
    void Feed();
    // Hands over before the sentence of block when GoOn says so; true when it did.
    bool HandsOver(const KeptBlock& block);
    // Plays sentence from its unit first on, placed at the moment at.
    void Play(Sentence sentence, std::size_t first, Clock::time_point at);
    void HandOnDueUnits();
    void HandOn(const Pending& pending);
    void ArmUnitTimer();
    void Finish();
    // Forgets the reading; its engine is stopped at once and waited for later.
    void Clear();
    void Retire(std::unique_ptr<EngineFeed> feed);
    Clock::duration Frames(std::int64_t frames) const;
    // The moment that is heard now as soon as the output can: now less the output's latency.
    Clock::time_point AtOnce() const;

    std::function<SpeechPlayer&()> m_player;
    GoOn m_goOn;
    EngineMaker m_make;
    std::shared_ptr<const std::string> m_text;
    std::unique_ptr<EngineFeed> m_feed;
    int m_generation = 0; // counts readings, so that a late skip notice of an old one is dropped
    std::size_t m_saidTo = 0; // the end of the source bytes of the blocks taken so far
    bool m_sayOn = false;     // the engine was stopped by a pause: when it ends, say on
    int m_rate = 16000;
    bool m_paused = false;
    std::deque<Sentence> m_sentences;       // placed in the output, oldest first
    std::optional<Clock::time_point> m_end; // where the sound placed so far ends
    std::deque<Pending> m_units;            // units still to be handed on
    // Where a paused reading goes on: a sentence and its unit.
    std::optional<std::pair<Sentence, std::size_t>> m_resume;
    // The sentences placed after that one when the reading was paused: taken from the engine
    // already, they are played before its next one.
    std::deque<Sentence> m_held;
    QTimer m_unitTimer;
    QTimer m_feedTimer;
    QTimer m_endTimer;
    std::vector<std::unique_ptr<EngineFeed>> m_retired;
};

} // namespace yomi6
