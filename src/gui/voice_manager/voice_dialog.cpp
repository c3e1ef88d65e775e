#include "voice_manager/voice_dialog.h"

#include "platform/message_box.h"
#include "settings/settings_keys.h"
#include "voice/voice_selection.h"
#include "voice_manager/natural_voice.h"
#include "voice_manager/recorder_dialog.h"
#include "voice_manager/voice_library.h"
#include "voice_manager/voice_report_view.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>
#include <utility>

namespace yomi6 {

namespace {

constexpr int kValueRole = Qt::UserRole;
constexpr int kFolderRole = Qt::UserRole + 1;
constexpr int kNaturalRole = Qt::UserRole + 2;

void SelectValue(QComboBox* box, const QString& value) {
    const int index = box->findData(value);
    box->setCurrentIndex(index >= 0 ? index : 0);
}

QComboBox* StyleCombo(QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const natural::Style style : kStyles) {
        box->addItem(StyleLabel(style), QString::fromLatin1(natural::StyleName(style).data()));
    }
    box->setEnabled(false);
    return box;
}

// Who says the lines in 「」 and 『』, each choice with its DialogueVoice as data.
QComboBox* DialogueCombo(QWidget* parent) {
    auto* box = new QComboBox(parent);
    const std::pair<const char*, DialogueVoice> items[] = {
        {"地の文と同じ声", DialogueVoice::Off},
        {"もう一方の声 (F5 で切り替わる声)", DialogueVoice::OtherSlot},
        {"自然な声・喜び", DialogueVoice::Happy},
        {"自然な声・悲しみ", DialogueVoice::Sad},
        {"自然な声・怒り", DialogueVoice::Angry},
    };
    for (const auto& [label, voice] : items) {
        box->addItem(QString::fromUtf8(label), static_cast<int>(voice));
    }
    box->setToolTip(
        QString::fromUtf8("「」と『』の中のせりふを読む声。音声ﾌｧｲﾙに保存でも同じ声で読みます"));
    return box;
}

// A natural voice's value with its style left out: how the slot boxes hold it.
QString NeutralOf(const natural::VoiceChoice& choice) {
    return QString::fromStdString(
        natural::VoiceChoiceValue({choice.variant, natural::Style::Neutral}));
}

// A folder name as a message can show it: line breaks and other control characters as escapes.
QString VisibleName(const QString& name) {
    QString out;
    for (const QChar c : name) {
        if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\\n");
        } else if (c == QLatin1Char('\r')) {
            out += QStringLiteral("\\r");
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

// The label of each mark's pause box, in the order of PauseMark.
constexpr std::array<const char*, kPauseMarkCount> kPauseLabels{
    "読点「、」:", "句点「。」:", "「！」「？」:",          "「……」:",
    "「――」:",     "行末:",       "空行（場面の変わり目）:"};

constexpr const char* kUnstorable =
    "このフォルダは名前に改行か Shift-JIS で表せない文字があるため、設定ファイルに残せません。"
    "フォルダの名前を変えてから選んでください。\n%1";

} // namespace

VoiceDialog::VoiceDialog(VoiceLibrary& library, QWidget* parent)
    : QDialog(parent), m_library(library), m_list(new QListWidget(this)),
      m_male(new QComboBox(this)), m_female(new QComboBox(this)), m_maleStyle(StyleCombo(this)),
      m_femaleStyle(StyleCombo(this)), m_dialogue(DialogueCombo(this)),
      m_controls(new QGroupBox(QString::fromUtf8("自然な声の調整"), this)),
      m_pitch(new QSpinBox(m_controls)), m_intonation(new QDoubleSpinBox(m_controls)),
      m_styleWeight(new QSpinBox(m_controls)),
      m_pauses(new QGroupBox(QString::fromUtf8("自然な声の間（ミリ秒）"), this)),
      m_report(new QPlainTextEdit(this)), m_progress(new QProgressBar(this)),
      m_add(new QPushButton(QString::fromUtf8("フォルダを追加(&A)..."), this)),
      m_record(new QPushButton(QString::fromUtf8("声を録音する(&R)..."), this)) {
    setWindowTitle(QString::fromUtf8("声の管理"));
    m_added = m_library.AddedFolders();
    m_report->setReadOnly(true);
    m_progress->setVisible(false);

    auto* slotForm = new QFormLayout;
    const auto slotRow = [this](QComboBox* voice, QComboBox* style) {
        auto* row = new QHBoxLayout;
        row->addWidget(voice, 1);
        auto* label = new QLabel(QString::fromUtf8("調子:"), this);
        label->setBuddy(style);
        row->addWidget(label);
        row->addWidget(style);
        // The style belongs to the natural voice only.
        connect(voice, &QComboBox::currentIndexChanged, style, [this, voice, style] {
            style->setEnabled(
                natural::ParseVoiceChoice(voice->currentData().toString().toStdString())
                    .has_value());
            EnableControls();
        });
        return row;
    };
    slotForm->addRow(QString::fromUtf8("男性の声(&M):"), slotRow(m_male, m_maleStyle));
    slotForm->addRow(QString::fromUtf8("女性の声(&F):"), slotRow(m_female, m_femaleStyle));
    slotForm->addRow(QString::fromUtf8("せりふの声(&D):"), m_dialogue);
    m_dialogue->setCurrentIndex(m_dialogue->findData(static_cast<int>(m_library.Dialogue())));
    const NaturalControls& controls = m_library.Controls();
    m_pitch->setRange(settings_keys::kMinNaturalPitch, settings_keys::kMaxNaturalPitch);
    m_pitch->setSuffix(QString::fromUtf8(" 半音"));
    m_pitch->setValue(controls.halfTones);
    m_intonation->setRange(0.0, settings_keys::kMaxNaturalIntonation / 10.0);
    m_intonation->setDecimals(1);
    m_intonation->setSingleStep(0.1);
    m_intonation->setValue(controls.intonationTenths / 10.0);
    m_styleWeight->setRange(0, settings_keys::kMaxNaturalStyleWeight);
    m_styleWeight->setSingleStep(10);
    m_styleWeight->setSuffix(QStringLiteral(" %"));
    m_styleWeight->setValue(controls.styleWeightPercent);
    auto* controlForm = new QFormLayout(m_controls);
    controlForm->addRow(QString::fromUtf8("高さ(&P):"), m_pitch);
    controlForm->addRow(QString::fromUtf8("抑揚(&I):"), m_intonation);
    controlForm->addRow(QString::fromUtf8("感情の強さ(&E):"), m_styleWeight);
    m_pitch->setToolTip(QString::fromUtf8("声の高さ。0 が元の高さ、12 半音で 1 オクターブ"));
    m_intonation->setToolTip(QString::fromUtf8("0 で平板、1 で元の抑揚、2 で倍"));
    m_styleWeight->setToolTip(QString::fromUtf8(
        "調子（喜び・悲しみ・怒り）の強さ。0 % で標準と同じ、100 % で調子そのまま"));
    m_controls->setEnabled(false);
    auto* pauseGrid = new QGridLayout(m_pauses);
    const PauseTable& pauses = m_library.Pauses();
    for (std::size_t i = 0; i < kPauseMarkCount; ++i) {
        auto* box = new QSpinBox(m_pauses);
        box->setRange(0, settings_keys::kMaxPauseMs);
        box->setSingleStep(50);
        box->setSuffix(QString::fromUtf8(" ミリ秒"));
        box->setValue(pauses.ms[i]);
        auto* label = new QLabel(QString::fromUtf8(kPauseLabels[i]), m_pauses);
        label->setBuddy(box);
        const auto row = static_cast<int>(i / 2);
        const auto column = static_cast<int>(i % 2) * 2;
        pauseGrid->addWidget(label, row, column);
        pauseGrid->addWidget(box, row, column + 1);
        m_pauseBoxes[i] = box;
    }
    m_pauses->setToolTip(QString::fromUtf8(
        "自然な声が記号のところで置く間。文末が行末や空行と重なるときは長いほうになります。"
        "録音した声の間は変わりません。"));
    m_pauses->setEnabled(false);

    auto* buttonsRow = new QHBoxLayout;
    buttonsRow->addWidget(m_add);
    buttonsRow->addWidget(m_record);
    buttonsRow->addStretch();
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("ｷｬﾝｾﾙ"));

    auto* layout = new QVBoxLayout(this);
    auto* listLabel = new QLabel(QString::fromUtf8("声(&L):"), this);
    listLabel->setBuddy(m_list); // Alt+L goes to the list, and the label shows no "&"
    layout->addWidget(listLabel);
    layout->addWidget(m_list);
    layout->addLayout(buttonsRow);
    layout->addWidget(m_progress);
    layout->addWidget(m_report);
    layout->addLayout(slotForm);
    layout->addWidget(m_controls);
    layout->addWidget(m_pauses);
    layout->addWidget(box);
    resize(560, 560);

    connect(m_list, &QListWidget::currentRowChanged, this, &VoiceDialog::ShowSelectedVoice);
    connect(m_add, &QPushButton::clicked, this, &VoiceDialog::AddVoiceFolder);
    connect(m_record, &QPushButton::clicked, this, &VoiceDialog::RecordVoice);
    connect(box, &QDialogButtonBox::accepted, this, &VoiceDialog::AcceptChoice);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(&m_loader, &VoiceLoader::progress, this, [this](int done, int total) {
        m_progress->setRange(0, total);
        m_progress->setValue(done);
    });
    connect(&m_loader, &VoiceLoader::loaded, this,
            [this](const QString&, const std::shared_ptr<const FolderVoice>& voice) {
                m_progress->setVisible(false);
                m_report->setPlainText(VoiceReportText(voice->report));
                emit reportShown();
            });

    Fill({});
    SelectSlot(true, library.SlotValue(VoiceSlot::Male).isEmpty()
                         ? VoiceLibrary::kBuiltInMale
                         : library.SlotValue(VoiceSlot::Male));
    SelectSlot(false, library.SlotValue(VoiceSlot::Female).isEmpty()
                          ? VoiceLibrary::kBuiltInFemale
                          : library.SlotValue(VoiceSlot::Female));
}

QString VoiceDialog::SlotChoice(bool male) const {
    QString value = SlotBox(male)->currentData().toString();
    if (auto choice = natural::ParseVoiceChoice(value.toStdString())) {
        const auto style =
            natural::ParseStyle(StyleBox(male)->currentData().toString().toStdString());
        choice->style = style.value_or(natural::Style::Neutral);
        return QString::fromStdString(natural::VoiceChoiceValue(*choice));
    }
    return value;
}

void VoiceDialog::SelectSlot(bool male, const QString& value) {
    if (const auto choice = natural::ParseVoiceChoice(value.toStdString())) {
        SelectValue(SlotBox(male), NeutralOf(*choice));
        SelectValue(StyleBox(male), QString::fromLatin1(natural::StyleName(choice->style).data()));
        return;
    }
    SelectValue(SlotBox(male), value);
}

void VoiceDialog::Fill(const QString& select) {
    const QString male = SlotChoice(true);
    const QString female = SlotChoice(false);
    // The library lists the added folders it knows; the ones added here come on top.
    QList<VoiceLibrary::Entry> entries = m_library.Entries();
    for (const QString& folder : m_added) {
        const bool listed = std::any_of(entries.begin(), entries.end(),
                                        [&](const auto& e) { return e.value == folder; });
        if (!listed) {
            entries.push_back({folder,
                               QDir(folder).dirName() + QStringLiteral("  (") +
                                   QDir::toNativeSeparators(folder) + QLatin1Char(')'),
                               true});
        }
    }
    const QSignalBlocker block(m_list);
    m_list->clear();
    m_male->clear();
    m_female->clear();
    for (const VoiceLibrary::Entry& entry : entries) {
        auto* item = new QListWidgetItem(entry.label, m_list);
        item->setData(kValueRole, entry.value);
        item->setData(kFolderRole, entry.isFolder);
        item->setData(kNaturalRole, entry.isNatural);
        m_male->addItem(entry.label, entry.value);
        m_female->addItem(entry.label, entry.value);
    }
    if (!male.isEmpty()) {
        SelectSlot(true, male);
        SelectSlot(false, female);
    }
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->data(kValueRole).toString() == select) {
            m_list->setCurrentRow(row);
            ShowSelectedVoice();
            return;
        }
    }
}

