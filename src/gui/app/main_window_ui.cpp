// Building the main window's menus, tool bar, shortcuts and status bar from the command table,
// and keeping their enabling and check marks current.
#include "analysis/analyzer_loader.h"
#include "app/document_window.h"
#include "app/main_window.h"
#include "commands/command_menu.h"
#include "commands/command_table.h"
#include "editor/chapters_pane.h"
#include "editor/document.h"
#include "editor/reading_pane.h"
#include "editor/text_view.h"
#include "io/app_strings.h"
#include "platform/ui_text.h"
#include "playback/playback.h"
#include "playback/speech_state.h"
#include "reading/reading_mode.h"
#include "sound/speech_player.h"
#include "speaking/app_context.h"
#include "speaking/app_settings.h"
#include "speaking/speech_controller.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolBar>

#include <string_view>

namespace yomi6 {

namespace {

// The text a menu shows for item: its own text or its command's, then the command's first
// shortcut after a tab when the command shows it.
QString MenuText(const MenuItem& item, const Command* command) {
    QString text = Tr(item.text != nullptr                             ? item.text
                      : command != nullptr && command->text != nullptr ? command->text
                                                                       : "");
    if (command != nullptr && command->keyInMenu && command->keys != nullptr) {
        const std::string_view keys(command->keys);
        const std::string_view first = keys.substr(0, keys.find(';'));
        text += QLatin1Char('\t') +
                QString::fromLatin1(first.data(), static_cast<qsizetype>(first.size()));
    }
    return text;
}

// Property names that mark the menu entries built on the fly.
constexpr const char* kRecentPlaceholder = "yomi6RecentPlaceholder";
constexpr const char* kDynamicEntry = "yomi6DynamicEntry";
// The command an action carries out.
constexpr const char* kCommandProperty = "yomi6Command";

} // namespace

QAction* MainWindow::MakeAction(CommandId id) {
    const Command& command = *FindCommand(id);
    auto* action = new QAction(MenuText(MenuItem{command.id}, &command), this);
    if (command.prompt != nullptr) {
        action->setStatusTip(Tr(command.prompt));
    }
    if (command.toolTip != nullptr) {
        action->setToolTip(Tr(command.toolTip));
    }
    if (command.icon != nullptr) {
        action->setIcon(QIcon(QString::fromLatin1(command.icon)));
        action->setIconVisibleInMenu(false);
    }
    action->setCheckable(command.checkable);
    action->setProperty(kCommandProperty, static_cast<int>(command.id));
    if (command.keys != nullptr) {
        // The keys work wherever the focus is in this window, with any menu bar or none; the
        // text view claims the editing keys it knows itself.
        action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(command.keys)));
        action->setShortcutContext(Qt::WindowShortcut);
        if (!command.keyInMenu) {
            CommandMenu::HideShortcutInMenus(action);
        }
    }
    addAction(action);
    return action;
}

bool MainWindow::IsCommandKey(const QKeySequence& keys) const {
    for (const auto& [id, action] : m_commands.All()) {
        if (action->shortcuts().contains(keys)) {
            return true;
        }
    }
    return false;
}

QAction* MainWindow::Action(CommandId id) const {
    return m_commands.Action(id);
}

void MainWindow::CheckCommandOwners() {
    for (const Command& c : Commands()) {
        const bool inView = Carries(TextView::Bindings(), c.id);
        const bool carried = c.owner == CommandOwner::View
                                 ? inView
                                 : Carries(MainWindow::Bindings(), c.id) && !inView;
        if (!carried) {
            qWarning("Command %d has no handler in the %s", int(c.id),
                     c.owner == CommandOwner::View ? "view" : "main window");
        }
    }
}

void MainWindow::CreateActions() {
    CheckCommandOwners();
    // One action per command, shared by both menu bars and the tool bar.
    for (const Command& c : Commands()) {
        m_commands.Add(c.id, MakeAction(c.id));
    }
    BuildMenus(false, m_frameMenus);
    BuildMenus(true, m_documentMenus);
    ShowMenus(false);
}

