#include "editor/find_dialog.h"
#include "platform/ui_text.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace yomi6 {

namespace {

// The dialogs' texts.
constexpr const char* kFindTitle = "検索";
constexpr const char* kReplaceTitle = "置換";
constexpr const char* kFindLabel = "検索する文字列(&N):";
constexpr const char* kReplaceLabel = "置換後の文字列(&P):";
constexpr const char* kWholeWord = "単語単位で探す(&W)";
constexpr const char* kMatchCase = "大文字と小文字を区別する(&C)";
constexpr const char* kDirection = "方向";
constexpr const char* kUp = "上へ(&U)";
constexpr const char* kDown = "下へ(&D)";
constexpr const char* kFindNext = "次を検索(&F)";
constexpr const char* kReplaceOne = "置換して次に(&R)";
constexpr const char* kReplaceAll = "すべて置換(&A)";
constexpr const char* kCancel = "キャンセル";

} // namespace

FindReplaceDialog::FindReplaceDialog(Mode mode, QWidget* parent) : QDialog(parent), m_mode(mode) {
    setWindowTitle(Tr(mode == Mode::Find ? kFindTitle : kReplaceTitle));
    setModal(false);

    auto* fields = new QGridLayout;
    m_find = new QLineEdit(this);
    auto* findLabel = new QLabel(Tr(kFindLabel), this);
    findLabel->setBuddy(m_find);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_find, 0, 1);
    if (mode == Mode::Replace) {
        m_replace = new QLineEdit(this);
        auto* replaceLabel = new QLabel(Tr(kReplaceLabel), this);
        replaceLabel->setBuddy(m_replace);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(m_replace, 1, 1);
    }

    m_wholeWord = new QCheckBox(Tr(kWholeWord), this);
    m_matchCase = new QCheckBox(Tr(kMatchCase), this);
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_wholeWord);
    checks->addWidget(m_matchCase);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(checks);
    if (mode == Mode::Find) {
        auto* direction = new QGroupBox(Tr(kDirection), this);
        m_up = new QRadioButton(Tr(kUp), direction);
        auto* down = new QRadioButton(Tr(kDown), direction);
        down->setChecked(true);
        auto* d = new QHBoxLayout(direction);
        d->addWidget(m_up);
        d->addWidget(down);
        bottom->addWidget(direction);
    }

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(bottom);
    left->addStretch();

    auto* buttons = new QVBoxLayout;
    m_findNext = new QPushButton(Tr(kFindNext), this);
    m_findNext->setDefault(true);
    buttons->addWidget(m_findNext);
    connect(m_findNext, &QPushButton::clicked, this, [this] { emit findNext(Options()); });
    if (mode == Mode::Replace) {
        m_replaceButton = new QPushButton(Tr(kReplaceOne), this);
        m_replaceAllButton = new QPushButton(Tr(kReplaceAll), this);
        buttons->addWidget(m_replaceButton);
        buttons->addWidget(m_replaceAllButton);
        connect(m_replaceButton, &QPushButton::clicked, this,
                [this] { emit replaceOne(Options(), Replacement()); });
        connect(m_replaceAllButton, &QPushButton::clicked, this,
                [this] { emit replaceAll(Options(), Replacement()); });
    }
    auto* cancel = new QPushButton(Tr(kCancel), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(m_find, &QLineEdit::textChanged, this, &FindReplaceDialog::UpdateButtons);
    UpdateButtons();
}

SearchOptions FindReplaceDialog::Options() const {
    SearchOptions o;
    o.text = m_find->text();
    o.matchCase = m_matchCase->isChecked();
    o.wholeWord = m_wholeWord->isChecked();
    o.backward = m_up != nullptr && m_up->isChecked();
    return o;
}

QString FindReplaceDialog::Replacement() const {
    return m_replace != nullptr ? m_replace->text() : QString();
}

void FindReplaceDialog::SetSearchText(const QString& text) {
    m_find->setText(text);
    m_find->selectAll();
}

void FindReplaceDialog::UpdateButtons() {
    const bool any = !m_find->text().isEmpty();
    m_findNext->setEnabled(any);
    if (m_replaceButton != nullptr) {
        m_replaceButton->setEnabled(any);
        m_replaceAllButton->setEnabled(any);
    }
}

} // namespace yomi6
