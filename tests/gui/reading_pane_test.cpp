// The reading pane through the real 表示 menu entry: off by default and kept in the settings
// file; the listing of the current line or the selection against the core's reading of the
// same bytes, the silent parts marked, the unit being heard highlighted in step with the
// speech, and a word's context menu "単語登録..." opening the registration dialog with the word
// and its reading in the first empty row.
#include "app/main_frame.h"
#include "app/resources_init.h"
#include "gui/gui_test_support.h"
#include "speech/playback.h"
#include "speech/speech_pass.h"
#include "speech/speech_state.h"
#include "text/cp932_codec.h"
#include "text/speech_text.h"
#include "view/reading_pane.h"
#include "view/speech_controller.h"
#include "view/word_dialog.h"
#include "view/yomi6_view.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

// The core's reading of text in the current reading mode, each byte as its half-width character,
// and the bytes its ticks play nothing for.
struct CoreReading {
    QString shown;
    QList<int> silent; // byte offsets
    std::unique_ptr<SpeechState> state = std::make_unique<SpeechState>();
};

CoreReading ReadWithCore(const QString& text) {
    CoreReading core;
    core.state->readings = g_speech.readings;
    const std::string bytes = SpeechBytes(text.toStdU16String());
    StartSpeech(*core.state, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    const std::string reading(reinterpret_cast<const char*>(core.state->reading),
                              static_cast<std::size_t>(core.state->endIndex));
    core.shown = QString::fromStdU16String(DecodeCp932(reading));
    core.shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    RunPass(*core.state, [&core](const TickResult& tick) {
        if (tick.unitLength > 0 && tick.sample.empty()) {
            for (int i = 0; i < tick.unitLength; ++i) {
                core.silent << tick.unitBegin + i;
            }
        }
    });
    return core;
}

QList<int> Marked(const QPlainTextEdit* text, const char* part) {
    QList<int> positions;
    for (const QTextEdit::ExtraSelection& s : text->extraSelections()) {
        if (s.format.property(QTextFormat::UserProperty).toString() == QLatin1String(part)) {
            for (int i = s.cursor.selectionStart(); i < s.cursor.selectionEnd(); ++i) {
                positions << i;
            }
        }
    }
    return positions;
}

} // namespace

class ReadingPaneTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InitResources();
        QVERIFY(m_cwd.isValid());
        QDir::setCurrent(m_cwd.path());
    }

    void init() {
        m_config = std::make_unique<ScratchConfig>();
        // The listings below are the dictionary reading's.
        m_config->ChooseDictionaryReading();
        g_speech = SpeechState{};
        g_speech.speed = 20;
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(!SpeechController::Instance().IsTimerRunning(), 5000);
        m_config.reset();
    }

    void thePaneIsOffByDefaultAndItsStateIsKept() {
        {
            EditorRun run;
            QVERIFY(run.ok());
            QAction* item = MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)");
            QVERIFY(item != nullptr);
            QVERIFY(item->isCheckable());
            QVERIFY(!item->isChecked());
            QVERIFY(!run.frame().ReadingPaneDock()->isVisibleTo(&run.frame()));
            item->trigger();
            QVERIFY(run.frame().ReadingPaneDock()->isVisibleTo(&run.frame()));
            QVERIFY(item->isChecked());
        }
        QCOMPARE(IniInt(m_config->IniPath(), "よみあげPadのセッティング", "読みパネル"),
                 std::optional<int>(1));
        {
            EditorRun run;
            QVERIFY(run.frame().ReadingPaneDock()->isVisibleTo(&run.frame()));
            MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        }
        QCOMPARE(IniInt(m_config->IniPath(), "よみあげPadのセッティング", "読みパネル"),
                 std::optional<int>(0));
    }

    void theListingIsTheReadingOfTheLineOrSelectionWithTheSilentPartsMarked() {
        EditorRun run;
        MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        ReadingPane* pane = run.frame().ReadingPaneDock();
        CYOMI5View* view = run.view();
        const QString second = QString::fromUtf8("かき・く　け?こ");
        view->setPlainText(QString::fromUtf8("あいう\n") + second + QStringLiteral("\nさし"));
        QTextCursor caret = view->textCursor();
        caret.setPosition(6); // inside the second line
        view->setTextCursor(caret);
        pane->Refresh();
        const CoreReading core = ReadWithCore(second);
        QCOMPARE(pane->ReadingText()->toPlainText(), core.shown);
        QVERIFY(!core.silent.isEmpty());
        // Every byte here is one character of the listing.
        QCOMPARE(Marked(pane->ReadingText(), "silent"), core.silent);

        caret.setPosition(0);
        caret.setPosition(2, QTextCursor::KeepAnchor);
        view->setTextCursor(caret);
        QTRY_COMPARE(pane->ReadingText()->toPlainText(),
                     ReadWithCore(QStringLiteral("あい")).shown);
    }

    void theUnitBeingHeardIsHighlightedInStep() {
        EditorRun run;
        MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        ReadingPane* pane = run.frame().ReadingPaneDock();
        CYOMI5View* view = run.view();
        // Read automatically: 東京 is five units, all from the same two characters; the pane
        // must show which of the five is heard.
        run.frame().Dispatch(cmd::Readings);
        const QString text = QString::fromUtf8("東京へ行く");
        view->setPlainText(text);
        pane->Refresh();
        const CoreReading core = ReadWithCore(text);
        QCOMPARE(core.shown.size(), qsizetype(core.state->endIndex)); // one byte a character
        QVERIFY(core.shown.startsWith(QString::fromUtf8("ﾄｵｷｮｵ")));
        QStringList expected;
        RunPass(*core.state, [&](const TickResult& tick) {
            if (tick.unitLength > 0) {
                expected << core.shown.mid(tick.unitBegin, tick.unitLength);
            }
        });
        QStringList heard;
        const auto connection =
            connect(&SpeechController::Instance(), &SpeechController::highlightChanged, this,
                    [&](const QObject*, int unitBegin, int, int, int) {
                        if (unitBegin >= 0) {
                            QString part;
                            for (int i : Marked(pane->ReadingText(), "heard")) {
                                part += core.shown.at(i);
                            }
                            heard << part;
                        }
                    });
        run.frame().Dispatch(cmd::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(!SpeechController::Instance().IsTimerRunning(), 5000);
        disconnect(connection);
        QCOMPARE(heard, expected);
        QVERIFY(Marked(pane->ReadingText(), "heard").isEmpty()); // gone at the end
    }

    void aWordsContextMenuOffersItForRegistration() {
        EditorRun run;
        MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        ReadingPane* pane = run.frame().ReadingPaneDock();
        run.view()->setPlainText(QString::fromUtf8("あいカメラです"));
        pane->Refresh();
        // ｶﾒﾗ sits after ｱｲ in the listing.
        const QString listing = pane->ReadingText()->toPlainText();
        const int at = static_cast<int>(listing.indexOf(QString::fromUtf8("ﾒ")));
        QVERIFY(at > 0);
        QCOMPARE(pane->WordAt(at),
                 std::make_pair(QString::fromUtf8("カメラ"), QString::fromUtf8("ｶﾒﾗ")));

        // The real context menu holds the entry, enabled over the word.
        QPlainTextEdit* text = pane->ReadingText();
        QTextCursor c(text->document());
        c.setPosition(at);
        const QPoint point = text->cursorRect(c).center() + QPoint(2, 0);
        emit text->customContextMenuRequested(point);
        QMenu* menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr);
        QAction* entry = nullptr;
        for (QAction* a : menu->actions()) {
            if (a->text() == QString::fromUtf8("単語登録...")) {
                entry = a;
            }
        }
        QVERIFY(entry != nullptr);
        QVERIFY(entry->isEnabled());
        QString word;
        QString yomi;
        auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
            if (auto* dialog = qobject_cast<CWordDlg*>(w)) {
                word = dialog->WordEdit(0)->text();
                yomi = dialog->YomiEdit(0)->text();
                dialog->reject();
            }
        });
        menu->close();
        entry->trigger();
        QTRY_VERIFY(handler->handled());
        QCOMPARE(word, QString::fromUtf8("カメラ"));
        QCOMPARE(yomi, QString::fromUtf8("ｶﾒﾗ"));
    }

private:
    QTemporaryDir m_cwd;
    std::unique_ptr<ScratchConfig> m_config;
};

QTEST_MAIN(ReadingPaneTest)
#include "reading_pane_test.moc"
