// Where reading stopped and the bookmarks (しおり), through the real よみあげ menu entries: the
// place heard last is kept when the reading stops and when the file closes, and the file opened
// again puts the caret there and reads on from it with one key; a changed file keeps the place
// only where the text around it still stands; the bookmarks are added, listed, jumped to and
// deleted; a broken places file is set aside with a message and the places start afresh.
#include "app/main_window.h"
#include "commands/command_ids.h"
#include "editor/bookmarks_dialog.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "speaking/speech_controller.h"

#include <QAction>
#include <QDir>
#include <QInputDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

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

// Numbered sentences, one a line: every place has text of its own around it.
QString Book(int lines) {
    QString text;
    for (int i = 0; i < lines; ++i) {
        text += QStringLiteral("%1").arg(i) + U("ばんめのぶんです。\n");
    }
    return text;
}

bool Idle(const EditorRun& run) {
    return !run.speech().IsTimerRunning() && !run.speech().IsPaused();
}

// The units heard while it lives.
class Heard {
public:
    explicit Heard(SpeechController& speech) {
        QObject::connect(&speech, &SpeechController::highlightChanged, &m_guard,
                         [this](const QObject*, int unitBegin, int, int, int) {
                             if (unitBegin >= 0) {
                                 units << unitBegin;
                             }
                         });
    }
    QList<int> units;

private:
    QObject m_guard;
};

} // namespace

class ReadingPlacesTest : public GuiTestCase {
    Q_OBJECT

public:
    ReadingPlacesTest() {
        ChooseDictionaryReadingInEveryTest();
        StartRunsAtSpeed(20);
    }

protected:
    void InitTest() override {
        m_data = std::make_unique<QTemporaryDir>();
        m_oldData = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_data->path().toLocal8Bit());
        m_book = cwd().filePath(QStringLiteral("book.txt"));
    }
    void CleanupTest() override {
        qputenv("XDG_DATA_HOME", m_oldData);
        m_data.reset();
    }
    QString PlacesFile() const { return m_data->filePath(QStringLiteral("yomi6/places.txt")); }
    // Reads the book from the caret at position until a few units are heard, then stops;
    // returns the unit heard last.
    int ReadAWhile(EditorRun& run, int position) {
        QTextCursor caret = run.view()->textCursor();
        caret.setPosition(position);
        run.view()->setTextCursor(caret);
        Heard heard(run.speech());
        run.frame().Dispatch(CommandId::ReadFromCaret);
        if (!QTest::qWaitFor([&heard] { return heard.units.size() >= 4; }, 20000)) {
            return -1;
        }
        run.frame().Dispatch(CommandId::Stop);
        if (!QTest::qWaitFor([&run] { return Idle(run); }, 20000)) {
            return -1;
        }
        return heard.units.last();
    }

    std::unique_ptr<QTemporaryDir> m_data;
    QByteArray m_oldData;
    QString m_book;

