// One reading in the editor, whichever engine says it: a session reads a text, hands each unit's
// sound to the speech player (a tick's sample, or a sentence of the natural voice with its
// morae) and tells of each unit as it is placed in the output, with the characters it was read
// from and the moment it starts to sound. The speech controller holds one session at a time,
// made by the session factory from the voice the speaking slot has, and never asks which engine
// it is.
#pragma once

#include "engine/spoken_unit.h"
#include "reading/reading_mode.h"
#include "reading/source_range.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

namespace yomi6 {

struct AppSettings;
class AnalyzerLoader;
class Dictionary;
class SpeechPlayer;
struct SpeechPreferences;
class VoiceSelection;
struct SpeechSource;

// What every session reads and speaks with; all of it belongs to the speech controller's owner
// and outlives the sessions.
struct SessionServices {
    SpeechPreferences& preferences;
    const AppSettings& settings;
    const Dictionary& dictionary;
    AnalyzerLoader& analyzer;
    std::function<SpeechPlayer&()> player; // the run's player, made when first needed
    // The voices the slots have, for a reading whose sample voice is said by an engine (the
    // lines in 「」 and 『』 by a voice of their own); null: the built-in ones.
    const VoiceSelection* voices = nullptr;
};

// One unit placed in the output now.
struct SessionUnit {
    QString says; // the sample it plays or the mora in katakana; empty: nothing, or a pause
    // The characters of the reader's text it was read from (begin == end: none, as for the
    // tick past the end of a pass).
    int begin = 0;
    int end = 0;
    bool heard = false; // it covers text, which is highlighted when it sounds
    // The word it belongs to, and its place in the reading of its characters (ｶ of ｶﾝｼﾞ for
    // 漢字: offset 0, length 1), for the reading pane.
    int wordBegin = -1;
    int wordEnd = -1;
    int offsetInSource = 0;
    int length = 0;
    std::chrono::steady_clock::time_point onset{}; // when its sound starts to be heard
};

// Where the units of a reading were read from: the bytes being said, the text position of their
// first character, and the words of bytes [wordsFrom, wordsTo) of them (WordRanges, counted from
// wordsFrom).
struct UnitSource {
    const SpeechSource& source;
    int offset = 0;
    const std::vector<SourceRange>& words;
    std::size_t wordsFrom = 0;
    std::size_t wordsTo = 0;
};

// The one way a unit an engine said becomes the unit a session tells of: placed now, heard from
// onset, and length characters of the reading of its source bytes from offsetInSource on (length
// 0: not heard, as a pause over no text or the tick past the end of a pass).
SessionUnit SessionUnitOf(const SpokenUnit& unit, const UnitSource& from, int offsetInSource,
                          int length, std::chrono::steady_clock::time_point onset);

// What starting a reading tells its caller.
struct SessionStart {
    QStringList messages; // for the user (the analyzer could not be loaded)
    int end = 0;          // the character where what is read ends
};

class UnitSession : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;
    // Asked at the start of each sentence after the first with its first character: false
    // ends this session there (handedOver tells so), as the slot speaks with another voice now.
    using KeepsVoice = std::function<bool(int position)>;

    explicit UnitSession(SessionServices& services, QObject* parent = nullptr);
    void SetKeepsVoice(KeepsVoice keepsVoice) { m_keepsVoice = std::move(keepsVoice); }

    // The speak command: text's first pass, whose bytes source holds (all of text, the whole
    // document, is looked at for its notation).
    virtual SessionStart SpeakFirstPass(const SpeechSource& source, const QString& text) = 0;
    // Characters [begin, end) of text ('\n' line breaks), however long.
    virtual SessionStart ReadRange(const QString& text, int begin, int end) = 0;
    // The stop command: true when the reading ended at once, false when it ends at its next
    // unit (finished tells so then).
    virtual bool Stop() = 0;
    // Pauses after the unit being heard, or goes on with the next one.
    virtual void TogglePause() = 0;
    // Ends the reading at once without a word (paused, edited, or another reading starts).
    virtual void EndQuietly() = 0;
    // The view that owns the reading (isOwner) or another lost activation: true when the
    // reading ended at once.
    virtual bool Deactivated(bool isOwner) = 0;
    // The view that owns the reading went away: the reading ends with it, its sound left as is.
    virtual void Abandon() = 0;

    virtual bool IsPaused() const = 0;
    // The speak command is refused while this holds.
    virtual bool IsSpeaking() const = 0;
    // Units are still being placed (not paused, not ended).
    virtual bool IsRunning() const = 0;
    // The reading mode the pass being read was read in.
    ReadingMode PassReadings() const { return m_passReadings; }

signals:
    void unitPlaced(const yomi6::SessionUnit& unit);
    // The reading was read to the end of what it was given (once per round with repeat on).
    void passEnded();
    // The reading is over; the last sound is heard to its end at silentAt.
    void finished(yomi6::UnitSession::Clock::time_point silentAt);
    // The slot's voice changed: the reading stopped before the sentence at character position.
    void handedOver(int position);
    // The units placed from the moment from on will not be heard (a pause).
    void withdrawn(yomi6::UnitSession::Clock::time_point from);
    // Something for the status bar.
    void notice(const QString& message);
    // The reading started again by itself (repeat).
    void restarted();

protected:
    SpeechPlayer& Player() const { return m_services.player(); }
    // Records the mode the pass just read was read in: the automatic reading reads with the
    // dictionary when its analyzer cannot be loaded. A session whose engine loads the analyzer
    // itself (ownAnalyzer) reads automatically whether or not this run has loaded it.
    void NotePassReadings(bool ownAnalyzer = false);
    // Whether a sentence at position may go on in this session's voice.
    bool KeepsVoiceAt(int position) const { return !m_keepsVoice || m_keepsVoice(position); }

    SessionServices& m_services;

private:
    KeepsVoice m_keepsVoice;
    ReadingMode m_passReadings = ReadingMode::Dictionary;
};

} // namespace yomi6