QMenu* MainWindow::BuildMenus(bool documentMenu, std::vector<QMenu*>& menus) {
    QMenu* current = nullptr;
    for (const MenuItem& e : documentMenu ? DocumentMenu() : MainWindowMenu()) {
        if (e.id == CommandId::None && e.text != nullptr) {
            current = new CommandMenu(Tr(e.text), this);
            menus.push_back(current);
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        if (e.id == CommandId::None) {
            current->addSeparator();
            continue;
        }
        const Command* command = FindCommand(e.id);
        QAction* action = Action(e.id);
        if (e.grayed || action == nullptr) {
            // Shown disabled whatever the command's state: an entry that only stands in the
            // menu, not the command's action.
            action = new QAction(MenuText(e, command), this);
            if (command != nullptr && command->prompt != nullptr) {
                action->setStatusTip(Tr(command->prompt));
            }
            action->setEnabled(false);
        }
        current->addAction(action);
        if (e.id == CommandId::RecentFile1) {
            // The recent files take this entry's place once there are any.
            action->setProperty(kRecentPlaceholder, true);
            QMenu* menu = current;
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { RefreshRecentFileMenu(menu); });
        }
        if (e.id == CommandId::WindowNew) {
            QMenu* menu = current;
            connect(menu, &QMenu::aboutToShow, this, [this, menu] { RefreshWindowMenu(menu); });
        }
    }
    return current;
}

void MainWindow::ShowMenus(bool documentMenus) {
    if (!menuBar()->actions().isEmpty() && documentMenus == m_showingDocumentMenus) {
        return;
    }
    m_showingDocumentMenus = documentMenus;
    menuBar()->clear();
    for (QMenu* m : documentMenus ? m_documentMenus : m_frameMenus) {
        menuBar()->addMenu(m);
    }
    // A layout may name a command in its own words: the shared action takes the words of the
    // menu bar shown.
    for (const MenuItem& e : documentMenus ? DocumentMenu() : MainWindowMenu()) {
        QAction* action = e.grayed ? nullptr : Action(e.id);
        if (action != nullptr) {
            action->setText(MenuText(e, FindCommand(e.id)));
        }
    }
}

void MainWindow::RefreshRecentFileMenu(QMenu* menu) {
    QAction* placeholder = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->property(kRecentPlaceholder).toBool()) {
            placeholder = a;
        }
    }
    if (placeholder == nullptr) {
        return;
    }
    for (int i = 0; i < kRecentFileCount; ++i) {
        menu->removeAction(Action(RecentFileCommand(i)));
    }
    const QStringList files = m_context.RecentFiles();
    placeholder->setVisible(files.isEmpty());
    for (int i = 0; i < files.size() && i < kRecentFileCount; ++i) {
        QAction* a = Action(RecentFileCommand(i));
        a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(files.at(i)));
        menu->insertAction(placeholder, a);
    }
}

void MainWindow::RefreshWindowMenu(QMenu* menu) {
    for (QAction* a : menu->actions()) {
        if (a->property(kDynamicEntry).toBool()) {
            menu->removeAction(a);
            a->deleteLater();
        }
    }
    const std::vector<DocumentWindow*> frames = DocumentWindows();
    if (frames.empty()) {
        return;
    }
    QAction* separator = menu->addSeparator();
    separator->setProperty(kDynamicEntry, true);
    int number = 0;
    for (DocumentWindow* f : frames) {
        QAction* a = menu->addAction(QStringLiteral("&%1 %2").arg(++number).arg(f->Caption()));
        a->setProperty(kDynamicEntry, true);
        a->setCheckable(true);
        a->setChecked(f == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, f] { m_mdi->setActiveSubWindow(f); });
    }
}

