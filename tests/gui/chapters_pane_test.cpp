// The table of contents through the real 表示 menu entry: the chapters of the active document
// indented by level, following the text once typing pauses and the active window at once; a
// click or Enter puts the caret at the heading's line with the line in sight, and reading from
// the caret then reads the book on from the heading.
#include "app/main_window.h"
#include "commands/command_ids.h"
#include "editor/chapters_pane.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "speaking/speech_controller.h"

#include <QAction>
#include <QListWidget>
#include <QMdiArea>
#include <QTest>
#include <QTextBlock>

#include <algorithm>

using namespace yomi6;
using namespace yomi6::test;

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The start of the line at the top of view.
int TopLine(const TextView* view) {
    return view->cursorForPosition(QPoint(1, 1)).block().position();
}

// A book with a heading of each level, each far enough from the others and from the end that
// its line can be scrolled to the top.
QString Book() {
    QString text = U("題名\n［＃３字下げ］第一部　春［＃「第一部　春」は大見出し］\n");
    for (int i = 0; i < 60; ++i) {
        text += U("はるのひ。\n");
    }
    text += U("第一章　芽［＃「第一章　芽」は中見出し］\n");
    for (int i = 0; i < 60; ++i) {
        text += U("めがでる。\n");
    }
    text += U("一［＃「一」は小見出し］\n");
    for (int i = 0; i < 60; ++i) {
        text += U("あさです。\n");
    }
    return text;
}

QStringList Items(const ChaptersPane* pane) {
    QStringList items;
    for (int i = 0; i < pane->List()->count(); ++i) {
        items << pane->List()->item(i)->text();
    }
    return items;
}

int LineStart(const TextView* view, const QString& line) {
    return static_cast<int>(view->toPlainText().indexOf(line));
}

} // namespace

class ChaptersPaneTest : public GuiTestCase {
    Q_OBJECT

public:
    ChaptersPaneTest() {
        ChooseDictionaryReadingInEveryTest();
        StartRunsAtSpeed(20);
    }

private slots:
    void theViewMenuEntryShowsAndHidesThePane() {
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        struct Expected {
            const char* menu;
            const char* text;
            bool checkable;
            const char* keys;
        };
        const Expected expected{"表示(&V)", "目次ﾊﾟﾈﾙ(&M)", true, ""};
        QAction* item = MenuAction(run.frame(), expected.menu, expected.text);
        QVERIFY(item != nullptr);
        QCOMPARE(item, run.frame().Action(CommandId::ChaptersPane));
        QCOMPARE(item->isCheckable(), expected.checkable);
        QCOMPARE(QKeySequence::listToString(item->shortcuts()), U(expected.keys));
        ChaptersPane* pane = run.frame().ChaptersPaneDock();
        QVERIFY(!pane->isVisibleTo(&run.frame()));
        QVERIFY(!item->isChecked());
        item->trigger();
        QVERIFY(pane->isVisibleTo(&run.frame()));
        QVERIFY(item->isChecked());
        item->trigger();
        QVERIFY(!pane->isVisibleTo(&run.frame()));
        QVERIFY(!item->isChecked());
    }

    void theListFollowsTheTextOnceTypingPausesAndTheActiveWindowAtOnce() {
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        TextView* book = run.view();
        book->setPlainText(Book());
        run.frame().Action(CommandId::ChaptersPane)->trigger();
        ChaptersPane* pane = run.frame().ChaptersPaneDock();
        const QStringList bookItems{U("第一部　春"), U("　第一章　芽"), U("　　一")};
        QCOMPARE(Items(pane), bookItems);

        // Another window: its chapters at once; none listed says so.
        TextView* other = run.frame().NewDocument();
        QCOMPARE(run.frame().ActiveView(), other);
        QCOMPARE(Items(pane), QStringList{U("(見出しがありません)")});
        QVERIFY(pane->List()->item(0)->flags() == Qt::NoItemFlags);
        other->setPlainText(U("第二章　夏\n\nなつです。\n"));
        // While the text changes the list waits for a pause.
        QCOMPARE(Items(pane), QStringList{U("(見出しがありません)")});
        QTRY_COMPARE(Items(pane), QStringList{U("　第二章　夏")});

        run.frame().MdiArea()->activatePreviousSubWindow();
        QCOMPARE(run.frame().ActiveView(), book);
        QCOMPARE(Items(pane), bookItems);
    }

    void choosingAChapterMovesTheCaretThereAndReadingFromTheCaretStartsAtIt() {
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        TextView* view = run.view();
        view->setPlainText(Book());
        run.frame().Action(CommandId::ChaptersPane)->trigger();
        ChaptersPane* pane = run.frame().ChaptersPaneDock();
        QListWidget* list = pane->List();
        QCOMPARE(list->count(), 3);

        // A click: the caret at the start of the heading's line, the line at the top, the focus
        // left in the list.
        list->setFocus();
        const QRect third = list->visualItemRect(list->item(2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, third.center());
        const int small = LineStart(view, U("一［＃"));
        QCOMPARE(view->textCursor().position(), small);
        QVERIFY(!view->textCursor().hasSelection());
        QCOMPARE(TopLine(view), small);
        QVERIFY(list->hasFocus());

        // Enter on another: the caret there and the focus in the text.
        list->setCurrentRow(1);
        QTest::keyClick(list, Qt::Key_Return);
        const int chapter = LineStart(view, U("第一章　芽"));
        QCOMPARE(view->textCursor().position(), chapter);
        QCOMPARE(TopLine(view), chapter);
        QVERIFY(view->hasFocus());

        // Reading from the caret reads from the heading on.
        QList<int> heard;
        QObject guard;
        QObject::connect(&run.speech(), &SpeechController::highlightChanged, &guard,
                         [&heard](const QObject*, int unitBegin, int, int, int) {
                             if (unitBegin >= 0) {
                                 heard << unitBegin;
                             }
                         });
        run.frame().Action(CommandId::ReadFromCaret)->trigger();
        QTRY_VERIFY(heard.size() >= 3);
        run.frame().Dispatch(CommandId::Stop);
        QCOMPARE(heard.first(), chapter);
        QVERIFY(std::is_sorted(heard.begin(), heard.end()));
    }
};

QTEST_MAIN(ChaptersPaneTest)
#include "chapters_pane_test.moc"
