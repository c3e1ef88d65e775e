// The main window: the document windows inside it, its menus, tool bar and status bar. It makes
// the commands' actions and carries out the application's own commands; the active document
// window's view carries out the document's.
#pragma once

#include "commands/command_actions.h"
#include "editor/sleep_timer.h"

#include <QMainWindow>
#include <QPointer>

#include <span>
#include <vector>

class QAction;
class QKeySequence;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace yomi6 {

class AppContext;
class DocumentWindow;
class Document;
class TextView;
class ReadingPane;
class ChaptersPane;
class ReadingPlaces;
class BookmarksDialog;
class FindReplaceDialog;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The main window of the run of context, which outlives it.
    explicit MainWindow(AppContext& context);
    ~MainWindow() override;

    // What the run shares between its windows.
    AppContext& Context() const { return m_context; }

    // A new empty document "無題N" in a new window.
    TextView* NewDocument();
    // Opens path in a new window, or activates the window that has it open already. Returns
    // the view, or nullptr when the file could not be opened (the user was told why).
    TextView* OpenDocument(const QString& path);

    TextView* ActiveView() const;
    // The reading pane dock (hidden unless shown through the 表示 menu).
    ReadingPane* ReadingPaneDock() const { return m_readingPane; }
    // The table of contents dock (hidden unless shown through the 表示 menu).
    ChaptersPane* ChaptersPaneDock() const { return m_chaptersPane; }
    // Where reading stopped in each file and its bookmarks.
    ReadingPlaces& Places() const { return *m_places; }
    // The open しおり dialog, or nullptr.
    BookmarksDialog* BookmarksWindow() const;
    QMdiArea* MdiArea() const { return m_mdi; }
    std::vector<DocumentWindow*> DocumentWindows() const;

    // Carries out a command as its menu item, tool bar button and keys do: triggers its action,
    // which does nothing while the command is disabled.
    void Dispatch(CommandId id);

    // The find or replace dialog of this window, created on first use; it works on the active view.
    FindReplaceDialog* SearchDialog(bool replace);

    // The one action of a command, which its menu items, tool bar button and keys share;
    // nullptr for an id the command table does not hold.
    QAction* Action(CommandId id) const;
    // Every action of this window that carries out the command (the one action, or none for
    // an id the table does not hold), for tests.
    std::vector<QAction*> ActionsFor(CommandId id) const;
    QToolBar* ToolBar() const { return m_toolBar; }
    // What the status bar's message pane shows now: a message or prompt when one is shown,
    // else what the speech is doing ("ﾚﾃﾞｨ" when nothing speaks). For tests.
    QString StatusMessage() const;

    // The commands the main window carries out.
    static std::span<const CommandBinding<MainWindow>> Bindings();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Building the window from the command table (main_window_ui.cpp).
    void CreateActions();
    QMenu* BuildMenus(bool documentMenu, std::vector<QMenu*>& menus);
    void CreateToolBar();
    void CreateStatusBar();
    // The one action of command id, from its entry in the command table.
    QAction* MakeAction(CommandId id);
    // Whether keys are one of the shortcuts of a command.
    bool IsCommandKey(const QKeySequence& keys) const;
    void ShowMenus(bool documentMenus);
    void RefreshRecentFileMenu(QMenu* menu);
    void RefreshWindowMenu(QMenu* menu);
    // Another document window became active, or none is: its view takes the document's
    // commands (without one they are disabled), and the menus, the title and the status bar
    // show it.
    void UpdateMenus();
    // What the commands of this window show: whether the tool bar, the status bar and the
    // reading pane are shown; the reading mode and the Aozora switch (the status bar's mode too).
    void ShowBarCommands();
    void ShowReadingsCommands();
    void UpdateTitle();
    void UpdateStatusPanes();
    // The speak command stopped short of the end of view's text at position.
    void ShowPassCut(const QObject* view, int position);
    // Warns of a command whose entry names an owner that has no handler for it.
    static void CheckCommandOwners();

    // Window and documents (main_window.cpp).
    DocumentWindow* AddView(TextView* view);
    void ApplySavedRectangle();
    // Once the window's frame is known, gives the window the saved size with its frame.
    void FitSavedRectangle();
    void SaveRectangle();
    void AddToRecentFiles(const QString& path);
    void OpenRecentFile(int index);
    void NewWindowOnActiveDocument();
    // What a view asks of its window: the find or replace dialog, and its context menu's
    // commands.
    void ShowSearchDialog(bool replace, const QString& selectedText);
    void AddToContextMenu(QMenu* menu);
    void ShowHelp();
    void OpenFilesFromDialog();
    void CloseActiveWindow();
    void ToggleReadings();
    void ToggleAozora();
    void ToggleReadingPane();
    void ToggleChaptersPane();
    // The places of the active document (reading_places.h): what its commands offer, the
    // notice of a place to go on from when a file opens, and the commands themselves.
    void ShowPlaceCommands();
    void OfferLastPlace(TextView* view);
    void ResumeReading();
    void AddBookmarkAtCaret();
    void ShowBookmarks();
    // The sleep timer: chooses mode (the one chosen already: off), and what its commands show.
    void ChooseSleep(SleepTimer::Mode mode);
    void ShowSleepCommands();
    // A unit of owner's reading is heard: the sleep timer may stop the reading.
    void SleepTimerHeard(const QObject* owner, int unitBegin, int unitEnd);
    // The sleep timer paused the reading a moment ago: it ends now.
    void EndSleepingReading();
    // Puts view's caret at position with its line at the top.
    static void MoveCaretTo(TextView* view, int position);

    AppContext& m_context;
    QMdiArea* m_mdi = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_messagePane = nullptr; // "ﾚﾃﾞｨ", or what the speech is doing
    QString m_passCutNotice;         // the message ShowPassCut put up, until speech starts again
    QLabel* m_kanaPane = nullptr;
    QLabel* m_capsPane = nullptr;
    QLabel* m_numPane = nullptr;
    QLabel* m_encodingPane = nullptr;
    QLabel* m_voicePane = nullptr;
    QLabel* m_readingsPane = nullptr; // "辞書" or "自動"
    ReadingPane* m_readingPane = nullptr;
    ChaptersPane* m_chaptersPane = nullptr;
    ReadingPlaces* m_places = nullptr;
    QPointer<BookmarksDialog> m_bookmarks;
    SleepTimer m_sleep;
    bool m_sleepEnding = false; // the sleep timer paused the reading to end it
    std::vector<QMenu*> m_frameMenus;
    std::vector<QMenu*> m_documentMenus;
    bool m_showingDocumentMenus = false;
    CommandActions m_commands; // one action per command of the table
    FindReplaceDialog* m_findDialog = nullptr;
    FindReplaceDialog* m_replaceDialog = nullptr;
    QPointer<TextView> m_lastActiveView; // the view that holds the document's commands
    int m_untitledCount = 0;
    bool m_rectangleAdjusted = false; // the frame was known and taken off the saved size
    bool m_destroying = false;
    QRect m_savedRectangle;
    QString m_title; // the title UpdateTitle made; the window shows this and nothing else
};

} // namespace yomi6
