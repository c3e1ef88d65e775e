#include "platform/speak_mode.h"

#include "cli/cli_common.h"
#include "platform/sample_player.h"
#include "platform/speech_runner.h"
#include "speech/playback.h"
#include "speech/speech_state.h"

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
int SpeakOnePass(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SamplePlayer player;
    SpeechRunner runner(g_speech, [&](std::string_view sample, SpeechTimer::Clock::time_point due) {
        player.Play(sample, due);
    });
    bool started = false;

    QObject::connect(&runner, &SpeechRunner::finished, &app, [&] {
        // The last sample may still be sounding: leave once it has been heard.
        QTimer::singleShot(player.timeUntilSilent(), &app, &QCoreApplication::quit);
    });
    const auto start = [&] {
        if (!started) {
            started = true;
            runner.start();
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
    g_speech.voice = options.voice.value_or(0);
    g_speech.speed = options.speed.value_or(kDefaultSpeed);
    g_speech.repeat = kRepeatOff;
    const int status = SpeakOnePass(argc, argv);
    // The sound backend tears its connection to the sound server down at exit without
    // stopping the thread that serves that connection, and now and then crashes doing so.
    // Everything of this mode is finished and flushed here, so the process ends without
    // running the libraries' exit-time teardown.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

} // namespace yomi6
