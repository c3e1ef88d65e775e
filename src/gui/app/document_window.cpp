#include "app/document_window.h"

#include "editor/document.h"
#include "editor/text_view.h"
#include "speaking/app_context.h"
#include "speaking/app_settings.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMenu>

#include <algorithm>

namespace yomi6 {

DocumentWindow::DocumentWindow(TextView* view, QWidget* parent)
    : QMdiSubWindow(parent), m_view(view) {
    setWidget(view);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(QStringLiteral(":/icons/document.svg")));
    Document* doc = view->GetDocument();
    connect(doc, &Document::titleChanged, this, &DocumentWindow::UpdateCaption);
    connect(doc, &Document::modifiedChanged, this, &DocumentWindow::UpdateCaption);
    UpdateCaption();
    // Ctrl+F4 pauses the speech: the window menu's close entry keeps its other keys only.
    if (QMenu* menu = systemMenu()) {
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4)) > 0) {
                action->setShortcuts(keys);
            }
        }
    }
}

AppSettings& DocumentWindow::Settings() const {
    return m_view->GetDocument()->Context().Settings();
}

void DocumentWindow::ActivateWindow() {
    switch (app_settings::ChildShowState(Settings())) {
    case ShowState::Minimized:
        showMinimized();
        break;
    case ShowState::Normal:
        showNormal();
        break;
    case ShowState::Maximized:
        showMaximized();
        break;
    }
    m_view->setFocus();
}

QString DocumentWindow::Caption() const {
    const Document* doc = m_view->GetDocument();
    QString caption = doc->Title();
    const auto& views = doc->Views();
    if (views.size() > 1) {
        const auto it = std::find(views.begin(), views.end(), m_view);
        caption += QStringLiteral(":%1").arg(it - views.begin() + 1);
    }
    return caption;
}

void DocumentWindow::UpdateCaption() {
    // The mark is part of the caption itself rather than the window's modified state: that
    // state would be handed on to the main window while this one is maximized, whose title
    // carries no mark.
    const bool modified = m_view->GetDocument()->IsModified();
    setWindowTitle(Caption() + (modified ? QStringLiteral("*") : QString()));
}

bool DocumentWindow::eventFilter(QObject* watched, QEvent* event) {
    // While maximized, the sub-window watches the main window's title and adds its own caption
    // to it in brackets. The main window makes its title itself (the program's title and the
    // active document's), so that watch is left out; everything else goes on as usual.
    if (event->type() == QEvent::WindowTitleChange && watched != widget()) {
        return false;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void DocumentWindow::closeEvent(QCloseEvent* event) {
    Document* doc = m_view->GetDocument();
    // The last window of a modified document asks to save it; Cancel keeps it open.
    if (doc->Views().size() == 1 && !doc->SaveModified(window())) {
        event->ignore();
        return;
    }
    m_view->SetActive(false);
    QMdiSubWindow::closeEvent(event);
}

void DocumentWindow::changeEvent(QEvent* event) {
    QMdiSubWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        RememberShowState();
    }
}

void DocumentWindow::RememberShowState() {
    if (!isVisible()) {
        return;
    }
    if (isMinimized()) {
        app_settings::SetChildShowState(Settings(), ShowState::Minimized);
    } else if (isMaximized()) {
        app_settings::SetChildShowState(Settings(), ShowState::Maximized);
    } else {
        app_settings::SetChildShowState(Settings(), ShowState::Normal);
    }
}

} // namespace yomi6
