#include "analysis/analyzer_loader.h"
#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_modes.h"
#include "cli/export_progress.h"
#include "cli/natural_modes.h"
#include "cli/settings_voices.h"
#include "cli/speech_options.h"
#include "export/chapter_split.h"
#include "export/dialogue_engine.h"
#include "export/engine_factory.h"
#include "export/export_job.h"
#include "export/marked_export.h"
#include "export/sample_engine.h"
#include "playback/voice_sounds.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace yomi6::cli {

namespace {

// The longest text exported: far beyond any text the editor opens, short of a size whose
// rendering would take days.
constexpr std::size_t kMaxExportBytes = 64u << 20;

// Why a text longer than kMaxExportBytes cannot be exported as asked, or "" when the part
// asked for lies within the bytes read (a --to within them).
std::string TooLongProblem(const Options& options, std::size_t readBytes) {
    const std::string limit = std::to_string(kMaxExportBytes >> 20) + " MiB";
    if (!options.from && !options.to) {
        // --wav takes no part: the advice is the export's.
        return "the text is longer than " + limit + "; export a part of it with " +
               (options.mode == Mode::Wav ? "--export, --from and --to" : "--from and --to");
    }
    if (options.to && *options.to <= std::min(kMaxExportBytes, readBytes)) {
        return {};
    }
    return "the text is longer than " + limit + ", and the part chosen ends past its first " +
           limit + " (the most that is read): give --to " + std::to_string(kMaxExportBytes) +
           " or less";
}

} // namespace

int RunExport(const Options& options) {
    std::string bytes;
    CliReading run;
    if (!ReadInput(options.input, kMaxExportBytes + 1, bytes) ||
        !LoadCliDictionary(options, run.dictionary)) {
        return kExitIoError;
    }
    const std::string where = options.input == "-" ? "standard input" : options.input;
    const bool cut = bytes.size() > kMaxExportBytes;
    TextEncoding encoding = TextEncoding::Cp932;
    if (!ChooseInputEncoding(options, bytes, cut, encoding)) {
        return kExitIoError;
    }
    std::vector<StandIn> standIns;
    const std::string text = InputSpeechBytes(std::move(bytes), encoding, cut,
                                              std::numeric_limits<std::size_t>::max(), &standIns);
    if (cut) {
        if (const std::string problem = TooLongProblem(options, text.size()); !problem.empty()) {
            PrintError(where, problem);
            return kExitIoError;
        }
    }
    const std::size_t from = options.from.value_or(0);
    if (from > text.size()) {
        PrintError(where, "--from " + std::to_string(from) + " is past the end of the text (" +
                              std::to_string(text.size()) + " bytes)");
        return kExitIoError;
    }
    const SpeechDefaults defaults = DefaultSpeechOptions();
    run.analyzer.SetConfiguredDictionary(defaults.analyzerDictionary);
    StderrSink messages(AutomaticReadingSource(options));
    ExportRequest request(ReaderSetup(run.dictionary.View(), run.analyzer));
    request.text = text;
    // An offset inside a two-byte character moves to the next whole character; --to past the
    // end means the end.
    request.from = CharBoundaryAtOrAfter(text, from);
    request.to = CharBoundaryAtOrAfter(text, options.to.value_or(text.size()));
    request.voice = options.voice.value_or(defaults.voice);
    request.speed = options.speed.value_or(defaults.speed);
    request.readings = options.readings.value_or(defaults.readings);
    request.setup.messages = &messages;
    request.setup.aozora = ReadsAozoraOption(options, request.readings, text, run.analyzer);
    request.sounds = VoiceSoundSource(SettingsVoiceSelection());
    request.standIns = standIns;
    if (options.mode == Mode::Wav) {
        request.fitting = SampleFittingOption(options); // as the sample voice's --wav fits them
    }
    ExportProgress progress(StandardErrorIsTerminal());
    const ExportOutputs outputs{options.exportOutput, options.subtitles, options.timings};
    const auto update = [&](std::size_t done, std::size_t total) {
        progress.Update(done, total);
        return true;
    };
    const ExportText said{text, request.from, request.to, request.setup.aozora, standIns};
    const auto skipped = [&](const std::string& message) {
        progress.Clear();
        PrintSkipped(message);
    };
    // The engine of a voice: the natural voice of pass when it can speak, else the sample voice
    // (voice: 1 male, 0 female).
    const auto makeEngine = [&](std::optional<natural::NaturalPassOptions> pass,
                                std::int32_t voice) -> std::unique_ptr<yomi6::SpeechEngine> {
        if (pass) {
            pass->aozora = request.setup.aozora;
            return MakeNaturalEngine(run.dictionary.View(), *pass, skipped);
        }
        ExportRequest samples = request;
        samples.voice = voice;
        return std::make_unique<SampleEngine>(samples);
    };
    // The natural voice, when it is asked for (or the slot has it) and can speak; else the
    // sample voice. The lines in 「」 and 『』 by a voice of their own when one is chosen.
    std::optional<natural::NaturalPassOptions> naturalPass = NaturalPassFor(options, WavWorkers());
    const std::optional<EngineRequest> dialogue = DialogueRequestFor(options, WavWorkers());
    std::unique_ptr<yomi6::SpeechEngine> engine;
    if (dialogue) {
        std::unique_ptr<yomi6::SpeechEngine> narrator = makeEngine(naturalPass, request.voice);
        std::unique_ptr<yomi6::SpeechEngine> lines =
            makeEngine(NaturalPassOf(*dialogue), dialogue->maleSlot ? 1 : 0);
        engine = std::make_unique<DialogueEngine>(std::move(narrator), std::move(lines));
    } else if (naturalPass || options.splitChapters || options.chapterMarks) {
        engine = makeEngine(naturalPass, request.voice);
    }
    if (options.mode == Mode::Wav && engine != nullptr) {
        // --wav with a voice of their own for the lines: the sound the export writes.
        return WriteEngineWave(*engine, text, options.wavOutput);
    }
    ExportJobResult result;
    if (engine == nullptr) {
        result = RunExportJob(request, outputs, update);
    } else {
        result = options.splitChapters  ? RunChapterExport(*engine, said, outputs, update)
                 : options.chapterMarks ? RunMarkedExport(*engine, said, outputs, update)
                                        : RunExportJob(*engine, said, outputs, update);
    }
    progress.Clear();
    if (result.status != ExportStatus::Done) {
        PrintError(result.where.empty() ? where : result.where,
                   result.error.empty() ? "the export stopped" : result.error);
        return kExitIoError;
    }
    return kExitOk;
}

} // namespace yomi6::cli
