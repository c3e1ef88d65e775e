#include "platform/dialog_builder.h"

#include "platform/dialog_units.h"
#include "platform/spin_control.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace yomi6 {

namespace {

QPushButton* MakePushButton(QDialog* dialog, const QString& text, bool isDefault) {
    auto* button = new QPushButton(text, dialog);
    button->setAutoDefault(true);
    button->setDefault(isDefault);
    return button;
}

} // namespace

DialogBuilder::DialogBuilder(QDialog* dialog, const DialogTemplate& dialogTemplate) {
    dialog->setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    const QFont font = DialogFont(dialogTemplate.fontPoints);
    dialog->setFont(font);
    const DialogUnits units(font);
    dialog->setFixedSize(units.ToPixels(QSize(dialogTemplate.width, dialogTemplate.height)));

    QButtonGroup* group = nullptr;
    QList<QWidget*> groupBoxes;
    for (const ControlTemplate& c : dialogTemplate.controls) {
        const QString text = QString::fromUtf8(c.text);
        QWidget* control = nullptr;
        switch (c.kind) {
        case ControlKind::DefaultPushButton:
            control = MakePushButton(dialog, text, true);
            break;
        case ControlKind::PushButton:
            control = MakePushButton(dialog, text, false);
            break;
        case ControlKind::PushRadioFirst:
        case ControlKind::PushRadio: {
            auto* button = new QPushButton(text, dialog);
            button->setCheckable(true);
            button->setAutoDefault(false);
            if (c.kind == ControlKind::PushRadioFirst || group == nullptr) {
                group = new QButtonGroup(dialog);
                m_groups[c.id] = group;
            }
            group->addButton(button, static_cast<int>(group->buttons().size()));
            control = button;
            break;
        }
        case ControlKind::Edit:
            control = new QLineEdit(dialog);
            break;
        case ControlKind::ReadOnlyEdit: {
            auto* edit = new QLineEdit(dialog);
            edit->setReadOnly(true);
            edit->setFocusPolicy(Qt::ClickFocus);
            control = edit;
            break;
        }
        case ControlKind::UpDown:
            control = new SpinControl(dialog);
            break;
        case ControlKind::VScrollBar: {
            auto* bar = new QScrollBar(Qt::Vertical, dialog);
            bar->setFocusPolicy(Qt::NoFocus);
            control = bar;
            break;
        }
        case ControlKind::StaticText:
            control = new QLabel(text, dialog);
            break;
        case ControlKind::GroupBox:
            // Only a frame with a caption: the controls inside are the dialog's own, so the
            // box must neither hide them nor take their clicks.
            control = new QGroupBox(text, dialog);
            control->setAttribute(Qt::WA_TransparentForMouseEvents);
            control->setFocusPolicy(Qt::NoFocus);
            groupBoxes.append(control);
            break;
        }
        control->setGeometry(units.ToPixels(QRect(c.x, c.y, c.width, c.height)));
        if (c.id != kStaticId) {
            control->setObjectName(QString::number(c.id));
            m_controls[c.id] = Built{c.kind, control};
        }
    }
    for (QWidget* box : groupBoxes) {
        box->lower();
    }
}

QWidget* DialogBuilder::Take(int id, std::initializer_list<ControlKind> kinds) const {
    const auto it = m_controls.find(id);
    if (it == m_controls.end() || std::ranges::find(kinds, it->second.kind) == kinds.end()) {
        qFatal("dialog template: control %d is missing or of another kind", id);
    }
    return it->second.widget;
}

QPushButton* DialogBuilder::Button(int id) const {
    return static_cast<QPushButton*>(
        Take(id, {ControlKind::DefaultPushButton, ControlKind::PushButton}));
}

QLineEdit* DialogBuilder::Edit(int id) const {
    return static_cast<QLineEdit*>(Take(id, {ControlKind::Edit, ControlKind::ReadOnlyEdit}));
}

SpinControl* DialogBuilder::UpDown(int id) const {
    return static_cast<SpinControl*>(Take(id, {ControlKind::UpDown}));
}

QScrollBar* DialogBuilder::ScrollBar(int id) const {
    return static_cast<QScrollBar*>(Take(id, {ControlKind::VScrollBar}));
}

QButtonGroup* DialogBuilder::Group(int firstId) const {
    const auto it = m_groups.find(firstId);
    if (it == m_groups.end()) {
        qFatal("dialog template: no radio group starts at control %d", firstId);
    }
    return it->second;
}

} // namespace yomi6
