// The word registration dialog through its real controls and files: the template, the first
// opening, the byte limits as typed, committed and pasted, scrolling with the bar, the keys and
// the wheel at both ends of the range, confirm and cancel, the file messages, and a word that
// is typed, saved, loaded and read by the next speak command.
#include "app/main_window.h"
#include "dictionary/dic_tables.h"
#include "dictionary/dictionary.h"
#include "dictionary/word_registration.h"
#include "dictionary_manager/word_dialog.h"
#include "editor/text_view.h"
#include "gui/dialog_test_support.h"
#include "gui/gui_test_support.h"
#include "platform/dialog_units.h"
#include "playback/speech_state.h"
#include "speaking/app_context.h"
#include "speaking/speech_controller.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <csignal>
#include <memory>
#include <sys/resource.h>

using namespace yomi6;
using namespace yomi6::test;

namespace {

constexpr int kImageSize = 339966;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QStringList Numbers(const WordDialog& d) {
    QStringList numbers;
    for (int r = 0; r < 5; ++r) {
        numbers << d.NumberEdit(r)->text();
    }
    return numbers;
}

void Wheel(QWidget* widget, int notches) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// A dictionary image with words and readings at some records (code page 932 given as UTF-8).
QByteArray Image(std::initializer_list<std::tuple<int, const char*, const char*>> records) {
    QByteArray image(kImageSize, '\0');
    for (const auto& [n, word, yomi] : records) {
        const QByteArray w = Sjis(word);
        const QByteArray y = Sjis(yomi);
        image.replace(34 * n, w.size(), w);
        image.replace(34 * n + 13, y.size(), y);
    }
    return image;
}

} // namespace

class WordDialogTest : public GuiTestCase {
    Q_OBJECT
public:
    explicit WordDialogTest(SoundBackend& sound) : GuiTestCase(sound) {}

private:
    void InitTest() override {
        QFile::remove(DicPath());
        // The dialog's records and file, as a run of the editor keeps them between openings.
        m_dictionary = std::make_unique<Dictionary>();
        m_registration = std::make_unique<WordRegistration>(*m_dictionary);
    }

private slots:
    void templateAndFirstOpening() {
        BoxAnswerer boxes;
        WordDialog d(*m_registration);
        const DialogUnits du(DialogFont(12));
        QCOMPARE(d.windowTitle(), U("単語登録"));
        QCOMPARE(d.size(), du.ToPixels(QSize(184, 117)));
        // Every control in the template's order, which is the tab order, at its place.
        QStringList controls;
        const int rowTops[5] = {20, 33, 46, 59, 72};
        for (const int y : rowTops) {
            controls << ControlLine("QLineEdit", "", QRect(28, y, 51, 12), du)
                     << ControlLine("QLineEdit", "", QRect(79, y, 86, 12), du);
        }
        controls << ControlLine("QPushButton", "登 録", QRect(53, 92, 55, 16), du)
                 << ControlLine("QPushButton", "取り消し", QRect(110, 92, 55, 16), du);
        for (const int y : rowTops) {
            controls << ControlLine("QLineEdit", "", QRect(7, y, 21, 12), du);
        }
        controls << ControlLine("QScrollBar", "", QRect(166, 20, 10, 64), du)
                 << ControlLine("QLabel", "単語", QRect(28, 10, 21, 8), du)
                 << ControlLine("QLabel", "読み(半角カナ入力)", QRect(79, 10, 77, 8), du)
                 << ControlLine("QLabel", "No", QRect(11, 10, 14, 8), du);
        QCOMPARE(ControlsInTabOrder(d), controls);
        QCOMPARE(d.WordEdit(2)->geometry(), du.ToPixels(QRect(28, 46, 51, 12)));
        QCOMPARE(d.YomiEdit(4)->geometry(), du.ToPixels(QRect(79, 72, 86, 12)));
        QCOMPARE(d.ScrollBar()->geometry(), du.ToPixels(QRect(166, 20, 10, 64)));
        QCOMPARE(d.ConfirmButton()->text(), U("登 録"));
        QVERIFY(!d.ConfirmButton()->isDefault());
        QVERIFY(d.NumberEdit(0)->isReadOnly());

        QStringList numbers;
        QString words;
        bool focusOnFirstWord = false;
        DialogSteps steps(&d, [&] {
            numbers = Numbers(d);
            for (int r = 0; r < 5; ++r) {
                words += d.WordEdit(r)->text() + d.YomiEdit(r)->text();
            }
            focusOnFirstWord = d.focusWidget() == d.WordEdit(0);
            QTest::mouseClick(d.CancelButton(), Qt::LeftButton);
        });
        QCOMPARE(d.exec(), int(QDialog::Rejected));
        QCOMPARE(numbers, QStringList({"   1", "   2", "   3", "   4", "   5"}));
        QCOMPARE(words, QString());
        QVERIFY(focusOnFirstWord);
        QCOMPARE(ReadBytes(DicPath()), QByteArray(kImageSize, '\0'));
        QVERIFY(boxes.boxes().empty());
    }

