#include "app/main_window.h"

#include "analysis/analyzer_loader.h"
#include "app/about_dialog.h"
#include "app/document_window.h"
#include "app/help_window.h"
#include "app/window_tiling.h"
#include "editor/bookmarks_dialog.h"
#include "editor/chapters_pane.h"
#include "editor/document.h"
#include "editor/find_dialog.h"
#include "editor/reading_pane.h"
#include "editor/reading_places.h"
#include "editor/text_view.h"
#include "io/app_strings.h"
#include "playback/speech_state.h"
#include "printing/app_printer.h"
#include "reading/reading_mode.h"
#include "sound/speech_player.h"
#include "speaking/app_context.h"
#include "speaking/app_settings.h"
#include "speaking/speech_controller.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeySequence>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace yomi6 {

namespace {

constexpr const char* kAllFiles = "すべてのﾌｧｲﾙ (*)";
// How long the sleep timer's pause lasts before the reading ends: longer than any unit.
constexpr std::chrono::milliseconds kSleepEndDelay(800);
// The sleep timer's last sentence is heard ever more softly: the volume falls over this long,
// down to a quarter (12 dB less), so that the end does not wake the listener.
constexpr std::chrono::milliseconds kSleepFade(3000);
constexpr std::int32_t kSleepFadeFloor = 32768 / 4;

} // namespace

MainWindow::MainWindow(AppContext& context)
    : m_context(context), m_title(QString::fromUtf8(strings::kMainTitle)) {
    setWindowTitle(m_title);
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    ApplySavedRectangle();

    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::UpdateMenus);

    CreateActions();
    CreateToolBar();
    CreateStatusBar();
    m_readingPane = new ReadingPane(m_context, this);
    // Shown and hidden through the 表示 menu only, so that the setting follows the menu.
    m_readingPane->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::RightDockWidgetArea, m_readingPane);
    m_readingPane->setVisible(app_settings::ReadingPaneShown(m_context.Settings()));
    m_chaptersPane = new ChaptersPane(this);
    m_chaptersPane->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::LeftDockWidgetArea, m_chaptersPane);
    m_chaptersPane->hide();
    m_places = new ReadingPlaces(this);
    connect(m_places, &ReadingPlaces::problem, this,
            [this](const QString& message) { statusBar()->showMessage(message); });
    connect(m_places, &ReadingPlaces::placesChanged, this, &MainWindow::ShowPlaceCommands);
    connect(&m_context.Speech(), &SpeechController::highlightChanged, this,
            [this](const QObject* owner, int unitBegin, int unitEnd, int, int) {
                SleepTimerHeard(owner, unitBegin, unitEnd);
            });
    setAcceptDrops(true);
    ConnectCommands(m_commands, *this, Bindings());
    // The check marks of the bars and the pane follow them however they are shown or hidden
    // (the tool bar's own context menu, say).
    for (QWidget* bar :
         {static_cast<QWidget*>(m_toolBar), static_cast<QWidget*>(statusBar()),
          static_cast<QWidget*>(m_readingPane), static_cast<QWidget*>(m_chaptersPane)}) {
        bar->installEventFilter(this);
    }

    SpeechController& speech = m_context.Speech();
    connect(&speech, &SpeechController::stateChanged, this, &MainWindow::UpdateStatusPanes);
    // A reading that found the analyzer missing changes the mode a reading mode not yet chosen
    // stands for: the speech tells when it starts or ends, a dialog that read (the export, the
    // dictionary's) when it closes, the reading pane when it has read.
    connect(&speech, &SpeechController::stateChanged, this, &MainWindow::ShowReadingsCommands);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &MainWindow::ShowReadingsCommands);
    connect(m_readingPane, &ReadingPane::readingShown, this, &MainWindow::ShowReadingsCommands);
    connect(&m_context.Speech(), &SpeechController::passCut, this, &MainWindow::ShowPassCut);
    connect(&m_context.Speech(), &SpeechController::notice, this,
            [this](const QString& message) { statusBar()->showMessage(message); });
    connect(&m_context.Speech(), &SpeechController::soundUnavailable, this,
            [this] { statusBar()->showMessage(QString::fromUtf8(strings::kNoSoundOutput)); });
    // The sound output opens in the background from now on, so that the first speak command is
    // heard from its first unit; the status bar says when there is none.
    connect(&m_context.Speech().Player(), &SpeechPlayer::ready, this,
            &MainWindow::UpdateStatusPanes);
    // Another program's window becoming active stops speech, as switching documents does.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive && ActiveView() != nullptr) {
            ActiveView()->SetActive(false);
        }
    });
    ShowBarCommands();
    ShowReadingsCommands();
    ShowSleepCommands();
    UpdateMenus();
    if (!m_places->LoadProblem().isEmpty()) {
        statusBar()->showMessage(m_places->LoadProblem());
    }
}

