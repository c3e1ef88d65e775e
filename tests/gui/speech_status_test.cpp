// The status bar's message pane as the speech goes, through the real keys F3, F5, Pause, F4 and
// Ctrl+F3: "ﾚﾃﾞｨ" when nothing is read, what is being done with the voice and the reading mode
// while reading or paused, and once at the end of a speak command that stopped at its cut
// before the end of the document, the line where it stopped and the key that reads on from the
// caret, which is then there. The texts are typed out here.
#include "app/main_window.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "playback/speech_state.h"
#include "sound/speech_player.h"
#include "speaking/speech_controller.h"

#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

bool Idle(const EditorRun& run) {
    return !run.speech().IsTimerRunning() && !run.speech().IsPaused();
}

// "あい", then lines empty but for their line breaks, then "うえ": the speak command's 4000
// bytes end inside the empty lines, after "あい" (4 bytes) and 1998 line breaks (CR LF), at
// the start of line 1999; its reading is two units long.
QString LongDocument(bool textAfterTheCut) {
    return U("あい") + QString(2500, QLatin1Char('\n')) + (textAfterTheCut ? U("うえ") : QString());
}

} // namespace

class SpeechStatusTest : public GuiTestCase {
    Q_OBJECT

private slots:
    // First of all, before anything loads the analyzer: its dictionary is missing.
    void anAutomaticReadingWithoutItsAnalyzerSaysItReadsWithTheDictionary() {
        const QByteArray old = qgetenv("YOMI6_MECAB_DIC");
        qputenv("YOMI6_MECAB_DIC", cwd().filePath(QStringLiteral("no-dictionary")).toLocal8Bit());
        {
            EditorRun run(sound());
            QVERIFY(run.ok());
            QTRY_VERIFY_WITH_TIMEOUT(run.speech().Player().IsReady(), 10000);
            run.choices().readings = kReadingsAutomatic;
            run.choices().speed = 300;
            run.view()->setPlainText(U("あいうえお"));
            auto box = AnswerNextMessageBox(QMessageBox::Ok); // the analyzer could not be loaded
            QTest::keyClick(run.view(), Qt::Key_F3);
            QTRY_VERIFY(box->handled());
            QCOMPARE(run.frame().StatusMessage(), U("読み上げ中（女性・辞書・音声出力なし）"));
            QTest::keyClick(run.view(), Qt::Key_F4);
            QTRY_VERIFY(Idle(run));
        }
        qputenv("YOMI6_MECAB_DIC", old);
        if (old.isEmpty()) {
            qunsetenv("YOMI6_MECAB_DIC");
        }
    }

    void thePaneSaysWhatTheSpeechIsDoing() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        // The test runs with the sound server pointed nowhere: first that is said.
        QTRY_COMPARE_WITH_TIMEOUT(run.frame().StatusMessage(),
                                  U("音声を出力できません。読み上げは無音で進みます。"), 10000);
        run.choices().voice = VoiceSlot::Female;
        run.choices().readings = kReadingsDictionary;
        run.choices().speed = 300; // slow: the reading lasts while the keys are tried
        TextView* view = run.view();
        view->setFocus();
        view->setPlainText(U("あいうえおかきくけこさしすせそ"));
        MainWindow& frame = run.frame();

        // Reading, the pane says so, and that nothing is heard.
        QTest::keyClick(view, Qt::Key_F3);
        QCOMPARE(frame.StatusMessage(), U("読み上げ中（女性・辞書・音声出力なし）"));
        QTest::keyClick(view, Qt::Key_F5); // the voice changes at once
        QCOMPARE(frame.StatusMessage(), U("読み上げ中（男性・辞書・音声出力なし）"));
        QTest::keyClick(view, Qt::Key_Pause);
        QCOMPARE(frame.StatusMessage(), U("一時停止中（男性・辞書・音声出力なし）"));
        QTest::keyClick(view, Qt::Key_F4, Qt::ControlModifier); // the other pause key
        QCOMPARE(frame.StatusMessage(), U("読み上げ中（男性・辞書・音声出力なし）"));
        QTest::keyClick(view, Qt::Key_F4);
        QTRY_VERIFY(Idle(run));
        QCOMPARE(frame.StatusMessage(), U("ﾚﾃﾞｨ"));

        // Stopped while paused: ready at once.
        QTest::keyClick(view, Qt::Key_F3);
        QTest::keyClick(view, Qt::Key_Pause);
        QCOMPARE(frame.StatusMessage(), U("一時停止中（男性・辞書・音声出力なし）"));
        QTest::keyClick(view, Qt::Key_F4);
        QVERIFY(Idle(run));
        QCOMPARE(frame.StatusMessage(), U("ﾚﾃﾞｨ"));

