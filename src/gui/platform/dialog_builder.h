// Builds a dialog from its template: caption, dialog font, fixed size, and every control in
// template order (so the tab order is the template's), placed from dialog units.
#pragma once

#include "platform/speech_dialog_templates.h"

#include <QWidget>

#include <map>

class QButtonGroup;
class QDialog;

namespace yomi6 {

class DialogControls {
public:
    DialogControls(QDialog* dialog, const DialogTemplate& dialogTemplate);

    // The control with id, as T; nullptr when there is none of that type.
    template <typename T> T* Get(int id) const {
        const auto it = m_controls.find(id);
        return it == m_controls.end() ? nullptr : qobject_cast<T*>(it->second);
    }

    // The radio group that starts with the push-like radio button firstId: its buttons carry
    // the indexes 0, 1, ... in template order.
    QButtonGroup* Group(int firstId) const;

private:
    std::map<int, QWidget*> m_controls;
    std::map<int, QButtonGroup*> m_groups;
};

} // namespace yomi6
