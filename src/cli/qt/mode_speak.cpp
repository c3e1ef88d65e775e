#include "cli/qt/mode_speak.h"

#include "cli/cli_common.h"
#include "cli/natural_modes.h"
#include "cli/settings_voices.h"
#include "cli/speech_options.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_view.h"
#include "export/dialogue_engine.h"
#include "export/sample_engine.h"
#include "natural/engine_setup.h"
#include "playback/pass_schedule.h"
#include "playback/playback.h"
#include "playback/speech_state.h"
#include "playback/voice_sounds.h"
#include "sound/sample_bank.h"
#include "sound/sound_backend.h"
#include "sound/speech_player.h"
#include "sound/speech_runner.h"
#include "speech_session/live_engine.h"
#include "speech_session/natural_speech.h"
#include "voice/voice_selection.h"
#include "wave/sample_pcm.h"

#include <QCoreApplication>
#include <QTimer>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

namespace yomi6 {

namespace {

// Starts the speech once the player's output plays, or in silence once the player reports that
// there is no output (at the latest a few seconds after the start, whatever the sound server
// does), with one line that says so; an output lost later is one line too.
void StartWhenHeard(SpeechPlayer& player, QObject& context, std::function<void()> speak) {
    auto started = std::make_shared<bool>(false);
    const auto start = [started, speak = std::move(speak)] {
        if (!*started) {
            *started = true;
            speak();
        }
    };
    // Without an output, outputUnavailable follows ready at once and starts it.
    QObject::connect(&player, &SpeechPlayer::ready, &context, [start](bool hasOutput) {
        if (hasOutput) {
            start();
        }
    });
    QObject::connect(&player, &SpeechPlayer::outputUnavailable, &context, [started, start] {
        cli::PrintError("sound output",
                        *started ? "lost; the rest is spoken in silence"
                                 : "none (no sound server, or it does not answer); speaking in "
                                   "silence");
        start();
    });
    if (player.IsReady() && player.HasOutput()) {
        start();
    }
}

// One pass of speech through the timer and the player; returns when it has been heard.
int SpeakOnePass(int argc, char** argv, SpeechState& speech, const VoiceSelection& voices,
                 SampleFitting fitting) {
    QCoreApplication app(argc, argv);
    // The pass's sound thread: it ends before the application object, after the player.
    SoundBackend sound;
    const SampleBank bank;
    SpeechPlayer player(bank, voices, sound);
    player.SetFitting(fitting, speech.speed, PassSchedule(speech));
    SpeechRunner runner(speech, speech,
                        [&](std::string_view sample, SpeechTimer::Clock::time_point due) {
                            player.Play(sample, due);
                        });
    QObject::connect(&runner, &SpeechRunner::finished, &app, [&] {
        // The last sample may still be sounding: leave once it has been heard.
        QTimer::singleShot(player.TimeUntilSilent(), &app, &QCoreApplication::quit);
    });
    StartWhenHeard(player, app, [&] { runner.start(); });
    return app.exec() == 0 ? cli::kExitOk : cli::kExitIoError;
}

// Text (code page 932) said once by the engines make makes (at the player's rate), as the
// editor says it with the natural voice, sentence by sentence through the sample player; returns
// when it has been heard: 1, after the line that says why, when the pass gave up on the engine.
int SpeakEngineText(int argc, char** argv, std::string text,
                    const NaturalSpeech::EngineMaker& make) {
    QCoreApplication app(argc, argv);
    SoundBackend sound;
    const SampleBank bank;
    const VoiceSelection voices;
    SpeechPlayer player(bank, voices, sound);
    NaturalSpeech speech([&]() -> SpeechPlayer& { return player; });
    bool gaveUp = false;
    QObject::connect(&speech, &NaturalSpeech::chunkSkipped, &app,
                     [](const QString& why) { cli::PrintSkipped(why.toStdString()); });
    QObject::connect(&speech, &NaturalSpeech::gaveUp, &app, [&](const QString& why) {
        cli::PrintError("natural voice", why.toStdString());
        gaveUp = true;
    });
    QObject::connect(&speech, &NaturalSpeech::finished, &app, [&] {
        QTimer::singleShot(player.TimeUntilSilent(), &app, &QCoreApplication::quit);
    });
    // A sentence placed before the output is open would not be heard: the engine starts with it.
    StartWhenHeard(player, app, [&] { speech.Start(std::move(text), make); });
    const int status = app.exec();
    return gaveUp || status != 0 ? cli::kExitIoError : cli::kExitOk;
}

// The natural voice, when it is asked for and can speak; std::nullopt when the sample voice
// speaks instead. A status when the input cannot be read.
std::optional<int> SpeakNatural(int argc, char** argv, const cli::Options& options) {
    if (!cli::NaturalVoiceOption(options)) {
        return std::nullopt;
    }
    // One worker, two chunks ahead of the one heard, which is all playback needs: the engine
    // says a second of speech in a twentieth of a second, and a second engine beside it would
    // hold another 17-35 MB and take the machine from the sound.
    std::optional<natural::NaturalPassOptions> pass = cli::NaturalPassFor(options, 1);
    if (!pass) {
        return std::nullopt;
    }
    pass->synthesis.outputRate = kOutputSampleRate;
    std::string text;
    Dictionary dictionary;
    if (!cli::ReadNaturalInput(options, text, dictionary)) {
        return cli::kExitIoError;
    }
    pass->aozora = cli::NaturalReadsAozora(options, text);
    // The voice loads while the output opens.
    NaturalVoiceCache voice;
    voice.Prepare(*pass);
    return SpeakEngineText(argc, argv, std::move(text), [&](NaturalSpeech::SkipNotice onSkipped) {
        return MakeLiveEngine(*pass, voice.Voice(*pass), dictionary.View(), std::move(onSkipped));
    });
}

// The lines in 「」 and 『』 in a voice of their own (--dialogue-voice, else the settings'): the
// whole text said run by run, each by its voice's engine (the natural voice when its slot or
// style has it and it can speak, else the samples), as the editor says it; std::nullopt when
// the lines have no voice of their own. A status when the input cannot be read.
std::optional<int> SpeakDialogue(int argc, char** argv, const cli::Options& options) {
    const std::optional<EngineRequest> lines = cli::DialogueRequestFor(options, 1);
    if (!lines) {
        return std::nullopt;
    }
    // The narrator's voice [0] and the lines' [1], each with its slot (1 male, 0 female).
    const cli::SpeechDefaults defaults = cli::DefaultSpeechOptions();
    std::array<std::optional<natural::NaturalPassOptions>, 2> passes{
        cli::NaturalPassFor(options, 1), cli::NaturalPassOf(*lines)};
    const std::array<std::int32_t, 2> slotOf{options.voice.value_or(defaults.voice),
                                             lines->maleSlot ? 1 : 0};
    std::string text;
    Dictionary dictionary;
    if (!cli::ReadNaturalInput(options, text, dictionary)) {
        return cli::kExitIoError;
    }
    const bool aozora = cli::NaturalReadsAozora(options, text);
    NaturalVoiceCache voice;
    for (std::optional<natural::NaturalPassOptions>& pass : passes) {
        if (pass) {
            pass->synthesis.outputRate = kOutputSampleRate;
            pass->aozora = aozora;
            voice.Prepare(*pass);
        }
    }
    // The sample voices as the export says them; what reads for them outlives the engines.
    AnalyzerLoader analyzer;
    analyzer.SetConfiguredDictionary(defaults.analyzerDictionary);
    cli::StderrSink messages(cli::AutomaticReadingSource(options));
    ExportRequest samples(ReaderSetup(dictionary.View(), analyzer));
    samples.speed = options.speed.value_or(defaults.speed);
    samples.readings = options.readings.value_or(defaults.readings);
    samples.setup.messages = &messages;
    samples.setup.aozora = aozora;
    samples.sounds = VoiceSoundSource(cli::SettingsVoiceSelection());
    samples.fitting = cli::SampleFittingOption(options);
    const auto engineOf =
        [&](std::size_t k,
            const NaturalSpeech::SkipNotice& onSkipped) -> std::unique_ptr<SpeechEngine> {
        if (passes[k]) {
            return MakeLiveEngine(*passes[k], voice.Voice(*passes[k]), dictionary.View(),
                                  onSkipped);
        }
        ExportRequest request = samples;
        request.voice = slotOf[k];
        return std::make_unique<SampleEngine>(request);
    };
    return SpeakEngineText(
        argc, argv, std::move(text), [&](const NaturalSpeech::SkipNotice& onSkipped) {
            return std::make_unique<DialogueEngine>(engineOf(0, onSkipped), engineOf(1, onSkipped),
                                                    kOutputSampleRate);
        });
}

} // namespace

int RunSpeakMode(int argc, char** argv, const cli::Options& options) {
    int status = cli::kExitOk;
    if (const std::optional<int> dialogue = SpeakDialogue(argc, argv, options)) {
        status = *dialogue;
    } else if (const std::optional<int> natural = SpeakNatural(argc, argv, options)) {
        status = *natural;
    } else {
        const auto speech = std::make_unique<SpeechState>();
        if (const int prepared = cli::PrepareSpeech(options, *speech); prepared != cli::kExitOk) {
            return prepared;
        }
        cli::ApplySpeechOptions(options, *speech);
        speech->repeat = false;
        // The slots speak with the voices the settings give them, as in the editor.
        const VoiceSelection voices = cli::SettingsVoiceSelection();
        status = SpeakOnePass(argc, argv, *speech, voices, cli::SampleFittingOption(options));
    }
    // The sound backend tears its connection to the sound server down at exit without
    // stopping the thread that serves that connection, and now and then crashes doing so.
    // Everything of this mode is finished and flushed here, so the process ends without
    // running the libraries' exit-time teardown.
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

} // namespace yomi6
