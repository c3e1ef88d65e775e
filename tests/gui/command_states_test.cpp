// What every command's menu item, tool bar button and keys offer in the situations a user meets:
// no document, an empty one, a text, a selection, an edited text, a reading running and paused,
// and as the active window changes. What is expected is typed out here, one row per command;
// the states are read from the real actions as they stand, with no menu opened (the tool bar and
// the keys show them as they are).
#include "app/document_window.h"
#include "app/main_window.h"
#include "commands/command_ids.h"
#include "editor/document.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "speaking/speech_controller.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QTest>
#include <QToolBar>

using namespace yomi6;
using namespace yomi6::test;

namespace {

// The situations, in the order of the columns below.
enum Situation { None, Empty, Text, Selection, Edited, Speaking, Paused, kSituations };
const char* const kSituationNames[kSituations] = {
    "no document",    "an empty document", "a text", "a selection",
    "an edited text", "speaking",          "paused",
};

// One command: what the user knows it by, and per situation (the columns of Situation) "E" for
// enabled, "-" for disabled, with "v" after it when its check mark shows.
struct Row {
    CommandId id;
    const char* name;
    const char* states[kSituations];
};

// clang-format off
const Row kRows[] = {
    //                                                    none  empty text  select edited speak pause
    {CommandId::Speak,            "しゃべる",             {"-",  "E",  "E",  "E",  "E",  "-",  "-"}},
    {CommandId::Stop,             "やめる",               {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::ReadFromCaret,    "ｶｰｿﾙ位置から読む",     {"-",  "E",  "E",  "E",  "E",  "-",  "-"}},
    {CommandId::Pause,            "一時停止",             {"-",  "-",  "-",  "-",  "-",  "E",  "Ev"}},
    {CommandId::Readings,         "漢字も読む",           {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::AozoraNotation,   "青空文庫の注記を読まない", {"Ev", "Ev", "Ev", "Ev", "Ev", "Ev", "Ev"}},
    {CommandId::SpeechSettings,   "設定",                 {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::WordRegistration, "単語登録",             {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::DictionaryManager, "辞書の管理",          {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::RegisterSelection, "選択範囲を登録",      {"-",  "-",  "-",  "E",  "-",  "-",  "-"}},
    {CommandId::VoiceManager,     "声の管理",             {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::FitSamples,       "速さに合わせて声を縮める", {"-", "E", "E", "E",  "E",  "E",  "E"}},
    {CommandId::ExportAudio,      "音声ﾌｧｲﾙに保存",       {"-",  "-",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::FileNew,          "新規作成",             {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::FileOpen,         "開く",                 {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::FileClose,        "閉じる",               {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::FileSave,         "上書き保存",           {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::FileSaveAs,       "名前を付けて保存",     {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::PageLayout,       "ﾍﾟｰｼﾞﾚｲｱｳﾄの設定",     {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::FilePrintSetup,   "ﾌﾟﾘﾝﾀの設定",          {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::FilePrintPreview, "印刷ﾌﾟﾚﾋﾞｭｰ",          {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::FilePrint,        "印刷",                 {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::PrinterFont,      "ﾌﾟﾘﾝﾀ用ﾌｫﾝﾄの設定",    {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::RecentFile1,      "the first recent file", {"E", "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::RecentFile2,      "the second recent file", {"E", "E", "E",  "E",  "E",  "E",  "E"}},
    {CommandId::RecentFile3,      "the third recent file", {"E", "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::RecentFile4,      "the fourth recent file", {"E", "E", "E",  "E",  "E",  "E",  "E"}},
    {CommandId::AppExit,          "終了",                 {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::EditUndo,         "元に戻す",             {"-",  "-",  "-",  "-",  "E",  "E",  "E"}},
    {CommandId::EditCut,          "切り取り",             {"-",  "-",  "-",  "E",  "-",  "-",  "-"}},
    {CommandId::EditCopy,         "ｺﾋﾟｰ",                 {"-",  "-",  "-",  "E",  "-",  "-",  "-"}},
    {CommandId::EditPaste,        "貼り付け",             {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::EditSelectAll,    "すべて選択",           {"-",  "-",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::EditFind,         "文字列検索",           {"-",  "-",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::EditReplace,      "文字列置換",           {"-",  "-",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::ViewToolBar,      "ﾂｰﾙ ﾊﾞｰ",              {"Ev", "Ev", "Ev", "Ev", "Ev", "Ev", "Ev"}},
    {CommandId::ViewStatusBar,    "ｽﾃｰﾀｽ ﾊﾞｰ",            {"Ev", "Ev", "Ev", "Ev", "Ev", "Ev", "Ev"}},
    {CommandId::ScreenFont,       "フォントの設定",       {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::WordWrap,         "右端で折り返す",       {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::ReadingPane,      "読みﾊﾟﾈﾙ",             {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::ChaptersPane,     "目次ﾊﾟﾈﾙ",             {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    // The text is a file's; an untitled one keeps no places.
    {CommandId::ResumeReading,    "続きから読む",         {"-",  "-",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::AddBookmark,      "しおりを挟む",         {"-",  "-",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::BookmarkList,     "しおり",               {"-",  "-",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::Sleep15,          "15分後に止める",       {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::Sleep30,          "30分後に止める",       {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::Sleep60,          "60分後に止める",       {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::SleepChapter,     "章の終わりで止める",   {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::WindowNew,        "新しいｳｨﾝﾄﾞｳを開く",   {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::WindowCascade,    "重ねて表示",           {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::WindowTileHorz,   "上下に並べて表示",     {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::WindowTileVert,   "左右に並べて表示",     {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::WindowArrange,    "ｱｲｺﾝの整列",           {"-",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::HelpContents,     "目次",                 {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::AppAbout,         "ﾊﾞｰｼﾞｮﾝ情報",          {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::NextPane,         "F6",                   {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
    {CommandId::PrevPane,         "Shift+F6",             {"E",  "E",  "E",  "E",  "E",  "E",  "E"}},
};
// clang-format on

QString Shown(const QAction& action) {
    QString state = action.isEnabled() ? QStringLiteral("E") : QStringLiteral("-");
    if (action.isChecked()) {
        state += QLatin1Char('v');
    }
    return state;
}

// Each command whose action does not show what the row says in situation, as
// "name: shown, expected".
QStringList Mismatches(MainWindow& frame, Situation situation) {
    QStringList wrong;
    for (const Row& row : kRows) {
        const QAction* action = FirstAction(frame, row.id);
        if (action == nullptr) {
            wrong << QString::fromUtf8(row.name) + QStringLiteral(": no action");
            continue;
        }
        const QString expected = QString::fromUtf8(row.states[situation]);
        if (Shown(*action) != expected) {
            wrong << QString::fromUtf8(row.name) + QStringLiteral(": ") + Shown(*action) +
                         QStringLiteral(", expected ") + expected;
        }
    }
    return wrong;
}

#define CHECK_SITUATION(frame, situation)                                                          \
    do {                                                                                           \
        const QStringList wrong = Mismatches(frame, situation);                                    \
        QVERIFY2(wrong.isEmpty(),                                                                  \
                 qPrintable(QString::fromUtf8(kSituationNames[situation]) +                        \
                            QStringLiteral(" — ") + wrong.join(QStringLiteral("; "))));            \
    } while (false)

void Select(TextView* view, int begin, int end) {
    QTextCursor cursor = view->textCursor();
    cursor.setPosition(begin);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    view->setTextCursor(cursor);
}

bool Idle(const EditorRun& run) {
    return !run.speech().IsTimerRunning() && !run.speech().IsPaused();
}

QAction* ToolBarButton(MainWindow& frame, CommandId id) {
    QAction* action = FirstAction(frame, id);
    return frame.ToolBar()->actions().contains(action) ? action : nullptr;
}

} // namespace

class CommandStatesTest : public GuiTestCase {
    Q_OBJECT

public:
    // The dictionary reading: the check mark of 漢字も読む stays off whatever the analyzer does.
    CommandStatesTest() { ChooseDictionaryReadingInEveryTest(); }

private slots:
    void everyCommandShowsItsStateInEachSituation() {
        QApplication::clipboard()->setText(QStringLiteral("x"));
        const QString path = cwd().filePath(QStringLiteral("states.txt"));
        QVERIFY(WriteBytes(path, Sjis("あいうえお。かきくけこ。さしすせそ。たちつてと。")));
        EditorRun run(sound(), {path});
        QVERIFY(run.ok());
        run.choices().speed = 1000; // the reading lasts while the states are read
        MainWindow& frame = run.frame();
        TextView* view = run.view();
        view->setFocus();
        CHECK_SITUATION(frame, Text);

        Select(view, 2, 5);
        CHECK_SITUATION(frame, Selection);
        Select(view, 5, 5);
        CHECK_SITUATION(frame, Text);

        QTest::keyClicks(view, QStringLiteral("x"));
        QVERIFY(view->GetDocument()->IsModified());
        CHECK_SITUATION(frame, Edited);

        QTest::keyClick(view, Qt::Key_F3);
        QVERIFY(run.speech().IsTimerRunning());
        CHECK_SITUATION(frame, Speaking);
        QTest::keyClick(view, Qt::Key_Pause);
        QVERIFY(run.speech().IsPaused());
        CHECK_SITUATION(frame, Paused);
        QTest::keyClick(view, Qt::Key_Pause);
        CHECK_SITUATION(frame, Speaking);
        QTest::keyClick(view, Qt::Key_F4);
        QTRY_VERIFY(Idle(run));
        CHECK_SITUATION(frame, Edited);

        QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier);
        QTRY_COMPARE(frame.DocumentWindows().size(), 2u);
        CHECK_SITUATION(frame, Empty);

        for (DocumentWindow* window : frame.DocumentWindows()) {
            window->View()->GetDocument()->SetModifiedFlag(false);
        }
        frame.MdiArea()->closeAllSubWindows();
        QTRY_VERIFY(frame.DocumentWindows().empty());
        CHECK_SITUATION(frame, None);

        // The keys of the document's commands do nothing without one.
        QTest::keyClick(&frame, Qt::Key_F3);
        QVERIFY(Idle(run));
    }

    // The states are those of the active window's view: its selection, its wrap, its document's
    // undo history.
    void statesFollowTheActiveWindow() {
        QApplication::clipboard()->setText(QStringLiteral("x"));
        EditorRun run(sound());
        QVERIFY(run.ok());
        MainWindow& frame = run.frame();
        TextView* first = run.view();
        first->setPlainText(QStringLiteral("one two"));
        Select(first, 0, 3);
        FirstAction(frame, CommandId::WordWrap)->trigger();
        QAction* copy = FirstAction(frame, CommandId::EditCopy);
        QAction* wrap = FirstAction(frame, CommandId::WordWrap);
        QAction* undo = FirstAction(frame, CommandId::EditUndo);
        QAction* find = FirstAction(frame, CommandId::EditFind);
        QVERIFY(copy->isEnabled() && wrap->isChecked() && find->isEnabled());

        FirstAction(frame, CommandId::FileNew)->trigger();
        TextView* second = run.view();
        QVERIFY(second != first);
        QVERIFY(!copy->isEnabled());
        QVERIFY(wrap->isChecked());  // new windows take the wrap chosen last
        QVERIFY(!find->isEnabled()); // an empty text
        QVERIFY(!undo->isEnabled());
        wrap->trigger();
        QVERIFY(!wrap->isChecked());
        QVERIFY(!second->IsWordWrap());

        frame.MdiArea()->setActiveSubWindow(frame.DocumentWindows().front());
        QCOMPARE(run.view(), first);
        QVERIFY(copy->isEnabled());
        QVERIFY(wrap->isChecked());
        QVERIFY(find->isEnabled());

        // A second window on the first document: its own selection and wrap, the same undo
        // history.
        QTest::keyClicks(first, QStringLiteral("z"));
        QVERIFY(undo->isEnabled());
        FirstAction(frame, CommandId::WindowNew)->trigger();
        TextView* again = run.view();
        QVERIFY(again != first && again->GetDocument() == first->GetDocument());
        QVERIFY(undo->isEnabled());
        QVERIFY(!copy->isEnabled());
        QVERIFY(!wrap->isChecked());
        QVERIFY(find->isEnabled());
        FirstAction(frame, CommandId::EditUndo)->trigger();
        QVERIFY(!undo->isEnabled());
        // The window left behind no longer moves the items: its selection changing shows nothing.
        Select(first, 0, 7);
        QVERIFY(!copy->isEnabled());
        Select(again, 0, 2);
        QVERIFY(copy->isEnabled());
    }

    // What changes without a command of the editor shows at once, with no menu opened: the
    // clipboard filled or emptied by another program (the tool bar's paste button), the wrap a
    // print job switches, the bars hidden from the tool bar's own context menu.
    void statesFollowChangesMadeElsewhere() {
        QApplication::clipboard()->clear();
        EditorRun run(sound());
        QVERIFY(run.ok());
        MainWindow& frame = run.frame();
        QAction* paste = ToolBarButton(frame, CommandId::EditPaste);
        QVERIFY(paste != nullptr);
        QVERIFY(!paste->isEnabled());
        QApplication::clipboard()->setText(QStringLiteral("copied elsewhere"));
        QVERIFY(paste->isEnabled());
        QApplication::clipboard()->clear();
        QVERIFY(!paste->isEnabled());

        QAction* wrap = FirstAction(frame, CommandId::WordWrap);
        run.view()->SetWordWrap(true);
        QVERIFY(wrap->isChecked());
        run.view()->SetWordWrap(false);
        QVERIFY(!wrap->isChecked());

        QAction* toolBar = FirstAction(frame, CommandId::ViewToolBar);
        frame.ToolBar()->toggleViewAction()->trigger();
        QVERIFY(!frame.ToolBar()->isVisibleTo(&frame));
        QVERIFY(!toolBar->isChecked());
        frame.ToolBar()->toggleViewAction()->trigger();
        QVERIFY(toolBar->isChecked());
    }
};

QTEST_MAIN(CommandStatesTest)
#include "command_states_test.moc"
