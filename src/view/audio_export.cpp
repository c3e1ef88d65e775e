#include "view/audio_export.h"

#include "platform/message_box.h"
#include "speech/export_job.h"
#include "speech/speech_state.h"
#include "speech/voice_selection.h"
#include "speech/voice_sounds.h"
#include "text/speech_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <mutex>
#include <thread>

namespace yomi6 {

namespace {

struct FileType {
    const char* filter;
    const char* extension;
};

constexpr FileType kFileTypes[] = {
    {"WAVE (*.wav)", ".wav"},       {"FLAC (*.flac)", ".flac"}, {"Ogg Vorbis (*.ogg)", ".ogg"},
    {"Ogg Opus (*.opus)", ".opus"}, {"MP3 (*.mp3)", ".mp3"},
};

// The subtitle formats offered beside the subtitles box, SRT first.
struct SubtitleType {
    const char* label;
    const char* extension;
};

constexpr SubtitleType kSubtitleTypes[] = {
    {"SRT (.srt)", ".srt"},
    {"WebVTT (.vtt)", ".vtt"},
};

// The subtitle format chosen last, offered again for the rest of the run.
int g_subtitleType = 0;

constexpr int kProgressSteps = 1000;
constexpr int kProgressDelayMs = 500;
constexpr int kPollMs = 40;

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

// The name with the chosen type's extension when it has none of the export's.
QString WithExtension(const QString& name, const QString& filter) {
    if (AudioFormatForPath(name.toStdString())) {
        return name;
    }
    for (const FileType& type : kFileTypes) {
        if (filter == QLatin1String(type.filter)) {
            return name + QLatin1String(type.extension);
        }
    }
    return name + QLatin1String(".wav");
}

QString SideName(const QString& audio, const char* extension) {
    const QFileInfo info(audio);
    return info.dir().filePath(info.completeBaseName() + QLatin1String(extension));
}

} // namespace

QString AudioExportFilters() {
    QStringList filters;
    for (const FileType& type : kFileTypes) {
        filters << QLatin1String(type.filter);
    }
    return filters.join(QLatin1String(";;"));
}

QString ExportAudioFiles(QWidget* parent, const QString& text, const QString& audio,
                         const QString& subtitles, const QString& timings, bool* cancelled) {
    *cancelled = false;
    const std::u16string utf16(reinterpret_cast<const char16_t*>(text.utf16()),
                               static_cast<std::size_t>(text.size()));
    const std::string bytes = SpeechBytes(utf16);
    CollectingSink messages;
    ExportRequest request;
    request.text = bytes;
    request.voice = g_speech.voice;
    request.speed = g_speech.speed;
    request.readings = g_speech.readings;
    request.setup.messages = &messages;
    request.setup.aozora = g_speech.readings == kReadingsAutomatic &&
                           ReadsAsAozora(g_speech.aozora, std::string_view(bytes));
    // The voices the slots speak with now, copied for the worker thread.
    request.sounds = VoiceSoundSource(g_voices);
    const ExportOutputs outputs{audio.toStdString(), subtitles.toStdString(),
                                timings.toStdString()};

    std::atomic<std::size_t> done{0};
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    ExportJobResult result;
    std::thread worker([&] {
        result = RunExportJob(request, outputs, [&](std::size_t d, std::size_t) {
            done = d;
            return !cancel.load();
        });
        finished = true;
    });

    QProgressDialog progress(QStringLiteral("音声ﾌｧｲﾙに保存しています..."),
                             QStringLiteral("キャンセル"), 0, kProgressSteps, parent);
    progress.setWindowTitle(QStringLiteral("音声ﾌｧｲﾙに保存"));
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
        const std::size_t total = std::max<std::size_t>(bytes.size(), 1);
        progress.setValue(static_cast<int>(done * kProgressSteps / total));
    });
    poll.start();
    loop.exec();
    worker.join();
    progress.close();

    if (result.status == ExportStatus::Stopped) {
        *cancelled = true;
        return {};
    }
    if (result.status == ExportStatus::Failed) {
        return QString::fromStdString(result.where) + QStringLiteral(": ") +
               QString::fromStdString(result.error);
    }
    if (const QString said = messages.Text(); !said.isEmpty()) {
        ShowMessage(parent, said, MessageBoxType::IconExclamation);
    }
    return {};
}

bool ExportAudioWithDialogs(QWidget* parent, const QString& text) {
    QFileDialog dialog(parent, QStringLiteral("音声ﾌｧｲﾙに保存"));
    dialog.setObjectName(QStringLiteral("audioExportDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(AudioExportFilters().split(QLatin1String(";;")));
    auto* subtitles = new QCheckBox(QStringLiteral("字幕も保存する(&T)"), &dialog);
    subtitles->setObjectName(QStringLiteral("subtitles"));
    auto* subtitleType = new QComboBox(&dialog);
    subtitleType->setObjectName(QStringLiteral("subtitleType"));
    for (const SubtitleType& type : kSubtitleTypes) {
        subtitleType->addItem(QLatin1String(type.label));
    }
    subtitleType->setCurrentIndex(g_subtitleType);
    subtitleType->setEnabled(false);
    QObject::connect(subtitles, &QCheckBox::toggled, subtitleType, &QComboBox::setEnabled);
    auto* timings = new QCheckBox(QStringLiteral("タイミングも保存する (.json)(&J)"), &dialog);
    timings->setObjectName(QStringLiteral("timings"));
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(subtitles, row, 0, 1, 2);
        grid->addWidget(subtitleType, row, 2, 1, -1);
        grid->addWidget(timings, row + 1, 0, 1, -1);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    const QString audio =
        WithExtension(dialog.selectedFiles().front(), dialog.selectedNameFilter());
    g_subtitleType = std::clamp(subtitleType->currentIndex(), 0,
                                static_cast<int>(std::size(kSubtitleTypes)) - 1);
    bool cancelled = false;
    const QString error = ExportAudioFiles(
        parent, text, audio,
        subtitles->isChecked() ? SideName(audio, kSubtitleTypes[g_subtitleType].extension)
                               : QString(),
        timings->isChecked() ? SideName(audio, ".json") : QString(), &cancelled);
    if (!error.isEmpty()) {
        ShowMessage(parent, error, MessageBoxType::IconExclamation);
        return false;
    }
    return !cancelled;
}

} // namespace yomi6