        // The mode is the reading's own: switched meanwhile, it is the next reading's.
        QAction* readings = MenuAction(frame, "よみあげ(&T)", "漢字も読む(&K)");
        QVERIFY(readings != nullptr);
        readings->trigger();
        QCOMPARE(run.choices().readings, kReadingsAutomatic);
        QTest::keyClick(view, Qt::Key_F3, Qt::ControlModifier);
        QCOMPARE(frame.StatusMessage(), U("読み上げ中（男性・自動・音声出力なし）"));
        readings->trigger();
        QCOMPARE(run.choices().readings, kReadingsDictionary);
        QCOMPARE(frame.StatusMessage(), U("読み上げ中（男性・自動・音声出力なし）"));
        QTest::keyClick(view, Qt::Key_F4);
        QTRY_VERIFY(Idle(run));
        QCOMPARE(frame.StatusMessage(), U("ﾚﾃﾞｨ"));

        // A menu's prompt still takes the pane while shown.
        QTest::keyClick(view, Qt::Key_F3);
        frame.statusBar()->showMessage(U("ﾌﾟﾛﾝﾌﾟﾄ"));
        QCOMPARE(frame.StatusMessage(), U("ﾌﾟﾛﾝﾌﾟﾄ"));
        frame.statusBar()->clearMessage();
        QCOMPARE(frame.StatusMessage(), U("読み上げ中（男性・辞書・音声出力なし）"));
    }

    void aSpeakCommandCutShortSaysWhereAndNamesCtrlF3Once() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        // The sound output has been looked for (there is none here).
        QTRY_VERIFY_WITH_TIMEOUT(run.speech().Player().IsReady(), 10000);
        run.choices().readings = kReadingsDictionary;
        run.choices().speed = 10;
        TextView* view = run.view();
        view->setFocus();
        MainWindow& frame = run.frame();
        SpeechController& speech = run.speech();
        QSignalSpy cuts(&speech, &SpeechController::passCut);
        const QString notice = U("1999 行目で区切りました。続きは Ctrl+F3");

        view->setPlainText(LongDocument(true));
        QTest::keyClick(view, Qt::Key_F3);
        QTRY_VERIFY(Idle(run));
        QCOMPARE(frame.StatusMessage(), notice);
        QCOMPARE(cuts.size(), 1);
        // What the notice says holds: the caret is at the cut, and Ctrl+F3 reads on from there.
        const int cut = cuts[0][1].toInt();
        QCOMPARE(view->textCursor().position(), cut);
        QCOMPARE(view->textCursor().blockNumber() + 1, 1999);
        {
            QSignalSpy units(&speech, &SpeechController::unitTicked);
            QTest::keyClick(view, Qt::Key_F3, Qt::ControlModifier);
            QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 20000);
            QList<int> heard;
            for (const QList<QVariant>& u : units) {
                if (u.at(1).toInt() < u.at(2).toInt()) {
                    heard << u.at(1).toInt();
                }
            }
            const int last = static_cast<int>(LongDocument(true).size()) - 2; // うえ
            QCOMPARE(heard, (QList<int>{last, last + 1}));
        }

        // The next reading takes the notice away; stopped before the end, it says nothing.
        run.choices().speed = 300;
        QTest::keyClick(view, Qt::Key_F3);
        QCOMPARE(frame.StatusMessage(), U("読み上げ中（女性・辞書・音声出力なし）"));
        QTest::keyClick(view, Qt::Key_F4);
        QTRY_VERIFY(Idle(run));
        QCOMPARE(frame.StatusMessage(), U("ﾚﾃﾞｨ"));
        QCOMPARE(cuts.size(), 1);

        // Repeated, the pass ends again and again: said once.
        run.choices().speed = 10;
        run.choices().repeat = true;
        QSignalSpy ticks(&speech, &SpeechController::unitTicked);
        QTest::keyClick(view, Qt::Key_F3);
        QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 10, 20000); // three passes and more
        QCOMPARE(frame.StatusMessage(), notice);
        QTest::keyClick(view, Qt::Key_F4);
        QTRY_VERIFY(Idle(run));
        QCOMPARE(cuts.size(), 2);
        run.choices().repeat = false;

        // Nothing after the cut but line breaks, or a document read to its end: nothing to say.
        frame.statusBar()->clearMessage();
        for (const QString& text : {LongDocument(false), U("あいう\nえお")}) {
            view->setPlainText(text);
            QTest::keyClick(view, Qt::Key_F3);
            QTRY_VERIFY(Idle(run));
            QCOMPARE(frame.StatusMessage(), U("ﾚﾃﾞｨ"));
        }
        // Ctrl+F3 reads on over the cut, pass after pass: nothing to say either.
        view->setPlainText(LongDocument(true));
        view->moveCursor(QTextCursor::Start);
        QSignalSpy units(&speech, &SpeechController::unitTicked);
        QTest::keyClick(view, Qt::Key_F3, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 20000);
        const int lastLine = static_cast<int>(LongDocument(true).size()) - 2; // うえ
        bool heardTheEnd = false;
        for (const QList<QVariant>& u : units) {
            heardTheEnd =
                heardTheEnd || (u.at(1).toInt() >= lastLine && u.at(2).toInt() > lastLine);
        }
        QVERIFY(heardTheEnd);
        QCOMPARE(frame.StatusMessage(), U("ﾚﾃﾞｨ"));
        QCOMPARE(cuts.size(), 2);
    }
};

QTEST_MAIN(SpeechStatusTest)
#include "speech_status_test.moc"
