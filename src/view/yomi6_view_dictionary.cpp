// The view's commands that open the dictionary manager and register the selected text in it,
// and the view's context menu that offers the latter.
#include "view/app_context.h"
#include "view/dictionary_manager.h"
#include "view/yomi6_doc.h"
#include "view/yomi6_view.h"

#include <QContextMenuEvent>
#include <QMenu>

#include <memory>

namespace yomi6 {

void CYOMI5View::OnDictionaryManager() {
    DictionaryManager::ShowFor(window(), m_document->Context());
}

void CYOMI5View::OnRegisterSelection() {
    const QString selected = textCursor().selectedText();
    if (selected.isEmpty()) {
        return;
    }
    if (DictionaryManager* manager = DictionaryManager::ShowFor(window(), m_document->Context())) {
        manager->RegisterText(selected);
    }
}

void CYOMI5View::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    emit contextMenuOpening(menu.get());
    menu->exec(event->globalPos());
}

} // namespace yomi6