MainWindow::~MainWindow() {
    // The document windows go first, while everything they notify still exists.
    m_destroying = true;
    delete m_mdi;
    m_mdi = nullptr;
}

TextView* MainWindow::ActiveView() const {
    QMdiSubWindow* window = m_mdi->activeSubWindow();
    auto* frame = qobject_cast<DocumentWindow*>(window);
    return frame != nullptr ? frame->View() : nullptr;
}

std::vector<DocumentWindow*> MainWindow::DocumentWindows() const {
    std::vector<DocumentWindow*> frames;
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (auto* f = qobject_cast<DocumentWindow*>(w)) {
            frames.push_back(f);
        }
    }
    return frames;
}

TextView* MainWindow::NewDocument() {
    auto* doc = new Document(m_context, this);
    doc->InitializeUntitled(++m_untitledCount);
    m_places->Watch(doc);
    auto* view = new TextView(doc);
    AddView(view);
    return view;
}

TextView* MainWindow::OpenDocument(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (DocumentWindow* frame : DocumentWindows()) {
        if (frame->View()->GetDocument()->PathName() == absolute) {
            m_mdi->setActiveSubWindow(frame);
            AddToRecentFiles(absolute);
            return frame->View();
        }
    }
    auto* doc = new Document(m_context, this);
    if (!doc->LoadFromFile(absolute, this)) {
        delete doc;
        return nullptr;
    }
    m_places->Watch(doc);
    auto* view = new TextView(doc);
    AddView(view);
    AddToRecentFiles(absolute);
    OfferLastPlace(view);
    return view;
}

DocumentWindow* MainWindow::AddView(TextView* view) {
    auto* frame = new DocumentWindow(view);
    m_mdi->addSubWindow(frame);
    Document* doc = view->GetDocument();
    // The document goes when its last window closes. Watched on the view, which has left the
    // document's views when it is destroyed (the frame's own signal comes before that).
    connect(view, &QObject::destroyed, doc, [doc, this] {
        if (doc->Views().empty()) {
            m_places->Closing(doc);
        }
        if (m_destroying) {
            if (doc->Views().empty()) {
                doc->deleteLater();
            }
            return;
        }
        for (DocumentWindow* f : DocumentWindows()) {
            if (f->View()->GetDocument() == doc) {
                f->UpdateCaption();
            }
        }
        if (doc->Views().empty()) {
            doc->deleteLater();
        }
    });
    connect(view, &TextView::voiceChanged, this, &MainWindow::UpdateStatusPanes);
    connect(view, &TextView::searchDialogWanted, this, &MainWindow::ShowSearchDialog);
    connect(view, &TextView::contextMenuOpening, this, &MainWindow::AddToContextMenu);
    connect(doc, &Document::formatChanged, this, &MainWindow::UpdateStatusPanes);
    connect(doc, &Document::titleChanged, this, &MainWindow::UpdateTitle);
    connect(doc, &Document::titleChanged, this, &MainWindow::ShowPlaceCommands);
    frame->ActivateWindow();
    for (DocumentWindow* f : DocumentWindows()) {
        f->UpdateCaption();
    }
    return frame;
}

