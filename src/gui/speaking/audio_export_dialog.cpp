#include "speaking/audio_export_dialog.h"
#include "platform/ui_text.h"

#include "export/audio_file_writer.h"
#include "export/chapter_split.h"
#include "export/cue_sheet.h"
#include "export/marked_export.h"
#include "speaking/audio_export.h"
#include "speaking/audio_export_strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <iterator>

namespace yomi6 {

namespace {

struct FileType {
    const char* filter;
    const char* extension;
};

constexpr FileType kFileTypes[] = {
    {"WAVE (*.wav)", ".wav"},       {"FLAC (*.flac)", ".flac"}, {"Ogg Vorbis (*.ogg)", ".ogg"},
    {"Ogg Opus (*.opus)", ".opus"}, {"MP3 (*.mp3)", ".mp3"},    {"M4B (*.m4b)", ".m4b"},
};

// The subtitle formats offered beside the subtitles box, SRT first.
struct SubtitleFormatType {
    const char* label;
    const char* extension;
};

constexpr SubtitleFormatType kSubtitleTypes[] = {
    {"SRT (.srt)", ".srt"},
    {"WebVTT (.vtt)", ".vtt"},
};

QString WithExtension(const QString& name, const QString& filter) {
    if (AudioFormatForPath(name.toStdString()) || IsM4bPath(name.toStdString())) {
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

QStringList ExportTargets::All() const {
    if (chapters) {
        return {QString::fromStdString(PlaylistPath(audio.toStdString()))};
    }
    QStringList all{audio};
    if (marks) {
        all << QString::fromStdString(CueSheetPath(audio.toStdString()));
    }
    for (const QString& side : {subtitles, timings}) {
        if (!side.isEmpty()) {
            all << side;
        }
    }
    return all;
}

ExportFileDialog::ExportFileDialog(QWidget* parent, int subtitleType)
    : QFileDialog(parent, Tr(export_texts::kCaption)) {
    setObjectName(QStringLiteral("audioExportDialog"));
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::DontConfirmOverwrite);
    setAcceptMode(QFileDialog::AcceptSave);
    setNameFilters(AudioExportFilters().split(QLatin1String(";;")));
    m_subtitles = new QCheckBox(Tr(export_texts::kSubtitles), this);
    m_subtitles->setObjectName(QStringLiteral("subtitles"));
    m_subtitleType = new QComboBox(this);
    m_subtitleType->setObjectName(QStringLiteral("subtitleType"));
    for (const SubtitleFormatType& type : kSubtitleTypes) {
        m_subtitleType->addItem(QLatin1String(type.label));
    }
    m_subtitleType->setCurrentIndex(subtitleType);
    m_subtitleType->setEnabled(false);
    connect(m_subtitles, &QCheckBox::toggled, m_subtitleType, &QComboBox::setEnabled);
    m_timings = new QCheckBox(Tr(export_texts::kTimings), this);
    m_timings->setObjectName(QStringLiteral("timings"));
    m_chapters = new QCheckBox(Tr(export_texts::kChapters), this);
    m_chapters->setObjectName(QStringLiteral("chapters"));
    m_marks = new QCheckBox(Tr(export_texts::kMarks), this);
    m_marks->setObjectName(QStringLiteral("marks"));
    // Files per chapter or one marked file: one way at a time.
    connect(m_chapters, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            m_marks->setChecked(false);
        }
    });
    connect(m_marks, &QCheckBox::toggled, this, [this](bool on) {
        if (on) {
            m_chapters->setChecked(false);
        }
    });
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        const int row = grid->rowCount();
        grid->addWidget(m_subtitles, row, 0, 1, 2);
        grid->addWidget(m_subtitleType, row, 2, 1, -1);
        grid->addWidget(m_timings, row + 1, 0, 1, -1);
        grid->addWidget(m_chapters, row + 2, 0, 1, -1);
        grid->addWidget(m_marks, row + 3, 0, 1, -1);
    }
}

int ExportFileDialog::SubtitleType() const {
    return std::clamp(m_subtitleType->currentIndex(), 0,
                      static_cast<int>(std::size(kSubtitleTypes)) - 1);
}

ExportTargets ExportFileDialog::Targets(const QString& chosen) const {
    ExportTargets targets;
    targets.audio = WithExtension(chosen, selectedNameFilter());
    if (m_subtitles->isChecked()) {
        targets.subtitles = SideName(targets.audio, kSubtitleTypes[SubtitleType()].extension);
    }
    if (m_timings->isChecked()) {
        targets.timings = SideName(targets.audio, ".json");
    }
    targets.marks = IsM4bPath(targets.audio.toStdString()) || m_marks->isChecked();
    targets.chapters = !targets.marks && m_chapters->isChecked();
    return targets;
}

void ExportFileDialog::accept() {
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
        QMessageBox box(QMessageBox::Warning, Tr(export_texts::kCaption),
                        Tr(export_texts::kAskReplace).arg(existing.join(QLatin1Char('\n'))),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.button(QMessageBox::Yes)->setText(Tr(export_texts::kReplace));
        box.button(QMessageBox::No)->setText(Tr(export_texts::kCancel));
        box.setDefaultButton(QMessageBox::No);
        if (box.exec() != QMessageBox::Yes) {
            return;
        }
    }
    QFileDialog::accept();
}

} // namespace yomi6