void VoiceDialog::ShowSelectedVoice() {
    QListWidgetItem* item = m_list->currentItem();
    if (item == nullptr) {
        return;
    }
    if (item->data(kNaturalRole).toBool()) {
        m_loader.Cancel();
        m_progress->setVisible(false);
        ShowNaturalVoice(item->data(kValueRole).toString());
        emit reportShown();
        return;
    }
    if (!item->data(kFolderRole).toBool()) {
        m_loader.Cancel();
        m_progress->setVisible(false);
        m_report->setPlainText(QString::fromUtf8("内蔵の声: 141 の音がすべてそろっています。"));
        emit reportShown();
        return;
    }
    m_report->setPlainText(QString::fromUtf8("読み込んでいます..."));
    m_progress->setRange(0, 0);
    m_progress->setVisible(true);
    m_loader.Load(item->data(kValueRole).toString());
}

bool VoiceDialog::AddFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    if (!VoiceLibrary::IsStorable(clean)) {
        ShowMessage(this, QString::fromUtf8(kUnstorable).arg(VisibleName(clean)),
                    MessageBoxType::IconExclamation);
        return false;
    }
    if (!m_added.contains(clean)) {
        m_added << clean;
    }
    Fill(clean);
    return true;
}

void VoiceDialog::AddVoiceFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, QString::fromUtf8("声のフォルダを選ぶ"));
    if (!folder.isEmpty()) {
        AddFolder(folder);
    }
}