void MainWindow::NewWindowOnActiveDocument() {
    if (TextView* active = ActiveView()) {
        AddView(new TextView(active->GetDocument()));
    }
}

void MainWindow::ApplySavedRectangle() {
    m_savedRectangle = app_settings::ReadMainRectangle();
    move(m_savedRectangle.topLeft());
    resize(m_savedRectangle.size().expandedTo(QSize(1, 1)));
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FitSavedRectangle();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    FitSavedRectangle();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FitSavedRectangle();
}

void MainWindow::FitSavedRectangle() {
    // The rectangle is the whole window, frame included. A window manager puts its frame around
    // the window some time after the window is shown, and only then is the frame's size known
    // (it comes with a move or a resize): once, the inside is made the saved size less it.
    if (m_rectangleAdjusted || !isVisible()) {
        return;
    }
    const QSize frameExtra = frameGeometry().size() - size();
    if (frameExtra.isNull()) {
        return;
    }
    m_rectangleAdjusted = true;
    if ((windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) == 0) {
        resize((m_savedRectangle.size() - frameExtra).expandedTo(QSize(1, 1)));
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A maximized document window writes its caption into this window's title; the title stays
    // the one made here.
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != m_title) {
        setWindowTitle(m_title);
    }
}

void MainWindow::SaveRectangle() {
    app_settings::WriteMainRectangle(m_context, frameGeometry());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The rectangle is written at once, whether or not the close then goes ahead.
    SaveRectangle();
    for (DocumentWindow* frame : DocumentWindows()) {
        if (!frame->close()) {
            event->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            OpenDocument(url.toLocalFile());
        }
    }
    event->acceptProposedAction();
}

void MainWindow::AddToRecentFiles(const QString& path) {
    QStringList files = m_context.RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFileCount) {
        files.removeLast();
    }
    m_context.SetRecentFiles(files);
}

void MainWindow::OpenRecentFile(int index) {
    QStringList files = m_context.RecentFiles();
    if (index < 0 || index >= files.size()) {
        return;
    }
    const QString path = files.at(index);
    if (OpenDocument(path) == nullptr) {
        // A file that no longer opens leaves the list.
        files.removeAt(index);
        m_context.SetRecentFiles(files);
    }
}

FindReplaceDialog* MainWindow::SearchDialog(bool replace) {
    FindReplaceDialog*& dialog = replace ? m_replaceDialog : m_findDialog;
    if (dialog == nullptr) {
        dialog = new FindReplaceDialog(
            replace ? FindReplaceDialog::Mode::Replace : FindReplaceDialog::Mode::Find, this);
        connect(dialog, &FindReplaceDialog::findNext, this, [this](const SearchOptions& o) {
            if (TextView* v = ActiveView()) {
                v->FindText(o);
            }
        });
        connect(dialog, &FindReplaceDialog::replaceOne, this,
                [this](const SearchOptions& o, const QString& r) {
                    if (TextView* v = ActiveView()) {
                        v->ReplaceText(o, r);
                    }
                });
        connect(dialog, &FindReplaceDialog::replaceAll, this,
                [this](const SearchOptions& o, const QString& r) {
                    if (TextView* v = ActiveView()) {
                        v->ReplaceAllText(o, r);
                    }
                });
    }
    return dialog;
}

