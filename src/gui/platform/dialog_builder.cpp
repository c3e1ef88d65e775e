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

namespace yomi6 {

namespace {

QPushButton* MakePushButton(QDialog* dialog, const QString& text, bool isDefault) {
    auto* button = new QPushButton(text, dialog);
    button->setAutoDefault(true);
    button->setDefault(isDefault);
    return button;
}

} // namespace

DialogControls::DialogControls(QDialog* dialog, const DialogTemplate& dialogTemplate) {
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
            m_controls[c.id] = control;
        }
    }
    for (QWidget* box : groupBoxes) {
        box->lower();
    }
}

QButtonGroup* DialogControls::Group(int firstId) const {
    const auto it = m_groups.find(firstId);
    return it == m_groups.end() ? nullptr : it->second;
}

} // namespace yomi6
