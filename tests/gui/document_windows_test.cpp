// Two windows on one document ("新しいｳｨﾝﾄﾞｳを開く(&N)") through the real windows and actions:
// one text and one undo history for both, closing one window keeps the text and its unsaved
// state, the save prompt comes with the last window only, a save writes the text once, and
// the shared layout follows the window activated last.
#include "app/document_window.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "playback/speech_state.h"
#include "settings/settings.h"

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QMdiArea>
#include <QPointer>
#include <QTest>
#include <QTextDocument>

#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

// Opens a second window on the active window's document through its menu action.
TextView* OpenSecondWindow(EditorRun& run) {
    TextView* first = run.view();
    QAction* action = FirstAction(run.frame(), CommandId::WindowNew);
    if (action == nullptr) {
        return nullptr;
    }
    action->trigger();
    TextView* second = run.view();
    return second != first && second->GetDocument() == first->GetDocument() ? second : nullptr;
}

DocumentWindow* FrameOf(EditorRun& run, const TextView* view) {
    for (DocumentWindow* frame : run.frame().DocumentWindows()) {
        if (frame->View() == view) {
            return frame;
        }
    }
    return nullptr;
}

} // namespace

class DocumentWindowsTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void bothWindowsEditOneTextWithOneUndoHistory() {
        const QString path = cwd().filePath(QStringLiteral("shared.txt"));
        QVERIFY(WriteBytes(path, Sjis("本文\r\n")));
        EditorRun run(sound(), {path});
        TextView* first = run.view();
        first->moveCursor(QTextCursor::End);
        Type(first, QString::fromUtf8("一"));
        TextView* second = OpenSecondWindow(run);
        QVERIFY(second != nullptr);
        QCOMPARE(second->Text(), QString::fromUtf8("本文\n一"));

        // Typing in either window shows in the other at once.
        second->moveCursor(QTextCursor::Start);
        Type(second, QStringLiteral("ab"));
        QCOMPARE(first->Text(), QString::fromUtf8("ab本文\n一"));

        // Ctrl+Z in the second window takes back its own typing, then the first window's
        // (typed before the second window existed): one history, in the order of the edits.
        QAction* undo = FirstAction(run.frame(), CommandId::EditUndo);
        QVERIFY(undo != nullptr);
        QVERIFY(undo->isEnabled());
        QTest::keyClick(second, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(first->Text(), QString::fromUtf8("本文\n一"));
        undo->trigger();
        QCOMPARE(first->Text(), QString::fromUtf8("本文\n"));
        QCOMPARE(second->Text(), QString::fromUtf8("本文\n"));
        QVERIFY(!undo->isEnabled()); // the loaded text itself is no step to take back
        QVERIFY(first->document()->isRedoAvailable());
        // Each window keeps its own caret.
        QCOMPARE(second->textCursor().position(), 3);
        // Undoing to the loaded text still counts as a change: closing asks to save.
        QVERIFY(run.view()->GetDocument()->IsModified());
    }

    void closingOneWindowKeepsTheTextAndOnlyTheLastAsksToSave() {
        const QString path = cwd().filePath(QStringLiteral("close.txt"));
        QVERIFY(WriteBytes(path, "base"));
        EditorRun run(sound(), {path});
        TextView* first = run.view();
        TextView* second = OpenSecondWindow(run);
        QVERIFY(second != nullptr);
        QPointer<Document> doc = first->GetDocument();
        Type(second, QStringLiteral("X"));
        QVERIFY(doc->IsModified());

        // The first window, whose control laid the text out first, goes without a prompt.
        auto noPrompt = std::make_unique<ModalHandler>([](QWidget* w) {
            if (auto* box = qobject_cast<QDialog*>(w)) {
                box->reject();
            }
        });
        QVERIFY(FrameOf(run, first)->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!noPrompt->handled());
        noPrompt.reset();
        QCOMPARE(run.frame().DocumentWindows().size(), 1u);
        QVERIFY(!doc.isNull());
        QCOMPARE(second->Text(), QStringLiteral("Xbase"));
        QVERIFY(doc->IsModified());
        QTRY_COMPARE(FrameOf(run, second)->windowTitle(), QStringLiteral("close.txt*"));
        Type(second, QStringLiteral("Y")); // the text still edits
        QCOMPARE(second->Text(), QStringLiteral("XYbase"));

        // The last window asks; Cancel keeps it, No closes it and the document with it.
        auto cancel = AnswerNextMessageBox(QMessageBox::Cancel);
        QVERIFY(!FrameOf(run, second)->close());
        QVERIFY(cancel->handled());
        QCOMPARE(cancel->text(), QString::fromUtf8("close.txt への変更を保存しますか?"));
        auto no = AnswerNextMessageBox(QMessageBox::No);
        QVERIFY(FrameOf(run, second)->close());
        QVERIFY(no->handled());
        QTRY_VERIFY(doc.isNull());
        QCOMPARE(ReadBytes(path), QByteArray("base"));
    }

    void savingADocumentWithTwoWindowsWritesItsTextOnce() {
        const QString path = cwd().filePath(QStringLiteral("save.txt"));
        QVERIFY(WriteBytes(path, Sjis("一行目\r\n二行目\r\n")));
        EditorRun run(sound(), {path});
        TextView* first = run.view();
        TextView* second = OpenSecondWindow(run);
        QVERIFY(second != nullptr);
        second->moveCursor(QTextCursor::End);
        Type(second, QString::fromUtf8("三"));
        run.frame().MdiArea()->setActiveSubWindow(FrameOf(run, first));
        QCOMPARE(run.view(), first);
        first->moveCursor(QTextCursor::Start);
        Type(first, QString::fromUtf8("〇\n"));
        QAction* save = FirstAction(run.frame(), CommandId::FileSave);
        QVERIFY(save != nullptr);
        save->trigger();
        QCOMPARE(ReadBytes(path), Sjis("〇\r\n一行目\r\n二行目\r\n三"));
        QVERIFY(!first->GetDocument()->IsModified());
        QCOMPARE(FrameOf(run, second)->windowTitle(), QStringLiteral("save.txt:2"));
    }

    void sharedLayoutFollowsTheActiveWindowsWrapAndFont() {
        EditorRun run(sound());
        TextView* first = run.view();
        QAction* wrap = FirstAction(run.frame(), CommandId::WordWrap);
        QVERIFY(wrap != nullptr);
        wrap->trigger();
        TextView* second = OpenSecondWindow(run);
        QVERIFY(second != nullptr);
        wrap->trigger(); // the second window only
        QVERIFY(first->IsWordWrap());
        QVERIFY(!second->IsWordWrap());
        QTextDocument* text = second->document();
        QCOMPARE(text->defaultTextOption().wrapMode(), QTextOption::NoWrap);
        QFont big = second->font();
        big.setPixelSize(31);
        first->setFont(big);
        QCOMPARE(text->defaultFont(), second->font()); // the active window's font stays

        run.frame().MdiArea()->setActiveSubWindow(FrameOf(run, first));
        QCOMPARE(run.view(), first);
        QVERIFY(text->defaultTextOption().wrapMode() != QTextOption::NoWrap);
        QCOMPARE(QFontInfo(text->defaultFont()).pixelSize(), 31);
        QVERIFY(wrap->isChecked());
        QVERIFY(!second->IsWordWrap());
    }
};

QTEST_MAIN(DocumentWindowsTest)
#include "document_windows_test.moc"
