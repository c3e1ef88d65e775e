// The commands as the user meets them: both menu bars item by item, every shortcut with its
// effect, the tool bar, the status prompts and the check marks. What is expected is typed out
// here, independently of the program's command table.
#include "app/main_window.h"
#include "commands/command_ids.h"
#include "commands/command_menu.h"
#include "editor/document.h"
#include "editor/find_dialog.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "playback/speech_state.h"
#include "speaking/speech_controller.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyleOptionMenuItem>
#include <QTest>
#include <QToolBar>

#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

// A menu as lines: each item's text, " [v]" after a checkable one, "---" for a separator.
using Lines = QStringList;

struct Menu {
    const char* title;
    Lines items;
};

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

Lines Items(std::initializer_list<const char*> utf8) {
    Lines lines;
    for (const char* s : utf8) {
        lines << U(s);
    }
    return lines;
}

// The menu bar without a document window.
const std::vector<Menu>& FrameMenus() {
    static const std::vector<Menu> menus = {
        {"ﾌｧｲﾙ(&F)",
         Items({"新規作成(&N)\tCtrl+N", "開く(&O)...\tCtrl+O", "---", "ﾌﾟﾘﾝﾀの設定(&R)...", "---",
                "最新のﾌｧｲﾙ", "---", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"})},
        {"表示(&V)", Items({"ﾂｰﾙ ﾊﾞｰ(&T) [v]", "ｽﾃｰﾀｽ ﾊﾞｰ(&S) [v]"})},
        {"ﾍﾙﾌﾟ(&H)", Items({"目次(&C)", "ﾊﾞｰｼﾞｮﾝ情報(YOMI6)(&A)..."})},
    };
    return menus;
}

// The menu bar with a document window active.
const std::vector<Menu>& DocumentMenus() {
    static const std::vector<Menu> menus = {
        {"ﾌｧｲﾙ(&F)", Items({"新規作成(&N)\tCtrl+N", "開く(&O)...\tCtrl+O", "閉じる(&C)",
                            "上書き保存(&S)\tCtrl+S", "名前を付けて保存(&A)...",
                            "音声ﾌｧｲﾙに保存(&E)...", "---", "ﾍﾟｰｼﾞﾚｲｱｳﾄの設定(&L)",
                            "ﾌﾟﾘﾝﾀの設定(&R)...", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "印刷(&P)...\tCtrl+P",
                            "ﾌﾟﾘﾝﾀ用ﾌｫﾝﾄの設定(&F)", "---", "最新のﾌｧｲﾙ", "---", "終了(&X)"})},
        {"編集(&E)", Items({"元に戻す(&U)\tCtrl+Z", "---", "切り取り(&T)\tCtrl+X",
                            "ｺﾋﾟｰ(&C)\tCtrl+C", "貼り付け(&P)\tCtrl+V", "---", "すべて選択"})},
        {"よみあげ(&T)", Items({"しゃべる(&S)",
                                "やめる(&E)",
                                "漢字も読む(&K) [v]",
                                "青空文庫の注記を読まない [v]",
                                "ｶｰｿﾙ位置から読む(&R)",
                                "一時停止(&P) [v]",
                                "---",
                                "設定(&C)",
                                "単語登録(&W)",
                                "辞書の管理(&M)...",
                                "選択範囲を登録",
                                "声の管理(&V)...",
                                "---",
                                "速さに合わせて声を縮める(&F) [v]",
                                "---",
                                "続きから読む(&Z)\tCtrl+Shift+F3",
                                "しおりを挟む(&B)...",
                                "しおり(&L)...",
                                "---",
                                "15分後に止める [v]",
                                "30分後に止める [v]",
                                "60分後に止める [v]",
                                "章の終わりで止める [v]"})},
        {"検索(&S)", Items({"文字列検索(&F)", "文字列置換(&E)"})},
        {"表示(&V)", Items({"ﾂｰﾙ ﾊﾞｰ (&T) [v]", "ｽﾃｰﾀｽ ﾊﾞｰ(&S) [v]", "---", "フォントの設定(&F)",
                            "右端で折り返す [v]", "読みﾊﾟﾈﾙ(&Y) [v]", "目次ﾊﾟﾈﾙ(&M) [v]"})},
        {"ｳｨﾝﾄﾞｳ(&W)", Items({"新しいｳｨﾝﾄﾞｳを開く(&N)", "重ねて表示(&C)", "上下に並べて表示(&H)",
                              "左右に並べて表示(&V)", "ｱｲｺﾝの整列(&A)"})},
        {"ﾍﾙﾌﾟ(&H)", Items({"目次(&C)", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."})},
    };
    return menus;
}

// The tool bar's buttons by tool tip, "---" for a separator.
const Lines& ToolBarTips() {
    static const Lines tips = Items({
        "新規ﾌｧｲﾙ",
        "開く",
        "保存",
        "印刷",
        "---",
        "よみあげｽﾀｰﾄ (F3)",
        "ｶｰｿﾙ位置から読む (Ctrl+F3)",
        "一時停止 (Pause)",
        "よみあげｽﾄｯﾌﾟ(F4)",
        "漢字も読む",
        "設定",
        "単語登録",
        "---",
        "切り取り",
        "ｺﾋﾟ-",
        "貼り付け",
        "---",
        "上下に並べて表示",
        "左右に並べて表示",
        "重ねて表示",
        "---",
        "ﾌｫﾝﾄの設定",
        "検索",
        "置換",
        "---",
        "ﾍﾙﾌﾟ",
    });
    return tips;
}

// Every key of the main window, by its command's menu item (or what it does), the keys of
// one command together as the window's key list holds them.
struct Keys {
    const char* command;
    const char* keys;
};
const Keys kKeys[] = {
    {"しゃべる", "F3"},
    {"やめる", "F4"},
    {"ｶｰｿﾙ位置から読む", "Ctrl+F3"},
    {"続きから読む", "Ctrl+Shift+F3"},
    {"一時停止", "Pause, Ctrl+F4"},
    {"新規作成", "Ctrl+N"},
    {"開く", "Ctrl+O"},
    {"上書き保存", "Ctrl+S"},
    {"印刷", "Ctrl+P"},
    {"ｺﾋﾟｰ", "Ctrl+C, Ctrl+Ins"},
    {"切り取り", "Ctrl+X, Shift+Del"},
    {"文字列検索", "Ctrl+F"},
    {"貼り付け", "Ctrl+V, Shift+Ins"},
    {"文字列置換", "Ctrl+H"},
    {"元に戻す", "Ctrl+Z, Alt+Backspace"},
    {"next pane (nothing)", "F6"},
    {"previous pane (nothing)", "Shift+F6"},
};

// The mnemonic letter of a menu text ("名前を付けて保存(&A)..." → 'A'), or 0.
QChar Mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (text.at(i + 1) != QLatin1Char('&')) {
                return text.at(i + 1).toUpper();
            }
            ++i;
        }
    }
    return QChar();
}

Lines MenuLines(const QMenu& menu) {
    Lines lines;
    for (const QAction* a : menu.actions()) {
        if (a->isSeparator()) {
            lines << QStringLiteral("---");
            continue;
        }
        QString line = a->text();
        if (a->isCheckable()) {
            line += QStringLiteral(" [v]");
        }
        lines << line;
    }
    return lines;
}

// Compares the menu bar with menus, every item of every menu; the recent-file placeholder stays
// disabled.
void CompareMenuBar(MainWindow& frame, const std::vector<Menu>& menus) {
    Lines titles;
    for (const QAction* top : frame.menuBar()->actions()) {
        titles << top->text();
    }
    Lines expectedTitles;
    for (const Menu& m : menus) {
        expectedTitles << U(m.title);
    }
    QCOMPARE(titles, expectedTitles);
    for (const Menu& m : menus) {
        QMenu* menu = TopMenu(frame, U(m.title));
        QVERIFY2(menu != nullptr, m.title);
        QCOMPARE(MenuLines(*menu), m.items);
    }
    QAction* recent = MenuAction(frame, "ﾌｧｲﾙ(&F)", "最新のﾌｧｲﾙ");
    QVERIFY(recent != nullptr);
    QVERIFY(!recent->isEnabled());
}

bool Idle(const EditorRun& run) {
    return !run.speech().IsTimerRunning() && !run.speech().IsPaused();
}

// Shows the menu as a click on its title would and takes it down again: its items' enabling
// and check marks are brought up to date on the way.
void OpenAndClose(QMenu* menu) {
    menu->popup(QPoint(0, 0));
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
}

} // namespace

class CommandsTest : public GuiTestCase {
    Q_OBJECT

public:
    // The commands are checked against the dictionary reading and its switch.
    CommandsTest() { ChooseDictionaryReadingInEveryTest(); }

private:
    void InitTest() override {
        // A command whose entry names an owner without a handler is reported at start.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("has no handler")));
    }

private slots:
    void menuBarsHaveTheirItemsInOrder() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        CompareMenuBar(run.frame(), DocumentMenus());

        run.view()->GetDocument()->SetModifiedFlag(false);
        run.frame().MdiArea()->closeAllSubWindows();
        QTRY_VERIFY(run.frame().DocumentWindows().empty());
        CompareMenuBar(run.frame(), FrameMenus());

        // A new document brings the document menus back.
        QTest::keyClick(&run.frame(), Qt::Key_N, Qt::ControlModifier);
        QTRY_COMPARE(run.frame().DocumentWindows().size(), 1u);
        QCOMPARE(TopMenu(run.frame(), U("編集(&E)")) != nullptr, true);
    }

    void editingShortcutsActOnTheText() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        TextView* view = run.view();
        view->setFocus();
        QClipboard* clipboard = QApplication::clipboard();

        // The text view knows some of these keys itself; sent to the main window (the focus on
        // its tool bar, say) they reach the view through the window's accelerators only.
        for (QWidget* target : {static_cast<QWidget*>(view), static_cast<QWidget*>(&run.frame())}) {
            view->setPlainText(QString());
            QTest::keyClicks(view, QStringLiteral("one two"));
            QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(view->toPlainText(), QString());
            QTest::keyClicks(view, QStringLiteral("one two"));
            QTest::keyClick(target, Qt::Key_Backspace, Qt::AltModifier);
            QCOMPARE(view->toPlainText(), QString());
        }

        struct Case {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            const char* name;
            QString textAfter;
            QString clipboardAfter;
        };
        // Each starts from "one two" with "two" selected and "x" on the clipboard.
        const Case cases[] = {
            {Qt::Key_C, Qt::ControlModifier, "Ctrl+C", QStringLiteral("one two"),
             QStringLiteral("two")},
            {Qt::Key_Insert, Qt::ControlModifier, "Ctrl+Ins", QStringLiteral("one two"),
             QStringLiteral("two")},
            {Qt::Key_X, Qt::ControlModifier, "Ctrl+X", QStringLiteral("one "),
             QStringLiteral("two")},
            {Qt::Key_Delete, Qt::ShiftModifier, "Shift+Del", QStringLiteral("one "),
             QStringLiteral("two")},
            {Qt::Key_V, Qt::ControlModifier, "Ctrl+V", QStringLiteral("one x"),
             QStringLiteral("x")},
            {Qt::Key_Insert, Qt::ShiftModifier, "Shift+Ins", QStringLiteral("one x"),
             QStringLiteral("x")},
        };
        for (QWidget* target : {static_cast<QWidget*>(view), static_cast<QWidget*>(&run.frame())}) {
            for (const Case& c : cases) {
                view->setPlainText(QStringLiteral("one two"));
                QTextCursor cursor = view->textCursor();
                cursor.setPosition(4);
                cursor.setPosition(7, QTextCursor::KeepAnchor);
                view->setTextCursor(cursor);
                clipboard->setText(QStringLiteral("x"));
                QTest::keyClick(target, c.key, c.modifiers);
                QVERIFY2(view->toPlainText() == c.textAfter, c.name);
                QVERIFY2(clipboard->text() == c.clipboardAfter, c.name);
            }
        }
    }

    void fileShortcutsOpenSaveAndPrint() {
        const QString path = cwd().filePath(QStringLiteral("saved.txt"));
        QVERIFY(WriteBytes(path, "old"));
        EditorRun run(sound(), {path});
        QVERIFY(run.ok());
        TextView* view = run.view();
        view->setFocus();
        QTest::keyClicks(view, QStringLiteral("new "));
        QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(ReadBytes(path), QByteArray("new old"));

        // Ctrl+O asks for files, Ctrl+P for a printer; both are cancelled here.
        QString seen;
        {
            ModalHandler cancel([&seen](QWidget* w) {
                seen = QString::fromLatin1(w->metaObject()->className());
                if (auto* d = qobject_cast<QDialog*>(w)) {
                    d->reject();
                }
            });
            QTest::keyClick(view, Qt::Key_O, Qt::ControlModifier);
            QVERIFY(cancel.handled());
        }
        QCOMPARE(seen, QStringLiteral("QFileDialog"));
        // The window system would give the main window back its activation.
        QApplication::setActiveWindow(&run.frame());
        {
            ModalHandler cancel([&seen](QWidget* w) {
                seen = QString::fromLatin1(w->metaObject()->className());
                if (auto* d = qobject_cast<QDialog*>(w)) {
                    d->reject();
                }
            });
            // Printing into a file: there is no printer here.
            run.printer().setOutputFormat(QPrinter::PdfFormat);
            run.printer().setOutputFileName(cwd().filePath(QStringLiteral("never.pdf")));
            QTest::keyClick(view, Qt::Key_P, Qt::ControlModifier);
            QVERIFY(cancel.handled());
        }
        QCOMPARE(seen, QStringLiteral("QPrintDialog"));
        QVERIFY(!QFile::exists(cwd().filePath(QStringLiteral("never.pdf"))));
        QApplication::setActiveWindow(&run.frame());

        const std::size_t before = run.frame().DocumentWindows().size();
        QTest::keyClick(view, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(run.frame().DocumentWindows().size(), before + 1);
        QVERIFY(run.view() != view);
    }

    void speechShortcutsStartPauseAndStop() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        run.choices().speed = 10; // slow: the reading lasts while the keys are tried
        TextView* view = run.view();
        view->setFocus();
        view->setPlainText(U("あいうえお。かきくけこ。さしすせそ。"));
        SpeechController& speech = run.speech();

        QTest::keyClick(view, Qt::Key_F3);
        QVERIFY(speech.IsTimerRunning());
        QTest::keyClick(view, Qt::Key_Pause);
        QVERIFY(speech.IsPaused());
        QTest::keyClick(view, Qt::Key_F4, Qt::ControlModifier);
        QVERIFY(!speech.IsPaused());
        QVERIFY(speech.IsTimerRunning());
        QTest::keyClick(view, Qt::Key_F4, Qt::ControlModifier);
        QVERIFY(speech.IsPaused());
        QTest::keyClick(view, Qt::Key_Pause);
        QVERIFY(!speech.IsPaused());
        QTest::keyClick(view, Qt::Key_F4);
        QTRY_VERIFY(Idle(run));

        // Ctrl+F3 reads from the caret: the first unit heard lies after it.
        QTextCursor caret = view->textCursor();
        caret.setPosition(12);
        view->setTextCursor(caret);
        QSignalSpy highlights(&speech, &SpeechController::highlightChanged);
        QTest::keyClick(view, Qt::Key_F3, Qt::ControlModifier);
        QVERIFY(speech.IsTimerRunning());
        QTRY_VERIFY(!highlights.isEmpty() && highlights.last().at(1).toInt() >= 0);
        for (const QList<QVariant>& h : highlights) {
            if (h.at(1).toInt() >= 0) {
                QVERIFY(h.at(1).toInt() >= 12);
            }
        }
        QTest::keyClick(view, Qt::Key_F4);
        QTRY_VERIFY(Idle(run));

        // Pause does nothing while nothing is read.
        QTest::keyClick(view, Qt::Key_Pause);
        QVERIFY(Idle(run));

        // F6 and Shift+F6 exist and change nothing: no window is split into panes.
        for (const QKeySequence& keys :
             {QKeySequence(QStringLiteral("F6")), QKeySequence(QStringLiteral("Shift+F6"))}) {
            bool found = false;
            for (const QAction* a : run.frame().actions()) {
                found = found || a->shortcuts().contains(keys);
            }
            QVERIFY(found);
        }
        QTest::keyClick(view, Qt::Key_F6);
        QCOMPARE(run.view(), view);
    }

    void everyKeyIsListedWithItsCommand() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        // The window's own keys (the menus' items carry none of their own), in table order.
        Lines keys;
        for (const QAction* a : run.frame().actions()) {
            if (!a->shortcuts().isEmpty()) {
                keys << QKeySequence::listToString(a->shortcuts())
                            .replace(QStringLiteral("; "), QStringLiteral(", "));
            }
        }
        Lines expected;
        for (const Keys& k : kKeys) {
            expected << U(k.keys);
        }
        keys.sort();
        expected.sort();
        QCOMPARE(keys, expected);
    }

    void eachCommandHasOneActionThatMenusToolBarAndKeysShare() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        MainWindow& frame = run.frame();
        auto button = [&frame](const char* tip) -> QAction* {
            for (QAction* a : frame.ToolBar()->actions()) {
                if (a->toolTip() == U(tip)) {
                    return a;
                }
            }
            return nullptr;
        };
        // A menu item and the tool bar button of one command are one action, which carries the
        // command's keys.
        struct Shared {
            const char* menu;
            const char* item;
            const char* tip;
            const char* keys;
        };
        const Shared shared[] = {
            {"よみあげ(&T)", "しゃべる(&S)", "よみあげｽﾀｰﾄ (F3)", "F3"},
            {"よみあげ(&T)", "一時停止(&P)", "一時停止 (Pause)", "Pause, Ctrl+F4"},
            {"ﾌｧｲﾙ(&F)", "新規作成(&N)\tCtrl+N", "新規ﾌｧｲﾙ", "Ctrl+N"},
            {"編集(&E)", "ｺﾋﾟｰ(&C)\tCtrl+C", "ｺﾋﾟ-", "Ctrl+C, Ctrl+Ins"},
            {"検索(&S)", "文字列置換(&E)", "置換", "Ctrl+H"},
            {"ﾍﾙﾌﾟ(&H)", "目次(&C)", "ﾍﾙﾌﾟ", ""},
        };
        for (const Shared& s : shared) {
            QAction* item = MenuAction(frame, s.menu, s.item);
            QVERIFY2(item != nullptr, s.item);
            QCOMPARE(button(s.tip), item);
            QCOMPARE(QKeySequence::listToString(item->shortcuts())
                         .replace(QStringLiteral("; "), QStringLiteral(", ")),
                     U(s.keys));
            QVERIFY2(frame.actions().contains(item), s.item); // the keys need no menu
        }
        // No command has a second action anywhere in the window.
        for (int id = 1; id <= static_cast<int>(CommandId::ViewStatusBar); ++id) {
            QVERIFY2(frame.ActionsFor(static_cast<CommandId>(id)).size() <= 1,
                     qPrintable(QString::number(id)));
        }

        // The menu bar without a document shows the same actions, in its own words.
        QAction* exitItem = MenuAction(frame, "ﾌｧｲﾙ(&F)", "終了(&X)");
        QAction* toolBarItem = MenuAction(frame, "表示(&V)", "ﾂｰﾙ ﾊﾞｰ (&T)");
        QAction* aboutItem = MenuAction(frame, "ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(&A)...");
        QAction* openItem = MenuAction(frame, "ﾌｧｲﾙ(&F)", "開く(&O)...\tCtrl+O");
        QVERIFY(exitItem && toolBarItem && aboutItem && openItem);
        run.view()->GetDocument()->SetModifiedFlag(false);
        frame.MdiArea()->closeAllSubWindows();
        QTRY_VERIFY(frame.DocumentWindows().empty());
        QCOMPARE(MenuAction(frame, "ﾌｧｲﾙ(&F)", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"), exitItem);
        QCOMPARE(MenuAction(frame, "表示(&V)", "ﾂｰﾙ ﾊﾞｰ(&T)"), toolBarItem);
        QCOMPARE(MenuAction(frame, "ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(YOMI6)(&A)..."), aboutItem);
        QCOMPARE(MenuAction(frame, "ﾌｧｲﾙ(&F)", "開く(&O)...\tCtrl+O"), openItem);
        // Back with a document, the words are the document menu's again.
        QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
        QTRY_COMPARE(frame.DocumentWindows().size(), 1u);
        QCOMPARE(exitItem->text(), U("終了(&X)"));
        QCOMPARE(MenuAction(frame, "表示(&V)", "ﾂｰﾙ ﾊﾞｰ (&T)"), toolBarItem);
    }

    void menusShowOnlyTheKeysTheirCommandsShow() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        // What a menu draws for an item: its text, and after a tab the shortcut it shows.
        class Probe : public CommandMenu {
        public:
            Probe() : CommandMenu(QString(), nullptr) {}
            QString Shown(const QAction* a) const {
                QStyleOptionMenuItem option;
                initStyleOption(&option, a);
                return option.text;
            }
        };
        const Probe probe;
        // The speech keys and find and replace work without being shown.
        for (const char* item :
             {"しゃべる(&S)", "やめる(&E)", "ｶｰｿﾙ位置から読む(&R)", "一時停止(&P)"}) {
            const QAction* a = MenuAction(run.frame(), "よみあげ(&T)", item);
            QVERIFY2(a != nullptr && !a->shortcuts().isEmpty(), item);
            QCOMPARE(probe.Shown(a), U(item));
        }
        for (const char* item : {"文字列検索(&F)", "文字列置換(&E)"}) {
            const QAction* a = MenuAction(run.frame(), "検索(&S)", item);
            QVERIFY2(a != nullptr && !a->shortcuts().isEmpty(), item);
            QCOMPARE(probe.Shown(a), U(item));
        }
        QCOMPARE(probe.Shown(MenuAction(run.frame(), "編集(&E)", "元に戻す(&U)\tCtrl+Z")),
                 U("元に戻す(&U)\tCtrl+Z"));
    }

    void keysWorkWithNoMenuBar() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        run.choices().speed = 10;
        TextView* view = run.view();
        view->setFocus();
        view->setPlainText(U("あいうえお。かきくけこ。"));
        run.frame().menuBar()->clear();
        run.frame().menuBar()->hide();
        QTest::keyClick(view, Qt::Key_F3);
        QVERIFY(run.speech().IsTimerRunning());
        QTest::keyClick(view, Qt::Key_Pause);
        QVERIFY(run.speech().IsPaused());
        QTest::keyClick(view, Qt::Key_F4);
        QTRY_VERIFY(Idle(run));
        const std::size_t before = run.frame().DocumentWindows().size();
        QTest::keyClick(&run.frame(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(run.frame().DocumentWindows().size(), before + 1);
    }

    void findAndReplaceAnswerCtrlFAndCtrlH() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        TextView* view = run.view();
        view->setFocus();
        view->setPlainText(QStringLiteral("one two"));
        QCOMPARE(run.frame().SearchDialog(false)->isVisible(), false);
        // From the text and from the window (the focus on its tool bar, say) alike.
        for (QWidget* target : {static_cast<QWidget*>(view), static_cast<QWidget*>(&run.frame())}) {
            QTest::keyClick(target, Qt::Key_F, Qt::ControlModifier);
            QTRY_VERIFY(run.frame().SearchDialog(false)->isVisible());
            QVERIFY(!run.frame().SearchDialog(true)->isVisible());
            run.frame().SearchDialog(false)->hide();
            QApplication::setActiveWindow(&run.frame());
            QTest::keyClick(target, Qt::Key_H, Qt::ControlModifier);
            QTRY_VERIFY(run.frame().SearchDialog(true)->isVisible());
            QVERIFY(!run.frame().SearchDialog(false)->isVisible());
            run.frame().SearchDialog(true)->hide();
            QApplication::setActiveWindow(&run.frame());
        }
        QCOMPARE(view->toPlainText(), QStringLiteral("one two")); // Ctrl+H is no backspace
        // An empty document has nothing to find: the keys do nothing, as the items are off.
        view->setPlainText(QString());
        QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(!run.frame().SearchDialog(false)->isVisible());
        QVERIFY(!run.frame().SearchDialog(true)->isVisible());
    }

    void menuMnemonicsAreUniqueAndAltFASavesAs() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        for (const bool documentMenus : {true, false}) {
            if (!documentMenus) {
                run.view()->GetDocument()->SetModifiedFlag(false);
                run.frame().MdiArea()->closeAllSubWindows();
                QTRY_VERIFY(run.frame().DocumentWindows().empty());
            }
            for (const QAction* top : run.frame().menuBar()->actions()) {
                QString seen;
                for (const QAction* a : top->menu()->actions()) {
                    const QChar m = Mnemonic(a->text());
                    if (a->isSeparator() || !a->isVisible() || m.isNull()) {
                        continue;
                    }
                    QVERIFY2(!seen.contains(m),
                             qPrintable(top->text() + QStringLiteral(": ") + a->text()));
                    seen += m;
                }
            }
        }
        QTest::keyClick(&run.frame(), Qt::Key_N, Qt::ControlModifier);
        QTRY_COMPARE(run.frame().DocumentWindows().size(), 1u);

        // Alt+F opens the file menu; A there is 名前を付けて保存 at once.
        QString seen;
        ModalHandler cancel([&seen](QWidget* w) {
            seen = w->windowTitle() + QLatin1Char(' ') +
                   QString::fromLatin1(w->metaObject()->className());
            if (auto* d = qobject_cast<QDialog*>(w)) {
                d->reject();
            }
        });
        QMenu* file = TopMenu(run.frame(), U("ﾌｧｲﾙ(&F)"));
        QTest::keyClick(&run.frame(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(file->isVisible());
        QTest::keyClick(file, Qt::Key_A);
        QTRY_VERIFY(cancel.handled());
        QVERIFY2(seen.endsWith(QStringLiteral("QFileDialog")), qPrintable(seen));
        QVERIFY(!file->isVisible());
    }

    void toolBarHasItsButtonsInOrder() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        Lines tips;
        for (const QAction* a : run.frame().ToolBar()->actions()) {
            if (a->isSeparator()) {
                tips << QStringLiteral("---");
                continue;
            }
            tips << a->toolTip();
            QVERIFY2(!a->icon().isNull(), qPrintable(a->toolTip()));
            QVERIFY2(!a->icon().pixmap(20, 20).isNull(), qPrintable(a->toolTip()));
        }
        QCOMPARE(tips, ToolBarTips());
    }

    void toolBarButtonsCarryOutTheirCommands() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        auto button = [&run](const char* tip) -> QAction* {
            for (QAction* a : run.frame().ToolBar()->actions()) {
                if (a->toolTip() == U(tip)) {
                    return a;
                }
            }
            return nullptr;
        };
        TextView* view = run.view();
        view->setPlainText(QStringLiteral("one two"));
        view->selectAll();
        button("ｺﾋﾟ-")->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("one two"));
        button("切り取り")->trigger();
        QCOMPARE(view->toPlainText(), QString());
        button("貼り付け")->trigger();
        QCOMPARE(view->toPlainText(), QStringLiteral("one two"));

        QCOMPARE(run.choices().readings, kReadingsDictionary);
        button("漢字も読む")->trigger();
        QCOMPARE(run.choices().readings, kReadingsAutomatic);
        QVERIFY(button("漢字も読む")->isChecked());

        run.choices().speed = 10;
        button("よみあげｽﾀｰﾄ (F3)")->trigger();
        QVERIFY(run.speech().IsTimerRunning());
        button("一時停止 (Pause)")->trigger();
        QVERIFY(run.speech().IsPaused());
        QVERIFY(button("一時停止 (Pause)")->isChecked());
        button("よみあげｽﾄｯﾌﾟ(F4)")->trigger();
        QTRY_VERIFY(Idle(run));
        QVERIFY(!button("一時停止 (Pause)")->isChecked());

        const std::size_t before = run.frame().DocumentWindows().size();
        button("新規ﾌｧｲﾙ")->trigger();
        QCOMPARE(run.frame().DocumentWindows().size(), before + 1);
    }

    void itemsShowTheirPromptInTheStatusBar() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        struct Prompt {
            const char* menu;
            const char* item;
            const char* prompt;
        };
        const Prompt prompts[] = {
            {"ﾌｧｲﾙ(&F)", "新規作成(&N)\tCtrl+N", "新規にﾌｧｲﾙを作成"},
            {"よみあげ(&T)", "しゃべる(&S)", "ﾃｷｽﾄの読み上げを開始します。(F3)"},
            {"よみあげ(&T)", "ｶｰｿﾙ位置から読む(&R)",
             "ｶｰｿﾙ位置から最後まで、選択中はその範囲を読み上げます。(Ctrl+F3)"},
            {"よみあげ(&T)", "青空文庫の注記を読まない",
             "漢字も読むとき、青空文庫のﾙﾋﾞ・注記・底本の記載を読まず、ﾙﾋﾞを読みとして使います。"},
            {"表示(&V)", "右端で折り返す", "ﾜｰﾄﾞﾗｯﾌﾟの設定"},
            {"ﾍﾙﾌﾟ(&H)", "目次(&C)", "ﾍﾙﾌﾟを起動します。"},
        };
        for (const Prompt& p : prompts) {
            QAction* item = MenuAction(run.frame(), p.menu, p.item);
            QVERIFY2(item != nullptr, p.item);
            QCOMPARE(item->statusTip(), U(p.prompt));
            // Highlighting the item in its open menu puts the prompt in the status bar.
            QMenu* menu = TopMenu(run.frame(), U(p.menu));
            menu->popup(QPoint(0, 0));
            QTRY_VERIFY(menu->isVisible());
            menu->setActiveAction(item);
            QCOMPARE(run.frame().statusBar()->currentMessage(), U(p.prompt));
            menu->hide();
        }
        // Items that are disabled now, and tool bar buttons, carry the prompt of their command.
        QCOMPARE(MenuAction(run.frame(), "よみあげ(&T)", "一時停止(&P)")->statusTip(),
                 U("読み上げを一時停止します。もう一度選ぶと続きを読みます。(Pause)"));
        int withPrompt = 0;
        for (const QAction* a : run.frame().ToolBar()->actions()) {
            if (a->toolTip() == U("漢字も読む")) {
                QCOMPARE(a->statusTip(),
                         U("漢字も自動で読みます。もう一度選ぶと辞書だけで読みます。"));
                ++withPrompt;
            } else if (a->toolTip() == U("ｺﾋﾟ-")) {
                QCOMPARE(a->statusTip(), U("選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存"));
                ++withPrompt;
            }
        }
        QCOMPARE(withPrompt, 2);
    }

    void checkMarksFollowTheState() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        QAction* wrap = MenuAction(run.frame(), "表示(&V)", "右端で折り返す");
        QAction* toolBar = MenuAction(run.frame(), "表示(&V)", "ﾂｰﾙ ﾊﾞｰ (&T)");
        QAction* statusBar = MenuAction(run.frame(), "表示(&V)", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)");
        QAction* readings = MenuAction(run.frame(), "よみあげ(&T)", "漢字も読む(&K)");
        QAction* aozora = MenuAction(run.frame(), "よみあげ(&T)", "青空文庫の注記を読まない");
        QVERIFY(wrap && toolBar && statusBar && readings && aozora);
        QCOMPARE(aozora->toolTip(), U("青空文庫の注記を読まない"));
        QMenu* viewMenu = TopMenu(run.frame(), U("表示(&V)"));
        QMenu* speechMenu = TopMenu(run.frame(), U("よみあげ(&T)"));

        OpenAndClose(viewMenu);
        OpenAndClose(speechMenu);
        QVERIFY(!wrap->isChecked());
        QVERIFY(toolBar->isChecked());
        QVERIFY(statusBar->isChecked());
        QVERIFY(!readings->isChecked());
        QVERIFY(aozora->isChecked()); // the notation is found and kept silent by default

        // Changed from elsewhere (the reading mode and the notation by the tool bar's buttons,
        // which are the same actions): the menus show it when opened.
        run.view()->SetWordWrap(true);
        run.frame().ToolBar()->hide();
        run.frame().statusBar()->hide();
        run.frame().Dispatch(CommandId::Readings);
        run.frame().Dispatch(CommandId::AozoraNotation);
        QCOMPARE(run.choices().readings, kReadingsAutomatic);
        QCOMPARE(run.choices().aozora, AozoraMode::Off);
        OpenAndClose(viewMenu);
        OpenAndClose(speechMenu);
        QVERIFY(!aozora->isChecked());
        QVERIFY(wrap->isChecked());
        QVERIFY(!toolBar->isChecked());
        QVERIFY(!statusBar->isChecked());
        QVERIFY(readings->isChecked());

        // Changed through the items: the state and the marks flip back.
        wrap->trigger();
        toolBar->trigger();
        statusBar->trigger();
        readings->trigger();
        aozora->trigger();
        QCOMPARE(run.choices().aozora, AozoraMode::Auto);
        QVERIFY(aozora->isChecked());
        aozora->trigger();
        QCOMPARE(run.choices().aozora, AozoraMode::Off);
        QVERIFY(!aozora->isChecked());
        aozora->trigger();
        QVERIFY(!run.view()->IsWordWrap());
        QVERIFY(run.frame().ToolBar()->isVisibleTo(&run.frame()));
        QVERIFY(run.frame().statusBar()->isVisibleTo(&run.frame()));
        QCOMPARE(run.choices().readings, kReadingsDictionary);
        QVERIFY(!wrap->isChecked());
        QVERIFY(toolBar->isChecked());
        QVERIFY(statusBar->isChecked());
        QVERIFY(!readings->isChecked());

        // The other menu bar's items show the same state.
        run.frame().ToolBar()->hide();
        run.view()->GetDocument()->SetModifiedFlag(false);
        run.frame().MdiArea()->closeAllSubWindows();
        QTRY_VERIFY(run.frame().DocumentWindows().empty());
        QAction* frameToolBar = MenuAction(run.frame(), "表示(&V)", "ﾂｰﾙ ﾊﾞｰ(&T)");
        QVERIFY(frameToolBar != nullptr);
        OpenAndClose(TopMenu(run.frame(), U("表示(&V)")));
        QVERIFY(!frameToolBar->isChecked());
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
