// highlight_latency: how far the editor's speech highlight is painted from the start of the
// sample it belongs to, and how the passes of a reading from the caret follow each other. Runs
// the editor's window, reads a long text from its top at the given speed and, for every unit,
// takes the moment its sample starts on the player's schedule (the tick's due time plus the
// output latency: where the player places the sample) and the moment the text view has finished
// painting the highlight of that unit.
//
//   highlight_latency SPEED SECONDS [--automatic] [--document BYTES] [--repeat]
//
// --automatic reads in the automatic mode (else the dictionary mode). With --document the text
// is BYTES bytes in code page 932 and the reading goes on to its end (SECONDS is then only a
// limit): a whole-document reading, with the process's resident memory taken at the start of
// every pass. --repeat reads it over and over until SECONDS: the memory at the start of each
// walk through the document shows whether a whole-document reading leaves memory behind.
//
// Needs a sound output (a private PulseAudio null sink will do; tools/measure-highlight.sh
// starts one) and a display (offscreen or a virtual X server). The editor's settings are read
// and saved as usual: run it with XDG_CONFIG_HOME pointing at a scratch folder. Gives up with
// exit status 3 when the reading does not end within SECONDS + 20 s.
//
// Prints one line of figures:
//   paint - onset p50/p95/max: from the sample's onset to the end of the highlight's paint
//   unpainted: highlight changes replaced before any paint showed them (a unit whose
//     highlight is the same as the one before, as in a word read by the analyzer, needs none)
//   due - onset max: how late the highlight was handed to the view after the onset
//   tick lateness max: from a tick's due moment to the end of its handling (pass loading
//     included), against the output latency: a tick later than the latency is heard late
//   late samples: samples the player placed after their position (heard late)
//   pass gap max: the onset interval from a pass's last unit to the next pass's first
//   interval max: the largest onset interval between consecutive units anywhere
//   pass-start tick lateness max: the same for the ticks that loaded a pass
//   resident memory: at the first pass, at the start of each further walk through the text,
//     at the last pass, and the process's peak (VmHWM), in KiB
#include "app/application.h"
#include "app/main_window.h"
#include "app/resources_init.h"
#include "editor/document.h"
#include "editor/text_view.h"
#include "playback/speech_state.h"
#include "sound/sound_backend.h"
#include "sound/speech_player.h"
#include "speaking/app_context.h"
#include "speaking/speech_controller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <optional>
#include <string>
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
    return v[static_cast<std::size_t>(std::lround(p * static_cast<double>(v.size() - 1)))];
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

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
long StatusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.starts_with(key)) {
            return std::atol(line.c_str() + key.size());
        }
    }
    return 0;
}

// Blocks of a few kana, each followed by empty lines (which take no tick): a pass of 4000
// bytes holds a few dozen units, so that a reading of some seconds crosses several passes,
// and the view scrolls every few units as well as staying put in between. Every kana sounds:
// consecutive units are one tick apart. bytes: the size in code page 932 with CR LF line
// ends (two bytes a kana, two a line end); 0: 1500 blocks.
// With bytes, the blocks are sparser (two to a pass), so that a walk through a whole
// document of a megabyte takes some twenty seconds at the fastest speed.
QString LongText(long bytes) {
    const char* const kBlocks[] = {"かきくけ", "たちつて", "まみむめ"};
    const int lineEnds = bytes > 0 ? 1000 : 300;
    const long blockBytes = 4 * 2 + lineEnds * 2;
    const long blocks = bytes > 0 ? bytes / blockBytes : 1500;
    QString text;
    for (long i = 0; i < blocks; ++i) {
        text += QString::fromUtf8(kBlocks[i % 3]) + QString(lineEnds, QLatin1Char('\n'));
    }
    if (bytes > 0) {
        // The rest: line ends, and a last odd byte as a half-width kana.
        const long rest = bytes - blocks * blockBytes;
        text += QString(static_cast<int>(rest / 2), QLatin1Char('\n'));
        if (rest % 2 != 0) {
            text += QString::fromUtf8("ｱ");
        }
    }
    return text;
}

