// The voice dialog: the voices the program knows, which one each slot (the male and the female
// voice that F5 switches between) speaks with (the natural voice in the style chosen beside
// it, with its pitch, intonation and strength of the style below, and its pauses at the marks of
// the text), and for a voice folder what it
// holds, what is missing and what cannot be used, and why; for the natural voice whether its engine
// and file are there. The folder's report is loaded in the background, with progress shown.
#pragma once

#include "settings/pause_table.h"
#include "sound/voice_loader.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace yomi6 {

class VoiceLibrary;

class VoiceDialog : public QDialog {
    Q_OBJECT
public:
    // Shows and changes the choice of library, which outlives the dialog.
    explicit VoiceDialog(VoiceLibrary& library, QWidget* parent = nullptr);

    QListWidget* VoiceList() const { return m_list; }
    QComboBox* SlotBox(bool male) const { return male ? m_male : m_female; }
    // The style of the slot's natural voice; enabled while the slot has the natural voice.
    QComboBox* StyleBox(bool male) const { return male ? m_maleStyle : m_femaleStyle; }
    // The natural voice's controls (both slots'); enabled while a slot has the natural voice.
    QSpinBox* PitchBox() const { return m_pitch; }
    QDoubleSpinBox* IntonationBox() const { return m_intonation; }
    QSpinBox* StyleWeightBox() const { return m_styleWeight; }
    // The natural voice's pause at a mark, in milliseconds; enabled with the controls.
    QSpinBox* PauseBox(PauseMark mark) const {
        return m_pauseBoxes[static_cast<std::size_t>(mark)];
    }
    // Who says the lines in 「」 and 『』 (DialogueVoice as the item's data).
    QComboBox* DialogueBox() const { return m_dialogue; }
    QPlainTextEdit* Report() const { return m_report; }
    QProgressBar* Progress() const { return m_progress; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* RecordButton() const { return m_record; }
    bool IsLoading() const { return m_loader.IsLoading(); }

    // Adds a folder to the list as the add button does after its folder dialog. A folder whose
    // name the settings file cannot hold is refused with a message (false).
    bool AddFolder(const QString& folder);

signals:
    // The report of the selected folder is shown.
    void reportShown();

private:
    void Fill(const QString& select);
    void ShowSelectedVoice();
    void AddVoiceFolder();
    void RecordVoice();
    void AcceptChoice();
    // The value the slot's boxes choose, and the boxes set to a stored value.
    QString SlotChoice(bool male) const;
    void SelectSlot(bool male, const QString& value);
    void ShowNaturalVoice(const QString& value);
    // The controls enabled while either slot box holds the natural voice.
    void EnableControls();

    VoiceLibrary& m_library;
    QListWidget* m_list;
    QComboBox* m_male;
    QComboBox* m_female;
    QComboBox* m_maleStyle;
    QComboBox* m_femaleStyle;
    QComboBox* m_dialogue;
    QGroupBox* m_controls;
    QSpinBox* m_pitch;
    QDoubleSpinBox* m_intonation;
    QSpinBox* m_styleWeight;
    QGroupBox* m_pauses;
    std::array<QSpinBox*, kPauseMarkCount> m_pauseBoxes{};
    QPlainTextEdit* m_report;
    QProgressBar* m_progress;
    QPushButton* m_add;
    QPushButton* m_record;
    QStringList m_added;
    VoiceLoader m_loader;
};

} // namespace yomi6
