#include "app/editor_main.h"

#include "app/application.h"
#include "app/main_window.h"
#include "app/resources_init.h"
#include "editor/text_view.h"
#include "sound/sound_backend.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace yomi6 {

namespace {

// For timing the start-up from outside: with YOMI6_EXIT_AFTER_FIRST_PAINT set in the
// environment, the editor quits as soon as the text of its first document window has painted.
class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

void WatchFirstPaint(const Application& yomi, FirstPaintProbe& probe) {
    if (!qEnvironmentVariableIsSet("YOMI6_EXIT_AFTER_FIRST_PAINT")) {
        return;
    }
    if (TextView* view = yomi.Window()->ActiveView()) {
        view->viewport()->installEventFilter(&probe);
    }
}

// The editor's windows, from the application object's start to its end. Returns the exit status.
int RunWindows(const QStringList& paths, SoundBackend& sound) {
    Application yomi(sound);
    if (!yomi.Start(paths)) {
        return 1;
    }
    FirstPaintProbe probe;
    WatchFirstPaint(yomi, probe);
    QApplication::exec();
    return yomi.Finish();
}

struct RunEnd {
    int status = 0;
    bool soundHeld = false; // SoundBackend::Finish()
};

// The editor's run: the Qt application and the sound thread, which outlives every window.
RunEnd RunApplication(int argc, char** argv, const std::vector<std::string>& files) {
    QApplication app(argc, argv);
    SoundBackend sound;
    InitResources();
    QApplication::setApplicationName(QStringLiteral("yomi6"));
    // No display name: the window system would append it to every window title.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    QStringList paths;
    for (const std::string& f : files) {
        paths << QFile::decodeName(QByteArray::fromStdString(f));
    }
    const int status = RunWindows(paths, sound);
    return {status, sound.Finish()};
}

} // namespace

int RunEditor(int argc, char** argv, const std::vector<std::string>& files) {
    const auto [status, soundHeld] = RunApplication(argc, argv, files);
    if (soundHeld) {
        // A sound server that never answered holds the sound thread, and the sound backend's
        // teardown at exit would wait for it. Everything of the editor is saved by now.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(status);
    }
    return status;
}

} // namespace yomi6
