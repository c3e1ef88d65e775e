#include "app/main_frame.h"

#include "app/about_dialog.h"
#include "app/app_strings.h"
#include "app/child_frame.h"
#include "app/help_window.h"
#include "app/window_tiling.h"
#include "speech/speech_state.h"
#include "view/app_printer.h"
#include "view/app_settings.h"
#include "view/find_dialog.h"
#include "view/reading_pane.h"
#include "view/speech_controller.h"
#include "view/yomi6_doc.h"
#include "view/yomi6_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

namespace yomi6 {

namespace {

constexpr const char* kAllFiles = "すべてのﾌｧｲﾙ (*)";

} // namespace

CMainFrame::CMainFrame() : m_title(QString::fromUtf8(strings::kMainTitle)) {
    setWindowTitle(m_title);
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    ApplySavedRectangle();

    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    CreateActions();
    CreateToolBar();
    CreateStatusBar();
    m_readingPane = new ReadingPane(this);
    // Shown and hidden through the 表示 menu only, so that the setting follows the menu.
    m_readingPane->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    addDockWidget(Qt::RightDockWidgetArea, m_readingPane);
    m_readingPane->setVisible(app_settings::ReadingPaneShown());
    setAcceptDrops(true);

    connect(&SpeechController::Instance(), &SpeechController::stateChanged, this,
            &CMainFrame::UpdateCommandUI);
    connect(&SpeechController::Instance(), &SpeechController::soundUnavailable, this,
            [this] { statusBar()->showMessage(QString::fromUtf8(strings::kNoSoundOutput)); });
    // The sound output opens in the background from now on, so that the first speak command is
    // heard from its first unit.
    SpeechController::Instance().Player();
    // Another program's window becoming active stops speech, as switching documents does.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive && ActiveView() != nullptr) {
            ActiveView()->OnActivateView(false);
        }
    });
    UpdateCommandUI();
}

CMainFrame::~CMainFrame() {
    // The document windows go first, while everything they notify still exists.
    m_destroying = true;
    delete m_mdi;
    m_mdi = nullptr;
}

CYOMI5View* CMainFrame::ActiveView() const {
    QMdiSubWindow* window = m_mdi->activeSubWindow();
    auto* frame = qobject_cast<CChildFrame*>(window);
    return frame != nullptr ? frame->View() : nullptr;
}

std::vector<CChildFrame*> CMainFrame::ChildFrames() const {
    std::vector<CChildFrame*> frames;
    for (QMdiSubWindow* w : m_mdi->subWindowList()) {
        if (auto* f = qobject_cast<CChildFrame*>(w)) {
            frames.push_back(f);
        }
    }
    return frames;
}

CYOMI5View* CMainFrame::NewDocument() {
    auto* doc = new CYOMI5Doc(this);
    doc->OnNewDocument(++m_untitledCount);
    auto* view = new CYOMI5View(doc);
    AddView(view);
    return view;
}

CYOMI5View* CMainFrame::OpenDocument(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (CChildFrame* frame : ChildFrames()) {
        if (frame->View()->GetDocument()->PathName() == absolute) {
            m_mdi->setActiveSubWindow(frame);
            AddToRecentFiles(absolute);
            return frame->View();
        }
    }
    auto* doc = new CYOMI5Doc(this);
    if (!doc->OnOpenDocument(absolute, this)) {
        delete doc;
        return nullptr;
    }
    auto* view = new CYOMI5View(doc);
    AddView(view);
    AddToRecentFiles(absolute);
    return view;
}

