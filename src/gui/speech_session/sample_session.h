// A reading with the samples: the speech timer ticks at the speed, each tick runs the core tick
// machine over the tick state and hands its sample to the player on the tick's grid, and the
// session tells of the tick's unit. The speak command reads one pass (at most 4000 bytes); a
// range is read pass after pass on the same clock.
#pragma once

#include "playback/long_reading.h"
#include "playback/speech_state.h"
#include "speech_session/sentence_starts.h"
#include "speech_session/unit_session.h"
#include "text/speech_text.h"

#include <memory>
#include <optional>
#include <vector>

namespace yomi6 {

class SpeechRunner;
struct TickResult;

class SampleSession : public UnitSession {
    Q_OBJECT
public:
    explicit SampleSession(SessionServices& services, QObject* parent = nullptr);
    ~SampleSession() override;

    // The tick machine's state, which lasts from one reading to the next.
    const SpeechTickState& TickState() const { return m_tick; }

    SessionStart SpeakFirstPass(const SpeechSource& source, const QString& text) override;
    SessionStart ReadRange(const QString& text, int begin, int end) override;
    bool Stop() override;
    void TogglePause() override;
    void EndQuietly() override;
    bool Deactivated(bool isOwner) override;
    void Abandon() override;
    bool IsPaused() const override { return m_paused; }
    bool IsSpeaking() const override;
    bool IsRunning() const override;

private:
    void PlayTick(const TickResult& tick);
    void Finish();
    // Loads the next pass of a long reading into the tick state; false past its end.
    bool LoadNextPass();
    // Takes the source map of the pass just loaded.
    void TakePass();
    // Fits the samples of the pass in both voices to the speed, as the settings say.
    void FitSamples();
    // The slot speaks with another voice now: at the first unit of a sentence, the reading
    // stops there. True when it did (the tick is not told of).
    bool HandsOver(const TickResult& tick);

    SpeechTickState m_tick;
    std::unique_ptr<SpeechRunner> m_runner;
    SpeechSource m_source;            // the bytes of the pass being spoken
    int m_passOffset = 0;             // the text position of the pass's first character
    std::vector<SourceRange> m_words; // the words of the pass's bytes
    bool m_paused = false;
    LongReading m_long;              // the passes of a range
    SentenceStarts m_sentenceStarts; // of the pass
};

} // namespace yomi6
