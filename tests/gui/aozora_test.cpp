// Aozora notation in the editor through the real よみあげ item "青空文庫の注記を読まない": on by
// default and kept in the settings file; with it the reading pane and the speech read a ruby
// for its base (the highlight on the base) and keep notes silent; without it every character
// is read.
#include "app/main_window.h"
#include "editor/reading_pane.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "playback/speech_state.h"
#include "speaking/speech_controller.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

// A title line, a ruby, a note and a colophon: 羅生門 (0-3) has its ruby at 3-11.
const char* const kText = "羅生門《らしょうもん》の下［＃「下」に傍点］\n底本：全集";

// The pane puts a thin space between words; the readings are compared without them.
QString WithoutWordSpaces(QString text) {
    return text.remove(QChar(0x2009));
}

// 漢字も読む checked, whatever a new user's default is.
void ChooseAutomaticReading(EditorRun& run) {
    QAction* automatic = MenuAction(run.frame(), "よみあげ(&T)", "漢字も読む(&K)");
    if (!automatic->isChecked()) {
        automatic->trigger();
    }
    QVERIFY(automatic->isChecked());
}

} // namespace

class AozoraTest : public GuiTestCase {
    Q_OBJECT

public:
    AozoraTest() { StartRunsAtSpeed(20); }

private:
    void InitClass() override {
        // The readings below are IPADIC's, the analyzer dictionary every installation has.
        qputenv("YOMI6_MECAB_DIC", "/var/lib/mecab/dic/ipadic-utf8");
    }

private slots:
    void theItemChoosesWhetherThePaneReadsTheNotation() {
        {
            EditorRun run(sound(), {}, start());
            QVERIFY(run.ok());
            QAction* aozora = MenuAction(run.frame(), "よみあげ(&T)", "青空文庫の注記を読まない");
            QVERIFY(aozora != nullptr && aozora->isCheckable() && aozora->isChecked());
            ChooseAutomaticReading(run);
            MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
            ReadingPane* pane = run.frame().ReadingPaneDock();
            run.view()->setPlainText(QString::fromUtf8(kText));
            QTextCursor caret = run.view()->textCursor();
            caret.setPosition(0);
            run.view()->setTextCursor(caret);
            pane->Refresh();
            QCOMPARE(WithoutWordSpaces(pane->ReadingText()->toPlainText()),
                     QString::fromUtf8("ﾗｼｮｳﾓﾝﾉｼﾀ"));

            aozora->trigger(); // every character is read now, the ruby as well
            QVERIFY(!aozora->isChecked());
            const QString all = WithoutWordSpaces(pane->ReadingText()->toPlainText());
            QVERIFY2(all.startsWith(QString::fromUtf8("ﾗｼｮｵﾓﾝ")), qPrintable(all));
            QVERIFY2(all.contains(QString::fromUtf8("ﾗｼｮｳﾓﾝ")), qPrintable(all));
            QVERIFY2(all.contains(QString::fromUtf8("ﾆﾎﾞｵﾃﾝ")), qPrintable(all));
        }
        QCOMPARE(
            IniInt(config().IniPath(), "よみあげPadのセッティング", "青空文庫の注記を読まない"),
            std::optional<int>(0));
        {
            EditorRun run(sound(), {}, start());
            QVERIFY(
                !MenuAction(run.frame(), "よみあげ(&T)", "青空文庫の注記を読まない")->isChecked());
        }
    }

    void theSpeechSaysTheRubyWithTheBaseHighlighted() {
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        ChooseAutomaticReading(run);
        run.view()->setPlainText(QString::fromUtf8(kText));
        QSignalSpy ticks(&run.speech(), &SpeechController::unitTicked);
        MenuAction(run.frame(), "よみあげ(&T)", "しゃべる(&S)")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 10000);
        QStringList samples;
        QList<QPair<int, int>> spans;
        for (const QList<QVariant>& tick : ticks) {
            if (!tick[0].toString().isEmpty()) {
                samples << tick[0].toString();
                spans << qMakePair(tick[1].toInt(), tick[2].toInt());
            }
        }
        // ﾗ ｼｮ ｳ ﾓ ﾝ on the base 羅生門, ﾉ ｼ ﾀ on の下; nothing of the ruby, note or colophon.
        QCOMPARE(samples, (QStringList{"IDF_RA", "IDF_SHO", "IDF_U", "IDF_MO", "IDF_NN", "IDF_NO",
                                       "IDF_SI", "IDF_TA"}));
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(spans[i], qMakePair(0, 3));
        }
        QCOMPARE(spans[5], qMakePair(11, 12));
        QCOMPARE(spans[7], qMakePair(12, 13));
    }

    // F3 reads the first 4000 bytes, but whether the document is in the notation is found in all
    // of it: a ruby far down makes the text read as such from its first line.
    void theSpeakCommandFindsTheNotationBeyondWhatItReads() {
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        ChooseAutomaticReading(run);
        // 《Kanji》 after 漢字 is a ruby only in a text in the notation: then ｶﾝｼﾞ ﾀﾞ, else the
        // letters are read after ｶﾝｼﾞ.
        QStringList plain;
        FirstSamples(run, QString::fromUtf8("漢字だ"), plain);
        QCOMPARE(plain.size(), 4);
        QString text = QString::fromUtf8("漢字《Kanji》だ\n");
        while (text.size() < 2500) {
            text += QString::fromUtf8("あいうえおかきくけこ。\n");
        }
        text += QString::fromUtf8("羅生門《らしょうもん》の下\n");
        QStringList notation;
        FirstSamples(run, text, notation);
        QCOMPARE(notation, plain);
    }

private:
    // The first four samples F3 plays for text; the speech is stopped then.
    static void FirstSamples(EditorRun& run, const QString& text, QStringList& samples) {
        run.view()->setPlainText(text);
        QSignalSpy ticks(&run.speech(), &SpeechController::unitTicked);
        MenuAction(run.frame(), "よみあげ(&T)", "しゃべる(&S)")->trigger();
        const auto played = [&] {
            samples.clear();
            for (const QList<QVariant>& tick : ticks) {
                if (!tick[0].toString().isEmpty()) {
                    samples << tick[0].toString();
                }
            }
            return samples.size() >= 4 || !run.speech().IsTimerRunning();
        };
        QTRY_VERIFY_WITH_TIMEOUT(played(), 10000);
        MenuAction(run.frame(), "よみあげ(&T)", "やめる(&E)")->trigger();
        QTRY_VERIFY(!run.speech().IsTimerRunning());
        samples = samples.mid(0, 4);
    }
};

QTEST_MAIN(AozoraTest)
#include "aozora_test.moc"