CChildFrame* CMainFrame::AddView(CYOMI5View* view) {
    auto* frame = new CChildFrame(view);
    m_mdi->addSubWindow(frame);
    CYOMI5Doc* doc = view->GetDocument();
    // The document goes when its last window closes.
    connect(frame, &QObject::destroyed, doc, [doc, this] {
        if (m_destroying) {
            if (doc->Views().empty()) {
                doc->deleteLater();
            }
            return;
        }
        for (CChildFrame* f : ChildFrames()) {
            if (f->View()->GetDocument() == doc) {
                f->UpdateCaption();
            }
        }
        if (doc->Views().empty()) {
            doc->deleteLater();
        }
        UpdateCommandUI();
    });
    connect(view, &QPlainTextEdit::copyAvailable, this, &CMainFrame::UpdateCommandUI);
    connect(view, &QPlainTextEdit::undoAvailable, this, &CMainFrame::UpdateCommandUI);
    connect(view, &QPlainTextEdit::textChanged, this, &CMainFrame::UpdateCommandUI);
    connect(view, &CYOMI5View::voiceChanged, this, &CMainFrame::UpdateCommandUI);
    connect(view, &CYOMI5View::searchDialogWanted, this, &CMainFrame::ShowSearchDialog);
    connect(view, &CYOMI5View::contextMenuOpening, this, &CMainFrame::AddToContextMenu);
    connect(doc, &CYOMI5Doc::formatChanged, this, &CMainFrame::UpdateCommandUI);
    connect(doc, &CYOMI5Doc::titleChanged, this, &CMainFrame::UpdateCommandUI);
    frame->ActivateFrame();
    for (CChildFrame* f : ChildFrames()) {
        f->UpdateCaption();
    }
    return frame;
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow*) {
    CYOMI5View* now = ActiveView();
    if (m_lastActiveView != nullptr && m_lastActiveView != now) {
        m_lastActiveView->OnActivateView(false);
    }
    m_lastActiveView = now;
    if (now != nullptr) {
        now->OnActivateView(true);
    }
    ShowMenus(now != nullptr);
    m_readingPane->SetView(now);
    UpdateCommandUI();
}

void CMainFrame::NewWindowOnActiveDocument() {
    if (CYOMI5View* active = ActiveView()) {
        AddView(new CYOMI5View(active->GetDocument()));
    }
}

void CMainFrame::ApplySavedRectangle() {
    m_savedRectangle = app_settings::ReadMainRectangle();
    move(m_savedRectangle.topLeft());
    resize(m_savedRectangle.size().expandedTo(QSize(1, 1)));
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The rectangle is the whole window, frame included; the frame's size is known only now.
    if (!m_rectangleAdjusted) {
        m_rectangleAdjusted = true;
        const QSize frameExtra = frameGeometry().size() - size();
        if (!frameExtra.isEmpty()) {
            resize((m_savedRectangle.size() - frameExtra).expandedTo(QSize(1, 1)));
        }
    }
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A maximized document window writes its caption into this window's title; the title stays
    // the one made here.
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != m_title) {
        setWindowTitle(m_title);
    }
}

void CMainFrame::SaveRectangle() {
    app_settings::WriteMainRectangle(frameGeometry());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The rectangle is written at once, whether or not the close then goes ahead.
    SaveRectangle();
    for (CChildFrame* frame : ChildFrames()) {
        if (!frame->close()) {
            event->ignore();
            return;
        }
    }
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            OpenDocument(url.toLocalFile());
        }
    }
    event->acceptProposedAction();
}

void CMainFrame::AddToRecentFiles(const QString& path) {
    QStringList files = app_settings::RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > cmd::kRecentFileCount) {
        files.removeLast();
    }
    app_settings::SetRecentFiles(files);
}

void CMainFrame::OpenRecentFile(int index) {
    QStringList files = app_settings::RecentFiles();
    if (index < 0 || index >= files.size()) {
        return;
    }
    const QString path = files.at(index);
    if (OpenDocument(path) == nullptr) {
        // A file that no longer opens leaves the list.
        files.removeAt(index);
        app_settings::SetRecentFiles(files);
    }
    UpdateCommandUI();
}

FindReplaceDialog* CMainFrame::SearchDialog(bool replace) {
    FindReplaceDialog*& dialog = replace ? m_replaceDialog : m_findDialog;
    if (dialog == nullptr) {
        dialog = new FindReplaceDialog(
            replace ? FindReplaceDialog::Mode::Replace : FindReplaceDialog::Mode::Find, this);
        connect(dialog, &FindReplaceDialog::findNext, this, [this](const SearchOptions& o) {
            if (CYOMI5View* v = ActiveView()) {
                v->FindText(o);
            }
        });
        connect(dialog, &FindReplaceDialog::replaceOne, this,
                [this](const SearchOptions& o, const QString& r) {
                    if (CYOMI5View* v = ActiveView()) {
                        v->ReplaceText(o, r);
                    }
                });
        connect(dialog, &FindReplaceDialog::replaceAll, this,
                [this](const SearchOptions& o, const QString& r) {
                    if (CYOMI5View* v = ActiveView()) {
                        v->ReplaceAllText(o, r);
                    }
                });
    }
    return dialog;
}

