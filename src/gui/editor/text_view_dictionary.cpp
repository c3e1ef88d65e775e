// The view's commands that open the dictionary manager and register the selected text in it,
// and the view's context menu that offers the latter.
#include "dictionary_manager/dictionary_manager.h"
#include "editor/document.h"
#include "editor/text_view.h"
#include "speaking/app_context.h"

#include <QContextMenuEvent>
#include <QMenu>

#include <memory>

namespace yomi6 {

void TextView::OpenDictionaryManager() {
    DictionaryManager::ShowFor(window(), m_document->Context());
}

void TextView::RegisterSelectionInManager() {
    const QString selected = textCursor().selectedText();
    if (selected.isEmpty()) {
        return;
    }
    if (DictionaryManager* manager = DictionaryManager::ShowFor(window(), m_document->Context())) {
        manager->RegisterText(selected);
    }
}

void TextView::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    emit contextMenuOpening(menu.get());
    menu->exec(event->globalPos());
}

} // namespace yomi6
