// Building the main window's menus, tool bar, shortcuts and status bar from the command table,
// and keeping their enabling and check marks current.
#include "app/app_strings.h"
#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/main_frame.h"
#include "speech/playback.h"
#include "speech/speech_state.h"
#include "view/app_settings.h"
#include "view/yomi6_doc.h"
#include "view/yomi6_view.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace yomi6 {

namespace {

QString Tr(const char* s) {
    return QString::fromUtf8(s);
}

bool IsCheckable(cmd::Id id) {
    return id == cmd::WordWrap || id == cmd::FitSamples || id == cmd::ViewToolBar ||
           id == cmd::ViewStatusBar || id == cmd::Readings || id == cmd::Pause ||
           id == cmd::ReadingPane;
}

// Property names that mark the menu entries built on the fly.
constexpr const char* kRecentPlaceholder = "yomi6RecentPlaceholder";
constexpr const char* kDynamicEntry = "yomi6DynamicEntry";

} // namespace

QAction* CMainFrame::MakeAction(cmd::Id id, const QString& text) {
    auto* action = new QAction(text, this);
    if (const CommandInfo* info = FindCommand(id)) {
        action->setStatusTip(Tr(info->prompt));
        if (info->toolTip != nullptr) {
            action->setToolTip(Tr(info->toolTip));
        }
        if (info->icon != nullptr) {
            action->setIcon(QIcon(QString::fromLatin1(info->icon)));
            action->setIconVisibleInMenu(false);
        }
    }
    action->setCheckable(IsCheckable(id));
    connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
    m_actions.emplace_back(id, action);
    return action;
}

void CMainFrame::CreateActions() {
    BuildMenus(false, m_frameMenus);
    BuildMenus(true, m_documentMenus);
    ShowMenus(false);

    // Accelerators work wherever the focus is in this window; the text view claims the editing
    // keys it knows itself.
    for (const Accelerator& a : Accelerators()) {
        auto* shortcut = new QAction(this);
        shortcut->setShortcut(QKeySequence(QString::fromLatin1(a.keys)));
        shortcut->setShortcutContext(Qt::WindowShortcut);
        const cmd::Id id = a.id;
        connect(shortcut, &QAction::triggered, this, [this, id] {
            UpdateCommandUI();
            CommandState state;
            state.enabled = false;
            CYOMI5View* view = ActiveView();
            if (view != nullptr && view->HandlesCommand(id)) {
                state.enabled = true;
                view->UpdateCommand(id, state);
            } else if (HandlesCommand(id)) {
                state.enabled = true;
                UpdateCommand(id, state);
            }
            if (state.enabled) {
                Dispatch(id);
            }
        });
        addAction(shortcut);
        m_shortcuts.push_back(shortcut);
    }
}

QMenu* CMainFrame::BuildMenus(bool documentMenu, std::vector<QMenu*>& menus) {
    QMenu* current = nullptr;
    for (const MenuEntry& e : documentMenu ? DocumentMenu() : MainFrameMenu()) {
        if (e.id == cmd::None && e.text != nullptr) {
            current = new QMenu(Tr(e.text), this);
            menus.push_back(current);
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        if (e.id == cmd::None) {
            current->addSeparator();
            continue;
        }
        QAction* action = MakeAction(e.id, Tr(e.text));
        current->addAction(action);
        if (e.id == cmd::FileMruFirst) {
            // The recent files take this entry's place once there are any.
            action->setProperty(kRecentPlaceholder, true);
            action->setEnabled(false);
            QMenu* menu = current;
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { RefreshRecentFileMenu(menu); });
        }
        if (e.id == cmd::WindowNew) {
            QMenu* menu = current;
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { RefreshWindowMenu(menu); });
        }
    }
    for (QMenu* m : menus) {
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
    }
    return current;
}

void CMainFrame::ShowMenus(bool documentMenus) {
    if (!menuBar()->actions().isEmpty() && documentMenus == m_showingDocumentMenus) {
        return;
    }
    m_showingDocumentMenus = documentMenus;
    menuBar()->clear();
    for (QMenu* m : documentMenus ? m_documentMenus : m_frameMenus) {
        menuBar()->addMenu(m);
    }
}

