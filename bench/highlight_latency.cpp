// highlight_latency: how far the editor's speech highlight is painted from the start of the
// sample it belongs to, and the longest interval between the samples of a reading from the
// caret across its passes. Runs the editor's window, reads a long text from its top at the
// given speed and timestamps every paint of the text view that follows a highlight change
// against that highlight's sample onset (the moment the player places the sample at: its tick's
// due time plus the output latency). Needs a sound output (a private PulseAudio null sink will
// do) and a display (offscreen or a virtual X server).
//
//   highlight_latency SPEED SECONDS
//
// Prints p50, p95 and max of (paint - onset) in milliseconds, the number of units, how far the
// reading got and the largest onset-to-onset interval (in ticks).
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
#include <vector>

using namespace yomi6;
using Clock = std::chrono::steady_clock;

namespace {

class PaintClock : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && pending) {
            pending = false;
            errorsMs.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - onset).count());
        }
        return QObject::eventFilter(watched, event);
    }
    bool pending = false;
    Clock::time_point onset;
    std::vector<double> errorsMs;
};

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

} // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: highlight_latency SPEED SECONDS\n");
        return 2;
    }
    const int speed = std::atoi(argv[1]);
    const int seconds = std::atoi(argv[2]);
    InitResources();
    CYOMI5App app;
    if (!app.InitInstance({})) {
        return 1;
    }
    CMainFrame* frame = app.MainFrame();
    frame->show();
    CYOMI5View* view = frame->ActiveView();
    // Sentences of kana, each followed by empty lines (which take no tick), so that a pass of
    // 4000 bytes holds about 200 units and a reading of some seconds crosses several passes.
    QString text;
    for (int i = 0; i < 400; ++i) {
        text +=
            QString::fromUtf8("かきくけこさしすせそたちつてと。") + QString(150, QLatin1Char('\n'));
    }
    view->setPlainText(text);
    g_speech.speed = speed;
    SpeechController& speech = SpeechController::Instance();

    PaintClock paints;
    view->viewport()->installEventFilter(&paints);
    std::vector<Clock::time_point> onsets;
    int lastBegin = -1;
    QObject::connect(&speech, &SpeechController::highlightChanged,
                     [&](const QObject*, int unitBegin, int, int, int) {
                         if (unitBegin < 0) {
                             return;
                         }
                         paints.pending = true;
                         paints.onset = speech.ShownOnset();
                         onsets.push_back(speech.ShownOnset());
                         lastBegin = unitBegin;
                     });

    QElapsedTimer wait;
    wait.start();
    while (!speech.Player().isReady() && wait.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    if (!speech.Player().hasOutput()) {
        std::fprintf(stderr, "highlight_latency: no sound output\n");
        return 1;
    }
    frame->Dispatch(cmd::ReadFromCaret);
    QTimer::singleShot(seconds * 1000, [&] { frame->Dispatch(cmd::Stop); });
    QTimer::singleShot(seconds * 1000 + 1000, &qapp, &QApplication::quit);
    QApplication::exec();

    double maxInterval = 0;
    for (std::size_t i = 1; i < onsets.size(); ++i) {
        maxInterval =
            std::max(maxInterval,
                     std::chrono::duration<double, std::milli>(onsets[i] - onsets[i - 1]).count());
    }
    std::printf("speed %d ms: %zu units up to character %d (about %d passes), paint - onset "
                "p50 %.2f ms, p95 %.2f ms, max %.2f ms; largest onset interval %.2f ms (%.2f "
                "ticks)\n",
                speed, paints.errorsMs.size(), lastBegin, lastBegin / 1990 + 1,
                Percentile(paints.errorsMs, 0.5), Percentile(paints.errorsMs, 0.95),
                Percentile(paints.errorsMs, 1.0), maxInterval, maxInterval / speed);
    std::fflush(stdout);
    view->GetDocument()->SetModifiedFlag(false); // no save prompt at the end
    app.ExitInstance();
    SpeechController::Instance().Shutdown();
    return 0;
}
