// highlight_latency: how far the editor's speech highlight is painted from the start of the
// sample it belongs to, and how the passes of a reading from the caret follow each other. Runs
// the editor's window, reads a long text from its top at the given speed and, for every unit,
// takes the moment its sample starts on the player's schedule (the tick's due time plus the
// output latency: where the player places the sample) and the moment the text view has finished
// painting the highlight of that unit.
//
//   highlight_latency SPEED SECONDS [dictionary|automatic]
//
// Needs a sound output (a private PulseAudio null sink will do; tools/measure-highlight.sh
// starts one) and a display (offscreen or a virtual X server). The editor's settings are read
// and saved as usual: run it with XDG_CONFIG_HOME pointing at a scratch folder. Gives up with
// exit status 3 when the reading does not end within SECONDS + 20 s.
//
// Prints one line of figures:
//   paint - onset p50/p95/max: from the sample's onset to the end of the highlight's paint
//   unpainted: units whose highlight was replaced before any paint showed it
//   due - onset max: how late the highlight was handed to the view after the onset
//   tick lateness max: from a tick's due moment to the end of its handling (pass loading
//     included), against the output latency: a tick later than the latency is heard late
//   late samples: samples the player placed after their position (heard late)
//   pass gap max: the onset interval from a pass's last unit to the next pass's first
//   interval max: the largest onset interval between consecutive units anywhere
#include "app/main_frame.h"
#include "app/resources_init.h"
#include "app/yomi6_app.h"
#include "platform/sample_player.h"
#include "speech/speech_state.h"
#include "view/speech_controller.h"
#include "view/yomi6_doc.h"
#include "view/yomi6_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

using namespace yomi6;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

// Times the end of every paint of one widget: the moment the pixels of the highlight are in
// the window's backing store. An event filter would only see the paint's start.
class PaintTimingApp : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        const bool isPaint = event->type() == QEvent::Paint && receiver == watched;
        const bool result = QApplication::notify(receiver, event);
        if (isPaint && pending) {
            pending = false;
            paintMinusOnsetMs.push_back(Ms(Clock::now() - onset));
        }
        return result;
    }

    const QObject* watched = nullptr;
    bool pending = false; // a highlight was shown and not painted yet
    Clock::time_point onset;
    std::vector<double> paintMinusOnsetMs;
    int unpainted = 0;
};

