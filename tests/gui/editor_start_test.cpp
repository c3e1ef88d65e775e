// The editor facing what it does not control: a settings file that holds anything at all (the
// main window's saved rectangle, the saved fonts), no sound output, a save the system refuses;
// and the main window's title as documents come and go.
#include "app/document_window.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "io/app_strings.h"
#include "playback/speech_state.h"
#include "settings/font_record.h"
#include "settings/settings.h"
#include "speaking/speech_controller.h"

#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

const char* const kSettingsSection = "よみあげPadのセッティング";

// A settings file of one section with the given lines (UTF-8, written as code page 932).
bool WriteIni(const QString& path, const char* section, const QByteArray& lines) {
    return WriteBytes(path, Sjis(section).prepend('[').append("]\r\n").append(lines));
}

} // namespace

class EditorStartTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void savedRectangleIsFittedIntoTheScreen_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QRect>("expected");
        // The offscreen platform's one screen, at the origin.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(screen.topLeft(), QPoint(0, 0));
        QVERIFY(screen.width() >= 600 && screen.height() >= 400);
        const int right = screen.width();
        const int bottom = screen.height();
        QTest::newRow("larger than any screen")
            << QByteArray("X1=0\r\nY1=0\r\nX2=100000\r\nY2=100000\r\n") << screen;
        QTest::newRow("the whole 32-bit range")
            << QByteArray("X1=-2147483648\r\nY1=-2147483648\r\nX2=2147483647\r\nY2=2147483647\r\n")
            << screen;
        QTest::newRow("right edge at the lowest number")
            << QByteArray("X2=-2147483648\r\n") << QRect(0, 0, 580, 350);
        QTest::newRow("far off the screen, no size")
            << QByteArray("X1=50000\r\nY1=50000\r\n") << QRect(right - 580, bottom - 350, 580, 350);
        QTest::newRow("partly off the screen, its size kept")
            << QByteArray("X1=-100\r\nY1=" + QByteArray::number(bottom - 100) +
                          "\r\nX2=300\r\nY2=" + QByteArray::number(bottom + 200) + "\r\n")
            << QRect(0, bottom - 300, 400, 300);
        QTest::newRow("on the screen, as it was")
            << QByteArray("X1=40\r\nY1=30\r\nX2=540\r\nY2=330\r\n") << QRect(40, 30, 500, 300);
    }

    void savedRectangleIsFittedIntoTheScreen() {
        QFETCH(QByteArray, lines);
        QFETCH(QRect, expected);
        QVERIFY(WriteIni(config().IniPath(), kSettingsSection, lines));
        {
            EditorRun run(sound());
            QVERIFY(run.ok());
            QCOMPARE(run.frame().frameGeometry(), expected);
            QVERIFY(
                run.frame().screen()->availableGeometry().contains(run.frame().frameGeometry()));
            // It paints, and the next start finds what this run saved.
            QVERIFY(!run.frame().grab().isNull());
        }
        QCOMPARE(IniInt(config().IniPath(), kSettingsSection, "X1"),
                 std::optional<int>(expected.left()));
        QCOMPARE(IniInt(config().IniPath(), kSettingsSection, "Y2"),
                 std::optional<int>(expected.top() + expected.height()));
    }

    void fontHeightsBeyondAnyScreenAreCut_data() {
        QTest::addColumn<QByteArray>("height");
        QTest::addColumn<int>("pixels");
        QTest::newRow("lowest number") << QByteArray("-2147483648") << int{kMaxFontHeight};
        QTest::newRow("highest number") << QByteArray("2147483647") << int{kMaxFontHeight};
        QTest::newRow("just beyond") << QByteArray("-1001") << int{kMaxFontHeight};
        QTest::newRow("an ordinary one") << QByteArray("-23") << 23;
    }

    void fontHeightsBeyondAnyScreenAreCut() {
        QFETCH(QByteArray, height);
        QFETCH(int, pixels);
        QVERIFY(WriteIni(config().IniPath(), "フォント", "Height=" + height + "\r\n"));
        EditorRun run(sound());
        QVERIFY(run.ok());
        QCOMPARE(run.view()->font().pixelSize(), pixels);
        QVERIFY(!run.frame().grab().isNull());
    }

    void noSoundOutputIsSaidInTheStatusBarAndSpeechGoesOn() {
        // The test runs with the sound server pointed nowhere.
        EditorRun run(sound());
        QVERIFY(run.ok());
        const QString said = QString::fromUtf8(strings::kNoSoundOutput);
        QTRY_COMPARE_WITH_TIMEOUT(run.frame().statusBar()->currentMessage(), said, 10000);
        QTest::keyClicks(run.view(), QStringLiteral("abc"));
        QSignalSpy ticks(&run.speech(), &SpeechController::ticked);
        QTest::keyClick(run.view(), Qt::Key_F3);
        QVERIFY(ticks.wait(2000));
    }

    void titleIsTheProgramsAndTheActiveDocumentsOnce() {
        const QString main = QString::fromUtf8(strings::kMainTitle);
        const QString path = cwd().filePath(QStringLiteral("u.txt"));
        QVERIFY(WriteBytes(path, "text"));
        EditorRun run(sound(), {path});
        QVERIFY(run.ok());
        DocumentWindow* first = run.frame().DocumentWindows().front();
        QVERIFY(first->isMaximized());
        QCOMPARE(run.frame().windowTitle(), main + QStringLiteral(" - u.txt"));

        // Unsaved changes mark the document window's caption only.
        QTest::keyClicks(run.view(), QStringLiteral("x"));
        QCOMPARE(first->windowTitle(), QStringLiteral("u.txt*"));
        QCOMPARE(run.frame().windowTitle(), main + QStringLiteral(" - u.txt"));

        // Another document, and a second window on the first: always the active one, once.
        run.frame().Dispatch(CommandId::FileNew);
        QCOMPARE(run.frame().windowTitle(), main + QString::fromUtf8(" - 無題1"));
        run.frame().MdiArea()->setActiveSubWindow(first);
        run.frame().Dispatch(CommandId::WindowNew);
        QCOMPARE(run.frame().windowTitle(), main + QStringLiteral(" - u.txt"));
        QCOMPARE(run.frame().DocumentWindows().back()->windowTitle(), QStringLiteral("u.txt:2*"));

        // Restored and maximized again.
        DocumentWindow* active = run.frame().DocumentWindows().back();
        active->showNormal();
        QCOMPARE(run.frame().windowTitle(), main + QStringLiteral(" - u.txt"));
        active->showMaximized();
        QCOMPARE(run.frame().windowTitle(), main + QStringLiteral(" - u.txt"));

        // Saved: the mark goes, the titles stay.
        run.frame().Dispatch(CommandId::FileSave);
        QCOMPARE(active->windowTitle(), QStringLiteral("u.txt:2"));
        QCOMPARE(run.frame().windowTitle(), main + QStringLiteral(" - u.txt"));
    }

    void failedSaveIsExplainedInJapanese() {
        QTemporaryDir scratch;
        const QString folder = scratch.filePath(QStringLiteral("docs"));
        const QString path = folder + QStringLiteral("/a.txt");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(WriteBytes(path, "a"));
        const QString cannotSave = QString::fromUtf8("%1 を保存できません。\n%2").arg(path);
        EditorRun run(sound(), {path});
        QVERIFY(run.ok());
        QTest::keyClicks(run.view(), QStringLiteral("b"));

        // The folder went away while the document was open.
        QVERIFY(QDir(folder).removeRecursively());
        auto box = AnswerNextMessageBox(QMessageBox::Ok);
        run.frame().Dispatch(CommandId::FileSave);
        QCOMPARE(box->text(), cannotSave.arg(QString::fromUtf8("保存先のﾌｫﾙﾀﾞがありません。")));
        QVERIFY(run.view()->GetDocument()->IsModified());

        // A folder stands where the file was.
        QVERIFY(QDir().mkpath(path));
        auto second = AnswerNextMessageBox(QMessageBox::Ok);
        run.frame().Dispatch(CommandId::FileSave);
        QCOMPARE(second->text(), cannotSave.arg(QString::fromUtf8("同じ名前のﾌｫﾙﾀﾞがあります。")));
        QVERIFY(run.view()->GetDocument()->IsModified());
    }
};

QTEST_MAIN(EditorStartTest)
#include "editor_start_test.moc"