// The command line: SPEED SECONDS [--automatic] [--document BYTES] [--repeat].
struct Options {
    int speed = 0;
    int seconds = 0;
    bool automatic = false;
    bool repeat = false;
    long documentBytes = 0;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
    if (argc < 3 || std::atoi(argv[1]) <= 0 || std::atoi(argv[2]) <= 0) {
        return std::nullopt;
    }
    Options options;
    options.speed = std::atoi(argv[1]);
    options.seconds = std::atoi(argv[2]);
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--automatic") == 0) {
            options.automatic = true;
        } else if (std::strcmp(argv[i], "--repeat") == 0) {
            options.repeat = true;
        } else if (std::strcmp(argv[i], "--document") == 0 && i + 1 < argc &&
                   std::atol(argv[i + 1]) > 0) {
            options.documentBytes = std::atol(argv[++i]);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// What the reading's ticks and highlights tell, gathered as they come.
class Recorder {
public:
    Recorder(const SpeechController& speech, PaintTimingApp& qapp, Clock::duration latency)
        : m_speech(speech), m_qapp(qapp), m_latency(latency) {}

    // A tick read characters [begin, end).
    void Ticked(int begin, int end) {
        if (begin == end) {
            return;
        }
        const bool passStart = m_speech.SampleTickState().playIndex < m_lastPlayIndex ||
                               m_speech.SampleTickState().endIndex != m_lastEndIndex;
        if (passStart) {
            ++m_passes;
            m_lastPassRssKiB = StatusKiB("VmRSS");
            if (begin < m_lastPassBegin || m_lastPassBegin < 0) {
                m_walkRssKiB.push_back(m_lastPassRssKiB);
            }
            m_lastPassBegin = begin;
        }
        m_lastPlayIndex = m_speech.SampleTickState().playIndex;
        m_lastEndIndex = m_speech.SampleTickState().endIndex;
        m_ticks.push_back({begin, end, Clock::now(), passStart && m_passes > 1});
    }

    // The highlight is due: unit [unitBegin, unitEnd) in word [wordBegin, wordEnd).
    void Highlighted(int unitBegin, int unitEnd, int wordBegin, int wordEnd) {
        if (unitBegin < 0) {
            return;
        }
        const Clock::time_point now = Clock::now();
        const Clock::time_point onset = m_speech.ShownOnset();
        const std::array<int, 4> highlight{unitBegin, unitEnd, wordBegin, wordEnd};
        if (highlight != m_shown) {
            if (m_qapp.pending) {
                ++m_qapp.unpainted;
            }
            m_qapp.pending = true;
            m_qapp.onset = onset;
        }
        m_dueMinusOnsetMs.push_back(Ms(now - onset));
        bool passStart = false;
        while (!m_ticks.empty()) {
            const Tick tick = m_ticks.front();
            m_ticks.pop_front();
            passStart = passStart || tick.passStart;
            if (tick.begin == unitBegin && tick.end == unitEnd) {
                m_tickLatenessMs.push_back(Ms(tick.handled - (onset - m_latency)));
                if (passStart) {
                    m_passTickLatenessMs.push_back(m_tickLatenessMs.back());
                }
                break;
            }
        }
        if (m_shown[0] >= 0) {
            m_intervalsMs.push_back(Ms(onset - m_lastOnset));
            if (passStart) {
                m_passGapsMs.push_back(m_intervalsMs.back());
            }
        }
        m_lastOnset = onset;
        m_shown = highlight;
    }

    void Print(const Options& options, long long lateSamples, bool stopped) const {
        QString walks;
        for (const long kib : m_walkRssKiB) {
            walks += QStringLiteral(" %1").arg(kib);
        }
        const std::vector<double>& paint = m_qapp.paintMinusOnsetMs;
        const int speed = options.speed;
        std::printf("speed %d ms, %s reading, output latency %.0f ms: %zu units, %d passes; "
                    "paint - onset p50 %.2f ms, p95 %.2f ms, max %.2f ms; unpainted %d; "
                    "due - onset max %.2f ms; tick lateness p50 %.2f ms, max %.2f ms; "
                    "pass-start tick lateness max %.2f ms; late samples %lld; "
                    "pass gap max %.2f ms (%.2f ticks); interval max %.2f ms (%.2f ticks); "
                    "resident memory at the walks' starts%s KiB, last pass %ld KiB, peak %ld KiB; "
                    "%s\n",
                    speed, options.automatic ? "automatic" : "dictionary", Ms(m_latency),
                    m_dueMinusOnsetMs.size(), m_passes, Percentile(paint, 0.5),
                    Percentile(paint, 0.95), Percentile(paint, 1.0),
                    m_qapp.unpainted + (m_qapp.pending ? 1 : 0), Percentile(m_dueMinusOnsetMs, 1.0),
                    Percentile(m_tickLatenessMs, 0.5), Percentile(m_tickLatenessMs, 1.0),
                    Percentile(m_passTickLatenessMs, 1.0), lateSamples,
                    Percentile(m_passGapsMs, 1.0), Percentile(m_passGapsMs, 1.0) / speed,
                    Percentile(m_intervalsMs, 1.0), Percentile(m_intervalsMs, 1.0) / speed,
                    walks.toUtf8().constData(), m_lastPassRssKiB, StatusKiB("VmHWM"),
                    stopped ? "stopped" : "read to the end");
    }

private:
    // A tick that read something: what it read, when it was handled and whether it loaded a
    // pass (the reading's index went back to the start of a new reading).
    struct Tick {
        int begin;
        int end;
        Clock::time_point handled;
        bool passStart;
    };

    const SpeechController& m_speech;
    PaintTimingApp& m_qapp;
    Clock::duration m_latency;
    std::deque<Tick> m_ticks; // in order, until their highlight is due
    int m_passes = 0;
    int m_lastPassBegin = -1;
    std::vector<long> m_walkRssKiB; // at the first pass of each walk through the text
    long m_lastPassRssKiB = 0;
    std::int32_t m_lastPlayIndex = -1;
    std::int32_t m_lastEndIndex = -1;
    std::vector<double> m_dueMinusOnsetMs;
    std::vector<double> m_tickLatenessMs;
    std::vector<double> m_passTickLatenessMs;
    std::vector<double> m_intervalsMs;
    std::vector<double> m_passGapsMs;
    Clock::time_point m_lastOnset{};
    std::array<int, 4> m_shown{-1, -1, -1, -1};
};

} // namespace

