#include "app/editor_main.h"

#include "app/app_strings.h"
#include "app/main_frame.h"
#include "app/resources_init.h"
#include "app/yomi6_app.h"
#include "view/yomi6_view.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QTimer>

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

void WatchFirstPaint(const CYOMI5App& yomi, FirstPaintProbe& probe) {
    if (!qEnvironmentVariableIsSet("YOMI6_EXIT_AFTER_FIRST_PAINT")) {
        return;
    }
    if (CYOMI5View* view = yomi.MainFrame()->ActiveView()) {
        view->viewport()->installEventFilter(&probe);
    }
}

} // namespace

int RunEditor(int argc, char** argv, const std::vector<std::string>& files) {
    QApplication app(argc, argv);
    InitResources();
    QApplication::setApplicationName(QStringLiteral("yomi6"));
    QApplication::setApplicationDisplayName(QString::fromUtf8(strings::kMainTitle));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    QStringList paths;
    for (const std::string& f : files) {
        paths << QFile::decodeName(QByteArray::fromStdString(f));
    }
    CYOMI5App yomi;
    if (!yomi.InitInstance(paths)) {
        return 1;
    }
    FirstPaintProbe probe;
    WatchFirstPaint(yomi, probe);
    QApplication::exec();
    return yomi.ExitInstance();
}

} // namespace yomi6
