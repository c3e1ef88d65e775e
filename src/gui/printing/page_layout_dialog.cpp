#include "printing/page_layout_dialog.h"

#include "platform/dialog_units.h"
#include "printing/print_strings.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>

namespace yomi6 {

namespace {

namespace ps = print_strings;

// Template 134, in dialog units of an 11-point dialog font.
constexpr int kFontPoints = 11;
constexpr QSize kDialogSize(144, 160);
constexpr QRect kOkRect(20, 137, 50, 14);
constexpr QRect kCancelRect(72, 137, 50, 14);

struct PairGeometry {
    const char* caption;
    QRect group;
    int onId;
    QRect on;
    int offId;
    QRect off;
};

constexpr PairGeometry kPairs[3] = {
    {ps::kFileNameGroup, QRect(9, 6, 123, 34), 1004, QRect(23, 18, 45, 16), 1003,
     QRect(73, 18, 45, 16)},
    {ps::kDateGroup, QRect(9, 48, 123, 34), 1005, QRect(23, 60, 45, 16), 1006,
     QRect(73, 60, 45, 16)},
    {ps::kPageGroup, QRect(9, 91, 123, 34), 1007, QRect(23, 103, 45, 16), 1008,
     QRect(73, 103, 45, 16)},
};

// Radio index of a pair: 0 ON, 1 OFF.
constexpr int kOn = 0;
constexpr int kOff = 1;

bool IsOn(const QButtonGroup* pair) {
    return pair->checkedId() == kOn;
}

} // namespace

PageLayoutDialog::PageLayoutDialog(const PageSwitches& switches, QWidget* parent)
    : QDialog(parent), m_switches(switches) {
    setWindowTitle(QString::fromUtf8(ps::kPageLayoutCaption));
    const QFont font = DialogFont(kFontPoints);
    setFont(font);
    const DialogUnits du(font);
    setFixedSize(du.ToPixels(kDialogSize));

    // In tab order: OK, Cancel, then each group with its ON and OFF buttons.
    auto* ok = new QPushButton(QString::fromUtf8(ps::kOk), this);
    ok->setGeometry(du.ToPixels(kOkRect));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &PageLayoutDialog::accept);
    auto* cancel = new QPushButton(QString::fromUtf8(ps::kCancel), this);
    cancel->setGeometry(du.ToPixels(kCancelRect));
    connect(cancel, &QPushButton::clicked, this, &PageLayoutDialog::reject);

    for (int g = 0; g < 3; ++g) {
        const PairGeometry& p = kPairs[g];
        auto* box = new QGroupBox(QString::fromUtf8(p.caption), this);
        box->setGeometry(du.ToPixels(p.group));
        // Push-like radio buttons: each pair is one exclusive group of two checkable buttons.
        m_pairs[g] = new QButtonGroup(this);
        const struct {
            const char* text;
            QRect rect;
            int id;
            int index;
        } buttons[2] = {{ps::kOn, p.on, p.onId, kOn}, {ps::kOff, p.off, p.offId, kOff}};
        for (const auto& b : buttons) {
            auto* button = new QPushButton(QString::fromUtf8(b.text), this);
            button->setObjectName(QString::number(b.id));
            button->setCheckable(true);
            button->setAutoDefault(false);
            button->setGeometry(du.ToPixels(b.rect));
            m_pairs[g]->addButton(button, b.index);
        }
    }
}

int PageLayoutDialog::exec() {
    const bool shown[3] = {m_switches.fileName, m_switches.date, m_switches.pageNumber};
    for (int g = 0; g < 3; ++g) {
        m_pairs[g]->button(shown[g] ? kOn : kOff)->setChecked(true);
    }
    return QDialog::exec();
}

void PageLayoutDialog::accept() {
    m_switches = {IsOn(m_pairs[0]), IsOn(m_pairs[1]), IsOn(m_pairs[2])};
    QDialog::accept();
}

} // namespace yomi6
