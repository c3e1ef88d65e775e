#include "platform/speak_mode.h"

#include "cli/cli_common.h"
#include "cli/speech_options.h"
#include "platform/sample_player.h"
#include "platform/speech_timer.h"
#include "speech/playback.h"
#include "speech/speech_state.h"
#include "speech/wav_render.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;

// A sound server normally takes the stream within milliseconds, but may hold a new stream back
// for up to two seconds; one that has not begun to play by then is treated as no output, and
// the pass runs in silence.
constexpr auto kOutputOpenLimit = 3s;

// One pass of g_speech through the timer and the player; returns when it has been heard.
int SpeakOnePass(int argc, char** argv, SampleFitting fitting) {
    QCoreApplication app(argc, argv);
    SamplePlayer player;
    player.SetFitting(fitting, g_speech.speed, PassSchedule(g_speech));
    SpeechTimer timer;
    bool started = false;

    QObject::connect(&timer, &SpeechTimer::tick, &app, [&] {
        const TickResult result = SpeechTick(g_speech);
        if (!result.sample.empty()) {
            player.Play(result.sample, timer.tickTime());
        }
        if (result.killTimer) {
            timer.stop();
            // The last sample may still be sounding: leave once it has been heard.
            QTimer::singleShot(player.timeUntilSilent(), &app, &QCoreApplication::quit);
        }
    });
    const auto start = [&] {
        if (!started) {
            started = true;
            timer.start(g_speech.speed);
        }
    };
    QObject::connect(&player, &SamplePlayer::ready, &app, start);
    QTimer::singleShot(kOutputOpenLimit, &app, start);
    if (player.isReady()) {
        start();
    }
    return app.exec() == 0 ? cli::kExitOk : cli::kExitIoError;
}

} // namespace

int RunSpeakMode(int argc, char** argv, const cli::Options& options) {
    if (const int status = cli::PrepareSpeech(options); status != cli::kExitOk) {
        return status;
    }
    cli::ApplySpeechOptions(options, g_speech);
    g_speech.repeat = kRepeatOff;
    const int status = SpeakOnePass(argc, argv, cli::SampleFittingOption(options));
    // The sound backend tears its connection to the sound server down at exit without
    // stopping the thread that serves that connection, and now and then crashes doing so.
    // Everything of this mode is finished and flushed here, so the process ends without
    // running the libraries' exit-time teardown.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

} // namespace yomi6
