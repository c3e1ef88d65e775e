// The speech settings dialog "設定": speaking speed (with its up-down arrows), voice and
// repeat. The caller fills speedMs, repeatSetting and voiceSetting, runs exec and, only when it
// returns QDialog::Accepted, copies them back.
#pragma once

#include "platform/dialog_builder.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace yomi6 {

class SpinControl;

class SpeechSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SpeechSettingsDialog(QWidget* parent = nullptr);

    // InitializeControls, then the dialog runs modally. QDialog::Accepted after OK.
    int exec() override;

    // Fields bound to the controls.
    int repeatChoice = -1; // 0 "ＯＮ", 1 "ＯＦＦ", -1 neither
    int speedText = 0;     // the speed field, 0 to 1000 once accepted
    int voiceChoice = -1;  // 0 "男性", 1 "女性", -1 neither
    // The settings handed in and out.
    int speedMs = 0;       // milliseconds per unit
    int repeatSetting = 0; // 0 on, 1 off
    int voiceSetting = 0;  // nonzero male, 0 female

    // The controls, for tests.
    QLineEdit* SpeedEdit() const { return m_speedEdit; }
    SpinControl* Spin() const { return m_spin; }
    QButtonGroup* RepeatButtons() const { return m_repeat; }
    QButtonGroup* VoiceButtons() const { return m_voice; }
    QPushButton* OkButton() const;
    QPushButton* CancelButton() const;

    // The OK button and the Enter key.
    void accept() override { ConfirmEntries(); }

protected:
    void InitializeControls();
    // true: controls into fields, with validation; false: fields into controls. False when a
    // field was refused: its message has been shown and it has the focus.
    bool TransferData(bool saveAndValidate);
    void ConfirmEntries();
    // A step of the up-down control: -1 upper arrow, +1 lower arrow.
    void StepSpeed(int delta);

private:
    bool FailAt(QLineEdit* edit);

    DialogControls m_controls;
    QLineEdit* m_speedEdit;
    SpinControl* m_spin;
    QButtonGroup* m_repeat;
    QButtonGroup* m_voice;
    bool m_inSpin = false;
};

} // namespace yomi6
