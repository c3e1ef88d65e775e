#include "cli/qt/natural_speech.h"

#include "cli/cli_common.h"
#include "cli/natural_modes.h"
#include "dictionary/dictionary_view.h"
#include "sound/audio_output.h"
#include "sound/sound_backend.h"
#include "sound/sound_message_filter.h"
#include "wave/sample_pcm.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QThread>
#include <QTimer>

#include <memory>
#include <thread>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;
using Clock = SampleMixer::Clock;

// As the sample player: the latency until the output is open, how long a sound server may take
// to start the stream, and the device's own buffer, waited for at the end.
constexpr auto kInitialLatency = 100ms;
constexpr auto kOpenPatience = 3s;
constexpr auto kDeviceTail = 100ms;
constexpr std::chrono::milliseconds kCloseWait = 1s;
// How long before a chunk is due it is handed over: a second, far more than a loaded machine
// delays the thread, while the workers stay only their few chunks ahead of what is heard.
constexpr auto kHandAhead = 1s;
// A chunk heard this long ago is let go.
constexpr auto kKeepHeard = 5s;

Clock::duration DurationOf(std::size_t frames, int rate) {
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(static_cast<std::int64_t>(frames) * 1'000'000'000 / rate));
}

void Say(const char* text) {
    cli::PrintError("sound output", text);
}

} // namespace

void PlayNaturalPass(natural::NaturalPass& pass, SampleMixer* mixer, int rate, HeldChunks& held) {
    std::optional<Clock::time_point> next; // where the next chunk starts
    while (std::optional<natural::PassChunk> chunk = pass.Next()) {
        const Clock::time_point now = Clock::now();
        const Clock::time_point at = next && *next > now ? *next : now;
        const Clock::duration length = DurationOf(chunk->pcm.size(), rate);
        held.chunks.push_back({std::move(chunk->pcm), at + length});
        if (mixer != nullptr) {
            mixer->Schedule(held.chunks.back().pcm, at);
        }
        next = at + length;
        while (held.chunks.size() > 2 && held.chunks.front().end + kKeepHeard < now) {
            held.chunks.pop_front();
        }
        std::this_thread::sleep_until(*next - kHandAhead);
    }
    if (!next) {
        return;
    }
    // The process must not end before the last frames have been played.
    const Clock::time_point heard =
        mixer != nullptr ? mixer->SoundEnd().value_or(*next + mixer->Latency()) : *next;
    std::this_thread::sleep_until(heard + (mixer != nullptr ? kDeviceTail : 0ms));
}

int SpeakNaturalText(int argc, char** argv, std::string text, const DictionaryView& dictionary,
                     natural::NaturalPassOptions options) {
    QCoreApplication app(argc, argv);
    // The speech's sound thread: it ends before the application object, after the output.
    SoundBackend sound;
    InstallSoundMessageFilter();
    const int rate = options.synthesis.outputRate;
    // The engine starts on the first chunk while the output opens.
    natural::NaturalPass pass(std::move(text), dictionary, std::move(options), cli::PrintSkipped);
    auto mixer = std::make_shared<SampleMixer>(rate, kInitialLatency);
    auto* output = new AudioOutput(mixer, sound);
    HeldChunks held;
    std::thread player;
    bool started = false;
    const auto start = [&](bool hasOutput) {
        if (started) {
            return;
        }
        started = true;
        player = std::thread([&, hasOutput] {
            PlayNaturalPass(pass, hasOutput ? mixer.get() : nullptr, rate, held);
            QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
        });
    };
    QObject::connect(output, &AudioOutput::opened, &app, [&](bool hasOutput) {
        if (!hasOutput && !started) {
            Say("none (no sound server, or it does not answer); speaking in silence");
        }
        start(hasOutput);
    });
    QObject::connect(output, &AudioOutput::lost, &app,
                     [] { Say("lost; the rest is spoken in silence"); });
    QMetaObject::invokeMethod(output, &AudioOutput::Open, Qt::QueuedConnection);
    QTimer::singleShot(kOpenPatience, &app, [&] {
        if (!started) {
            Say("none (no sound server, or it does not answer); speaking in silence");
            start(false);
        }
    });
    const int status = app.exec();
    player.join();
    // The output closes in its own thread; it is given a moment to end the stream.
    auto closed = std::make_shared<QSemaphore>();
    QObject::connect(output, &QObject::destroyed, [closed] { closed->release(); });
    output->deleteLater();
    closed->tryAcquire(1, static_cast<int>(kCloseWait.count()));
    if (const std::string failure = pass.Failure(); !failure.empty()) {
        cli::PrintError("natural voice", failure);
        return cli::kExitIoError;
    }
    return status == 0 ? cli::kExitOk : cli::kExitIoError;
}

} // namespace yomi6