    void fieldsHoldTheirBytesWhateverWayTheTextArrives() {
        QVERIFY(WriteBytes(DicPath(), Image({})));
        WordDialog d(*m_registration);
        QStringList texts;
        DialogSteps steps(&d, [&] {
            QLineEdit* word = d.WordEdit(0);
            QTest::keyClicks(word, QStringLiteral("abcdefghijklmn")); // 14 keys, 12 bytes
            texts << word->text();
            word->clear();
            Type(word, U("漢字漢字漢字漢")); // the seventh kanji would make 14 bytes
            texts << word->text();
            word->clear();
            Commit(word, U("単語登録ｶﾅ1")); // 8 + 2 + 1 = 11 bytes: fits
            texts << word->text();
            Commit(word, U("字")); // 13: refused whole
            texts << word->text();

            QLineEdit* yomi = d.YomiEdit(0);
            Type(yomi, U("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆ")); // 22 half-width kana, 20 bytes kept
            texts << yomi->text();
            yomi->clear();
            QApplication::clipboard()->setText(U("ｱｲｳｴｵｶｷｸｹｺ"));
            yomi->paste();
            yomi->paste(); // 20 bytes
            yomi->paste(); // 30: refused
            texts << yomi->text();
            yomi->clear();
            QApplication::clipboard()->setText(U("😀")); // no code page 932 character
            yomi->paste();
            texts << yomi->text();
        });
        QCOMPARE(d.exec(), int(QDialog::Rejected));
        QCOMPARE(texts,
                 QStringList({"abcdefghijkl", U("漢字漢字漢字"), U("単語登録ｶﾅ1"), U("単語登録ｶﾅ1"),
                              U("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ"), U("ｱｲｳｴｵｶｷｸｹｺｱｲｳｴｵｶｷｸｹｺ"), QString()}));
        QCOMPARE(ReadBytes(DicPath()), Image({})); // cancelled
    }

    void scrollingMovesTheRowsWithinTheRange() {
        QVERIFY(WriteBytes(DicPath(), Image({{0, "一", "ｲﾁ"}, {9998, "最後", "ｻｲｺﾞ"}})));
        WordDialog d(*m_registration);
        QStringList tops; // the first row's number after each step
        QStringList lastRows;
        QString lastWord;
        DialogSteps steps(&d, [&] {
            QScrollBar* bar = d.ScrollBar();
            auto top = [&] { tops << d.NumberEdit(0)->text().trimmed(); };
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              ScrollBarPoint(bar, QStyle::SC_ScrollBarSubLine));
            top(); // line up at the top: 1
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              ScrollBarPoint(bar, QStyle::SC_ScrollBarAddLine));
            top(); // 2
            QTest::keyClick(d.WordEdit(0), Qt::Key_PageDown);
            top(); // 7
            QTest::keyClick(d.WordEdit(0), Qt::Key_PageUp);
            QTest::keyClick(d.WordEdit(0), Qt::Key_PageUp);
            top(); // page up from 1 stops at 0: 1
            Wheel(d.YomiEdit(2), -1);
            top(); // one notch down: three lines, 4
            Wheel(d.YomiEdit(2), 2);
            top(); // two notches up, stopped at the top: 1
            Wheel(bar, -1);
            top(); // over the bar itself: 4

            // Dragging the thumb moves nothing until it is released.
            const QPoint thumb = ScrollBarPoint(bar, QStyle::SC_ScrollBarSlider);
            QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
            QTest::mouseMove(bar, QPoint(thumb.x(), bar->height() - 1));
            top(); // still 4
            QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(thumb.x(), bar->height() - 1));
            top(); // the released position: at the bottom, 9995

