#include "view/app_settings.h"

#include "platform/logfont_qt.h"
#include "settings/profile_file.h"
#include "settings/settings.h"
#include "settings/settings_path.h"
#include "settings/shell_profile.h"
#include "settings/window_placement.h"
#include "speech/analyzer_loader.h"
#include "speech/speech_choices.h"
#include "text/cp932_codec.h"
#include "view/voice_library.h"

#include <QGuiApplication>
#include <QScreen>

#include <string>
#include <vector>

namespace yomi6::app_settings {

namespace {

// The recent files, most recent first, held from the start of the run to its end.
QStringList g_recentFiles;

// Whether a write of the settings file failed since the last report.
bool g_saveFailed = false;

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

void LoadAtStart(SpeechPreferences& speech) {
    const ProfileFile profile = ProfileFile::Open(SettingsPath());
    g_recentFiles.clear();
    for (const std::string& stored : ReadRecentFiles(profile)) {
        g_recentFiles << QString::fromStdU16String(DecodeCp932(stored));
    }
    SpeechChoices choices = ChoicesOf(speech);
    LoadSettings(profile, g_settings, choices);
    ApplyChoices(choices, speech);
    LoadChildShowState(profile);
    // Only named here; the analyzer is loaded when the automatic reading first needs it.
    ProcessAnalyzer().SetConfiguredDictionary(AnalyzerDictionarySetting(profile));
    // The voice folders the slots speak with load in the background.
    VoiceLibrary::Instance().LoadFromSettings();
}

bool SaveAtExit(const SpeechPreferences& speech) {
    // Read the file again: what was written meanwhile (the main window's rectangle) stays.
    ProfileFile profile = ProfileFile::Open(SettingsPath());
    std::vector<std::string> recent;
    for (const QString& path : g_recentFiles) {
        if (auto stored = StoredPath(path)) {
            recent.push_back(std::move(*stored));
        }
    }
    WriteRecentFiles(profile, recent);
    SaveSettings(profile, g_settings, ChoicesOf(speech));
    SaveChildShowState(profile);
    const bool saved = profile.Save() && !g_saveFailed;
    g_saveFailed = false;
    return saved;
}

bool WordWrap() {
    return g_settings.wordWrap != 0;
}
void SetWordWrap(bool wrap) {
    g_settings.wordWrap = wrap ? 1 : 0;
}

bool ReadingPaneShown() {
    return g_settings.readingPane != 0;
}
void SetReadingPaneShown(bool shown) {
    g_settings.readingPane = shown ? 1 : 0;
}

int ReadingPaneScript() {
    return g_settings.readingPaneScript;
}
void SetReadingPaneScript(int script) {
    g_settings.readingPaneScript = script;
}

bool FitSamples() {
    return g_settings.fitSamples != 0;
}
void SetFitSamples(bool fit) {
    g_settings.fitSamples = fit ? 1 : 0;
}

std::optional<QFont> ScreenFont() {
    if (g_settings.screenFont.lfHeight == 0) {
        return std::nullopt;
    }
    return FontFromRecord(g_settings.screenFont);
}

void SetScreenFont(const QFont& font) {
    g_settings.screenFont = RecordFromFont(font);
}

std::optional<QFont> PrinterFont() {
    if (g_settings.printerFont.lfHeight == 0) {
        return std::nullopt;
    }
    return FontFromRecord(g_settings.printerFont);
}

int ChildShowState() {
    return g_settings.childShowState;
}
void SetChildShowState(int state) {
    g_settings.childShowState = state;
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

void WriteMainRectangle(const QRect& frame) {
    ProfileFile profile = ProfileFile::Open(SettingsPath());
    WriteMainWindowRect(profile, WindowRect{frame.left(), frame.top(), frame.left() + frame.width(),
                                            frame.top() + frame.height()});
    if (!profile.Save()) {
        g_saveFailed = true;
    }
}

QStringList RecentFiles() {
    return g_recentFiles;
}
void SetRecentFiles(const QStringList& files) {
    g_recentFiles = files;
}

} // namespace yomi6::app_settings
