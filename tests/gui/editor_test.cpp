// The editor through its real windows: start and end of a run with the settings file, documents
// opened, typed, saved and dropped, where the file dialogs start, word wrap, fonts, and the
// speech keys.
#include "app/application.h"
#include "app/document_window.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/find_dialog.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "playback/speech_state.h"
#include "settings/settings.h"
#include "speaking/app_context.h"
#include "speaking/app_settings.h"
#include "speaking/speech_controller.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

using Run = EditorRun;

} // namespace

class EditorTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void firstRunShowsOneUntitledDocumentAndWritesTheDefaults() {
        {
            Run run(sound());
            QVERIFY(run.ok());
            QCOMPARE(run.frame().DocumentWindows().size(), 1u);
            DocumentWindow* child = run.frame().DocumentWindows().front();
            QVERIFY(child->isMaximized());
            QCOMPARE(run.view()->GetDocument()->Title(), QString::fromUtf8("無題1"));
            QCOMPARE(run.frame().frameGeometry(), QRect(0, 0, 580, 350));
            QVERIFY(QFile::exists(cwd().filePath(QStringLiteral("Yomi6.dic"))));
        }
        const QString ini = config().IniPath();
        const char* section = "よみあげPadのセッティング";
        QCOMPARE(IniInt(ini, section, "右端で折り返す"), std::optional<int>(0));
        QCOMPARE(IniInt(ini, section, "ページ印字"), std::optional<int>(1));
        QCOMPARE(IniInt(ini, section, "しゃべるスピード"), std::optional<int>(180));
        QCOMPARE(IniInt(ini, section, "声の質"), std::optional<int>(0));
        QCOMPARE(IniInt(ini, "フォント", "Height"), std::optional<int>(0));
        QCOMPARE(IniInt(ini, "プリンタ用フォント", "Height"), std::optional<int>(0));
        QCOMPARE(IniInt(ini, section, "子ウィンドウのサイズ"), std::nullopt);
        QCOMPARE(IniInt(ini, section, "X2"), std::optional<int>(580));
        QCOMPARE(IniInt(ini, section, "Y2"), std::optional<int>(350));
    }

    void settingsOfARunAreThereAtTheNextStart() {
        QRect closedAt;
        {
            Run run(sound());
            run.frame().setGeometry(40, 30, 500, 300);
            closedAt = run.frame().frameGeometry();
            run.frame().DocumentWindows().front()->showNormal();
            run.frame().Dispatch(CommandId::WordWrap);
            QVERIFY(run.view()->IsWordWrap());
            QTest::keyClick(run.view(), Qt::Key_F5); // male voice
            run.choices().speed = 250;
        }
        Run run(sound());
        QCOMPARE(run.frame().frameGeometry(), closedAt);
        QVERIFY(!run.frame().DocumentWindows().front()->isMaximized());
        QVERIFY(run.view()->IsWordWrap());
        QCOMPARE(run.choices().voice, VoiceSlot::Male);
        QCOMPARE(run.choices().speed, 250);
        QCOMPARE(IniInt(config().IniPath(), "よみあげPadのセッティング", "子ウィンドウのサイズ"),
                 std::optional<int>(1));
    }

    void readOnlySettingsFileIsKeptAndTheFailureShown() {
        { Run first(sound()); } // writes the settings file
        const QString ini = config().IniPath();
        const QByteArray before = ReadBytes(ini);
        QVERIFY(!before.isEmpty());
        QVERIFY(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                               QFileDevice::ReadOther));
        {
            Run run(sound());
            QAction* wrap = FirstAction(run.frame(), CommandId::WordWrap);
            QVERIFY(wrap != nullptr);
            wrap->trigger(); // a changed setting to save
            auto box = AnswerNextMessageBox(QMessageBox::Ok);
            run.Finish();
            QVERIFY(box->handled());
            QCOMPARE(box->text(), QString::fromUtf8("設定ファイルに書き込めません。\n") + ini);
        }
        QCOMPARE(ReadBytes(ini), before);
        QVERIFY(!(QFile::permissions(ini) & QFileDevice::WriteOwner));

        // Writable again: saved without a word.
        QVERIFY(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        Run run(sound());
        FirstAction(run.frame(), CommandId::WordWrap)->trigger();
        auto box = AnswerNextMessageBox(QMessageBox::Ok);
        run.Finish();
        QVERIFY(!box->handled());
        QVERIFY(ReadBytes(ini) != before);
    }

    void fileOpensAndSavesBackByteForByte() {
        // Shift-JIS with CR LF, a byte that is no character and a lone lead byte at the end.
        const QByteArray bytes = Sjis("漢字は、3こ。\r\n") + QByteArray("\x80\xA0\xFD\r\nabc\x82");
        const QString path = cwd().filePath(QStringLiteral("roundtrip.txt"));
        QVERIFY(WriteBytes(path, bytes));
        Run run(sound(), {path});
        QVERIFY(run.ok());
        QCOMPARE(run.view()->GetDocument()->Title(), QStringLiteral("roundtrip.txt"));
        QVERIFY(run.view()->toPlainText().startsWith(QString::fromUtf8("漢字は、3こ。\n")));
        QVERIFY(!run.view()->GetDocument()->IsModified());
        QVERIFY(WriteBytes(path, "changed on disk"));
        run.frame().Dispatch(CommandId::FileSave);
        QCOMPARE(ReadBytes(path), bytes);
        const auto encoding = run.frame().statusBar()->findChildren<QLabel*>();
        bool shown = false;
        for (QLabel* l : encoding) {
            shown = shown || l->text() == QStringLiteral("Shift-JIS");
        }
        QVERIFY(shown);
    }

    void typedTextIsSavedAsShiftJis() {
        Run run(sound());
        Type(run.view(), QString::fromUtf8("がっこう ABC"));
        QTest::keyClick(run.view(), Qt::Key_Return);
        QTest::keyClicks(run.view(), QStringLiteral("x"));
        QVERIFY(run.view()->GetDocument()->IsModified());
        const QString path = cwd().filePath(QStringLiteral("typed.txt"));
        ModalHandler saveDialog([path](QWidget* w) {
            // The save dialog: choose the name and accept.
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog != nullptr);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name != nullptr);
            name->setText(path);
            QTest::keyClick(name, Qt::Key_Return);
        });
        run.frame().Dispatch(CommandId::FileSave);
        QCOMPARE(ReadBytes(path), Sjis("がっこう ABC\r\nx"));
        QVERIFY(!run.view()->GetDocument()->IsModified());
        QCOMPARE(run.view()->GetDocument()->Title(), QStringLiteral("typed.txt"));
    }

    void characterThatShiftJisCannotHoldOffersUtf8() {
        const QString path = cwd().filePath(QStringLiteral("emoji.txt"));
        QVERIFY(WriteBytes(path, "plain"));
        Run run(sound(), {path});
        Type(run.view(), QString::fromUtf8("한"));
        auto box = AnswerNextMessageBox(QMessageBox::Cancel);
        run.frame().Dispatch(CommandId::FileSave);
        QVERIFY(box->text().contains(QString::fromUtf8("한")));
        QCOMPARE(ReadBytes(path), QByteArray("plain")); // going back writes nothing
        auto yes = AnswerNextMessageBox(QMessageBox::Yes);
        run.frame().Dispatch(CommandId::FileSave);
        QCOMPARE(ReadBytes(path), QString::fromUtf8("한plain").toUtf8());
    }

    void utf8FileStaysUtf8() {
        const QString path = cwd().filePath(QStringLiteral("utf8.txt"));
        const QByteArray bytes =
            QByteArray("\xEF\xBB\xBF") + QString::fromUtf8("日本語\u00A0x\u2028y\n").toUtf8();
        QVERIFY(WriteBytes(path, bytes));
        Run run(sound(), {path});
        QCOMPARE(run.view()->Text(), QString::fromUtf8("日本語\u00A0x\u2028y\n"));
        run.view()->GetDocument()->SetModifiedFlag(true);
        run.frame().Dispatch(CommandId::FileSave);
        QCOMPARE(ReadBytes(path), bytes);
    }

    void sizeLimitOfOpenedFiles() {
        const QString fits = cwd().filePath(QStringLiteral("fits.txt"));
        const QString over = cwd().filePath(QStringLiteral("over.txt"));
        QVERIFY(WriteBytes(fits, QByteArray(1048575, 'a')));
        QVERIFY(WriteBytes(over, QByteArray(1048576, 'a')));
        Run run(sound());
        QVERIFY(run.frame().OpenDocument(fits) != nullptr);
        auto box = AnswerNextMessageBox(QMessageBox::Ok);
        QVERIFY(run.frame().OpenDocument(over) == nullptr);
        QCOMPARE(box->text(), QString::fromUtf8("ﾌｧｲﾙが大きすぎて開けません。"));
        QCOMPARE(run.frame().DocumentWindows().size(), 2u);
    }

    void wordWrapIsPerViewAndFollowsTheSetting() {
        Run run(sound());
        TextView* first = run.view();
        QAction* wrap = FirstAction(run.frame(), CommandId::WordWrap);
        QVERIFY(wrap != nullptr);
        QVERIFY(!wrap->isChecked());
        run.frame().Dispatch(CommandId::WordWrap);
        QVERIFY(first->IsWordWrap());
        QVERIFY(wrap->isChecked());
        QVERIFY(app_settings::WordWrap(run.settings()));
        run.frame().Dispatch(CommandId::WindowNew); // a second window on the same document
        TextView* second = run.view();
        QVERIFY(second != first);
        QVERIFY(second->IsWordWrap());
        run.frame().Dispatch(CommandId::WordWrap);
        QVERIFY(!second->IsWordWrap());
        QVERIFY(first->IsWordWrap());
        QVERIFY(!app_settings::WordWrap(run.settings()));
        // Text typed in one window of a document shows in the other.
        QTest::keyClicks(second, QStringLiteral("mirror"));
        QCOMPARE(first->toPlainText(), QStringLiteral("mirror"));
    }

    void chosenScreenFontIsUsedByLaterWindowsAndRuns() {
        {
            Run run(sound());
            ModalHandler fontDialog([](QWidget* w) {
                auto* dialog = qobject_cast<QFontDialog*>(w);
                QVERIFY(dialog != nullptr);
                QFont f = dialog->currentFont();
                f.setPixelSize(23);
                dialog->setCurrentFont(f);
                dialog->accept();
            });
            run.frame().Dispatch(CommandId::ScreenFont);
            QCOMPARE(QFontInfo(run.view()->font()).pixelSize(), 23);
            run.frame().Dispatch(CommandId::FileNew);
            QCOMPARE(QFontInfo(run.view()->font()).pixelSize(), 23);
        }
        QCOMPARE(IniInt(config().IniPath(), "フォント", "Height"), std::optional<int>(-23));
        Run run(sound());
        QCOMPARE(QFontInfo(run.view()->font()).pixelSize(), 23);
    }

    void speakStopAndVoiceKeys() {
        Run run(sound());
        Type(run.view(), QString::fromUtf8("あいうえお"));
        QAction* speak = FirstAction(run.frame(), CommandId::Speak);
        QVERIFY(speak->isEnabled());
        QSignalSpy ticks(&run.speech(), &SpeechController::ticked);
        QTest::keyClick(run.view(), Qt::Key_F3);
        QCOMPARE(run.speech().SampleTickState().speaking, 1);
        QCOMPARE(run.speech().SampleTickState().endIndex, 5);
        QVERIFY(run.speech().IsTimerRunning());
        QVERIFY(!speak->isEnabled()); // refused while speaking
        QVERIFY(ticks.wait(2000));
        QCOMPARE(ticks.first().first().toString(), QStringLiteral("IDF_A"));

        // F5 switches the voice for the next unit; held down, it switches once.
        QTest::keyClick(run.view(), Qt::Key_F5);
        QCOMPARE(run.choices().voice, VoiceSlot::Male);
        QVERIFY(ticks.wait(2000));
        QVERIFY(ticks.last().first().toString().startsWith(QStringLiteral("IDW_")));
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(run.view(), &repeat);
        QCOMPARE(run.choices().voice, VoiceSlot::Male);
        // Only F5 itself, and not with Alt, which the window system keeps.
        QTest::keyClick(run.view(), Qt::Key_F5, Qt::AltModifier);
        QTest::keyClick(run.view(), Qt::Key_F6);
        QCOMPARE(run.choices().voice, VoiceSlot::Male);

        // F4: speaking ends at once for the commands, the timer after one more tick.
        QTest::keyClick(run.view(), Qt::Key_F4);
        QCOMPARE(run.speech().SampleTickState().speaking, 0);
        QCOMPARE(run.speech().SampleTickState().stopRequest, 1);
        QVERIFY(speak->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 2000);
        QCOMPARE(run.speech().SampleTickState().stopRequest, 0);
    }

    void switchingDocumentsStopsSpeech() {
        Run run(sound());
        TextView* first = run.view();
        Type(first, QString::fromUtf8("あいうえおかきくけこ"));
        run.frame().Dispatch(CommandId::Speak);
        QCOMPARE(run.speech().SampleTickState().speaking, 1);
        run.frame().Dispatch(CommandId::FileNew);
        QVERIFY(run.view() != first);
        QCOMPARE(run.speech().SampleTickState().speaking, 0);
        QCOMPARE(run.speech().SampleTickState().stopRequest, 1);
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 2000);
    }

    void recentFilesAndDroppedFiles() {
        const QString a = cwd().filePath(QStringLiteral("recent-a.txt"));
        const QString b = cwd().filePath(QStringLiteral("dropped.txt"));
        QVERIFY(WriteBytes(a, "a"));
        QVERIFY(WriteBytes(b, "b"));
        {
            Run run(sound(), {a});
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(b)});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(&run.frame(), &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&run.frame(), &drop);
            QCOMPARE(run.frame().DocumentWindows().size(), 2u);
            QCOMPARE(run.view()->GetDocument()->PathName(), b);
            QCOMPARE(run.view()->toPlainText(), QStringLiteral("b"));
        }
        Run run(sound());
        QCOMPARE(run.frame().Context().RecentFiles(), (QStringList{b, a}));
        run.frame().Dispatch(RecentFileCommand(1));
        QCOMPARE(run.view()->GetDocument()->PathName(), a);
    }

    // The file dialogs start at the folder of the document's file, a save with its name; a
    // document never saved at the folder of the file used last, else at the home folder: never
    // in the folder the program runs in.
    void fileDialogsStartAtTheDocumentsFolderAndName() {
        // The folder and, for a save, the name a file dialog shows as it opens.
        const auto opened = [](QAction* action) {
            QString shown;
            ModalHandler look([&shown](QWidget* w) {
                if (auto* d = qobject_cast<QFileDialog*>(w)) {
                    shown = d->directory().absolutePath();
                    if (d->acceptMode() == QFileDialog::AcceptSave) {
                        shown +=
                            QLatin1Char('|') + QFileInfo(d->selectedFiles().value(0)).fileName();
                    }
                    d->reject();
                }
            });
            action->trigger();
            return shown;
        };
        const QString home = QDir::homePath();
        QVERIFY(QDir(home).absolutePath() != QDir::current().absolutePath());
        {
            Run first(sound());
            QCOMPARE(opened(FirstAction(first.frame(), CommandId::FileOpen)), home);
        }
        QDir docs(cwd().filePath(QStringLiteral("docs")));
        QVERIFY(QDir().mkpath(docs.path()));
        const QString chapter = docs.filePath(QStringLiteral("ch1.txt"));
        QVERIFY(WriteBytes(chapter, "text"));
        Run run(sound(), {chapter});
        MainWindow& frame = run.frame();
        const QString folder = docs.absolutePath();
        QCOMPARE(opened(FirstAction(frame, CommandId::FileOpen)), folder);
        QCOMPARE(opened(FirstAction(frame, CommandId::ExportAudio)),
                 folder + QStringLiteral("|ch1.wav"));
        QCOMPARE(opened(FirstAction(frame, CommandId::FileSaveAs)),
                 folder + QStringLiteral("|ch1.txt"));
        // A new document: the folder of the file opened last.
        FirstAction(frame, CommandId::FileNew)->trigger();
        QVERIFY(run.view()->GetDocument()->PathName().isEmpty());
        run.view()->setPlainText(QStringLiteral("new"));
        const QString untitled = run.view()->GetDocument()->Title();
        QCOMPARE(opened(FirstAction(frame, CommandId::ExportAudio)),
                 folder + QLatin1Char('|') + untitled + QStringLiteral(".wav"));
        QCOMPARE(opened(FirstAction(frame, CommandId::FileSaveAs)),
                 folder + QLatin1Char('|') + untitled + QStringLiteral(".txt"));
    }

    void closingAskToSaveAndCancelKeepsTheWindow() {
        Run run(sound());
        QTest::keyClicks(run.view(), QStringLiteral("unsaved"));
        auto box = AnswerNextMessageBox(QMessageBox::Cancel);
        run.frame().close();
        QVERIFY(box->text().contains(QString::fromUtf8("無題1")));
        QCOMPARE(run.frame().DocumentWindows().size(), 1u);
        QVERIFY(run.frame().isVisible());
        // The rectangle was written all the same.
        QCOMPARE(IniInt(config().IniPath(), "よみあげPadのセッティング", "X2"),
                 std::optional<int>(580));
        auto no = AnswerNextMessageBox(QMessageBox::No);
        run.frame().close();
        QVERIFY(no->handled());
        QVERIFY(!run.frame().isVisible());
    }

    void findAndReplace() {
        Run run(sound());
        QTest::keyClicks(run.view(), QStringLiteral("one Two one two"));
        QTextCursor c = run.view()->textCursor();
        c.movePosition(QTextCursor::Start);
        run.view()->setTextCursor(c);
        SearchOptions o;
        o.text = QStringLiteral("two");
        QVERIFY(run.view()->FindText(o));
        QCOMPARE(run.view()->textCursor().selectionStart(), 4);
        o.matchCase = true;
        QVERIFY(run.view()->FindText(o));
        QCOMPARE(run.view()->textCursor().selectionStart(), 12);
        auto box = AnswerNextMessageBox(QMessageBox::Ok);
        QVERIFY(!run.view()->FindText(o)); // no wrap-around: says so
        QVERIFY(box->text().contains(QStringLiteral("two")));
        o.text = QStringLiteral("one");
        QCOMPARE(run.view()->ReplaceAllText(o, QStringLiteral("1")), 2);
        QCOMPARE(run.view()->toPlainText(), QStringLiteral("1 Two 1 two"));
        run.view()->undo(); // one step undoes the whole replacement
        QCOMPARE(run.view()->toPlainText(), QStringLiteral("one Two one two"));
    }
};

QTEST_MAIN(EditorTest)
#include "editor_test.moc"
