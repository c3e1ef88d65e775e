// The user's choices kept between runs, loaded from the settings file at the start of a run
// and written back at its end into the AppSettings the run owns. The speech speed, voice and
// reading mode live in the speech preferences; they pass through here as SpeechChoices (the speech
// layer copies them in and out). The repeat setting is never stored, so every run starts with
// repeat off.
//
// Start of a run:  auto profile = ProfileFile::Open(SettingsPath());
//                  LoadSettings(profile, settings, choices);
//                  LoadChildShowState(profile, settings);
// End of a run:    auto profile = ProfileFile::Open(SettingsPath());
//                  SaveSettings(profile, settings, choices);
//                  SaveChildShowState(profile, settings);
//                  profile.Save();
// (The file is opened again at the end so that changes made meanwhile, for example the main
// window rectangle or another instance's settings, are kept.)
#pragma once

#include "io/profile_file.h"
#include "settings/font_description.h"
#include "settings/settings_keys.h"

#include <cstdint>
#include <string>

namespace yomi6 {

// How document windows are shown.
enum class ShowState { Normal, Minimized, Maximized };

struct AppSettings {
    bool wordWrap = false;              // new document windows wrap at the right edge
    FontDescription screenFont;         // height 0: no font chosen, the view's default font
    FontDescription screenFontBaseline; // the screen font as last loaded or saved
    FontDescription printerFont;        // in printer units; height 0: none chosen
    FontDescription printerFontBaseline;
    bool printFileName = false;  // pages show the document title
    bool printDate = false;      // pages show the date and time
    bool printPageNumber = true; // pages show their number
    bool readingPane = false;    // the reading pane is shown
    ShowState childShowState = ShowState::Maximized;
    ShowState childShowStateSaved = ShowState::Maximized; // as last read or written
    bool fitSamples = false; // samples longer than the tick are shortened
    // The reading pane's kana: 0 half-width katakana, 1 hiragana, 2 full-width katakana.
    std::int32_t readingPaneScript = 0;
};

// How the text is read, as 読み方 keeps it: Unchosen while the file has no 読み方.
enum class ReadingsChoice { Unchosen, Dictionary, Automatic };

// The settings the speech state holds while the program runs.
struct SpeechChoices {
    std::int32_t speed = settings_keys::kSpeed.defaultValue; // milliseconds per tick
    bool maleVoice = settings_keys::kVoice.defaultValue != 0;
    ReadingsChoice readings = ReadingsChoice::Unchosen;
    // The automatic reading finds Aozora notation and keeps it silent.
    bool notationSilent = settings_keys::kAozora.defaultValue != 0;
};

// Reads, in this order: word wrap; the screen font record, then its baseline := the record;
// the printer font record and its baseline; the file-name, date and page-number switches;
// the speed (the current speed as default, above 1000 becomes 1000; below 0 is kept); the
// voice; the reading mode; whether samples fit the tick (and its saved copy); then the reading
// pane's kana (anything but 0, 1 or 2 is taken as 0).
void LoadSettings(const ProfileFile& profile, AppSettings& settings, SpeechChoices& speech);

// Reads the child show state with its current value as default (a value the file holds that
// is no show state is taken as maximized); the state and its saved copy both take the value read.
void LoadChildShowState(const ProfileFile& profile, AppSettings& settings);

// Writes, in this order: word wrap, the screen font record, the printer font record (each
// against its baseline), the file-name, date and page-number switches, the speed, the voice,
// the reading mode (only once it has been chosen: a file without 読み方 gets it when the user
// switches the mode, not before); then
// whether samples fit the tick, only if it differs from its saved copy (so that a file of a
// user who never touched it keeps its keys as they were); then the reading pane's kana (only
// when it is not the default or the file holds the key already).
void SaveSettings(ProfileFile& profile, AppSettings& settings, const SpeechChoices& speech);

// Writes the child show state only if it differs from its saved copy, which then follows it.
void SaveChildShowState(ProfileFile& profile, AppSettings& settings);

// The speed, the voice and the reading mode, with the rules of LoadSettings (a reading mode
// other than 0 or 1 is the dictionary; no 読み方 at all is ReadingsChoice::Unchosen).
void LoadSpeechSettings(const ProfileFile& profile, SpeechChoices& speech);

// The analyzer dictionary folder the settings file names (UTF-8), or "" for none.
std::string AnalyzerDictionarySetting(const ProfileFile& profile);

// For the command-line modes: loads the speed, voice and reading mode from the settings file at
// path into speech, never creating or writing anything. A missing or unreadable file leaves the
// speed as it is, the voice female and the reading mode unchosen.
void LoadSpeechSettingsReadOnly(const std::string& path, SpeechChoices& speech);

// For the command-line modes: whether the settings file at path has samples fit the tick
// (false when it is missing or says nothing), never creating or writing anything.
bool LoadFitSamplesReadOnly(const std::string& path);

} // namespace yomi6
