// The speech settings dialog "設定": speaking speed (with its up-down arrows), voice and
// repeat. It is made with the settings to show, and Settings() hands them out: changed only
// once OK has accepted them.
#pragma once

#include "platform/dialog_builder.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace yomi6 {

class SpinControl;

// What the dialog shows and hands out.
struct SpeechDialogSettings {
    int speedMs = 0; // milliseconds per unit
    int repeat = 0;  // 0 on, 1 off
    int voice = 0;   // nonzero male, 0 female
};

class SpeechSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SpeechSettingsDialog(const SpeechDialogSettings& settings = {},
                                  QWidget* parent = nullptr);

    // Shows the settings it was made with (or last accepted), then runs modally.
    // QDialog::Accepted after OK.
    int exec() override;

    // The settings it was made with, or those the user accepted with OK.
    const SpeechDialogSettings& Settings() const { return m_settings; }

    // The controls, for tests.
    QLineEdit* SpeedEdit() const { return m_speedEdit; }
    SpinControl* Spin() const { return m_spin; }
    QButtonGroup* RepeatButtons() const { return m_repeat; }
    QButtonGroup* VoiceButtons() const { return m_voice; }
    QPushButton* OkButton() const;
    QPushButton* CancelButton() const;

    // The OK button and the Enter key.
    void accept() override { ConfirmEntries(); }

private:
    void ShowSettings();
    // The choices into the controls.
    void ShowChoices();
    // The controls into the choices, the speed checked. False when it was refused: its message
    // has been shown and the field has the focus.
    bool ReadChoices();
    void ConfirmEntries();
    // A step of the up-down control: -1 upper arrow, +1 lower arrow.
    void StepSpeed(int delta);
    bool FailAt(QLineEdit* edit);

    SpeechDialogSettings m_settings;
    // What the controls show.
    int m_repeatChoice = -1; // 0 "ＯＮ", 1 "ＯＦＦ", -1 neither
    int m_speedText = 0;     // the speed field, 0 to 1000 once accepted
    int m_voiceChoice = -1;  // 0 "男性", 1 "女性", -1 neither
    DialogControls m_controls;
    QLineEdit* m_speedEdit;
    SpinControl* m_spin;
    QButtonGroup* m_repeat;
    QButtonGroup* m_voice;
    bool m_inSpin = false;
};

} // namespace yomi6
