// Builds a dialog from its template: caption, dialog font, fixed size, and every control in
// template order (so the tab order is the template's), placed from dialog units. The dialog
// takes the controls it works with, by their ids, as typed pointers it keeps as members; the
// builder itself lives only while the dialog is constructed.
#pragma once

#include "platform/speech_dialog_templates.h"

#include <initializer_list>
#include <map>

class QButtonGroup;
class QDialog;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QWidget;

namespace yomi6 {

class SpinControl;

class DialogBuilder {
public:
    DialogBuilder(QDialog* dialog, const DialogTemplate& dialogTemplate);

    // The control with id. Each checks that the template made that kind of control there, and
    // aborts with the id when it did not: a template and its dialog that disagree are a
    // programming error found at the first construction.
    QPushButton* Button(int id) const;   // a push button
    QLineEdit* Edit(int id) const;       // an edit box, read-only or not
    SpinControl* UpDown(int id) const;   // up-down arrows
    QScrollBar* ScrollBar(int id) const; // a vertical scroll bar

    // The radio group that starts with the push-like radio button firstId: its buttons carry
    // the indexes 0, 1, ... in template order.
    QButtonGroup* Group(int firstId) const;

private:
    struct Built {
        ControlKind kind;
        QWidget* widget;
    };
    QWidget* Take(int id, std::initializer_list<ControlKind> kinds) const;

    std::map<int, Built> m_controls;
    std::map<int, QButtonGroup*> m_groups;
};

} // namespace yomi6
