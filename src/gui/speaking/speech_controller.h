// Drives speech in the editor. The speak command starts a reading in the session of the engine
// the speaking slot has (session_factory.h); the session hands each unit's sound to the sample
// player and tells of the unit as it is placed, and the controller hands the unit to the
// document of the view that owns the reading when it sounds. F5 between sentences hands the
// rest of the reading to the session of the slot's new voice. One for each run of the editor
// (its application context owns it), as there is one speech at a time, whichever view started
// it.
#pragma once

#include "playback/speech_state.h"
#include "speaking/highlight_schedule.h"
#include "speech_session/session_factory.h"
#include "speech_session/unit_session.h"
#include "text/speech_text.h"

#include <QObject>
#include <QStringList>

#include <chrono>
#include <memory>
#include <optional>

namespace yomi6 {

struct AppSettings;
class SpeechPlayer;
class VoiceLibrary;
class VoiceSelection;
class Dictionary;
class AnalyzerLoader;
class SampleBank;
class SoundBackend;

class SpeechController : public QObject {
    Q_OBJECT
public:
    // Speaks with preferences in the voices the slots have in voices (the built-in ones from
    // samples, the natural voice where library says a slot has it), fitting the samples as
    // settings say, reading with dictionary and analyzer, playing on sound's thread; all eight
    // belong to the caller and outlive the controller.
    SpeechController(SpeechPreferences& preferences, const AppSettings& settings,
                     const VoiceSelection& voices, const VoiceLibrary& library,
                     const SampleBank& samples, const Dictionary& dictionary,
                     AnalyzerLoader& analyzer, SoundBackend& sound);
    ~SpeechController() override;

    // The tick machine's state of the sample voices (of the reading being spoken, or the last
    // one spoken with samples).
    const SpeechTickState& SampleTickState() const { return m_factory.TickState(); }
    // The speak command is refused while a speech runs.
    bool IsSpeakEnabled() const { return !m_session->IsSpeaking(); }

    // The speak command of owner with its text as code page 932 bytes (CR LF line ends) and
    // where each byte lies in the document; listener (owner's document, or none) is handed each
    // unit when it sounds. Returns what the reading has to tell the user (the automatic reading
    // could not load its analyzer and fell back to the dictionary). When text is the start of
    // wholeText (the document) and the reading stops before the end of what there is to read in
    // it, passCut tells so as the pass's end is reached.
    QStringList Speak(const QObject* owner, const SpeechSource& text,
                      const QString& wholeText = QString(), SpeechListener* listener = nullptr);
    // Reads characters [begin, end) of owner's text (its whole text with '\n' line breaks) pass
    // after pass, each pass at most the source cut and what the reading buffer holds. Repeat on
    // starts again at begin. Returns what the reading has to tell the user, as Speak does.
    QStringList ReadRange(const QObject* owner, const QString& text, int begin, int end,
                          SpeechListener* listener = nullptr);
    // The stop command; a paused reading ends at once.
    void Stop();
    // The pause command: stops after the unit being heard, or goes on with the next unit. Does
    // nothing when nothing speaks.
    void TogglePause();
    bool IsPaused() const { return m_session->IsPaused(); }
    // Lowers the volume of what is heard from now on over length, down to floor (in 1/32768),
    // for a reading about to end (the sleep timer); a fade under way goes on. The volume is
    // full again when a reading starts or a paused one goes on.
    void FadeOut(std::chrono::steady_clock::duration length, std::int32_t floor);
    // The reading mode of the pass being spoken (kReadingsDictionary or kReadingsAutomatic):
    // switching the mode takes effect at the next pass.
    ReadingMode PassReadings() const { return m_session->PassReadings(); }
    // The text of owner changed: a paused reading ends (its positions are no longer the text's).
    void TextEdited(const QObject* owner);
    // When the sound of the highlight last shown started (or starts) to be heard.
    std::chrono::steady_clock::time_point ShownOnset() const { return m_shownOnset; }
    // The view that started the speech, while it runs.
    const QObject* Owner() const { return m_owner; }
    // A view lost activation: speech stops after one more unit.
    void ViewDeactivated(const QObject* view);
    // A view is going away: if its reading runs, the reading goes with it.
    void ViewDestroyed(const QObject* view);

    // Stops the speech and closes the sound output while the application still exists (the
    // controller itself lives as long as its application context).
    void Shutdown();

    bool IsTimerRunning() const { return m_session->IsRunning(); }
    // The player, created when first needed (its output opens in the background); exposed for
    // tests.
    SpeechPlayer& Player();

signals:
    // The speaking flag may have changed: enabling of the speak command is to be refreshed.
    void stateChanged();
    // A unit was handed to the player: a tick's sample (empty: the tick played nothing), or a
    // mora of the natural voice in katakana (empty: a pause).
    void ticked(const QString& sample);
    // The player has no sound output (none, a server that does not answer, or one that went
    // away): speech goes on in silence. Once per player.
    void soundUnavailable();
    // The same unit with what it read: characters [begin, end) of the speaking view's text
    // (begin == end for the tick past the end of the reading).
    void unitTicked(const QString& sample, int begin, int end);
    // A unit of owner's reading is heard now, as its listener was told: characters [unitBegin,
    // unitEnd) inside the word [wordBegin, wordEnd). All -1: nothing is being heard any more.
    // For observers (tests, measurements): the documents are told through their listener.
    void highlightChanged(const QObject* owner, int unitBegin, int unitEnd, int wordBegin,
                          int wordEnd);
    // The speak command's pass of owner was read to its end, but its text goes on after
    // character position: once per speak command.
    void passCut(const QObject* owner, int position);
    // Something for the status bar: a sentence the natural voice could not say was skipped,
    // or the natural voice cannot be used and the sample voice speaks.
    void notice(const QString& message);

private:
    // Makes the session of the engine choice current; another one still reading ends first.
    UnitSession& Begin(const QObject* owner, SpeechListener* listener, const EngineChoice& choice);
    // Whether the session may say the sentence at position on in its voice; when not, the
    // engine that takes over is m_next.
    bool KeepsVoice(const UnitSession& session, int position);
    void HandOver(int position);
    void PlaceUnit(const SessionUnit& unit);
    void PassEnded();
    // The reading is over: the highlight goes when its last sound has been heard.
    void Finished(std::chrono::steady_clock::time_point silentAt);
    // The reading ended at once: the highlight goes now.
    void EndedNow();
    void ShowHighlight(const SpeechHighlight& highlight);
    // The highlight with every field -1, handed on at the moment at (now: at once).
    void ClearHighlight(std::optional<std::chrono::steady_clock::time_point> at);

    const VoiceSelection& m_voices;
    const SampleBank& m_samples;
    SoundBackend& m_sound;
    std::unique_ptr<SpeechPlayer> m_player;
    SessionServices m_services;
    SessionFactory m_factory;
    UnitSession* m_session; // the session of the reading being spoken, or the last one
    EngineChoice m_choice;  // the engine it speaks with
    EngineChoice m_next;    // the engine that takes over at a change of voice
    const QObject* m_owner = nullptr;
    SpeechListener* m_listener = nullptr;
    // The owner's text and where what is read in it ends (where another voice goes on).
    QString m_text;
    int m_end = 0;
    int m_cutAt = -1; // where the speak command's pass stopped short of its text's end, or -1
    HighlightSchedule m_schedule; // highlights waiting for their sound to be heard
    std::chrono::steady_clock::time_point m_shownOnset{};
};

} // namespace yomi6