void MainWindow::CreateToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(20, 20));
    m_toolBar->setMovable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (const CommandId id : ToolBarLayout()) {
        if (id == CommandId::None) {
            m_toolBar->addSeparator();
            continue;
        }
        if (QAction* action = Action(id)) {
            m_toolBar->addAction(action);
        }
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

void MainWindow::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    m_messagePane = new QLabel(Tr(strings::kReady), bar);
    bar->addWidget(m_messagePane, 1);
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

void MainWindow::UpdateStatusPanes() {
    const QString voice = Utf8(VoiceIndicatorText(m_context.Preferences().voice));
    m_voicePane->setText(voice);
    m_readingsPane->setText(Utf8(ReadingsIndicatorText(
        ResolveReadingMode(m_context.Preferences().readings, m_context.ReadingAnalyzer()))));
    // The voice may change while speaking (F5); the mode is the pass's own, as switching it
    // takes effect at the next pass.
    SpeechController& speech = m_context.Speech();
    const bool reading = speech.IsTimerRunning() && speech.Owner() != nullptr;
    if (speech.IsPaused() || reading) {
        QString mode = Utf8(ReadingsIndicatorText(speech.PassReadings()));
        const SpeechPlayer& player = speech.Player();
        const bool silent = player.IsReady() && !player.HasOutput();
        if (silent) {
            mode += Tr(strings::kNoOutputStatus);
        }
        m_messagePane->setText(
            Tr(speech.IsPaused() ? strings::kPausedStatus : strings::kReadingStatus)
                .arg(voice, mode));
        // The notices of before give way to the reading's state, which says what they said.
        const QString shown = statusBar()->currentMessage();
        if ((!m_passCutNotice.isEmpty() && shown == m_passCutNotice) ||
            (silent && shown == Tr(strings::kNoSoundOutput))) {
            statusBar()->clearMessage();
        }
        m_passCutNotice.clear();
    } else {
        m_messagePane->setText(Tr(strings::kReady));
    }
    const TextView* view = ActiveView();
    m_encodingPane->setText(view != nullptr ? EncodingName(view->GetDocument()->Format().encoding)
                                            : QString());
}

void MainWindow::ShowPassCut(const QObject* view, int position) {
    const auto* speaking = qobject_cast<const TextView*>(view);
    if (speaking == nullptr) {
        return;
    }
    const int line = speaking->document()->findBlock(position).blockNumber() + 1;
    m_passCutNotice = Tr(strings::kPassCut).arg(line);
    statusBar()->showMessage(m_passCutNotice);
}

QString MainWindow::StatusMessage() const {
    const QString message = statusBar()->currentMessage();
    return message.isEmpty() ? m_messagePane->text() : message;
}

void MainWindow::Dispatch(CommandId id) {
    if (QAction* action = Action(id)) {
        action->trigger();
    }
}

void MainWindow::UpdateMenus() {
    TextView* now = ActiveView();
    if (m_lastActiveView != nullptr && m_lastActiveView != now) {
        m_lastActiveView->ReleaseCommands();
        m_lastActiveView->SetActive(false);
    }
    m_lastActiveView = now;
    if (now != nullptr) {
        now->SetActive(true);
        now->TakeCommands(m_commands);
    } else {
        // Nothing carries the document's commands out.
        for (const Command& c : Commands()) {
            if (c.owner == CommandOwner::View) {
                m_commands.SetEnabled(c.id, false);
                m_commands.SetChecked(c.id, false);
            }
        }
    }
    // This window's commands on the active document window.
    for (const CommandId id :
         {CommandId::FileClose, CommandId::WindowNew, CommandId::WindowArrange,
          CommandId::WindowCascade, CommandId::WindowTileHorz, CommandId::WindowTileVert}) {
        m_commands.SetEnabled(id, now != nullptr);
    }
    ShowMenus(now != nullptr);
    m_readingPane->SetView(now);
    m_chaptersPane->SetView(now);
    ShowPlaceCommands();
    UpdateTitle();
    UpdateStatusPanes();
}

void MainWindow::ShowBarCommands() {
    m_commands.SetChecked(CommandId::ViewToolBar, m_toolBar->isVisibleTo(this));
    m_commands.SetChecked(CommandId::ViewStatusBar, statusBar()->isVisibleTo(this));
    m_commands.SetChecked(CommandId::ReadingPane, m_readingPane->isVisibleTo(this));
    m_commands.SetChecked(CommandId::ChaptersPane, m_chaptersPane->isVisibleTo(this));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
        ShowBarCommands();
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::ShowReadingsCommands() {
    const SpeechPreferences& choices = m_context.Preferences();
    m_commands.SetChecked(CommandId::Readings,
                          ResolveReadingMode(choices.readings, m_context.ReadingAnalyzer()) ==
                              ReadingMode::Automatic);
    m_commands.SetChecked(CommandId::AozoraNotation, choices.aozora != AozoraMode::Off);
    UpdateStatusPanes();
}

void MainWindow::UpdateTitle() {
    // The title shows the active document's name after the program's own.
    m_title = Tr(strings::kMainTitle);
    if (const TextView* view = ActiveView()) {
        m_title += QStringLiteral(" - ") + view->GetDocument()->Title();
    }
    setWindowTitle(m_title);
}

std::vector<QAction*> MainWindow::ActionsFor(CommandId id) const {
    std::vector<QAction*> out;
    for (QAction* a : findChildren<QAction*>()) {
        const QVariant command = a->property(kCommandProperty);
        if (command.isValid() && command.toInt() == static_cast<int>(id)) {
            out.push_back(a);
        }
    }
    return out;
}

} // namespace yomi6