void CMainFrame::ShowSearchDialog(bool replace, const QString& selectedText) {
    FindReplaceDialog* dialog = SearchDialog(replace);
    if (!selectedText.isEmpty()) {
        dialog->setSearchText(selectedText);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void CMainFrame::AddToContextMenu(QMenu* menu) {
    const std::vector<QAction*> actions = ActionsFor(cmd::RegisterSelection);
    if (!actions.empty()) {
        UpdateCommandUI(); // enabled only with a selection
        menu->addSeparator();
        menu->addAction(actions.front());
    }
}

bool CMainFrame::HandlesCommand(cmd::Id id) const {
    switch (id) {
    case cmd::FileNew:
    case cmd::FileOpen:
    case cmd::FileClose:
    case cmd::AppExit:
    case cmd::AppAbout:
    case cmd::HelpContents:
    case cmd::ViewToolBar:
    case cmd::ViewStatusBar:
    case cmd::WindowNew:
    case cmd::WindowArrange:
    case cmd::WindowCascade:
    case cmd::WindowTileHorz:
    case cmd::WindowTileVert:
    case cmd::NextPane:
    case cmd::PrevPane:
    case cmd::FilePrintSetup:
    case cmd::Readings:
    case cmd::ReadingPane:
        return true;
    default:
        return id >= cmd::FileMruFirst && id < cmd::FileMruFirst + cmd::kRecentFileCount;
    }
}

void CMainFrame::UpdateCommand(cmd::Id id, CommandState& state) const {
    switch (id) {
    case cmd::FileClose:
    case cmd::WindowNew:
    case cmd::WindowArrange:
    case cmd::WindowCascade:
    case cmd::WindowTileHorz:
    case cmd::WindowTileVert:
        state.enabled = ActiveView() != nullptr;
        break;
    case cmd::ViewToolBar:
        state.checked = m_toolBar->isVisibleTo(this);
        break;
    case cmd::ViewStatusBar:
        state.checked = statusBar()->isVisibleTo(this);
        break;
    case cmd::Readings:
        state.checked = g_speech.readings == kReadingsAutomatic;
        break;
    case cmd::ReadingPane:
        state.checked = m_readingPane->isVisibleTo(this);
        break;
    default:
        break;
    }
}

void CMainFrame::OnCommand(cmd::Id id) {
    switch (id) {
    case cmd::FileNew:
        NewDocument();
        break;
    case cmd::FileOpen: {
        const QStringList files =
            QFileDialog::getOpenFileNames(this, QString(), QString(),
                                          QString::fromUtf8(strings::kFileFilter) +
                                              QStringLiteral(";;") + QString::fromUtf8(kAllFiles));
        for (const QString& f : files) {
            OpenDocument(f);
        }
        break;
    }
    case cmd::FileClose:
        if (QMdiSubWindow* w = m_mdi->activeSubWindow()) {
            w->close();
        }
        break;
    case cmd::AppExit:
        close();
        break;
    case cmd::AppAbout: {
        CAboutDlg about(this);
        about.exec();
        break;
    }
    case cmd::HelpContents:
        ShowHelp();
        break;
    case cmd::ViewToolBar:
        m_toolBar->setVisible(!m_toolBar->isVisibleTo(this));
        break;
    case cmd::ViewStatusBar:
        statusBar()->setVisible(!statusBar()->isVisibleTo(this));
        break;
    case cmd::WindowNew:
        NewWindowOnActiveDocument();
        break;
    case cmd::WindowArrange:
        ArrangeIcons(*m_mdi);
        break;
    case cmd::WindowCascade:
        m_mdi->cascadeSubWindows();
        break;
    case cmd::WindowTileHorz:
    case cmd::WindowTileVert:
        TileWindows(*m_mdi, id == cmd::WindowTileHorz);
        break;
    case cmd::NextPane:
    case cmd::PrevPane:
        break; // no window is split into panes
    case cmd::FilePrintSetup:
        OnFilePrintSetup(this);
        break;
    case cmd::Readings:
        // Takes effect at the next speak command, like the speed.
        g_speech.readings =
            g_speech.readings == kReadingsAutomatic ? kReadingsDictionary : kReadingsAutomatic;
        if (m_readingPane->isVisibleTo(this)) {
            m_readingPane->Refresh();
        }
        break;
    case cmd::ReadingPane:
        m_readingPane->setVisible(!m_readingPane->isVisibleTo(this));
        app_settings::SetReadingPaneShown(m_readingPane->isVisibleTo(this));
        if (m_readingPane->isVisibleTo(this)) {
            m_readingPane->Refresh();
        }
        break;
    default:
        if (id >= cmd::FileMruFirst && id < cmd::FileMruFirst + cmd::kRecentFileCount) {
            OpenRecentFile(id - cmd::FileMruFirst);
        }
        break;
    }
    UpdateCommandUI();
}

void CMainFrame::ShowHelp() {
    auto* help = new HelpWindow(this);
    help->show();
}

} // namespace yomi6