private slots:
    void theEntriesAreInTheReadingMenuAndNeedAFile() {
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        struct Entry {
            CommandId id;
            const char* text;
            const char* keys;
        };
        const Entry entries[] = {
            {CommandId::ResumeReading, "続きから読む(&Z)", "Ctrl+Shift+F3"},
            {CommandId::AddBookmark, "しおりを挟む(&B)...", ""},
            {CommandId::BookmarkList, "しおり(&L)...", ""},
        };
        for (const Entry& e : entries) {
            const QString keys = U(e.keys);
            QAction* item = MenuAction(run.frame(), U("よみあげ(&T)"),
                                       keys.isEmpty() ? U(e.text) : U(e.text) + '\t' + keys);
            QVERIFY2(item != nullptr, e.text);
            QCOMPARE(item, run.frame().Action(e.id));
            QCOMPARE(QKeySequence::listToString(item->shortcuts()), keys);
            QVERIFY2(!item->isEnabled(), e.text); // an untitled text keeps no places
        }
    }

    void aStoppedReadingGoesOnFromWhereItStoppedWhenTheFileOpensAgain() {
        QVERIFY(WriteBytes(m_book, Book(60).toUtf8()));
        const int start0 = static_cast<int>(Book(60).indexOf(U("20ばんめ")));
        int stopped = -1;
        {
            EditorRun run(sound(), {m_book}, start());
            QVERIFY(run.ok());
            // Nothing kept yet: the key says so and reads nothing.
            run.frame().Action(CommandId::ResumeReading)->trigger();
            QVERIFY(Idle(run));
            QVERIFY(run.frame().StatusMessage().contains(U("位置がありません")));
            stopped = ReadAWhile(run, start0);
            QVERIFY(stopped > start0);
            QVERIFY(QFile::exists(PlacesFile()));
        }
        {
            EditorRun run(sound(), {m_book}, start());
            QVERIFY(run.ok());
            QCOMPARE(run.view()->textCursor().position(), stopped);
            QVERIFY2(run.frame().StatusMessage().contains(U("続きから読む")),
                     qPrintable(run.frame().StatusMessage()));
            QAction* resume = run.frame().Action(CommandId::ResumeReading);
            QVERIFY(resume->isEnabled());
            // The caret moved away: the one key reads from the kept place all the same.
            QTextCursor caret = run.view()->textCursor();
            caret.setPosition(0);
            run.view()->setTextCursor(caret);
            Heard heard(run.speech());
            QTest::keyClick(run.view(), Qt::Key_F3, Qt::ControlModifier | Qt::ShiftModifier);
            QTRY_VERIFY_WITH_TIMEOUT(!heard.units.isEmpty(), 20000);
            QCOMPARE(heard.units.first(), stopped);
            run.frame().Dispatch(CommandId::Stop);
            QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 20000);
        }
    }

    void aChangedFileKeepsThePlaceOnlyWhereTheTextAroundItStillStands() {
        const QString text = Book(60);
        QVERIFY(WriteBytes(m_book, text.toUtf8()));
        int stopped = -1;
        {
            EditorRun run(sound(), {m_book}, start());
            stopped = ReadAWhile(run, static_cast<int>(text.indexOf(U("30ばんめ"))));
            QVERIFY(stopped > 0);
        }
        // Lines added before it: the place moves with its words.
        const QString grown = U("まえがき\n\n") + text;
        QVERIFY(WriteBytes(m_book, grown.toUtf8()));
        {
            EditorRun run(sound(), {m_book}, start());
            QCOMPARE(run.view()->textCursor().position(), stopped + 6);
            QVERIFY(run.frame().Action(CommandId::ResumeReading)->isEnabled());
        }
        // The text around it rewritten: the place is dropped, the caret stays at the start.
        QString rewritten = grown;
        rewritten.replace(stopped + 6 - 8, 16, QString(16, QChar(0x3042)));
        QVERIFY(WriteBytes(m_book, rewritten.toUtf8()));
        {
            EditorRun run(sound(), {m_book}, start());
            QCOMPARE(run.view()->textCursor().position(), 0);
            run.frame().Action(CommandId::ResumeReading)->trigger();
            QVERIFY(Idle(run));
            QVERIFY(run.frame().StatusMessage().contains(U("位置がありません")));
        }
    }

    void closingAFileWhileItIsReadKeepsThePlace() {
        QVERIFY(WriteBytes(m_book, Book(60).toUtf8()));
        int heardLast = -1;
        {
            EditorRun run(sound(), {m_book}, start());
            Heard heard(run.speech());
            run.frame().Dispatch(CommandId::ReadFromCaret);
            QTRY_VERIFY_WITH_TIMEOUT(heard.units.size() >= 3, 20000);
            run.frame().Dispatch(CommandId::FileClose);
            QTRY_VERIFY(run.frame().DocumentWindows().empty());
            heardLast = heard.units.last();
        }
        EditorRun run(sound(), {m_book}, start());
        QCOMPARE(run.view()->textCursor().position(), heardLast);
    }

    void bookmarksAreAddedListedJumpedToAndDeleted() {
        const QString text = Book(60);
        QVERIFY(WriteBytes(m_book, text.toUtf8()));
        const int tenth = static_cast<int>(text.indexOf(U("10ばんめ")));
        const int fortieth = static_cast<int>(text.indexOf(U("40ばんめ")));
        {
            EditorRun run(sound(), {m_book}, start());
            TextView* view = run.view();
            for (const auto& [position, given] :
                 {std::pair{tenth, QString()}, std::pair{fortieth, U("山場")}}) {
                const QString name = given;
                QTextCursor caret = view->textCursor();
                caret.setPosition(position);
                view->setTextCursor(caret);
                ModalHandler handler([&name](QWidget* w) {
                    auto* dialog = qobject_cast<QInputDialog*>(w);
                    if (dialog != nullptr) {
                        if (!name.isEmpty()) {
                            dialog->setTextValue(name);
                        }
                        dialog->accept();
                    }
                });
                run.frame().Action(CommandId::AddBookmark)->trigger();
                QVERIFY(handler.handled());
            }
        }
        EditorRun run(sound(), {m_book}, start());
        run.frame().Action(CommandId::BookmarkList)->trigger();
        BookmarksDialog* dialog = run.frame().BookmarksWindow();
        QVERIFY(dialog != nullptr);
        QListWidget* list = dialog->List();
        // Unnamed, a bookmark is named after its line.
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), U("10ばんめのぶんです。 (11行目)"));
        QCOMPARE(list->item(1)->text(), U("山場 (41行目)"));
        list->setCurrentRow(1);
        dialog->JumpButton()->click();
        QCOMPARE(run.view()->textCursor().position(), fortieth);
        QCOMPARE(TopLine(run.view()), fortieth);
        list->setCurrentRow(0);
        dialog->DeleteButton()->click();
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), U("山場 (41行目)"));
        QVERIFY(QString::fromUtf8(ReadBytes(PlacesFile())).contains(U("山場")));
        QVERIFY(!QString::fromUtf8(ReadBytes(PlacesFile())).contains(U("10ばんめのぶんです。\t")));
    }

    void aBrokenPlacesFileIsSetAsideWithAMessageAndThePlacesStartAfresh() {
        QVERIFY(WriteBytes(m_book, Book(60).toUtf8()));
        QVERIFY(QDir().mkpath(m_data->filePath(QStringLiteral("yomi6"))));
        const QByteArray broken("yomi6 places 1\nfile\t/x\tnot-a-hash\n\xff\xfe");
        QVERIFY(WriteBytes(PlacesFile(), broken));
        EditorRun run(sound(), {m_book}, start());
        QVERIFY(run.ok());
        QVERIFY2(run.frame().StatusMessage().contains(U("新しく始めます")),
                 qPrintable(run.frame().StatusMessage()));
        QCOMPARE(ReadBytes(PlacesFile() + QStringLiteral(".bad")), broken);
        const int stopped = ReadAWhile(run, 0);
        QVERIFY(stopped >= 0);
        QVERIFY(ReadBytes(PlacesFile()).startsWith("yomi6 places 1\nfile\t"));
    }
};

QTEST_MAIN(ReadingPlacesTest)
#include "reading_places_test.moc"
