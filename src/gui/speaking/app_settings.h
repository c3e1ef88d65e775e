// The settings as the Qt side sees them: fonts as QFont, rectangles as QRect, paths as QString.
// Everything is kept in the run's AppSettings (AppContext::Settings); this is only the
// conversion.
#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

#include <optional>

namespace yomi6 {
class AppContext;
struct AppSettings;
enum class ShowState;
} // namespace yomi6

namespace yomi6::app_settings {

// Reads the settings file at program start into context: the recent files, the program's
// settings, the speech choices and the child show state.
void LoadAtStart(AppContext& context);
// Writes the program's settings, the child show state if it changed, and the recent files at
// the end of the run. False when the settings file could not be written, now or when the main
// window's rectangle was written.
bool SaveAtExit(AppContext& context);

bool WordWrap(const AppSettings& settings);
void SetWordWrap(AppSettings& settings, bool wrap);
bool ReadingPaneShown(const AppSettings& settings);
void SetReadingPaneShown(AppSettings& settings, bool shown);
// How the reading pane writes the reading: 0 half-width katakana, 1 hiragana, 2 full-width
// katakana.
int ReadingPaneScript(const AppSettings& settings);
void SetReadingPaneScript(AppSettings& settings, int script);

// Whether samples longer than the speech tick are shortened to it.
bool FitSamples(const AppSettings& settings);
void SetFitSamples(AppSettings& settings, bool fit);

// The screen font chosen last, if any.
std::optional<QFont> ScreenFont(const AppSettings& settings);
void SetScreenFont(AppSettings& settings, const QFont& font);
// The printer font chosen last, if any.
std::optional<QFont> PrinterFont(const AppSettings& settings);

// How new document windows are shown.
ShowState ChildShowState(const AppSettings& settings);
void SetChildShowState(AppSettings& settings, ShowState state);

// The main window's rectangle (left, top, right, bottom as a QRect from (X1, Y1) to (X2, Y2)),
// read from the file when the main window is created and written at once when it closes. It is
// read fitted into the usable area of its screen (see FitWindowRect): whatever the file holds,
// the window opens whole, on a screen, and no larger than it.
QRect ReadMainRectangle();
// A failed write is noted in context, and reported at the end of the run.
void WriteMainRectangle(AppContext& context, const QRect& frame);

} // namespace yomi6::app_settings
