// What one run of the editor shares between its windows: created by the application object
// before the main window and handed down to the documents and their views, which reach it
// through their document. Nothing here is global; a test's run gets a fresh one.
#pragma once

#include "analysis/analyzer_loader.h"
#include "dictionary/dictionary.h"
#include "playback/speech_state.h"
#include "settings/settings.h"
#include "voice/voice_selection.h"

#include <QStringList>

#include <memory>
#include <utility>

class QPrinter;

namespace yomi6 {

class SampleBank;
class SoundBackend;
class SpeechController;
class VoiceLibrary;
class WordRegistration;

class AppContext {
public:
    // The speech plays on sound's thread, which belongs to whoever runs the Qt application and
    // outlives the context. start: the speech choices before the settings file is read (what a
    // key it lacks keeps).
    explicit AppContext(SoundBackend& sound, const SpeechPreferences& start = SpeechPreferences());
    ~AppContext();
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    // The one printer every print job, preview and the printer font command use, chosen and
    // set up by the user during the run: created on first use at the printer's full
    // resolution (the system's default printer, or PDF output when the system has none).
    QPrinter& Printer();

    // The program's settings (word wrap, fonts, printing switches, ...), loaded at the start of
    // the run and saved at its end.
    AppSettings& Settings() { return m_settings; }
    const AppSettings& Settings() const { return m_settings; }

    // The recent files, most recent first (at most 4), held from the start of the run to its
    // end.
    const QStringList& RecentFiles() const { return m_recentFiles; }
    void SetRecentFiles(const QStringList& files) { m_recentFiles = files; }

    // Whether a write of the settings file failed since the last report (TakeSaveFailed).
    void NoteSaveFailed() { m_saveFailed = true; }
    bool TakeSaveFailed() { return std::exchange(m_saveFailed, false); }

    // The word registration dialog's records and file, kept from one opening of the dialog to
    // the next.
    WordRegistration& Registration();

    // The user's speech choices (voice, speed, repeat, reading mode, Aozora notation): loaded
    // and saved with the settings, read by every reading of the run.
    SpeechPreferences& Preferences() { return m_preferences; }
    const SpeechPreferences& Preferences() const { return m_preferences; }

    // The pronunciation dictionary of the run: loaded by the first text view and again after
    // the word registration or the dictionary manager saved its file; every reading of the run
    // reads with it.
    Dictionary& UserDictionary() { return m_dictionary; }
    const Dictionary& UserDictionary() const { return m_dictionary; }

    // The analyzer of the automatic reading, loaded when a reading first needs it.
    AnalyzerLoader& ReadingAnalyzer() { return m_analyzer; }
    const AnalyzerLoader& ReadingAnalyzer() const { return m_analyzer; }

    // What a reading of the run works with: the dictionary and the analyzer above.
    ReaderSetup ReadingSetup() { return ReaderSetup(m_dictionary.View(), m_analyzer); }

    // The voice each slot speaks with in this run, read by the speech and the audio export;
    // the voice library assigns it.
    VoiceSelection& Voices() { return m_voices; }
    const VoiceSelection& Voices() const { return m_voices; }

    // The built-in voices' samples, decoded when the speech is first needed (the speech's sound
    // output plays them).
    const SampleBank& Samples();

    // The voices the user can choose from and the choice kept in the settings file: it loads
    // the chosen folders into Voices().
    VoiceLibrary& Library() { return *m_library; }

    // The one speech of the run, whichever view started it: created on first use (its sound
    // output opens in the background then), after the settings were read.
    SpeechController& Speech();

    // Whether the dictionary was loaded in this run (whatever the outcome): the first text view
    // loads it, and a failed load is not repeated for later views.
    bool DictionaryLoaded() const { return m_dictionaryLoaded; }
    void SetDictionaryLoaded() { m_dictionaryLoaded = true; }

    // The subtitle format chosen last in the audio export dialog, offered again for the rest of
    // the run.
    int SubtitleType() const { return m_subtitleType; }
    void SetSubtitleType(int type) { m_subtitleType = type; }

private:
    SoundBackend& m_sound;
    AppSettings m_settings;
    QStringList m_recentFiles;
    bool m_saveFailed = false;
    SpeechPreferences m_preferences;
    // Before the speech and the registration, which read and write through them.
    Dictionary m_dictionary;
    AnalyzerLoader m_analyzer;
    // Before the library and the speech, which play from it and so must go first.
    VoiceSelection m_voices;
    std::unique_ptr<VoiceLibrary> m_library;
    std::unique_ptr<SampleBank> m_samples;
    std::unique_ptr<SpeechController> m_speech;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<WordRegistration> m_registration;
    bool m_dictionaryLoaded = false;
    int m_subtitleType = 0;
};

} // namespace yomi6
