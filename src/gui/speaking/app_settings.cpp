#include "speaking/app_settings.h"

#include "analysis/analyzer_loader.h"
#include "io/profile_file.h"
#include "platform/font_description_qt.h"
#include "playback/speech_choices.h"
#include "settings/settings.h"
#include "settings/settings_path.h"
#include "settings/shell_profile.h"
#include "settings/window_placement.h"
#include "speaking/app_context.h"
#include "text/cp932_codec.h"
#include "voice_manager/voice_library.h"

#include <QGuiApplication>
#include <QScreen>

#include <string>
#include <vector>

namespace yomi6::app_settings {

namespace {

std::u16string_view View(const QString& s) {
    return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())};
}

// Paths are stored in code page 932 like everything in the settings file; a path that code page
// 932 cannot hold is not stored.
std::optional<std::string> StoredPath(const QString& path) {
    const EncodeResult r = EncodeCp932(View(path), EncodeOptions{});
    if (!r.ok()) {
        return std::nullopt;
    }
    return r.bytes;
}

} // namespace

void LoadAtStart(AppContext& context) {
    const ProfileFile profile = ProfileFile::Open(SettingsPath());
    QStringList recent;
    for (const std::string& stored : ReadRecentFiles(profile)) {
        recent << QString::fromStdU16String(DecodeCp932(stored));
    }
    context.SetRecentFiles(recent);
    SpeechChoices choices = ChoicesOf(context.Preferences());
    LoadSettings(profile, context.Settings(), choices);
    ApplyChoices(choices, context.Preferences());
    LoadChildShowState(profile, context.Settings());
    // Only named here; the analyzer is loaded when the automatic reading first needs it.
    context.ReadingAnalyzer().SetConfiguredDictionary(AnalyzerDictionarySetting(profile));
    // The voice folders the slots speak with load in the background.
    context.Library().LoadFromSettings();
}

bool SaveAtExit(AppContext& context) {
    // Read the file again: what was written meanwhile (the main window's rectangle) stays.
    ProfileFile profile = ProfileFile::Open(SettingsPath());
    std::vector<std::string> recent;
    for (const QString& path : context.RecentFiles()) {
        if (auto stored = StoredPath(path)) {
            recent.push_back(std::move(*stored));
        }
    }
    WriteRecentFiles(profile, recent);
    SaveSettings(profile, context.Settings(), ChoicesOf(context.Preferences()));
    SaveChildShowState(profile, context.Settings());
    const bool saved = profile.Save();
    return !context.TakeSaveFailed() && saved;
}

bool WordWrap(const AppSettings& settings) {
    return settings.wordWrap;
}
void SetWordWrap(AppSettings& settings, bool wrap) {
    settings.wordWrap = wrap;
}

bool ReadingPaneShown(const AppSettings& settings) {
    return settings.readingPane;
}
void SetReadingPaneShown(AppSettings& settings, bool shown) {
    settings.readingPane = shown;
}

int ReadingPaneScript(const AppSettings& settings) {
    return settings.readingPaneScript;
}
void SetReadingPaneScript(AppSettings& settings, int script) {
    settings.readingPaneScript = script;
}

bool FitSamples(const AppSettings& settings) {
    return settings.fitSamples;
}
void SetFitSamples(AppSettings& settings, bool fit) {
    settings.fitSamples = fit;
}

std::optional<QFont> ScreenFont(const AppSettings& settings) {
    if (settings.screenFont.height == 0) {
        return std::nullopt;
    }
    return FontFromRecord(settings.screenFont);
}

void SetScreenFont(AppSettings& settings, const QFont& font) {
    settings.screenFont = RecordFromFont(font);
}

std::optional<QFont> PrinterFont(const AppSettings& settings) {
    if (settings.printerFont.height == 0) {
        return std::nullopt;
    }
    return FontFromRecord(settings.printerFont);
}

ShowState ChildShowState(const AppSettings& settings) {
    return settings.childShowState;
}
void SetChildShowState(AppSettings& settings, ShowState state) {
    settings.childShowState = state;
}

QRect ReadMainRectangle() {
    const WindowRect saved = ReadMainWindowRect(ProfileFile::Open(SettingsPath()));
    // The screen the saved rectangle starts on, else the main one; its area without panels.
    QScreen* screen = QGuiApplication::screenAt(QPoint(saved.left, saved.top));
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    WindowRect area = saved;
    if (screen != nullptr) {
        const QRect available = screen->availableGeometry();
        area = WindowRect{available.left(), available.top(), available.left() + available.width(),
                          available.top() + available.height()};
    }
    const WindowRect r = FitWindowRect(saved, area);
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void WriteMainRectangle(AppContext& context, const QRect& frame) {
    ProfileFile profile = ProfileFile::Open(SettingsPath());
    WriteMainWindowRect(profile, WindowRect{frame.left(), frame.top(), frame.left() + frame.width(),
                                            frame.top() + frame.height()});
    if (!profile.Save()) {
        context.NoteSaveFailed();
    }
}

} // namespace yomi6::app_settings
