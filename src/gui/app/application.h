// The application: start of a run (settings, main window, command line) and its end.
#pragma once

#include "playback/speech_state.h"

#include <QStringList>

#include <memory>

class QTranslator;

namespace yomi6 {

class AppContext;
class MainWindow;
class SoundBackend;

class Application {
public:
    // The run's speech plays on sound's thread (AppContext); start: the speech choices before
    // the settings file is read.
    explicit Application(SoundBackend& sound, const SpeechPreferences& start = SpeechPreferences());
    ~Application();

    // Loads Qt's Japanese texts and the settings, creates the main window at its saved
    // rectangle, opens the command line's files (or one new document) and shows the window.
    // False: the run ends at once.
    bool Start(const QStringList& files);
    // Saves the settings. Returns the exit status.
    int Finish();

    MainWindow* Window() const { return m_mainWindow.get(); }
    // What the run shares between its windows: created with the application object, it
    // outlives the main window.
    AppContext& Context() const { return *m_context; }

private:
    // Installed for the whole run, before any window and until after the last message box.
    std::unique_ptr<QTranslator> m_qtTranslations;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_mainWindow;
};

} // namespace yomi6
