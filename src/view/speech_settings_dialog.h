// The speech settings dialog "設定": speaking speed (with its up-down arrows), voice and
// repeat. The caller fills m_nSpeed, m_nRepeat and m_nVoice, runs DoModal and, only when it
// returns QDialog::Accepted, copies them back.
#pragma once

#include "view/dialog_builder.h"

#include <QDialog>

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace yomi6 {

class CUpDownControl;

class CSpeechSettingsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CSpeechSettingsDlg(QWidget* parent = nullptr);

    // OnInitDialog, then the dialog runs modally. QDialog::Accepted after OK.
    int DoModal();

    // Fields bound to the controls.
    int m_nRepeatButton = -1; // 0 "ＯＮ", 1 "ＯＦＦ", -1 neither
    int m_nSpeedText = 0;     // the speed field, 0 to 1000 once accepted
    int m_nVoiceButton = -1;  // 0 "男性", 1 "女性", -1 neither
    // The settings handed in and out.
    int m_nSpeed = 0;  // milliseconds per unit
    int m_nRepeat = 0; // 0 on, 1 off
    int m_nVoice = 0;  // nonzero male, 0 female

    // The controls, for tests.
    QLineEdit* SpeedEdit() const { return m_speedEdit; }
    CUpDownControl* Spin() const { return m_spin; }
    QButtonGroup* RepeatButtons() const { return m_repeat; }
    QButtonGroup* VoiceButtons() const { return m_voice; }
    QPushButton* OkButton() const;
    QPushButton* CancelButton() const;

    // The OK button and the Enter key.
    void accept() override { OnOK(); }

protected:
    void OnInitDialog();
    // true: controls into fields, with validation; false: fields into controls. False when a
    // field was refused: its message has been shown and it has the focus.
    bool UpdateData(bool saveAndValidate);
    void OnOK();
    // A step of the up-down control: -1 upper arrow, +1 lower arrow.
    void OnDeltaposSpin(int delta);

private:
    bool FailAt(QLineEdit* edit);

    DialogControls m_controls;
    QLineEdit* m_speedEdit;
    CUpDownControl* m_spin;
    QButtonGroup* m_repeat;
    QButtonGroup* m_voice;
    bool m_inSpin = false;
};

} // namespace yomi6
