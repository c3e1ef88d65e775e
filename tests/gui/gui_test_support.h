// Helpers for driving the editor in Qt Test: the set-up every GUI test class shares, scratch
// folders, answering modal boxes, reading the settings file.
#pragma once

#include "commands/command_ids.h"
#include "playback/speech_state.h"

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QPrinter;
class QRect;
class QMenu;

namespace yomi6 {
struct AppSettings;
class MainWindow;
class Application;
class TextView;
class SoundBackend;
class DialogUnits;
class SpeechController;
struct SpeechPreferences;
class VoiceLibrary;
class VoiceSelection;
} // namespace yomi6

namespace yomi6::test {

// One run of the editor: Application::Start on construction (its main window made the active
// one, so that accelerators act in it), Application::Finish on Finish() or destruction. Whatever
// a test left unsaved is dropped first: no save prompt may block the end of a run. The run plays
// on sound's thread, its test class's (GuiTestCase::sound()), which outlives it.
class EditorRun {
public:
    // start: the speech choices the run has before it reads its settings file.
    explicit EditorRun(SoundBackend& sound, const QStringList& files = {});
    EditorRun(SoundBackend& sound, const QStringList& files, const SpeechPreferences& start);
    ~EditorRun();
    EditorRun(const EditorRun&) = delete;
    EditorRun& operator=(const EditorRun&) = delete;

    bool ok() const { return m_ok; }
    MainWindow& frame() const;
    TextView* view() const;
    // The run's printer (AppContext::Printer).
    QPrinter& printer() const;
    // The run's speech, and the speech choices it speaks with.
    SpeechController& speech() const;
    SpeechPreferences& choices() const;
    // What the run's readings work with: its dictionary and analyzer.
    ReaderSetup reading() const;
    // The run's program settings.
    AppSettings& settings() const;
    // The voices the run's slots speak with, and the library that chooses and loads them.
    VoiceSelection& voices() const;
    VoiceLibrary& library() const;
    void Finish();

private:
    std::unique_ptr<Application> m_app;
    bool m_ok = false;
};

// Points the settings file at a fresh folder for the lifetime of the object.
class ScratchConfig {
public:
    ScratchConfig();
    ~ScratchConfig();
    QString IniPath() const;
    std::string IniBytes() const;
    // Writes the settings file: lines of UTF-8 text, stored in code page 932 with CR LF.
    void WriteIni(const char* utf8Lines) const;
    // Chooses the dictionary reading (読み方=0) for a test that pins that reading's bytes; with
    // no such key the editor reads automatically when the analyzer loads.
    void ChooseDictionaryReading() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldValue;
};

// The world a GUI test class runs in. Once per class: the program's resources, a scratch folder
// made the current one (the dictionary file and the tests' documents land there), and the sound
// thread every run of the class plays on (it must outlive them all). Before
// every test: a settings folder of its own, so that nothing one test saves is read by the next,
// and the speech choices its runs start with. A class configures this in its constructor and
// adds its own steps through the hooks, which run after the shared ones.
class GuiTestCase : public QObject {
    Q_OBJECT

protected:
    // The class owns its sound thread, or shares shared with the other classes of its binary (the
    // sound backend keeps talking to the thread that used it first, for as long as the process
    // lives).
    GuiTestCase();
    explicit GuiTestCase(SoundBackend& shared);
    ~GuiTestCase() override;

    // Runs start at this speed (their settings files do not set it).
    void StartRunsAtSpeed(int speed) { m_startSpeed = speed; }
    // Every test's settings file chooses the dictionary reading (ScratchConfig).
    void ChooseDictionaryReadingInEveryTest() { m_dictionaryReading = true; }

    // The class's current folder, and the running test's settings folder.
    const QTemporaryDir& cwd() const { return m_cwd; }
    ScratchConfig& config() const { return *m_config; }
    // The speech choices a run starts with: EditorRun(files, start()).
    const SpeechPreferences& start() const { return m_start; }
    // The sound thread of the class's runs: EditorRun(sound(), ...).
    SoundBackend& sound() const { return *m_sound; }

    // A class's own steps: once after the shared set-up of the class, after each test's shared
    // set-up, and before each test's settings folder goes.
    virtual void InitClass() {}
    virtual void InitTest() {}
    virtual void CleanupTest() {}

private slots:
    void initTestCase();
    void init();
    void cleanup();

private:
    std::unique_ptr<SoundBackend> m_ownSound;
    SoundBackend* m_sound;
    QTemporaryDir m_cwd;
    std::unique_ptr<ScratchConfig> m_config;
    SpeechPreferences m_start;
    std::optional<int> m_startSpeed;
    bool m_dictionaryReading = false;
};

// Handles the next modal dialog that appears while this object lives: act is called with it,
// and a message box's text is recorded. Destroying the object stops waiting.
class ModalHandler {
public:
    explicit ModalHandler(std::function<void(QWidget*)> act);
    ~ModalHandler();
    ModalHandler(const ModalHandler&) = delete;
    ModalHandler& operator=(const ModalHandler&) = delete;

    bool handled() const { return m_handled; }
    const QString& text() const { return m_text; }

private:
    std::unique_ptr<QTimer> m_timer;
    bool m_handled = false;
    QString m_text;
};

// Types path into a file dialog's name field and presses its accept button. The field must not
// have the focus when the name is set, or the dialog keeps what the field held before; so the
// focus is taken away first, as a click elsewhere would.
void AcceptFileDialog(QWidget* dialog, const QString& path);

// Presses button in the next message box (or rejects another dialog).
std::unique_ptr<ModalHandler> AnswerNextMessageBox(QMessageBox::StandardButton button);

// An integer of the settings file (code page 932 section and key given as UTF-8).
std::optional<int> IniInt(const QString& iniPath, const char* sectionUtf8, const char* keyUtf8);

// The menu bar's top-level menu with this title (as shown, with its "&" mnemonic), or nullptr.
QMenu* TopMenu(MainWindow& frame, const QString& title);

// The first action of command id in the main window (a menu item, a tool bar button or a key),
// or nullptr.
QAction* FirstAction(MainWindow& frame, CommandId id);

// Types text as a user does: ASCII through key presses ('\n' as Return), everything else
// committed by an input method, as ibus or fcitx deliver Japanese.
void Type(QWidget* widget, const QString& text);
// The item with this text (as shown, "&" and any "\t" + shortcut included) in the menu bar's
// menu with this title, or nullptr.
QAction* MenuAction(MainWindow& frame, const QString& menuTitle, const QString& text);
QAction* MenuAction(MainWindow& frame, const char* menuTitleUtf8, const char* textUtf8);

// A dialog's own controls in tab order (the order they were made in), one line each: the
// control's class (without its namespace), the text it shows (buttons, labels, group boxes) and
// its place in pixels.
QStringList ControlsInTabOrder(const QWidget& dialog);
// The line ControlsInTabOrder gives for a control of class showing text (UTF-8) at place, in
// units.
QString ControlLine(const char* className, const char* textUtf8, const QRect& place,
                    const DialogUnits& units);

// Writes bytes to path; returns false on failure.
bool WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);
// UTF-8 text to code page 932 bytes.
QByteArray Sjis(const char* utf8);

} // namespace yomi6::test