void MainWindow::ShowSearchDialog(bool replace, const QString& selectedText) {
    FindReplaceDialog* dialog = SearchDialog(replace);
    if (!selectedText.isEmpty()) {
        dialog->SetSearchText(selectedText);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void MainWindow::AddToContextMenu(QMenu* menu) {
    // Qt's edit items show their keys only where no shortcut of the window is on at the moment.
    // The keys of a command are the window's whether the command is enabled or not, so the
    // menu never shows them there.
    for (QAction* item : menu->actions()) {
        const QString text = item->text();
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        if (tab >= 0 && IsCommandKey(QKeySequence(text.mid(tab + 1), QKeySequence::NativeText))) {
            item->setText(text.left(tab));
        }
    }
    if (QAction* action = Action(CommandId::RegisterSelection)) {
        menu->addSeparator();
        menu->addAction(action);
    }
}

std::span<const CommandBinding<MainWindow>> MainWindow::Bindings() {
    using F = MainWindow;
    static constexpr CommandBinding<F> kCommands[] = {
        {CommandId::FileNew, [](F& f) { f.NewDocument(); }},
        {CommandId::FileOpen, [](F& f) { f.OpenFilesFromDialog(); }},
        {CommandId::FileClose, [](F& f) { f.CloseActiveWindow(); }},
        {CommandId::AppExit, [](F& f) { f.close(); }},
        {CommandId::AppAbout,
         [](F& f) {
             AboutDialog about(&f);
             about.exec();
         }},
        {CommandId::HelpContents, [](F& f) { f.ShowHelp(); }},
        {CommandId::ViewToolBar,
         [](F& f) { f.m_toolBar->setVisible(!f.m_toolBar->isVisibleTo(&f)); }},
        {CommandId::ViewStatusBar,
         [](F& f) { f.statusBar()->setVisible(!f.statusBar()->isVisibleTo(&f)); }},
        {CommandId::WindowNew, [](F& f) { f.NewWindowOnActiveDocument(); }},
        {CommandId::WindowArrange, [](F& f) { ArrangeIcons(*f.m_mdi); }},
        {CommandId::WindowCascade, [](F& f) { f.m_mdi->cascadeSubWindows(); }},
        {CommandId::WindowTileHorz, [](F& f) { TileWindows(*f.m_mdi, true); }},
        {CommandId::WindowTileVert, [](F& f) { TileWindows(*f.m_mdi, false); }},
        // No window is split into panes.
        {CommandId::NextPane, [](F&) {}},
        {CommandId::PrevPane, [](F&) {}},
        {CommandId::FilePrintSetup, [](F& f) { RunPrinterSetup(f.m_context.Printer(), &f); }},
        {CommandId::Readings, [](F& f) { f.ToggleReadings(); }},
        {CommandId::AozoraNotation, [](F& f) { f.ToggleAozora(); }},
        {CommandId::ReadingPane, [](F& f) { f.ToggleReadingPane(); }},
        {CommandId::ChaptersPane, [](F& f) { f.ToggleChaptersPane(); }},
        {CommandId::ResumeReading, [](F& f) { f.ResumeReading(); }},
        {CommandId::AddBookmark, [](F& f) { f.AddBookmarkAtCaret(); }},
        {CommandId::BookmarkList, [](F& f) { f.ShowBookmarks(); }},
        {CommandId::Sleep15, [](F& f) { f.ChooseSleep(SleepTimer::Mode::Minutes15); }},
        {CommandId::Sleep30, [](F& f) { f.ChooseSleep(SleepTimer::Mode::Minutes30); }},
        {CommandId::Sleep60, [](F& f) { f.ChooseSleep(SleepTimer::Mode::Minutes60); }},
        {CommandId::SleepChapter, [](F& f) { f.ChooseSleep(SleepTimer::Mode::ChapterEnd); }},
        {CommandId::RecentFile1, [](F& f) { f.OpenRecentFile(0); }},
        {CommandId::RecentFile2, [](F& f) { f.OpenRecentFile(1); }},
        {CommandId::RecentFile3, [](F& f) { f.OpenRecentFile(2); }},
        {CommandId::RecentFile4, [](F& f) { f.OpenRecentFile(3); }},
    };
    static_assert(kRecentFileCount == 4, "one row per recent file");
    return kCommands;
}

void MainWindow::OpenFilesFromDialog() {
    const TextView* active = ActiveView();
    const QStringList files = QFileDialog::getOpenFileNames(
        this, QString(),
        DialogFolder(m_context, active != nullptr ? active->GetDocument()->PathName() : QString()),
        QString::fromUtf8(strings::kFileFilter) + QStringLiteral(";;") +
            QString::fromUtf8(kAllFiles));
    for (const QString& f : files) {
        OpenDocument(f);
    }
}

void MainWindow::CloseActiveWindow() {
    if (QMdiSubWindow* w = m_mdi->activeSubWindow()) {
        w->close();
    }
}

void MainWindow::ToggleReadings() {
    // Takes effect at the next speak command, like the speed.
    SpeechPreferences& choices = m_context.Preferences();
    choices.readings = SwitchedReadings(choices.readings, m_context.ReadingAnalyzer());
    ShowReadingsCommands();
    if (m_readingPane->isVisibleTo(this)) {
        m_readingPane->Refresh();
    }
}

void MainWindow::ToggleAozora() {
    // Takes effect at the next speak command, like the reading mode.
    SpeechPreferences& choices = m_context.Preferences();
    choices.aozora = choices.aozora == AozoraMode::Off ? AozoraMode::Auto : AozoraMode::Off;
    ShowReadingsCommands();
    if (m_readingPane->isVisibleTo(this)) {
        m_readingPane->Refresh();
    }
}

void MainWindow::ToggleReadingPane() {
    m_readingPane->setVisible(!m_readingPane->isVisibleTo(this));
    app_settings::SetReadingPaneShown(m_context.Settings(), m_readingPane->isVisibleTo(this));
    if (m_readingPane->isVisibleTo(this)) {
        m_readingPane->Refresh();
    }
}

void MainWindow::ToggleChaptersPane() {
    m_chaptersPane->setVisible(!m_chaptersPane->isVisibleTo(this));
}

void MainWindow::ShowPlaceCommands() {
    const TextView* view = ActiveView();
    const Document* doc = view != nullptr ? view->GetDocument() : nullptr;
    const bool hasFile = doc != nullptr && !doc->PathName().isEmpty();
    m_commands.SetEnabled(CommandId::ResumeReading, hasFile);
    m_commands.SetEnabled(CommandId::AddBookmark, hasFile);
    m_commands.SetEnabled(CommandId::BookmarkList, hasFile);
}

void MainWindow::OfferLastPlace(TextView* view) {
    const std::optional<int> place = m_places->LastPlace(view->GetDocument());
    ShowPlaceCommands();
    if (!place) {
        return;
    }
    MoveCaretTo(view, *place);
    const int line = view->document()->findBlock(*place).blockNumber() + 1;
    statusBar()->showMessage(
        QStringLiteral(
            "前回は %1 行目で読むのをやめました。続きから読む (Ctrl+Shift+F3) でそこから読みます。")
            .arg(line));
}

void MainWindow::MoveCaretTo(TextView* view, int position) {
    QTextDocument* text = view->document();
    QTextCursor caret(text);
    caret.setPosition(std::clamp(position, 0, text->characterCount() - 1));
    view->setTextCursor(caret);
    // The caret's line at the top: from the end of the text back up to the caret.
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    view->ensureCursorVisible();
}

void MainWindow::ResumeReading() {
    TextView* view = ActiveView();
    const std::optional<int> place =
        view != nullptr ? m_places->LastPlace(view->GetDocument()) : std::nullopt;
    if (!place) {
        if (view != nullptr) {
            statusBar()->showMessage(QStringLiteral("このﾌｧｲﾙには続きから読む位置がありません。"));
        }
        return;
    }
    MoveCaretTo(view, *place);
    Dispatch(CommandId::ReadFromCaret);
}

void MainWindow::AddBookmarkAtCaret() {
    TextView* view = ActiveView();
    if (view == nullptr) {
        return;
    }
    const QTextCursor caret = view->textCursor();
    const QString line = caret.block().text().trimmed().left(20);
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, QStringLiteral("しおりを挟む"), QStringLiteral("しおりの名前:"),
                              QLineEdit::Normal, line, &ok);
    if (ok) {
        m_places->AddBookmark(view->GetDocument(), name.trimmed().isEmpty() ? line : name.trimmed(),
                              caret.position());
    }
}

BookmarksDialog* MainWindow::BookmarksWindow() const {
    return m_bookmarks;
}

void MainWindow::ShowBookmarks() {
    TextView* view = ActiveView();
    if (view == nullptr) {
        return;
    }
    delete m_bookmarks;
    QPointer<TextView> target(view);
    m_bookmarks = new BookmarksDialog(
        *m_places, view->GetDocument(),
        [target](int position) {
            if (target != nullptr) {
                MoveCaretTo(target, position);
            }
        },
        this);
    m_bookmarks->setAttribute(Qt::WA_DeleteOnClose);
    m_bookmarks->show();
}

void MainWindow::ChooseSleep(SleepTimer::Mode mode) {
    m_sleep.Set(m_sleep.Current() == mode ? SleepTimer::Mode::Off : mode, SleepTimer::Clock::now());
    ShowSleepCommands();
}

void MainWindow::ShowSleepCommands() {
    using enum SleepTimer::Mode;
    const SleepTimer::Mode now = m_sleep.Current();
    m_commands.SetChecked(CommandId::Sleep15, now == Minutes15);
    m_commands.SetChecked(CommandId::Sleep30, now == Minutes30);
    m_commands.SetChecked(CommandId::Sleep60, now == Minutes60);
    m_commands.SetChecked(CommandId::SleepChapter, now == ChapterEnd);
}

void MainWindow::SleepTimerHeard(const QObject* owner, int unitBegin, int unitEnd) {
    const auto* view = qobject_cast<const TextView*>(owner);
    if (view == nullptr || unitBegin < 0 || m_sleep.Current() == SleepTimer::Mode::Off) {
        return;
    }
    const auto now = SleepTimer::Clock::now();
    QString text;
    if (m_sleep.NeedsText(now)) {
        text = view->GetDocument()->Text();
    }
    const bool last =
        m_sleep.Heard(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                          static_cast<std::size_t>(text.size())),
                      static_cast<std::size_t>(unitBegin),
                      static_cast<std::size_t>(std::max(unitEnd, unitBegin)), now);
    if (last || m_sleep.InLastSentence(static_cast<std::size_t>(unitBegin))) {
        m_context.Speech().FadeOut(kSleepFade, kSleepFadeFloor);
    }
    if (last) {
        // The unit being heard is the last: the reading pauses after it, and ends once it has
        // been heard (the end fades out whatever still sounds; the place heard last is kept as
        // at any stop). Asked once the speech has finished telling of this unit.
        QMetaObject::invokeMethod(
            this,
            [this] {
                SpeechController& speech = m_context.Speech();
                if (!speech.IsPaused()) {
                    speech.TogglePause();
                }
                m_sleepEnding = true;
                QTimer::singleShot(kSleepEndDelay, this, &MainWindow::EndSleepingReading);
            },
            Qt::QueuedConnection);
        ShowSleepCommands();
    }
}

void MainWindow::EndSleepingReading() {
    SpeechController& speech = m_context.Speech();
    if (!m_sleepEnding) {
        return;
    }
    m_sleepEnding = false;
    // Resumed in the meantime: the user goes on listening.
    if (!speech.IsPaused()) {
        return;
    }
    speech.Stop();
    statusBar()->showMessage(QStringLiteral("ｽﾘｰﾌﾟﾀｲﾏｰで読み上げを止めました。"));
}

void MainWindow::ShowHelp() {
    auto* help = new HelpWindow(this);
    help->show();
}

} // namespace yomi6
