#include "speaking/speech_settings_dialog.h"

#include "platform/cp932_field.h"
#include "platform/dialog_builder.h"
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

// The buttons of the two radio groups in template order.
constexpr int kRepeatOnIndex = 0;  // "ＯＮ"
constexpr int kRepeatOffIndex = 1; // "ＯＦＦ"
constexpr int kMaleIndex = 0;      // "男性"
constexpr int kFemaleIndex = 1;    // "女性"

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
    : QDialog(parent), m_settings(settings) {
    const DialogBuilder built(this, kSpeechSettingsTemplate);
    m_ok = built.Button(ids::kOk);
    m_cancel = built.Button(ids::kCancel);
    m_speedEdit = built.Edit(ids::kSpeedText);
    m_spin = built.UpDown(ids::kSpin);
    m_repeat = built.Group(ids::kRepeatOn);
    m_voice = built.Group(ids::kMale);
    connect(m_ok, &QPushButton::clicked, this, &SpeechSettingsDialog::ConfirmEntries);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_spin, &SpinControl::deltaPos, this, &SpeechSettingsDialog::StepSpeed);
}

int SpeechSettingsDialog::exec() {
    ShowSettings();
    return QDialog::exec();
}

void SpeechSettingsDialog::ShowSettings() {
    m_speed = m_settings.speedMs;
    m_voiceIndex = m_settings.voice == VoiceSlot::Male ? kMaleIndex : kFemaleIndex;
    m_speedEdit->setText(QString::number(m_speed));
    SetRadio(m_repeat, m_settings.repeat ? kRepeatOnIndex : kRepeatOffIndex);
    SetRadio(m_voice, m_voiceIndex);
    m_ok->setFocus(); // the first tab stop
}

std::optional<int> SpeechSettingsDialog::CheckedSpeed() {
    const auto refuse = [this](const QString& message, MessageBoxType type) {
        ShowMessage(this, message, type);
        m_speedEdit->setFocus();
        m_speedEdit->selectAll();
        return std::optional<int>();
    };
    // A character outside code page 932 is no digit, so such a text is refused as a whole.
    const auto bytes = Cp932Bytes(m_speedEdit->text());
    const auto value = bytes ? ParseIntegerText(*bytes) : std::nullopt;
    if (!value) {
        return refuse(QString::fromUtf8(exchange_texts::kNotInteger), MessageBoxType::Ok);
    }
    m_speed = *value;
    if (m_speed < kMinSpeedText || m_speed > kMaxSpeedText) {
        return refuse(
            QString::fromUtf8(exchange_texts::kIntegerRange).arg(kMinSpeedText).arg(kMaxSpeedText),
            MessageBoxType::IconExclamation);
    }
    return m_speed;
}

void SpeechSettingsDialog::ConfirmEntries() {
    const std::optional<int> speed = CheckedSpeed();
    if (!speed) {
        return;
    }
    m_voiceIndex = m_voice->checkedId();
    m_settings = {*speed, m_repeat->checkedId() == kRepeatOnIndex,
                  m_voiceIndex == kMaleIndex ? VoiceSlot::Male : VoiceSlot::Female};
    QDialog::accept();
}

void SpeechSettingsDialog::StepSpeed(int delta) {
    // A refused text shows a message box; a step arriving meanwhile is dropped.
    if (m_inSpin) {
        return;
    }
    m_inSpin = true;
    // Whatever the field says, the step goes on from the speed last read; the voice buttons
    // are read only along with a speed that is accepted, and otherwise go back to the voice
    // read last.
    if (CheckedSpeed()) {
        m_voiceIndex = m_voice->checkedId();
    }
    // Widened first: a refused text may have left the speed at the limit of an int.
    const long long stepped = static_cast<long long>(m_speed) + delta;
    m_speed = static_cast<int>(std::clamp<long long>(stepped, kMinSpeedText, kMaxSpeedText));
    m_speedEdit->setText(QString::number(m_speed));
    SetRadio(m_voice, m_voiceIndex);
    m_inSpin = false;
}

} // namespace yomi6
