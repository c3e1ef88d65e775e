#include "speaking/speech_settings_dialog.h"

#include "platform/cp932_field.h"
#include "platform/message_box.h"
#include "platform/spin_control.h"
#include "playback/speech_state.h"
#include "text/integer_text.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace yomi6 {

namespace {

namespace ids = speech_settings_ids;

constexpr int kMinSpeedText = 0;
constexpr int kMaxSpeedText = kMaxSpeed;

// Checks the button with index, or none when no button has it.
void SetRadio(QButtonGroup* group, int index) {
    if (QAbstractButton* button = group->button(index)) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) {
        b->setChecked(false);
    }
    group->setExclusive(true);
}

} // namespace

SpeechSettingsDialog::SpeechSettingsDialog(const SpeechDialogSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_controls(this, kSpeechSettingsTemplate),
      m_speedEdit(m_controls.Get<QLineEdit>(ids::kSpeedText)),
      m_spin(m_controls.Get<SpinControl>(ids::kSpin)), m_repeat(m_controls.Group(ids::kRepeatOn)),
      m_voice(m_controls.Group(ids::kMale)) {
    connect(OkButton(), &QPushButton::clicked, this, &SpeechSettingsDialog::ConfirmEntries);
    connect(CancelButton(), &QPushButton::clicked, this, &QDialog::reject);
    connect(m_spin, &SpinControl::deltaPos, this, &SpeechSettingsDialog::StepSpeed);
}

QPushButton* SpeechSettingsDialog::OkButton() const {
    return m_controls.Get<QPushButton>(ids::kOk);
}

QPushButton* SpeechSettingsDialog::CancelButton() const {
    return m_controls.Get<QPushButton>(ids::kCancel);
}

int SpeechSettingsDialog::exec() {
    ShowSettings();
    return QDialog::exec();
}

void SpeechSettingsDialog::ShowSettings() {
    m_speedText = m_settings.speedMs;
    m_repeatChoice = m_settings.repeat;
    m_voiceChoice = m_settings.voice == 0 ? 1 : 0;
    ShowChoices();
    OkButton()->setFocus(); // the first tab stop
}

bool SpeechSettingsDialog::FailAt(QLineEdit* edit) {
    edit->setFocus();
    edit->selectAll();
    return false;
}

void SpeechSettingsDialog::ShowChoices() {
    SetRadio(m_repeat, m_repeatChoice);
    m_speedEdit->setText(QString::number(m_speedText));
    SetRadio(m_voice, m_voiceChoice);
}

bool SpeechSettingsDialog::ReadChoices() {
    m_repeatChoice = m_repeat->checkedId();

    // A character outside code page 932 is no digit, so such a text is refused as a whole.
    const auto bytes = Cp932Bytes(m_speedEdit->text());
    const auto value = bytes ? ParseIntegerText(*bytes) : std::nullopt;
    if (!value) {
        ShowMessage(this, QString::fromUtf8(exchange_texts::kNotInteger), MessageBoxType::Ok);
        return FailAt(m_speedEdit);
    }
    m_speedText = *value;
    if (m_speedText < kMinSpeedText || m_speedText > kMaxSpeedText) {
        ShowMessage(
            this,
            QString::fromUtf8(exchange_texts::kIntegerRange).arg(kMinSpeedText).arg(kMaxSpeedText),
            MessageBoxType::IconExclamation);
        return FailAt(m_speedEdit);
    }

    m_voiceChoice = m_voice->checkedId();
    return true;
}

void SpeechSettingsDialog::ConfirmEntries() {
    if (!ReadChoices()) {
        return;
    }
    m_settings = {m_speedText, m_repeatChoice, m_voiceChoice == 0 ? 1 : 0};
    QDialog::accept();
}

void SpeechSettingsDialog::StepSpeed(int delta) {
    // A refused text shows a message box; a step arriving meanwhile is dropped.
    if (m_inSpin) {
        return;
    }
    m_inSpin = true;
    ReadChoices(); // whatever it says, the step goes on from the field as it stands
    // Widened first: a refused text may have left the field at the limit of an int.
    const long long stepped = static_cast<long long>(m_speedText) + delta;
    m_speedText = static_cast<int>(std::clamp<long long>(stepped, kMinSpeedText, kMaxSpeedText));
    ShowChoices();
    m_inSpin = false;
}

} // namespace yomi6