void VoiceDialog::RecordVoice() {
    QString folder;
    if (QListWidgetItem* item = m_list->currentItem();
        item != nullptr && item->data(kFolderRole).toBool()) {
        folder = item->data(kValueRole).toString(); // goes on where it stopped
    } else {
        bool ok = false;
        const QString name = QInputDialog::getText(
            this, QString::fromUtf8("声を録音する"),
            QString::fromUtf8("新しい声の名前 (同じ名前の声があれば続きから録音します):"),
            QLineEdit::Normal, QString::fromUtf8("わたしの声"), &ok);
        if (!ok || name.trimmed().isEmpty() || name.contains(QLatin1Char('/'))) {
            return;
        }
        folder = VoiceLibrary::VoicesDirectory() + QLatin1Char('/') + name.trimmed();
    }
    m_loader.Cancel();
    // The recorder lives on the heap and goes from the event loop once it is closed, never in
    // the middle of this handler: its sound streams are ended by then (RecorderDialog::done),
    // and nothing of it is destroyed while an event for it may still be on its way.
    QPointer<RecorderDialog> recorder = new RecorderDialog(folder, this);
    if (!recorder->OpenSession()) {
        recorder->deleteLater();
        return;
    }
    recorder->exec();
    if (recorder != nullptr) {
        recorder->deleteLater();
    }
    Fill(folder);
}

