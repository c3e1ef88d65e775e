#include "view/audio_export.h"

#include "platform/message_box.h"
#include "speech/export_job.h"
#include "speech/speech_state.h"
#include "speech/voice_selection.h"
#include "speech/voice_sounds.h"
#include "text/speech_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
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

// What the user reads (UTF-8).
namespace texts {
constexpr const char* kCaption = "音声ﾌｧｲﾙに保存";
// %1: the files that exist already, one a line.
constexpr const char* kAskReplace = "次のﾌｧｲﾙはすでにあります。置き換えますか?\n\n%1";
constexpr const char* kReplace = "置き換える(&Y)";
constexpr const char* kDoNotReplace = "キャンセル";
// %1: the sound file's full path; %2: the side files' names after it, or nothing.
constexpr const char* kSaved = "音声ﾌｧｲﾙを保存しました: %1%2";
constexpr const char* kSavedBeside = " (%1も)";
constexpr const char* kSideSeparator = "、";
constexpr const char* kNothingToExport = "読み上げる文字がないため、音声ﾌｧｲﾙに保存できません。";
// %1: the file and the reason, as the export gives them.
constexpr const char* kFailed = "音声ﾌｧｲﾙに保存できませんでした。\n%1";
} // namespace texts

QString Tr(const char* utf8) {
    return QString::fromUtf8(utf8);
}

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

// The files an export writes: the sound file and, as the boxes say, its side files.
struct ExportTargets {
    QString audio;
    QString subtitles; // empty: none
    QString timings;   // empty: none

    QStringList All() const {
        QStringList all{audio};
        for (const QString& side : {subtitles, timings}) {
            if (!side.isEmpty()) {
                all << side;
            }
        }
        return all;
    }
};

// The save dialog of the export, with the side files' boxes below its file type. It asks
// about replacing files itself, once for the sound file and every side file the boxes add:
// Qt's own question would name only the typed name, before its extension is added. Answered
// "no", the dialog stays open for another name, as Qt's question leaves it.
class ExportFileDialog : public QFileDialog {
public:
    explicit ExportFileDialog(QWidget* parent) : QFileDialog(parent, Tr(texts::kCaption)) {
        setObjectName(QStringLiteral("audioExportDialog"));
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite);
        setAcceptMode(QFileDialog::AcceptSave);
        setNameFilters(AudioExportFilters().split(QLatin1String(";;")));
        m_subtitles = new QCheckBox(QStringLiteral("字幕も保存する(&T)"), this);
        m_subtitles->setObjectName(QStringLiteral("subtitles"));
        m_subtitleType = new QComboBox(this);
        m_subtitleType->setObjectName(QStringLiteral("subtitleType"));
        for (const SubtitleType& type : kSubtitleTypes) {
            m_subtitleType->addItem(QLatin1String(type.label));
        }
        m_subtitleType->setCurrentIndex(g_subtitleType);
        m_subtitleType->setEnabled(false);
        connect(m_subtitles, &QCheckBox::toggled, m_subtitleType, &QComboBox::setEnabled);
        m_timings = new QCheckBox(QStringLiteral("タイミングも保存する (.json)(&J)"), this);
        m_timings->setObjectName(QStringLiteral("timings"));
        if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
            const int row = grid->rowCount();
            grid->addWidget(m_subtitles, row, 0, 1, 2);
            grid->addWidget(m_subtitleType, row, 2, 1, -1);
            grid->addWidget(m_timings, row + 1, 0, 1, -1);
        }
    }

    int ChosenSubtitleType() const {
        return std::clamp(m_subtitleType->currentIndex(), 0,
                          static_cast<int>(std::size(kSubtitleTypes)) - 1);
    }

    // The files for the name typed or picked.
    ExportTargets Targets(const QString& chosen) const {
        ExportTargets targets;
        targets.audio = WithExtension(chosen, selectedNameFilter());
        if (m_subtitles->isChecked()) {
            targets.subtitles =
                SideName(targets.audio, kSubtitleTypes[ChosenSubtitleType()].extension);
        }
        if (m_timings->isChecked()) {
            targets.timings = SideName(targets.audio, ".json");
        }
        return targets;
    }

protected:
    void accept() override {
        const QStringList chosen = selectedFiles();
        // A folder's name opens the folder, as the dialog does by itself.
        if (chosen.isEmpty() || QFileInfo(chosen.front()).isDir()) {
            QFileDialog::accept();
            return;
        }
        QStringList existing;
        for (const QString& path : Targets(chosen.front()).All()) {
            const QFileInfo info(path);
            if (info.exists() || info.isSymLink()) {
                existing << QDir::toNativeSeparators(info.absoluteFilePath());
            }
        }
        if (!existing.isEmpty()) {
            QMessageBox box(QMessageBox::Warning, Tr(texts::kCaption),
                            Tr(texts::kAskReplace).arg(existing.join(QLatin1Char('\n'))),
                            QMessageBox::Yes | QMessageBox::No, this);
            box.setObjectName(QStringLiteral("replaceExportFiles"));
            box.button(QMessageBox::Yes)->setText(Tr(texts::kReplace));
            box.button(QMessageBox::No)->setText(Tr(texts::kDoNotReplace));
            box.setDefaultButton(QMessageBox::No);
            if (box.exec() != QMessageBox::Yes) {
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    QCheckBox* m_subtitles = nullptr;
    QComboBox* m_subtitleType = nullptr;
    QCheckBox* m_timings = nullptr;
};

// Says in the main window's status bar where the export was saved.
void SayWhereSaved(QWidget* parent, const ExportTargets& targets) {
    auto* main = parent != nullptr ? qobject_cast<QMainWindow*>(parent->window()) : nullptr;
    if (main == nullptr) {
        return;
    }
    QStringList sides;
    for (const QString& side : {targets.subtitles, targets.timings}) {
        if (!side.isEmpty()) {
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
        if (result.nothingToExport) {
            return Tr(texts::kNothingToExport);
        }
        return Tr(texts::kFailed)
            .arg(QString::fromStdString(result.where) + QStringLiteral(": ") +
                 QString::fromStdString(result.error));
    }
    if (const QString said = messages.Text(); !said.isEmpty()) {
        ShowMessage(parent, said, MessageBoxType::IconExclamation);
    }
    return {};
}

bool ExportAudioWithDialogs(QWidget* parent, const QString& text) {
    ExportFileDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    const ExportTargets targets = dialog.Targets(dialog.selectedFiles().front());
    g_subtitleType = dialog.ChosenSubtitleType();
    bool cancelled = false;
    const QString error = ExportAudioFiles(parent, text, targets.audio, targets.subtitles,
                                           targets.timings, &cancelled);
    if (!error.isEmpty()) {
        ShowMessage(parent, error, MessageBoxType::IconExclamation);
        return false;
    }
    if (!cancelled) {
        SayWhereSaved(parent, targets);
    }
    return !cancelled;
}

} // namespace yomi6