            QTest::mouseClick(bar, Qt::LeftButton, {},
                              ScrollBarPoint(bar, QStyle::SC_ScrollBarAddLine));
            QTest::keyClick(d.WordEdit(0), Qt::Key_PageDown);
            Wheel(d.WordEdit(0), -3);
            bar->triggerAction(QAbstractSlider::SliderToMinimum); // top and bottom leave the rows
            top();                                                // still 9995
            lastRows = Numbers(d);
            lastWord = d.WordEdit(4)->text();
            tops << QString::number(bar->value());
        });
        QCOMPARE(d.exec(), int(QDialog::Rejected));
        QCOMPARE(tops,
                 QStringList({"1", "2", "7", "1", "4", "1", "4", "4", "9995", "9995", "9994"}));
        QCOMPARE(lastRows, QStringList({"9995", "9996", "9997", "9998", "9999"}));
        QCOMPARE(lastWord, U("最後"));
    }

    void textTypedStaysThroughScrollingAndIsSavedCleaned() {
        BoxAnswerer boxes;
        QVERIFY(WriteBytes(DicPath(), Image({{1, "消す", "ｹｽ"}})));
        WordDialog d(*m_registration);
        QString afterScrolling;
        DialogSteps steps(&d, [&] {
            Type(d.WordEdit(0), U("漢　字"));
            Type(d.YomiEdit(0), U("ｶﾝｼﾞ1"));
            QTest::keyClick(d.WordEdit(0), Qt::Key_PageDown);
            QTest::keyClick(d.WordEdit(0), Qt::Key_PageUp);
            afterScrolling = d.WordEdit(0)->text() + d.YomiEdit(0)->text();
            d.WordEdit(1)->clear(); // row 2 emptied: stays row 2, free
            Type(d.WordEdit(2), U(" ab "));
            Type(d.YomiEdit(2), U("カナ")); // full width: cleaned away
            QTest::keyClick(d.YomiEdit(2), Qt::Key_Return);
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QCOMPARE(afterScrolling, U("漢　字ｶﾝｼﾞ1"));
        const QByteArray saved = ReadBytes(DicPath());
        QCOMPARE(saved.size(), kImageSize);
        QCOMPARE(saved.mid(0, 13), Sjis("漢字") + QByteArray(9, '\0'));
        QCOMPARE(saved.mid(13, 21), Sjis("ｶﾝｼﾞ") + QByteArray(17, '\0'));
        QCOMPARE(saved.mid(34, 13),
                 QByteArray(1, '\0') + Sjis("消す").mid(1) + QByteArray(9, '\0'));
        QCOMPARE(saved.mid(68, 13), QByteArray("ab") + QByteArray(11, '\0'));
        QCOMPARE(saved.mid(68 + 13, 21), QByteArray(21, '\0'));
        QVERIFY(boxes.boxes().empty());
    }

    void aTooLongWordIsRefusedBeforeAnythingIsWritten() {
        BoxAnswerer boxes;
        const QByteArray before = Image({{0, "old", "ｱ"}});
        QVERIFY(WriteBytes(DicPath(), before));
        WordDialog d(*m_registration);
        bool stillOpen = false;
        bool focusOnRow3 = false;
        QByteArray fileWhileOpen;
        DialogSteps steps(&d, [&] {
            d.WordEdit(0)->setText(QStringLiteral("new"));
            // Text put in without typing is not limited; the check still catches it.
            d.WordEdit(2)->setText(U("漢字漢字漢字a"));
            QTest::mouseClick(d.ConfirmButton(), Qt::LeftButton);
            stillOpen = d.isVisible();
            focusOnRow3 = d.focusWidget() == d.WordEdit(2);
            fileWhileOpen = ReadBytes(DicPath());
            d.WordEdit(2)->setText(U("漢字漢字漢字"));
            QTest::mouseClick(d.ConfirmButton(), Qt::LeftButton);
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QVERIFY(stillOpen);
        QVERIFY(focusOnRow3);
        QCOMPARE(fileWhileOpen, before);
        QCOMPARE(boxes.texts(), QStringList({U("12 文字以内で入力してください。")}));
        QCOMPARE(boxes.boxes()[0].icon, QMessageBox::Warning);
        const QByteArray saved = ReadBytes(DicPath());
        QCOMPARE(saved.mid(0, 4), QByteArray("new", 4));
        QCOMPARE(saved.mid(68, 13), Sjis("漢字漢字漢字") + QByteArray(1, '\0'));
    }

    // The cleaning takes the blanks out of a word: "New York" would be saved as "NewYork", a
    // word no text holds. Refused, with a message; nothing is written.
    void aBlankBetweenLatinWordsIsRefusedBeforeAnythingIsWritten() {
        BoxAnswerer boxes;
        const QByteArray before = Image({{0, "old", "ｱ"}});
        QVERIFY(WriteBytes(DicPath(), before));
        WordDialog d(*m_registration);
        bool stillOpen = false;
        bool focusOnRow2 = false;
        QByteArray fileWhileOpen;
        DialogSteps steps(&d, [&] {
            Type(d.WordEdit(1), U("New York"));
            Type(d.YomiEdit(1), U("ﾆｭｰﾖｰｸ"));
            QTest::mouseClick(d.ConfirmButton(), Qt::LeftButton);
            stillOpen = d.isVisible();
            focusOnRow2 = d.focusWidget() == d.WordEdit(1);
            fileWhileOpen = ReadBytes(DicPath());
            // Full-width letters and a full-width blank: the same.
            d.WordEdit(1)->setText(U("Ｗｉ　Ｆｉ"));
            QTest::mouseClick(d.ConfirmButton(), Qt::LeftButton);
            d.WordEdit(1)->setText(QStringLiteral("NewYork"));
            QTest::mouseClick(d.ConfirmButton(), Qt::LeftButton);
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QVERIFY(stillOpen);
        QVERIFY(focusOnRow2);
        QCOMPARE(fileWhileOpen, before);
        const QString refused =
            U("」は登録できません。単語の空白は取り除かれ、前後の語がつながってしまいます。");
        QCOMPARE(boxes.texts(),
                 QStringList({U("「New York") + refused, U("「Ｗｉ　Ｆｉ") + refused}));
        QCOMPARE(ReadBytes(DicPath()).mid(34, 13), QByteArray("NewYork") + QByteArray(6, '\0'));
    }

    void cancelWritesNothingAndTheNextOpeningShowsTheFile() {
        const QByteArray before = Image({{0, "old", "ｱ"}});
        QVERIFY(WriteBytes(DicPath(), before));
        {
            WordDialog d(*m_registration);
            DialogSteps steps(&d, [&] {
                d.WordEdit(0)->setText(QStringLiteral("new"));
                QTest::keyClick(d.WordEdit(0), Qt::Key_PageDown);
                QTest::keyClick(d.WordEdit(0), Qt::Key_Escape);
            });
            QCOMPARE(d.exec(), int(QDialog::Rejected));
        }
        QCOMPARE(ReadBytes(DicPath()), before);
        WordDialog d(*m_registration);
        QString shown;
        QString top;
        DialogSteps steps(&d, [&] {
            shown = d.WordEdit(0)->text();
            top = d.NumberEdit(0)->text();
            d.close(); // the close box cancels too
        });
        QCOMPARE(d.exec(), int(QDialog::Rejected));
        QCOMPARE(shown, QStringLiteral("old"));
        QCOMPARE(top, QStringLiteral("   1"));
        QVERIFY(!m_registration->IsOpen());
    }

    void fileProblemsAreReportedAndEndTheDialogBeforeItShows() {
        BoxAnswerer boxes;
        QVERIFY(QDir(cwd().path()).mkdir(QStringLiteral("Yomi6.dic")));
        {
            WordDialog d(*m_registration);
            DialogSteps steps(&d, [] {});
            QCOMPARE(d.exec(), int(QDialog::Accepted));
            QVERIFY(!steps.ran());
        }
        QVERIFY(QDir(cwd().path()).rmdir(QStringLiteral("Yomi6.dic")));
        QVERIFY(WriteBytes(DicPath(), QByteArray(100, 'x')));
        {
            WordDialog d(*m_registration);
            DialogSteps steps(&d, [] {});
            QCOMPARE(d.exec(), int(QDialog::Accepted));
            QVERIFY(!steps.ran());
        }
        QCOMPARE(ReadBytes(DicPath()), QByteArray(100, 'x'));
        QCOMPARE(boxes.texts(), QStringList({U("辞書ファイルをオープンできません。"),
                                             U("辞書ファイルを読み込めません。")}));
        QCOMPARE(boxes.boxes()[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes.boxes()[1].icon, QMessageBox::NoIcon);

        // A save that cannot be written whole: the message, the old file, the dialog ends.
        const QByteArray before = Image({{0, "old", "ｱ"}});
        QVERIFY(WriteBytes(DicPath(), before));
        boxes.clear();
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        WordDialog d(*m_registration);
        DialogSteps steps(&d, [&] {
            d.WordEdit(0)->setText(QStringLiteral("new"));
            rlimit small = saved;
            small.rlim_cur = 100000;
            ::setrlimit(RLIMIT_FSIZE, &small);
            QTest::mouseClick(d.ConfirmButton(), Qt::LeftButton);
            ::setrlimit(RLIMIT_FSIZE, &saved);
        });
        const int result = d.exec();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(boxes.texts(), QStringList({U("辞書ファイルへ書き込みができません。")}));
        QCOMPARE(ReadBytes(DicPath()), before);
        QCOMPARE(QDir(cwd().path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({QStringLiteral("Yomi6.dic")}));
    }

    void aWordRegisteredThroughTheCommandIsReadByTheNextSpeak() {
        BoxAnswerer boxes;
        QVERIFY(WriteBytes(DicPath(), Image({})));
        EditorRun run(sound());
        QVERIFY(run.ok());
        TextView* view = run.view();
        Type(view, U("東京"));
        run.frame().Dispatch(CommandId::Speak);
        const QByteArray before(
            reinterpret_cast<const char*>(run.speech().SampleTickState().reading));
        run.frame().Dispatch(CommandId::Stop);

        bool dialogShown = false;
        bool closedAfterConfirm = false;
        auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
            auto* d = qobject_cast<WordDialog*>(w);
            if (d == nullptr) {
                return;
            }
            dialogShown = true;
            Type(d->WordEdit(0), U("東京"));
            Type(d->YomiEdit(0), U("ﾄｳｷｮｳ"));
            QTest::mouseClick(d->ConfirmButton(), Qt::LeftButton);
            closedAfterConfirm = !d->isVisible();
            if (!closedAfterConfirm) {
                d->reject();
            }
        });
        run.frame().Dispatch(CommandId::WordRegistration);
        QVERIFY(dialogShown);
        QVERIFY(closedAfterConfirm);
        QCOMPARE(ReadBytes(DicPath()).mid(0, 5), Sjis("東京") + QByteArray(1, '\0'));
        QCOMPARE(QByteArray(run.frame().Context().UserDictionary().Tables().word[kBuiltinRows]),
                 Sjis("東京")); // reloaded
        QCOMPARE(QByteArray(run.frame().Context().UserDictionary().Tables().yomi[kBuiltinRows]),
                 Sjis("ﾄｳｷｮｳ"));

        run.frame().Dispatch(CommandId::Speak);
        const QByteArray after(
            reinterpret_cast<const char*>(run.speech().SampleTickState().reading));
        run.frame().Dispatch(CommandId::Stop);
        QCOMPARE(after, Sjis("ﾄｳｷｮｳ"));
        QVERIFY(before != after);
        QVERIFY(boxes.boxes().empty());
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 3000);
    }

private:
    QString DicPath() const { return cwd().filePath(QStringLiteral("Yomi6.dic")); }

    std::unique_ptr<Dictionary> m_dictionary;
    std::unique_ptr<WordRegistration> m_registration;
};

int RunWordDialogTests(int argc, char** argv, SoundBackend& sound) {
    WordDialogTest test(sound);
    return QTest::qExec(&test, argc, argv);
}

#include "word_dialog_test.moc"
