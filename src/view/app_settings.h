// The settings as the Qt side sees them: fonts as QFont, rectangles as QRect, paths as QString.
// Everything is kept in the core's settings store; this is only the conversion.
#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

#include <optional>

namespace yomi6 {
struct SpeechPreferences;
}

namespace yomi6::app_settings {

// Reads the settings file at program start: the recent files, the program's settings (the
// speech choices into speech) and the child show state.
void LoadAtStart(SpeechPreferences& speech);
// Writes the program's settings, the child show state if it changed, and the recent files at
// the end of the run. False when the settings file could not be written, now or when the main
// window's rectangle was written.
bool SaveAtExit(const SpeechPreferences& speech);

bool WordWrap();
void SetWordWrap(bool wrap);
bool ReadingPaneShown();
void SetReadingPaneShown(bool shown);
// How the reading pane writes the reading: 0 half-width katakana, 1 hiragana, 2 full-width
// katakana.
int ReadingPaneScript();
void SetReadingPaneScript(int script);

// Whether samples longer than the speech tick are shortened to it.
bool FitSamples();
void SetFitSamples(bool fit);

// The screen font chosen last, if any.
std::optional<QFont> ScreenFont();
void SetScreenFont(const QFont& font);
// The printer font chosen last, if any.
std::optional<QFont> PrinterFont();

// How new document windows are shown: 1 normal, 2 minimized, 3 maximized.
int ChildShowState();
void SetChildShowState(int state);

// The main window's rectangle (left, top, right, bottom as a QRect from (X1, Y1) to (X2, Y2)),
// read from the file when the main window is created and written at once when it closes. It is
// read fitted into the usable area of its screen (see FitWindowRect): whatever the file holds,
// the window opens whole, on a screen, and no larger than it.
QRect ReadMainRectangle();
void WriteMainRectangle(const QRect& frame);

// The recent files, most recent first (at most 4).
QStringList RecentFiles();
void SetRecentFiles(const QStringList& files);

} // namespace yomi6::app_settings
