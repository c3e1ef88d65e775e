// The speech settings dialog "設定": speaking speed (with its up-down arrows), voice and
// repeat. It is made with the settings to show, and Settings() hands them out: changed only
// once OK has accepted them.
#pragma once

#include "voice/voice_slot.h"

#include <QDialog>

#include <optional>

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace yomi6 {

class SpinControl;

// What the dialog shows and hands out.
struct SpeechDialogSettings {
    int speedMs = 0; // milliseconds per unit
    bool repeat = false;
    VoiceSlot voice = VoiceSlot::Female;
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
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // The OK button and the Enter key.
    void accept() override { ConfirmEntries(); }

private:
    // The settings into the controls.
    void ShowSettings();
    // The speed field as an integer from 0 to 1000, or std::nullopt when it is refused: its
    // message has been shown and the field has the focus. A refused integer still becomes the
    // speed the arrows step from.
    std::optional<int> CheckedSpeed();
    void ConfirmEntries();
    // A step of the up-down control: -1 upper arrow, +1 lower arrow.
    void StepSpeed(int delta);

    SpeechDialogSettings m_settings;
    // What the arrows step from and the voice buttons go back to when they refuse the field:
    // the speed and the voice as last read from the controls.
    int m_speed = 0;
    int m_voiceIndex = -1; // 0 "男性", 1 "女性", -1 neither
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QLineEdit* m_speedEdit = nullptr;
    SpinControl* m_spin = nullptr;
    QButtonGroup* m_repeat = nullptr;
    QButtonGroup* m_voice = nullptr;
    bool m_inSpin = false;
};

} // namespace yomi6
