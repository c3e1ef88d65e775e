// Times the dictionary manager's filter keystroke by keystroke over a full dictionary (9999
// rows), offscreen: each keystroke is delivered to the filter field as the window system or an
// input method delivers it, then the events are processed and the table is painted. Prints
// the time of every keystroke (wall clock, and the CPU time of the user-interface thread, which
// a busy machine does not inflate) and the median and maximum, sorted by number and by word.
//
//   QT_QPA_PLATFORM=offscreen build/bench/filter_timing
#include "bench_data.h"

#include "dictionary/dictionary.h"
#include "dictionary_manager/dictionary_filter_proxy.h"
#include "dictionary_manager/dictionary_manager.h"
#include "sound/sound_backend.h"
#include "speaking/app_context.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <vector>

using namespace yomi6;

namespace {

// One keystroke: a character (committed as an input method does for Japanese) or Backspace.
void Press(QLineEdit* edit, QChar ch) {
    if (ch == QChar(u'\b')) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(edit, &release);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(QString(ch));
    QApplication::sendEvent(edit, &commit);
}

double ThreadCpuMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Timing {
    double wallMs;
    double cpuMs; // the user-interface thread's own work, whatever else runs on the machine
};

Timing TimeKeystroke(DictionaryManager* m, QChar ch) {
    const double cpuStart = ThreadCpuMs();
    const auto start = std::chrono::steady_clock::now();
    Press(m->FilterEdit(), ch);
    QCoreApplication::processEvents();
    m->Table()->viewport()->repaint();
    const auto end = std::chrono::steady_clock::now();
    return {std::chrono::duration<double, std::milli>(end - start).count(),
            ThreadCpuMs() - cpuStart};
}

void PrintSummary(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%s: keystrokes %zu  median %.3f ms  p95 %.3f ms  max %.3f ms\n", what, ms.size(),
                ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back());
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Yomi6.dic")).toStdString();
    {
        const std::string image = bench::FullDictionaryImage();
        std::ofstream(path, std::ios::binary)
            .write(image.data(), static_cast<std::streamsize>(image.size()));
    }
    QDir::setCurrent(dir.path()); // where the run's dictionary file "Yomi6.dic" is
    SoundBackend sound;           // the run's sound thread, which outlives its context
    AppContext context(sound);    // what a run of the editor shares
    QWidget frame;
    DictionaryManager* m = DictionaryManager::ShowFor(&frame, context);
    if (m == nullptr) {
        std::fprintf(stderr, "cannot open the dictionary\n");
        return 1;
    }
    QCoreApplication::processEvents();

    // A word's first characters typed one by one, then erased, then a reading in hiragana.
    const QString word = m->Model()->Word(100);
    QString keys = word.left(3);
    keys += QString(keys.size(), QChar(u'\b'));
    keys += QStringLiteral("かん");
    keys += QStringLiteral("\b\b");

    std::vector<double> wall;
    std::vector<double> cpu;
    for (int column :
         {int(DictionaryTableModel::NumberColumn), int(DictionaryTableModel::WordColumn)}) {
        m->Table()->sortByColumn(column, Qt::AscendingOrder);
        for (int round = 0; round < 5; ++round) {
            for (QChar ch : keys) {
                const Timing t = TimeKeystroke(m, ch);
                wall.push_back(t.wallMs);
                cpu.push_back(t.cpuMs);
                if (round == 0) {
                    std::printf("sort %-6s key %-4s rows %5d  wall %7.3f ms  cpu %7.3f ms\n",
                                column == 0 ? "number" : "word",
                                ch == QChar(u'\b') ? "BS" : QString(ch).toUtf8().constData(),
                                m->Proxy()->rowCount(), t.wallMs, t.cpuMs);
                }
            }
        }
    }
    PrintSummary("wall", wall);
    PrintSummary("cpu ", cpu);
    m->close();
    return 0;
}
