// The reading mode in the editor: the menu item "漢字も読む(&K)", its tool bar button and the
// status pane through the real actions, the mode kept in the settings file, the automatic
// reading when speaking with every tick tied to the characters it read, the analyzer loaded
// only when first needed, and a missing analyzer dictionary.
#include "analysis/analyzer_loader.h"
#include "app/application.h"
#include "app/main_window.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "playback/speech_state.h"
#include "settings/settings.h"
#include "speaking/app_context.h"
#include "speaking/speech_controller.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <cstdlib>
#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

// The tool bar button of the reading mode: the one with the reading icon's tool tip.
QAction* ToolBarAction(MainWindow& frame) {
    for (QAction* a : frame.ToolBar()->actions()) {
        if (a->toolTip() == QString::fromUtf8("漢字も読む")) {
            return a;
        }
    }
    return nullptr;
}

bool HasPane(MainWindow& frame, const QString& text) {
    for (const QLabel* label : frame.statusBar()->findChildren<QLabel*>()) {
        if (label->text() == text) {
            return true;
        }
    }
    return false;
}

} // namespace

class ReadingsTest : public GuiTestCase {
    Q_OBJECT

public:
    ReadingsTest() { StartRunsAtSpeed(20); }

private slots:
    // Runs first: nothing has loaded the analyzer in this process yet. A new user (no 読み方 in
    // the settings) without the analyzer's dictionary: F3 says so once and reads with the
    // dictionary, which is the mode in effect from then on; the key stays out of the file.
    void aNewUserWithoutTheAnalyzerHearsTheDictionaryReadingAndIsToldOnce() {
        const QString folder = cwd().filePath(QStringLiteral("no-analyzer"));
        qputenv("YOMI6_MECAB_DIC", folder.toUtf8());
        {
            EditorRun run(sound(), {}, start());
            QVERIFY(run.ok());
            QAction* item = MenuAction(run.frame(), QString::fromUtf8("よみあげ(&T)"),
                                       QString::fromUtf8("漢字も読む(&K)"));
            QVERIFY(item != nullptr);
            QVERIFY(item->isChecked()); // the automatic reading, until it is known to fail
            run.view()->setPlainText(QString::fromUtf8("漢字"));
            auto box = AnswerNextMessageBox(QMessageBox::Ok);
            QTest::keyClick(run.view(), Qt::Key_F3);
            QTRY_VERIFY_WITH_TIMEOUT(box->handled(), 3000);
            QVERIFY2(box->text().contains(folder), qPrintable(box->text()));
            QVERIFY2(box->text().startsWith(
                         QString::fromUtf8("漢字を読むための解析辞書を読み込めません。")),
                     qPrintable(box->text()));
            QCOMPARE(run.speech().SampleTickState().endIndex, 4); // 漢字: the built-in word ｶﾝｼﾞ
            QCOMPARE(run.speech().SampleTickState().reading[0], 0xB6);
            QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 3000);
            QVERIFY(!item->isChecked());
            QVERIFY(HasPane(run.frame(), QString::fromUtf8("辞書")));

            // The next F3 reads with the dictionary without a word.
            auto none = AnswerNextMessageBox(QMessageBox::Ok);
            QTest::keyClick(run.view(), Qt::Key_F3);
            QTest::qWait(300);
            QVERIFY(!none->handled());
            QCOMPARE(run.speech().SampleTickState().endIndex, 4);
            QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 3000);
            QVERIFY(!run.frame().Context().ReadingAnalyzer().IsLoaded());
        }
        qunsetenv("YOMI6_MECAB_DIC");
        QVERIFY(QFile::exists(config().IniPath()));
        QCOMPARE(IniInt(config().IniPath(), "よみあげPadのセッティング", "読み方"),
                 std::optional<int>());
    }

    // The automatic reading chosen, and its analyzer missing: said at each reading.
    void aMissingAnalyzerDictionarySaysSoOnceAndReadsWithTheDictionary() {
        config().ChooseDictionaryReading();
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        QVERIFY(!run.frame().Context().ReadingAnalyzer().IsLoaded()); // not at start-up
        run.frame().Dispatch(CommandId::Readings);
        const QString folder = cwd().filePath(QStringLiteral("no-analyzer"));
        qputenv("YOMI6_MECAB_DIC", folder.toUtf8());
        run.view()->setPlainText(QString::fromUtf8("漢字"));
        auto box = AnswerNextMessageBox(QMessageBox::Ok);
        run.frame().Dispatch(CommandId::Speak);
        qunsetenv("YOMI6_MECAB_DIC");
        QTRY_VERIFY_WITH_TIMEOUT(box->handled(), 3000);
        QVERIFY2(box->text().contains(folder), qPrintable(box->text()));
        // Said in the editor's language: no English system text in its box.
        QVERIFY2(
            box->text().startsWith(QString::fromUtf8("漢字を読むための解析辞書を読み込めません。")),
            qPrintable(box->text()));
        // The dictionary reading of this pass: 漢字 is the built-in word ｶﾝｼﾞ.
        QCOMPARE(run.speech().SampleTickState().endIndex, 4);
        QCOMPARE(run.speech().SampleTickState().reading[0], 0xB6);
        QVERIFY(!run.frame().Context().ReadingAnalyzer().IsLoaded());
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 3000);
    }

    void menuItemToolBarButtonAndPaneSwitchTheMode() {
        config().ChooseDictionaryReading();
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        QAction* item = MenuAction(run.frame(), QString::fromUtf8("よみあげ(&T)"),
                                   QString::fromUtf8("漢字も読む(&K)"));
        QVERIFY(item != nullptr);
        QAction* button = ToolBarAction(run.frame());
        QVERIFY(button != nullptr);
        QVERIFY(item->isCheckable() && button->isCheckable());
        QVERIFY(!button->icon().isNull());
        QVERIFY(!item->isChecked());
        QVERIFY(HasPane(run.frame(), QString::fromUtf8("辞書")));

        item->trigger();
        QCOMPARE(run.choices().readings, kReadingsAutomatic);
        QVERIFY(item->isChecked());
        QVERIFY(button->isChecked());
        QVERIFY(HasPane(run.frame(), QString::fromUtf8("自動")));
        QVERIFY(!HasPane(run.frame(), QString::fromUtf8("辞書")));

        button->trigger();
        QCOMPARE(run.choices().readings, kReadingsDictionary);
        QVERIFY(!item->isChecked());
        QVERIFY(HasPane(run.frame(), QString::fromUtf8("辞書")));
    }

    void theModeIsKeptInTheSettingsFile() {
        config().ChooseDictionaryReading();
        {
            EditorRun run(sound(), {}, start());
            ToolBarAction(run.frame())->trigger();
        }
        QCOMPARE(IniInt(config().IniPath(), "よみあげPadのセッティング", "読み方"),
                 std::optional<int>(1));
        EditorRun run(sound(), {}, start());
        QCOMPARE(run.choices().readings, kReadingsAutomatic);
        QVERIFY(ToolBarAction(run.frame())->isChecked());
        QVERIFY(HasPane(run.frame(), QString::fromUtf8("自動")));
    }

    void speakingReadsKanjiAndTiesEveryTickToItsCharacters() {
        config().ChooseDictionaryReading();
        EditorRun run(sound(), {}, start());
        // The dictionary mode first: the analyzer stays unloaded.
        run.view()->setPlainText(QString::fromUtf8("東京"));
        QSignalSpy units(&run.speech(), &SpeechController::unitTicked);
        QTest::keyClick(run.view(), Qt::Key_F3);
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 3000);
        QVERIFY(!run.frame().Context().ReadingAnalyzer().IsLoaded());

        QAction* item = MenuAction(run.frame(), QString::fromUtf8("よみあげ(&T)"),
                                   QString::fromUtf8("漢字も読む(&K)"));
        item->trigger();
        run.view()->setPlainText(QString::fromUtf8("あ\n東京へ"));
        units.clear();
        QTest::keyClick(run.view(), Qt::Key_F3);
        QVERIFY(run.frame().Context().ReadingAnalyzer().IsLoaded());
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 3000);
        // ｱ, then 東京 as spoken (ﾄｵｷｮｵ, every unit the two characters 2-4), へ as the
        // particle ｴ, and the tick past the end at the end of the text.
        QStringList got;
        for (const QList<QVariant>& u : units) {
            got << QStringLiteral("%1 %2-%3")
                       .arg(u.at(0).toString())
                       .arg(u.at(1).toInt())
                       .arg(u.at(2).toInt());
        }
        const QStringList expected = {QStringLiteral("IDF_A 0-1"), QStringLiteral("IDF_TO 2-4"),
                                      QStringLiteral("IDF_O 2-4"), QStringLiteral("IDF_KYO 2-4"),
                                      QStringLiteral("IDF_O 2-4"), QStringLiteral("IDF_E 4-5"),
                                      QStringLiteral(" 5-5")};
        QCOMPARE(got, expected);
    }

    // A new user (no 読み方) with the analyzer: F3, through the real action, reads the kanji;
    // the file gets the key only when the user switches.
    void aNewUserHearsKanjiReadAndTheKeyWaitsForASwitch() {
        {
            EditorRun run(sound(), {}, start());
            QVERIFY(run.ok());
            QAction* speak = MenuAction(run.frame(), QString::fromUtf8("よみあげ(&T)"),
                                        QString::fromUtf8("しゃべる(&S)"));
            QVERIFY(speak != nullptr);
            QAction* item = MenuAction(run.frame(), QString::fromUtf8("よみあげ(&T)"),
                                       QString::fromUtf8("漢字も読む(&K)"));
            QVERIFY(item->isChecked());
            QVERIFY(ToolBarAction(run.frame())->isChecked());
            QVERIFY(HasPane(run.frame(), QString::fromUtf8("自動")));
            run.view()->setPlainText(QString::fromUtf8("東京"));
            QTest::keyClick(run.view(), Qt::Key_F3);
            QCOMPARE(Reading(run), QByteArray::fromHex("c4b5b7aeb5")); // ﾄｵｷｮｵ
            QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 3000);
            speak->trigger();
            QCOMPARE(Reading(run), QByteArray::fromHex("c4b5b7aeb5"));
            QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 3000);
        }
        QCOMPARE(IniInt(config().IniPath(), "よみあげPadのセッティング", "読み方"),
                 std::optional<int>());
        {
            EditorRun run(sound(), {}, start());
            QAction* item = MenuAction(run.frame(), QString::fromUtf8("よみあげ(&T)"),
                                       QString::fromUtf8("漢字も読む(&K)"));
            QVERIFY(item->isChecked());
            item->trigger(); // the user switches to the dictionary reading
            QVERIFY(!item->isChecked());
            QVERIFY(HasPane(run.frame(), QString::fromUtf8("辞書")));
            run.view()->setPlainText(QString::fromUtf8("東京"));
            QTest::keyClick(run.view(), Qt::Key_F3);
            QCOMPARE(Reading(run), Sjis("東京")); // a kanji the dictionary lacks: not read
            QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 3000);
        }
        QCOMPARE(IniInt(config().IniPath(), "よみあげPadのセッティング", "読み方"),
                 std::optional<int>(0));
    }

    // 読み方=0 keeps the dictionary reading exactly, the analyzer at hand or not.
    void keyZeroKeepsTheDictionaryReading() {
        config().ChooseDictionaryReading();
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        QAction* item = MenuAction(run.frame(), QString::fromUtf8("よみあげ(&T)"),
                                   QString::fromUtf8("漢字も読む(&K)"));
        QVERIFY(!item->isChecked());
        run.view()->setPlainText(QString::fromUtf8("東京は、"));
        QTest::keyClick(run.view(), Qt::Key_F3);
        QCOMPARE(Reading(run), Sjis("東京") + QByteArray::fromHex("dca4")); // は、 the built-in ﾜ､
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 3000);
    }

private:
    // The reading the last speak command left.
    static QByteArray Reading(const EditorRun& run) {
        const SpeechTickState& session = run.speech().SampleTickState();
        return QByteArray(reinterpret_cast<const char*>(session.reading), session.endIndex);
    }
};

QTEST_MAIN(ReadingsTest)
#include "readings_test.moc"