// Blocks of a few kana, each followed by empty lines (which take no tick): a pass of 4000
// bytes holds a few dozen units, so that a reading of some seconds crosses several passes,
// and the view scrolls every few units as well as staying put in between.
QString LongText() {
    const char* const kBlocks[] = {"かきくけ", "たちつて", "まみむめ"};
    QString text;
    for (int i = 0; i < 1500; ++i) {
        text += QString::fromUtf8(kBlocks[i % 3]) + QString(300, QLatin1Char('\n'));
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    PaintTimingApp qapp(argc, argv);
    if (argc < 3 || std::atoi(argv[1]) <= 0 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: highlight_latency SPEED SECONDS [dictionary|automatic]\n");
        return 2;
    }
    const int speed = std::atoi(argv[1]);
    const int seconds = std::atoi(argv[2]);
    const bool automatic = argc > 3 && std::strcmp(argv[3], "automatic") == 0;
    // Whatever holds the reading up (a dialog waiting for an answer, an output that never
    // plays), the measurement ends.
    QTimer::singleShot((seconds + 20) * 1000, [] {
        std::fprintf(stderr, "highlight_latency: the reading did not end in time\n");
        std::_Exit(3);
    });
    InitResources();
    CYOMI5App app;
    if (!app.InitInstance({})) {
        return 1;
    }
    CMainFrame* frame = app.MainFrame();
    frame->show();
    CYOMI5View* view = frame->ActiveView();
    view->setPlainText(LongText());
    // The text is the benchmark's: closing its window asks nothing.
    view->GetDocument()->SetModifiedFlag(false);
    view->setFocus();
    g_speech.speed = speed;
    g_speech.readings = automatic ? kReadingsAutomatic : kReadingsDictionary;
    SpeechController& speech = SpeechController::Instance();
    qapp.watched = view->viewport();

    QElapsedTimer wait;
    wait.start();
    while (!speech.Player().isReady() && wait.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    if (!speech.Player().hasOutput()) {
        std::fprintf(stderr, "highlight_latency: no sound output\n");
        return 1;
    }
    const Clock::duration latency =
        speech.Player().onsetOf(Clock::time_point{}) - Clock::time_point{};

    // Each tick: when it was handled, and whether it began a pass (the reading's index went
    // back to the start of a new reading).
    std::map<int, Clock::time_point> handled; // unit's first character -> end of its tick
    int passes = 0;
    int passStart = -1; // first character of the pass whose first unit is not shown yet
    std::int32_t lastPlayIndex = -1;
    std::int32_t lastEndIndex = -1;
    QObject::connect(
        &speech, &SpeechController::unitTicked, [&](const QString&, int begin, int end) {
            if (begin == end) {
                return;
            }
            if (g_speech.playIndex < lastPlayIndex || g_speech.endIndex != lastEndIndex) {
                ++passes;
                if (passes > 1) {
                    passStart = begin;
                }
            }
            lastPlayIndex = g_speech.playIndex;
            lastEndIndex = g_speech.endIndex;
            handled[begin] = Clock::now();
        });

    std::vector<double> dueMinusOnsetMs;
    std::vector<double> tickLatenessMs;
    std::vector<double> intervalsMs;
    std::vector<double> passGapsMs;
    Clock::time_point lastOnset{};
    int lastBegin = -1;
    QObject::connect(&speech, &SpeechController::highlightChanged,
                     [&](const QObject*, int unitBegin, int, int, int) {
                         if (unitBegin < 0) {
                             return;
                         }
                         const Clock::time_point now = Clock::now();
                         const Clock::time_point onset = speech.ShownOnset();
                         if (qapp.pending) {
                             ++qapp.unpainted;
                         }
                         qapp.pending = true;
                         qapp.onset = onset;
                         dueMinusOnsetMs.push_back(Ms(now - onset));
                         if (const auto at = handled.find(unitBegin); at != handled.end()) {
                             tickLatenessMs.push_back(Ms(at->second - (onset - latency)));
                             handled.erase(handled.begin(), std::next(at));
                         }
                         if (lastBegin >= 0) {
                             intervalsMs.push_back(Ms(onset - lastOnset));
                             if (passStart >= 0 && unitBegin >= passStart) {
                                 passGapsMs.push_back(intervalsMs.back());
                                 passStart = -1;
                             }
                         }
                         lastOnset = onset;
                         lastBegin = unitBegin;
                     });

    const SampleMixer::Stats before = speech.Player().stats();
    frame->Dispatch(cmd::ReadFromCaret);
    if (!speech.IsTimerRunning()) {
        std::fprintf(stderr, "highlight_latency: the reading did not start\n");
        return 1;
    }
    QTimer::singleShot(seconds * 1000, [&] { frame->Dispatch(cmd::Stop); });
    // The stop takes one more tick and the last highlight waits for its sample: then the
    // measurement is over. exit() rather than quit(): quit() would close the windows.
    QObject::connect(&speech, &SpeechController::stateChanged, [&] {
        if (!speech.IsTimerRunning() && speech.Owner() == nullptr) {
            QTimer::singleShot(std::chrono::ceil<std::chrono::milliseconds>(latency) +
                                   std::chrono::milliseconds(200),
                               [] { QCoreApplication::exit(0); });
        }
    });
    QApplication::exec();
    const SampleMixer::Stats after = speech.Player().stats();

    std::printf("speed %d ms, %s reading, output latency %.0f ms: %zu units, %d passes; "
                "paint - onset p50 %.2f ms, p95 %.2f ms, max %.2f ms; unpainted %d; "
                "due - onset max %.2f ms; tick lateness p50 %.2f ms, max %.2f ms; "
                "late samples %lld; pass gap max %.2f ms (%.2f ticks); "
                "interval max %.2f ms (%.2f ticks)\n",
                speed, automatic ? "automatic" : "dictionary", Ms(latency), dueMinusOnsetMs.size(),
                passes, Percentile(qapp.paintMinusOnsetMs, 0.5),
                Percentile(qapp.paintMinusOnsetMs, 0.95), Percentile(qapp.paintMinusOnsetMs, 1.0),
                qapp.unpainted + (qapp.pending ? 1 : 0), Percentile(dueMinusOnsetMs, 1.0),
                Percentile(tickLatenessMs, 0.5), Percentile(tickLatenessMs, 1.0),
                static_cast<long long>(after.lateRequests - before.lateRequests),
                Percentile(passGapsMs, 1.0), Percentile(passGapsMs, 1.0) / speed,
                Percentile(intervalsMs, 1.0), Percentile(intervalsMs, 1.0) / speed);
    std::fflush(stdout);
    view->GetDocument()->SetModifiedFlag(false);
    app.ExitInstance();
    return 0;
}
