// The save dialog of 音声ﾌｧｲﾙに保存: a file name and type, and boxes for the side files
// (subtitles in SRT or WebVTT, timings). It asks about replacing files itself, once for the
// sound file and every side file the boxes add: Qt's own question would name only the typed
// name, before the type's extension is added. Answered "no", the dialog stays open for another
// name, as Qt's question leaves it.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;

namespace yomi6 {

// The files an export writes: the sound file and, as the boxes say, its side files.
struct ExportTargets {
    QString audio;
    QString subtitles; // empty: none
    QString timings;   // empty: none
    // One file of each kind per chapter, named after these (OUT-01-TITLE.wav), and a playlist
    // beside them instead of the one sound file.
    bool chapters = false;
    // The chapters marked inside the one sound file, and a cue sheet beside it (an .m4b has
    // them always).
    bool marks = false;

    // The names to ask about replacing: the files, or with chapters the playlist (the
    // chapters' names are known only from the text).
    QStringList All() const;
};

class ExportFileDialog : public QFileDialog {
public:
    // subtitleType: the subtitle format offered first (the one chosen last in the run).
    ExportFileDialog(QWidget* parent, int subtitleType);

    // The files for the name typed or picked, with the chosen type's extension when the name
    // has none of the export's.
    ExportTargets Targets(const QString& chosen) const;
    // The subtitle format chosen, to be offered again at the next export of the run.
    int SubtitleType() const;

protected:
    void accept() override;

private:
    QCheckBox* m_subtitles = nullptr;
    QComboBox* m_subtitleType = nullptr;
    QCheckBox* m_timings = nullptr;
    QCheckBox* m_chapters = nullptr;
    QCheckBox* m_marks = nullptr;
};

} // namespace yomi6