int main(int argc, char** argv) {
    PaintTimingApp qapp(argc, argv);
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: highlight_latency SPEED SECONDS [--automatic] "
                             "[--document BYTES] [--repeat]\n");
        return 2;
    }
    // Whatever holds the reading up (a dialog waiting for an answer, an output that never
    // plays), the measurement ends.
    QTimer::singleShot((options->seconds + 20) * 1000, [] {
        std::fprintf(stderr, "highlight_latency: the reading did not end in time\n");
        std::_Exit(3);
    });
    InitResources();
    SoundBackend sound; // outlives the run of the editor below
    Application app(sound);
    if (!app.Start({})) {
        return 1;
    }
    MainWindow* frame = app.Window();
    frame->show();
    TextView* view = frame->ActiveView();
    view->setPlainText(LongText(options->documentBytes));
    // The text is the benchmark's: closing its window asks nothing.
    view->GetDocument()->SetModifiedFlag(false);
    view->setFocus();
    SpeechPreferences& choices = app.Context().Preferences();
    choices.speed = options->speed;
    choices.readings = options->automatic ? kReadingsAutomatic : kReadingsDictionary;
    choices.repeat = options->repeat;
    SpeechController& speech = app.Context().Speech();
    qapp.watched = view->viewport();

    QElapsedTimer wait;
    wait.start();
    while (!speech.Player().IsReady() && wait.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    if (!speech.Player().HasOutput()) {
        std::fprintf(stderr, "highlight_latency: no sound output\n");
        return 1;
    }
    const Clock::duration latency =
        speech.Player().OnsetOf(Clock::time_point{}) - Clock::time_point{};

    Recorder recorder(speech, qapp, latency);
    QObject::connect(&speech, &SpeechController::unitTicked,
                     [&](const QString&, int begin, int end) { recorder.Ticked(begin, end); });
    QObject::connect(&speech, &SpeechController::highlightChanged,
                     [&](const QObject*, int unitBegin, int unitEnd, int wordBegin, int wordEnd) {
                         recorder.Highlighted(unitBegin, unitEnd, wordBegin, wordEnd);
                     });

    const SampleMixer::Stats before = speech.Player().stats();
    frame->Dispatch(CommandId::ReadFromCaret);
    if (!speech.IsTimerRunning()) {
        std::fprintf(stderr, "highlight_latency: the reading did not start\n");
        return 1;
    }
    bool stopped = false;
    QTimer::singleShot(options->seconds * 1000, [&] {
        stopped = true;
        frame->Dispatch(CommandId::Stop);
    });
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
    recorder.Print(*options, static_cast<long long>(after.lateRequests - before.lateRequests),
                   stopped);
    std::fflush(stdout);
    view->GetDocument()->SetModifiedFlag(false);
    app.Finish();
    return 0;
}