void VoiceDialog::ShowNaturalVoice(const QString& value) {
    const auto choice = natural::ParseVoiceChoice(value.toStdString());
    if (!choice) {
        return;
    }
    const NaturalSetup setup = SetUpNaturalVoice(m_library.Natural(), *choice, 180);
    QString text = QString::fromUtf8(
        "自然な声: 読み上げエンジン Open JTalk が文ごとにアクセントと抑揚をつけて読みます。"
        "調子（標準・喜び・悲しみ・怒り）は声の欄の右で、声の高さ・抑揚・感情の強さは"
        "「自然な声の調整」で選びます。\n");
    if (choice->variant == natural::Variant::Lowered) {
        text += QString::fromUtf8("低め: 男性の声はないため、同じ女声を低くしたものです。\n");
    }
    text += setup.setup ? QString::fromUtf8("使えます: %1\n")
                              .arg(QString::fromStdString(setup.setup->voiceFile))
                        : setup.missing + QLatin1Char('\n');
    text += QString::fromUtf8(
        "\n声 tohoku-f01: © 2015 Intelligent Communication Network (Ito-Nose) Laboratory, "
        "Tohoku University (CC BY 4.0)");
    m_report->setPlainText(text);
}

void VoiceDialog::EnableControls() {
    bool natural = false;
    for (const QComboBox* box : {m_male, m_female}) {
        natural =
            natural ||
            natural::ParseVoiceChoice(box->currentData().toString().toStdString()).has_value();
    }
    m_controls->setEnabled(natural);
    m_pauses->setEnabled(natural);
}

void VoiceDialog::AcceptChoice() {
    // A slot's folder found under the voices folder may have a name the settings file cannot
    // hold; the choice would then be lost at the next start. The dialog stays open to choose
    // again.
    for (QComboBox* box : {m_male, m_female}) {
        const QString value = SlotChoice(box == m_male);
        if (!VoiceLibrary::IsStorable(value)) {
            ShowMessage(this, QString::fromUtf8(kUnstorable).arg(VisibleName(value)),
                        MessageBoxType::IconExclamation);
            box->setFocus();
            return;
        }
    }
    m_library.SetDialogue(static_cast<DialogueVoice>(m_dialogue->currentData().toInt()));
    m_library.SetControls({m_pitch->value(),
                           static_cast<std::int32_t>(std::lround(m_intonation->value() * 10)),
                           m_styleWeight->value()});
    PauseTable pauses;
    for (std::size_t i = 0; i < kPauseMarkCount; ++i) {
        pauses.ms[i] = m_pauseBoxes[i]->value();
    }
    m_library.SetPauses(pauses);
    QString error;
    if (!m_library.Apply(SlotChoice(true), SlotChoice(false), m_added, &error)) {
        ShowMessage(this, QString::fromUtf8("声の設定を保存できませんでした。\n") + error,
                    MessageBoxType::IconExclamation);
    }
    accept();
}

} // namespace yomi6