void CMainFrame::RefreshRecentFileMenu(QMenu* menu) {
    QAction* placeholder = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->property(kDynamicEntry).toBool()) {
            menu->removeAction(a);
            std::erase_if(m_actions, [a](const auto& p) { return p.second == a; });
            a->deleteLater();
        } else if (a->property(kRecentPlaceholder).toBool()) {
            placeholder = a;
        }
    }
    if (placeholder == nullptr) {
        return;
    }
    const QStringList files = app_settings::RecentFiles();
    placeholder->setVisible(files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        const auto id = static_cast<cmd::Id>(cmd::FileMruFirst + i);
        QAction* a = MakeAction(id, QStringLiteral("&%1 %2").arg(i + 1).arg(files.at(i)));
        a->setProperty(kDynamicEntry, true);
        menu->insertAction(placeholder, a);
    }
}

void CMainFrame::RefreshWindowMenu(QMenu* menu) {
    for (QAction* a : menu->actions()) {
        if (a->property(kDynamicEntry).toBool()) {
            menu->removeAction(a);
            a->deleteLater();
        }
    }
    const std::vector<CChildFrame*> frames = ChildFrames();
    if (frames.empty()) {
        return;
    }
    QAction* separator = menu->addSeparator();
    separator->setProperty(kDynamicEntry, true);
    int number = 0;
    for (CChildFrame* f : frames) {
        QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(++number).arg(f->Caption()));
        a->setProperty(kDynamicEntry, true);
        a->setCheckable(true);
        a->setChecked(f == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, f] { m_mdi->setActiveSubWindow(f); });
    }
}

void CMainFrame::CreateToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(20, 20));
    m_toolBar->setMovable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (const cmd::Id id : ToolBarLayout()) {
        if (id == cmd::None) {
            m_toolBar->addSeparator();
            continue;
        }
        const CommandInfo* info = FindCommand(id);
        QAction* action =
            MakeAction(id, Tr(info != nullptr && info->toolTip != nullptr ? info->toolTip : ""));
        m_toolBar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    m_readyLabel = new QLabel(Tr(strings::kReady), bar);
    bar->addWidget(m_readyLabel, 1);
    auto pane = [bar](const char* text) {
        auto* label = new QLabel(Tr(text), bar);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(Tr(text)) + 12);
        bar->addPermanentWidget(label);
        return label;
    };
    // The keyboard's lock states are not known to the program: those panes stay dimmed.
    m_kanaPane = pane(strings::kIndicatorKana);
    m_capsPane = pane(strings::kIndicatorCaps);
    m_numPane = pane(strings::kIndicatorNum);
    for (QLabel* l : {m_kanaPane, m_capsPane, m_numPane}) {
        l->setEnabled(false);
    }
    m_encodingPane = pane("UTF-8 BOM");
    m_voicePane = pane(strings::kIndicatorVoiceSizing);
    m_readingsPane = pane(strings::kIndicatorReadingsSizing);
}

void CMainFrame::UpdateStatusPanes() {
    const std::string_view voice = VoiceIndicatorText(g_speech.voice);
    m_voicePane->setText(QString::fromUtf8(voice.data(), static_cast<qsizetype>(voice.size())));
    const std::string_view readings = ReadingsIndicatorText(g_speech.readings);
    m_readingsPane->setText(
        QString::fromUtf8(readings.data(), static_cast<qsizetype>(readings.size())));
    const CYOMI5View* view = ActiveView();
    m_encodingPane->setText(view != nullptr ? EncodingName(view->GetDocument()->Format().encoding)
                                            : QString());
}

void CMainFrame::Dispatch(cmd::Id id) {
    CYOMI5View* view = ActiveView();
    if (view != nullptr && view->HandlesCommand(id)) {
        view->OnCommand(id);
    } else if (HandlesCommand(id)) {
        OnCommand(id);
    }
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI() {
    const CYOMI5View* view = ActiveView();
    for (const auto& [id, action] : m_actions) {
        CommandState state;
        if (view != nullptr && view->HandlesCommand(id)) {
            view->UpdateCommand(id, state);
        } else if (HandlesCommand(id)) {
            UpdateCommand(id, state);
        } else {
            state.enabled = false; // nothing carries it out here
        }
        if (action->property(kRecentPlaceholder).toBool()) {
            state.enabled = false;
        }
        action->setEnabled(state.enabled);
        if (action->isCheckable()) {
            action->setChecked(state.checked);
        }
    }
    UpdateStatusPanes();
    // The title shows the active document's name after the program's own.
    m_title = Tr(strings::kMainTitle);
    if (view != nullptr) {
        m_title += QStringLiteral(" - ") + view->GetDocument()->Title();
    }
    setWindowTitle(m_title);
}

std::vector<QAction*> CMainFrame::ActionsFor(cmd::Id id) const {
    std::vector<QAction*> out;
    for (const auto& [actionId, action] : m_actions) {
        if (actionId == id) {
            out.push_back(action);
        }
    }
    return out;
}

} // namespace yomi6
