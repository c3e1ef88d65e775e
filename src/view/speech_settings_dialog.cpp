#include "view/speech_settings_dialog.h"

#include "platform/cp932_field.h"
#include "platform/message_box.h"
#include "platform/up_down_control.h"
#include "speech/speech_state.h"
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

CSpeechSettingsDlg::CSpeechSettingsDlg(QWidget* parent)
    : QDialog(parent), m_controls(this, kSpeechSettingsTemplate),
      m_speedEdit(m_controls.Get<QLineEdit>(ids::kSpeedText)),
      m_spin(m_controls.Get<CUpDownControl>(ids::kSpin)),
      m_repeat(m_controls.Group(ids::kRepeatOn)), m_voice(m_controls.Group(ids::kMale)) {
    connect(OkButton(), &QPushButton::clicked, this, &CSpeechSettingsDlg::OnOK);
    connect(CancelButton(), &QPushButton::clicked, this, &QDialog::reject);
    connect(m_spin, &CUpDownControl::deltaPos, this, &CSpeechSettingsDlg::OnDeltaposSpin);
}

QPushButton* CSpeechSettingsDlg::OkButton() const {
    return m_controls.Get<QPushButton>(ids::kOk);
}

QPushButton* CSpeechSettingsDlg::CancelButton() const {
    return m_controls.Get<QPushButton>(ids::kCancel);
}

int CSpeechSettingsDlg::DoModal() {
    OnInitDialog();
    return exec();
}

void CSpeechSettingsDlg::OnInitDialog() {
    m_nSpeedText = m_nSpeed;
    m_nRepeatButton = m_nRepeat;
    m_nVoiceButton = m_nVoice == 0 ? 1 : 0;
    UpdateData(false);
    OkButton()->setFocus(); // the first tab stop
}

bool CSpeechSettingsDlg::FailAt(QLineEdit* edit) {
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool CSpeechSettingsDlg::UpdateData(bool saveAndValidate) {
    if (!saveAndValidate) {
        SetRadio(m_repeat, m_nRepeatButton);
        m_speedEdit->setText(QString::number(m_nSpeedText));
        SetRadio(m_voice, m_nVoiceButton);
        return true;
    }
    m_nRepeatButton = m_repeat->checkedId();

    // A character outside code page 932 is no digit, so such a text is refused as a whole.
    const auto bytes = Cp932Bytes(m_speedEdit->text());
    const auto value = bytes ? ParseIntegerText(*bytes) : std::nullopt;
    if (!value) {
        ShowMessage(this, QString::fromUtf8(exchange_texts::kNotInteger), MessageBoxType::Ok);
        return FailAt(m_speedEdit);
    }
    m_nSpeedText = *value;
    if (m_nSpeedText < kMinSpeedText || m_nSpeedText > kMaxSpeedText) {
        ShowMessage(
            this,
            QString::fromUtf8(exchange_texts::kIntegerRange).arg(kMinSpeedText).arg(kMaxSpeedText),
            MessageBoxType::IconExclamation);
        return FailAt(m_speedEdit);
    }

    m_nVoiceButton = m_voice->checkedId();
    return true;
}

void CSpeechSettingsDlg::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    m_nSpeed = m_nSpeedText;
    m_nRepeat = m_nRepeatButton;
    m_nVoice = m_nVoiceButton == 0 ? 1 : 0;
    QDialog::accept();
}

void CSpeechSettingsDlg::OnDeltaposSpin(int delta) {
    // A refused text shows a message box; a step arriving meanwhile is dropped.
    if (m_inSpin) {
        return;
    }
    m_inSpin = true;
    UpdateData(true); // whatever it says, the step goes on from the field as it stands
    // Widened first: a refused text may have left the field at the limit of an int.
    const long long stepped = static_cast<long long>(m_nSpeedText) + delta;
    m_nSpeedText = static_cast<int>(std::clamp<long long>(stepped, kMinSpeedText, kMaxSpeedText));
    UpdateData(false);
    m_inSpin = false;
}

} // namespace yomi6
