#include "speaking/audio_export.h"
#include "platform/ui_text.h"

#include "analysis/analyzer_loader.h"
#include "dictionary/dictionary_view.h"
#include "export/chapter_split.h"
#include "export/cue_sheet.h"
#include "export/dialogue_engine.h"
#include "export/engine_factory.h"
#include "export/export_job.h"
#include "export/m4b_file.h"
#include "export/marked_export.h"
#include "export/sample_engine.h"
#include "platform/message_box.h"
#include "playback/speech_state.h"
#include "playback/voice_sounds.h"
#include "reading/reading_mode.h"
#include "speaking/app_context.h"
#include "speaking/audio_export_dialog.h"
#include "speaking/audio_export_strings.h"
#include "speaking/natural_export.h"
#include "text/speech_text.h"
#include "voice/voice_selection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QMainWindow>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace yomi6 {

namespace {

namespace texts = export_texts;

constexpr int kProgressSteps = 1000;
constexpr int kProgressDelayMs = 500;
constexpr int kPollMs = 40;
constexpr qint64 kEstimateAfterMs = 300; // the pace of the first moments says too little

// Messages of the reading (an analyzer that cannot be loaded), said after the export.
class CollectingSink : public IMessageSink {
public:
    void ShowMessage(std::string_view text, MessageBoxType) override {
        const std::lock_guard lock(m_mutex);
        m_text = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    QString Text() {
        const std::lock_guard lock(m_mutex);
        return m_text;
    }

private:
    std::mutex m_mutex;
    QString m_text;
};

// The progress dialog's text when done of total bytes are rendered after elapsedMs: how long
// the rest takes at the pace so far, once there is a pace to tell.
QString ProgressText(std::size_t done, std::size_t total, qint64 elapsedMs) {
    const QString head = Tr(texts::kProgress) + QLatin1Char('\n');
    if (done == 0 || elapsedMs < kEstimateAfterMs) {
        return head + Tr(texts::kEstimating);
    }
    const double rest = static_cast<double>(total - std::min(done, total));
    const qint64 seconds =
        std::llround(static_cast<double>(elapsedMs) * rest / static_cast<double>(done) / 1000.0);
    if (seconds < 60) {
        return head + Tr(texts::kRemainingSeconds).arg(std::max<qint64>(seconds, 1));
    }
    if (seconds < 3600) {
        return head + Tr(texts::kRemainingMinutes).arg(seconds / 60).arg(seconds % 60);
    }
    return head + Tr(texts::kRemainingHours).arg(seconds / 3600).arg(seconds % 3600 / 60);
}

// Says in the main window's status bar where the export was saved.
void SayWhereSaved(QWidget* parent, const ExportTargets& targets, int soundFiles) {
    auto* main = parent != nullptr ? qobject_cast<QMainWindow*>(parent->window()) : nullptr;
    if (main == nullptr) {
        return;
    }
    if (targets.chapters) {
        const QString list = QString::fromStdString(PlaylistPath(targets.audio.toStdString()));
        main->statusBar()->showMessage(
            Tr(texts::kSavedChapters)
                .arg(QDir::toNativeSeparators(QFileInfo(list).absoluteFilePath()))
                .arg(soundFiles));
        return;
    }
    QStringList sides;
    const QString cue = targets.marks
                            ? QString::fromStdString(CueSheetPath(targets.audio.toStdString()))
                            : QString();
    for (const QString& side : {targets.subtitles, targets.timings, cue}) {
        if (!side.isEmpty() && QFileInfo::exists(side)) {
            sides << QFileInfo(side).fileName();
        }
    }
    const QString beside = sides.isEmpty()
                               ? QString()
                               : Tr(texts::kSavedBeside).arg(sides.join(Tr(texts::kSideSeparator)));
    main->statusBar()->showMessage(
        Tr(texts::kSaved)
            .arg(QDir::toNativeSeparators(QFileInfo(targets.audio).absoluteFilePath()), beside));
}

// What an export says and where it goes.
struct ExportRun {
    const ExportRequest& request; // the sample voices' request, the text, the reading
    ExportText said;
    ExportOutputs outputs;
    bool chapters = false; // one file per chapter and a playlist
    bool marks = false;    // one file with chapter marks, and a cue sheet
};

// Runs the export with the natural voice when naturalVoice is given (its sentences it could not
// say counted in skipped), else with the samples; soundFiles receives how many sound files it
// wrote.
// The lines in 「」 and 『』 by lines's voice when it is given.
ExportJobResult RunExport(const ExportRun& run, const natural::NaturalPassOptions* naturalVoice,
                          const std::optional<NaturalExportVoice::Lines>& lines,
                          const DictionaryView& dictionary, const ExportProgressCallback& progress,
                          const std::atomic<bool>& cancel, std::atomic<int>& skipped,
                          int& soundFiles) {
    const auto make = [&](const natural::NaturalPassOptions* natural,
                          VoiceSlot slot) -> std::unique_ptr<SpeechEngine> {
        if (natural != nullptr) {
            return MakeNaturalEngine(dictionary, *natural, [&](const std::string&) { ++skipped; });
        }
        ExportRequest samples = run.request;
        samples.voice = FlagOfVoice(slot);
        return std::make_unique<SampleEngine>(samples);
    };
    const VoiceSlot slot = run.request.voice != 0 ? VoiceSlot::Male : VoiceSlot::Female;
    std::unique_ptr<SpeechEngine> engine = make(naturalVoice, slot);
    if (lines) {
        std::unique_ptr<SpeechEngine> said =
            make(lines->options ? &*lines->options : nullptr, lines->slot);
        engine = std::make_unique<DialogueEngine>(std::move(engine), std::move(said));
    }
    if (!run.chapters) {
        soundFiles = 1;
        return run.marks
                   ? RunMarkedExport(*engine, run.said, run.outputs, progress, nullptr, {}, &cancel)
                   : RunExportJob(*engine, run.said, run.outputs, progress);
    }
    std::vector<std::string> written;
    ExportJobResult result = RunChapterExport(*engine, run.said, run.outputs, progress, &written);
    soundFiles = static_cast<int>(std::count_if(written.begin(), written.end(), [](const auto& p) {
        return AudioFormatForPath(p).has_value();
    }));
    return result;
}

} // namespace

QString ExportAudioFiles(QWidget* parent, const SpeechPreferences& preferences,
                         const VoiceSelection& voices, NaturalExportVoice natural,
                         const ReaderSetup& setup, const QString& text,
                         const ExportTargets& targets, ExportOutcome* outcome) {
    *outcome = {};
    if (targets.marks && IsM4bPath(targets.audio.toStdString()) &&
        FindProgramOnPath("ffmpeg").empty()) {
        return Tr(texts::kNoFfmpeg);
    }
    const std::u16string utf16(reinterpret_cast<const char16_t*>(text.utf16()),
                               static_cast<std::size_t>(text.size()));
    std::vector<StandIn> standIns;
    const std::string bytes =
        SpeechBytes(utf16, std::numeric_limits<std::size_t>::max(), &standIns);
    CollectingSink messages;
    ExportRequest request(setup);
    request.text = bytes;
    request.voice = FlagOfVoice(preferences.voice);
    request.speed = preferences.speed;
    request.readings = preferences.readings;
    request.setup.messages = &messages;
    request.setup.aozora =
        ResolveReadingMode(preferences.readings, setup) == ReadingMode::Automatic &&
        ReadsAsAozora(preferences.aozora, std::string_view(bytes));
    // The voices the slots speak with now, copied for the worker thread.
    request.sounds = VoiceSoundSource(voices);
    request.standIns = standIns;
    const ExportOutputs outputs{targets.audio.toStdString(), targets.subtitles.toStdString(),
                                targets.timings.toStdString()};

    // The slot's natural voice, when it has one that can speak; else its sample voice, after
    // saying what is missing.
    if (!natural.problem.isEmpty()) {
        ShowMessage(parent, natural.problem, MessageBoxType::IconExclamation);
    }
    for (std::optional<natural::NaturalPassOptions>* options :
         {&natural.options, natural.lines ? &natural.lines->options : nullptr}) {
        if (options != nullptr && options->has_value()) {
            (*options)->synthesis.analyzerFolder = setup.analyzer->DictionaryFolder();
            (*options)->aozora = request.setup.aozora;
        }
    }

    std::atomic<std::size_t> done{0};
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    std::atomic<int> skipped{0};
    ExportJobResult result;
    int soundFiles = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    std::thread worker([&] {
        const auto progressed = [&](std::size_t d, std::size_t) {
            done = d;
            return !cancel.load();
        };
        const ExportRun run{request,
                            {bytes, 0, bytes.size(), request.setup.aozora, standIns},
                            outputs,
                            targets.chapters,
                            targets.marks};
        result = RunExport(run, natural.options ? &*natural.options : nullptr, natural.lines,
                           setup.dictionary, progressed, cancel, skipped, soundFiles);
        finished = true;
    });

    const std::size_t total = std::max<std::size_t>(bytes.size(), 1);
    QProgressDialog progress(ProgressText(0, total, 0), Tr(texts::kCancel), 0, kProgressSteps,
                             parent);
    progress.setWindowTitle(Tr(texts::kCaption));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressDelayMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&progress, &QProgressDialog::canceled, [&] { cancel = true; });
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (finished) {
            loop.quit();
            return;
        }
        if (progress.wasCanceled()) {
            cancel = true;
        }
        const std::size_t now = done;
        progress.setValue(static_cast<int>(std::min(now, total) * kProgressSteps / total));
        progress.setLabelText(ProgressText(now, total, elapsed.elapsed()));
    });
    poll.start();
    loop.exec();
    worker.join();
    progress.close();

    if (result.status == ExportStatus::Stopped) {
        outcome->cancelled = true;
        return {};
    }
    if (result.status == ExportStatus::Failed) {
        if (result.nothingToExport) {
            return Tr(texts::kNothingToExport);
        }
        const QString where = result.where.empty()
                                  ? QString()
                                  : QString::fromStdString(result.where) + QStringLiteral(": ");
        return Tr(texts::kFailed).arg(where + QString::fromStdString(result.error));
    }
    outcome->soundFiles = soundFiles;
    if (skipped > 0) {
        ShowMessage(parent, Tr(texts::kSkipped).arg(skipped.load()),
                    MessageBoxType::IconExclamation);
    }
    if (const QString said = messages.Text(); !said.isEmpty()) {
        ShowMessage(parent, said, MessageBoxType::IconExclamation);
    }
    return {};
}

bool ExportAudioWithDialogs(QWidget* parent, AppContext& context, const QString& text,
                            const QString& suggested) {
    ExportFileDialog dialog(parent, context.SubtitleType());
    dialog.setDirectory(QFileInfo(suggested).absolutePath());
    dialog.selectFile(QFileInfo(suggested).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    const ExportTargets targets = dialog.Targets(dialog.selectedFiles().front());
    context.SetSubtitleType(dialog.SubtitleType());
    ExportOutcome outcome;
    const QString error =
        ExportAudioFiles(parent, context.Preferences(), context.Voices(),
                         NaturalExportVoiceFor(context.Library(), context.Preferences()),
                         context.ReadingSetup(), text, targets, &outcome);
    if (!error.isEmpty()) {
        ShowMessage(parent, error, MessageBoxType::IconExclamation);
        return false;
    }
    if (!outcome.cancelled) {
        SayWhereSaved(parent, targets, outcome.soundFiles);
    }
    return !outcome.cancelled;
}

} // namespace yomi6
