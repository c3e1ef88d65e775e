// Drives speech in the editor: the speak command starts the speech timer, each tick asks the core
// what to play and hands it to the sample player. When the speaking slot has the natural voice,
// a natural reading says the same text sentence by sentence instead, and each of its morae takes
// the path of a tick's unit to the highlight and the reading pane. One for each run of the editor
// (its application context owns it), as there is one speech at a time, whichever view started it.
#pragma once

#include "natural/voice_choice.h"
#include "playback/long_reading.h"
#include "playback/speech_state.h"
#include "reading/text_reader.h"
#include "speaking/highlight_schedule.h"
#include "text/speech_text.h"

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace yomi6 {

struct AppSettings;
class NaturalSpeech;
class SamplePlayer;
class SpeechRunner;
struct SourceRange;
struct TickResult;
class VoiceLibrary;
class VoiceSelection;
namespace natural {
struct ByteRange;
struct NaturalUnit;
} // namespace natural
class Dictionary;
class AnalyzerLoader;
class SampleBank;

class SpeechController : public QObject {
    Q_OBJECT
public:
    // Speaks with preferences in the voices the slots have in voices (the built-in ones from
    // samples, the natural voice where library says a slot has it), fitting the samples as
    // settings say, reading with dictionary and analyzer; all seven belong to the caller and
    // outlive the controller.
    SpeechController(SpeechPreferences& preferences, const AppSettings& settings,
                     const VoiceSelection& voices, const VoiceLibrary& library,
                     const SampleBank& samples, const Dictionary& dictionary,
                     AnalyzerLoader& analyzer);
    ~SpeechController() override;

    // The session of the speech being spoken (or last spoken).
    const SpeechSession& Session() const { return m_session; }
    // The speak command is refused while a speech runs.
    bool IsSpeakEnabled() const;

    // The speak command of owner with its text as code page 932 bytes (CR LF line ends) and
    // where each byte lies in the document. Returns what the reading has to tell the user (the
    // automatic reading could not load its analyzer and fell back to the dictionary). When
    // text is the start of wholeText (the document) and the reading stops before the end of
    // what there is to read in it, passCut tells so as the pass's end is reached.
    QStringList Speak(const QObject* owner, const SpeechSource& text,
                      const QString& wholeText = QString());
    // Reads characters [begin, end) of owner's text (its whole text with '\n' line breaks) pass
    // after pass, each pass at most the source cut and what the reading buffer holds. Repeat on
    // starts again at begin. Returns what the reading has to tell the user, as Speak does.
    QStringList ReadRange(const QObject* owner, const QString& text, int begin, int end);
    // The stop command; a paused reading ends at once.
    void Stop();
    // The pause command: stops the ticks after the unit just played, or goes on with the next
    // unit. Does nothing when nothing speaks.
    void TogglePause();
    bool IsPaused() const { return m_paused; }
    // The reading mode of the pass being spoken (kReadingsDictionary or kReadingsAutomatic):
    // switching the mode takes effect at the next pass.
    ReadingMode PassReadings() const { return m_passReadings; }
    // The text of owner changed: a paused reading ends (its positions are no longer the text's).
    void TextEdited(const QObject* owner);
    // The unit of the last tick within the reading of its source range: its offset from the
    // first reading byte of that range, and its length (ｶ of ｶﾝｼﾞ for 漢字: offset 0, length
    // 1). A reading pane that lists the same text follows the unit with these.
    int UnitOffsetInSource() const { return m_unitOffset; }
    int UnitLength() const { return m_unitLength; }
    // When the sample of the highlight last shown started (or starts) to sound.
    std::chrono::steady_clock::time_point ShownOnset() const { return m_shownOnset; }
    // The view that started the speech, while it runs.
    const QObject* Owner() const { return m_owner; }
    // A view lost activation: speech stops after one more unit.
    void ViewDeactivated(const QObject* view);
    // A view is going away: if its timer runs, the timer goes with it.
    void ViewDestroyed(const QObject* view);

    // Stops the timer and closes the sound output while the application still exists (the
    // controller itself lives as long as its application context).
    void Shutdown();

    bool IsTimerRunning() const;
    // The player, created when first needed (its output opens in the background); exposed for
    // tests.
    SamplePlayer& Player();

signals:
    // The speaking flag may have changed: enabling of the speak command is to be refreshed.
    void stateChanged();
    // A tick handed this sample to the player (empty: the tick played nothing); with the
    // natural voice, a mora in katakana (empty: a pause).
    void ticked(const QString& sample);
    // The player has no sound output (none, a server that does not answer, or one that went
    // away): speech goes on in silence. Once per player.
    void soundUnavailable();
    // The same tick with what it read: characters [begin, end) of the speaking view's text
    // (begin == end for the tick past the end of the reading).
    void unitTicked(const QString& sample, int begin, int end);
    // What the windows of owner's document show: characters [unitBegin, unitEnd) are being
    // heard, inside the word [wordBegin, wordEnd). All -1: nothing is being heard any more.
    void highlightChanged(const QObject* owner, int unitBegin, int unitEnd, int wordBegin,
                          int wordEnd);
    // The speak command's pass of owner was read to its end, but its text goes on after
    // character position: once per speak command.
    void passCut(const QObject* owner, int position);
    // Something for the status bar: a sentence the natural voice could not say was skipped,
    // or the natural voice cannot be used and the sample voice speaks.
    void notice(const QString& message);

private:
    // Whether the speaking slot has the natural voice and it can speak now: then its voice is
    // m_naturalVoice. Else the samples speak, and what is missing for it goes to messages the
    // first time it is missing in the run.
    bool UsesNaturalVoice(QStringList* messages);
    // Says source (the bytes of owner's text from character offset on) with m_naturalVoice;
    // text and end, when text is given, are where the samples go on should F5 choose them.
    void SpeakNaturally(const QObject* owner, const SpeechSource& source, int offset,
                        const QString& text, int end);
    // Reads [begin, end) of owner's text pass after pass with the samples.
    QStringList ReadRangeWithSamples(const QObject* owner, const QString& text, int begin, int end);
    void PlayNaturalUnit(const natural::NaturalUnit& unit, natural::ByteRange sentence,
                         std::chrono::steady_clock::time_point onset);
    void FinishNatural(std::chrono::steady_clock::time_point end);
    // F5 chose another voice: the reading goes on at the sentence at sourceBegin.
    void SwitchNaturalVoice(std::size_t sourceBegin);
    bool IsNaturalActive() const;
    // F5 chose a slot with the natural voice while the samples speak: at the first unit of a
    // sentence the natural voice goes on from there to the end of what is read. True when it
    // took over (the tick is not shown).
    bool SwitchToNaturalVoice(const TickResult& tick);

    void PlayTick(const TickResult& tick);
    void FinishReading();
    // Loads the next pass of a long reading into the speech state; false past its end.
    bool LoadNextPass();
    // Takes the source map of the pass just loaded.
    void TakePass();
    // Ends a reading whose timer is not running (paused) and clears its highlight.
    void EndQuietly();
    // Clears the highlight when the last tick's sample starts, or now.
    void ClearHighlight(bool now);
    void ShowHighlight(const SpeechHighlight& highlight);
    // Schedules the highlight of characters [unitBegin, unitEnd) of the pass inside the word
    // wordSpan (of the pass's bytes) for the moment onset, when its sound is heard, whichever
    // engine said it.
    void ScheduleHighlight(int unitBegin, int unitEnd, const SpeechSource::Span& wordSpan,
                           int unitOffset, int unitLength,
                           std::chrono::steady_clock::time_point onset);

    // Whether the user's choice, resolved, reads automatically (and so may heed Aozora notation).
    bool ReadsAutomatically() const;
    // The mode the pass just loaded was read in: the automatic reading reads with the dictionary
    // when its analyzer cannot be loaded.
    ReadingMode ReadingsOfLoadedPass() const;

    SpeechPreferences& m_preferences;
    const AppSettings& m_settings;
    const VoiceSelection& m_voices;
    const VoiceLibrary& m_library;
    const SampleBank& m_samples;
    const Dictionary& m_dictionary;
    AnalyzerLoader& m_analyzer;
    SpeechSession m_session;
    std::unique_ptr<SpeechRunner> m_runner;
    std::unique_ptr<SamplePlayer> m_player;
    const QObject* m_owner = nullptr;
    SpeechSource m_source;            // the bytes of the pass being spoken
    int m_passOffset = 0;             // the text position of the pass's first character
    std::vector<SourceRange> m_words; // the words of the pass's bytes
    bool m_paused = false;
    ReadingMode m_passReadings = ReadingMode::Dictionary;
    int m_cutAt = -1; // where the speak command's pass stopped short of its text's end, or -1
    HighlightSchedule m_schedule; // highlights waiting for their samples to sound
    int m_unitOffset = 0;
    int m_unitLength = 0;
    std::chrono::steady_clock::time_point m_shownOnset{};
    LongReading m_long; // the passes of a reading from the caret

    std::unique_ptr<NaturalSpeech> m_natural;
    // The owner's text and where what is read in it ends (for the voice F5 may switch to), and the
    // natural voice the reading speaks.
    QString m_naturalText;
    int m_naturalEnd = 0;
    natural::VoiceChoice m_naturalVoice;
    natural::EngineSetup m_naturalSetup; // the engine set up for m_naturalVoice
    bool m_naturalRange = false;         // a range (Ctrl+F3), not the speak command's first pass
    // The last mora's source bytes and where in their reading the next mora of them starts.
    // The words of the sentence being heard (a reading may be longer than word ranges reach),
    // counted from its first byte.
    std::size_t m_wordsBegin = 0;
    std::size_t m_wordsEnd = 0;
    std::size_t m_runBegin = 0;
    std::size_t m_runEnd = 0;
    int m_runOffset = 0;
    QStringList m_saidMissing; // what is missing for the natural voice, said once each
};

} // namespace yomi6
