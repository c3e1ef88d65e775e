// The dictionary manager through its real window and files, offscreen: filtering as typed and
// sorting by the headers, editing cells under the registration dialog's limits and cleaning,
// added and deleted rows with undo, saving that keeps the bytes past the records and reloads
// the tables, word lists in and out, a file saved meanwhile by the registration dialog merged
// or reloaded, the reading field, and "選択範囲を登録" from the menu's action and the editor's
// context menu.
#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "app/main_window.h"
#include "dictionary/dic_tables.h"
#include "dictionary/dictionary.h"
#include "dictionary_manager/dictionary_filter_proxy.h"
#include "dictionary_manager/dictionary_manager.h"
#include "dictionary_manager/word_dialog.h"
#include "editor/text_view.h"
#include "gui/dialog_test_support.h"
#include "gui/gui_test_support.h"
#include "platform/message_box.h"
#include "speaking/app_context.h"
#include "speaking/speech_controller.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTextCursor>
#include <QUndoStack>

#include <deque>

using namespace yomi6;
using namespace yomi6::test;

namespace {

constexpr int kImageSize = 339966;
using Col = DictionaryTableModel::Column;

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

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

// "word,reading" of record n of a dictionary file's bytes (code page 932).
QByteArray Record(const QByteArray& bytes, int n) {
    const char* r = bytes.constData() + 34 * n;
    return QByteArray(r, static_cast<int>(qstrnlen(r, 12))) + ',' +
           QByteArray(r + 13, static_cast<int>(qstrnlen(r + 13, 20)));
}

// Answers message boxes in turn with the buttons given (Ok when none is left), recording
// their texts.
class BoxChooser {
public:
    explicit BoxChooser(std::deque<QMessageBox::StandardButton> answers = {})
        : m_answers(std::move(answers)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) {
                return;
            }
            texts << box->text();
            QMessageBox::StandardButton answer = QMessageBox::Ok;
            if (!m_answers.empty()) {
                answer = m_answers.front();
                m_answers.pop_front();
            }
            if (QAbstractButton* b = box->button(answer)) {
                b->click();
            } else {
                box->reject();
            }
        });
        m_timer.start();
    }
    QStringList texts;

private:
    QTimer m_timer;
    std::deque<QMessageBox::StandardButton> m_answers;
};

// The open cell editor of the manager's table.
QLineEdit* CellEditor(DictionaryManager* m) {
    // A closed editor is hidden and deleted later; the open one is the visible one.
    for (QLineEdit* e : m->Table()->viewport()->findChildren<QLineEdit*>()) {
        if (e->isVisible()) {
            return e;
        }
    }
    return nullptr;
}

// Makes the manager the active window, so that its shortcuts and focus work as for a user.
DictionaryManager* Activated(DictionaryManager* m) {
    if (m != nullptr) {
        QApplication::setActiveWindow(m);
        if (!QTest::qWaitForWindowActive(m)) {
            qWarning("the manager did not become active");
        }
    }
    return m;
}

// Enter in a cell editor: the view stores the text once the key's events are processed.
void PressEnter(QLineEdit* editor) {
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

void EditCell(DictionaryManager* m, int record, Col column, const QString& text) {
    const QModelIndex index = m->IndexOf(record, column);
    QVERIFY(index.isValid());
    m->Table()->setCurrentIndex(index);
    m->Table()->edit(index);
    QLineEdit* editor = CellEditor(m);
    QVERIFY(editor != nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    Type(editor, text);
    PressEnter(editor);
}

QStringList ColumnTexts(DictionaryManager* m, Col column, int rows) {
    QStringList texts;
    for (int r = 0; r < rows && r < m->Proxy()->rowCount(); ++r) {
        texts << m->Proxy()->index(r, column).data().toString();
    }
    return texts;
}

} // namespace

class DictionaryManagerTest : public GuiTestCase {
    Q_OBJECT

private:
    void InitClass() override {
        // The readings suggested below are IPADIC's; UniDic, used in its place where it is
        // installed, hears 音声 as ｵﾝｾｴ.
        qputenv(kAnalyzerDictionaryVariable,
                QByteArray(kDefaultAnalyzerDictionary.data(),
                           static_cast<qsizetype>(kDefaultAnalyzerDictionary.size())));
    }

    void InitTest() override {
        QFile::remove(DicPath());
        m_context = std::make_unique<AppContext>(sound());
        m_frame = std::make_unique<QWidget>();
    }

    void CleanupTest() override {
        if (auto* m = DictionaryManager::Find(m_frame.get())) {
            m->UndoStack()->clear();
            m->close();
        }
        m_frame.reset();
        m_context.reset();
    }

private slots:
    void filterAsTypedAndSortByEitherColumn() {
        QVERIFY(WriteBytes(DicPath(), Image({{0, "漢字", "ｶﾝｼﾞ"},
                                             {1, "感じ", "ｶﾝｼﾞ"},
                                             {2, "音声", "ｵﾝｾｲ"},
                                             {5, "ABC", "ｴｰﾋﾞｰｼｰ"}})));
        DictionaryManager* m = Activated(DictionaryManager::ShowFor(m_frame.get(), *m_context));
        QVERIFY(m != nullptr);
        QCOMPARE(m->Proxy()->rowCount(), 5); // the four words and the first empty record

        Type(m->FilterEdit(), U("漢"));
        QCOMPARE(ColumnTexts(m, Col::WordColumn, 10), QStringList({U("漢字")}));
        m->FilterEdit()->clear();
        // Hiragana finds the half-width reading; letters match either case.
        Type(m->FilterEdit(), U("かんじ"));
        QCOMPARE(ColumnTexts(m, Col::WordColumn, 10), QStringList({U("漢字"), U("感じ")}));
        m->FilterEdit()->clear();
        QTest::keyClicks(m->FilterEdit(), QStringLiteral("bc"));
        QCOMPARE(ColumnTexts(m, Col::WordColumn, 10), QStringList({U("ABC")}));
        m->FilterEdit()->clear();
        QCOMPARE(m->Proxy()->rowCount(), 5);

        // A click on the reading header sorts by reading; the free row first as empty text, then
        // the readings in order, equal ones by record.
        QHeaderView* header = m->Table()->horizontalHeader();
        const int x = header->sectionViewportPosition(Col::YomiColumn) + 5;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
        QCOMPARE(header->sortIndicatorSection(), int(Col::YomiColumn));
        const int last = m->Proxy()->rowCount() - 1;
        const Qt::SortOrder order = header->sortIndicatorOrder();
        QStringList tail;
        for (int r = 0; r < 4; ++r) {
            tail << m->Proxy()
                        ->index(order == Qt::AscendingOrder ? last - 3 + r : 3 - r, Col::YomiColumn)
                        .data()
                        .toString();
        }
        QCOMPARE(tail, QStringList({U("ｴｰﾋﾞｰｼｰ"), U("ｵﾝｾｲ"), U("ｶﾝｼﾞ"), U("ｶﾝｼﾞ")}));
        const int x2 = header->sectionViewportPosition(Col::WordColumn) + 5;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x2, 5));
        QCOMPARE(header->sortIndicatorSection(), int(Col::WordColumn));
        Type(m->FilterEdit(), U("ｶﾝ"));
        QStringList words = ColumnTexts(m, Col::WordColumn, 10);
        QCOMPARE(words.size(), 2);
        QVERIFY(words == QStringList({U("漢字"), U("感じ")}) ||
                words == QStringList({U("感じ"), U("漢字")}));
    }

    void editInPlaceWithTheDialogsLimitsAndCleaning() {
        QVERIFY(WriteBytes(DicPath(), Image({})));
        BoxChooser boxes;
        DictionaryManager* m = Activated(DictionaryManager::ShowFor(m_frame.get(), *m_context));
        QVERIFY(m != nullptr);
        // A blank in the word goes, as the dialog's cleaning drops it; a reading typed in
        // hiragana is stored half-width, and a digit in it goes.
        EditCell(m, 0, Col::WordColumn, U("音 声"));
        EditCell(m, 0, Col::YomiColumn, U("おんせい1"));
        QCOMPARE(m->Model()->Word(0), U("音声"));
        QCOMPARE(m->Model()->Yomi(0), U("ｵﾝｾｲ"));
        // The editors refuse what does not fit: seven kanji are 14 bytes, 21 kana 21 bytes.
        EditCell(m, 1, Col::WordColumn, U("一二三四五六七"));
        QCOMPARE(m->Model()->Word(1), U("一二三四五六"));
        EditCell(m, 1, Col::YomiColumn, U("あいうえおかきくけこさしすせそたちつてとな"));
        QCOMPARE(m->Model()->Yomi(1), U("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ"));
        // Voiced kana take two bytes each: ten of them fill the twenty.
        EditCell(m, 2, Col::YomiColumn, U("がぎぐげござじずぜぞだ"));
        QCOMPARE(m->Model()->Yomi(2), U("ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞ"));
        QVERIFY(boxes.texts.isEmpty());
        // What gets past the editor (here the model's own entry) gets the dialog's message.
        QVERIFY(!m->Model()->setData(m->Model()->index(3, Col::WordColumn), U("一二三四五六七"),
                                     Qt::EditRole));
        QCOMPARE(
            boxes.texts,
            QStringList({U(
                "単語は全角6文字 (12バイト) まで入力できます。半角の文字は1文字1バイトです。")}));
        QVERIFY(!m->Model()->setData(m->Model()->index(3, Col::YomiColumn),
                                     U("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅ"), Qt::EditRole));
        QCOMPARE(
            boxes.texts.takeLast(),
            U("読みは半角カナ20文字 (20バイト) まで入力できます。濁点と半濁点も1文字に数えます。"));
        QCOMPARE(m->Model()->Word(3), QString());
        QVERIFY(!m->Model()->setData(m->Model()->index(3, Col::WordColumn), U("😀"), Qt::EditRole));
        QCOMPARE(boxes.texts.size(), 2);
        // A blank between letters would join two words: refused, and said.
        EditCell(m, 3, Col::WordColumn, U("New York"));
        QCOMPARE(m->Model()->Word(3), QString());
        QCOMPARE(boxes.texts.size(), 3);
        QCOMPARE(boxes.texts.last(),
                 U("「New York」は登録できません。単語の空白は取り除かれ、前後の語"
                   "がつながってしまいます。"));
    }

    void showsTheUsedRowsAndOneToAddToWithinTheScreen() {
        QVERIFY(WriteBytes(DicPath(), Image({{0, "一", "ｲﾁ"}, {1, "二", "ﾆ"}, {7, "八", "ﾊﾁ"}})));
        // The editor window near the screen's lower right corner, as a user may leave it.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        m_frame->setGeometry(screen.right() - 300, screen.bottom() - 200, 280, 180);
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
        DictionaryManager* m = Activated(DictionaryManager::ShowFor(m_frame.get(), *m_context));
        QVERIFY(m != nullptr);
        QVERIFY2(screen.contains(m->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(m->frameGeometry().x())
                                .arg(m->frameGeometry().y())
                                .arg(m->frameGeometry().width())
                                .arg(m->frameGeometry().height())));
        QVERIFY(m->frameGeometry().intersects(m_frame->frameGeometry())); // over its editor
        QVERIFY(m->width() >= 400 && m->height() >= 300);
        QVERIFY(m->LimitsLabel()->text().contains(U("全角6文字 (12バイト)")));
        QVERIFY(m->LimitsLabel()->text().contains(U("半角カナ20文字 (20バイト)")));

        // The three words and record 3 (No 3) to add to.
        QCOMPARE(ColumnTexts(m, Col::NumberColumn, 10),
                 QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                              QStringLiteral("8")}));
        QCOMPARE(m->Proxy()->FreeRecordShown(), 2);
        EditCell(m, 2, Col::WordColumn, U("三"));
        // Filled: the next empty record comes into sight.
        QCOMPARE(ColumnTexts(m, Col::NumberColumn, 10),
                 QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                              QStringLiteral("4"), QStringLiteral("8")}));
        // A deleted word's row goes; undone, it comes back.
        m->Table()->selectionModel()->clearSelection();
        m->Table()->selectionModel()->select(m->IndexOf(7, Col::WordColumn),
                                             QItemSelectionModel::Select);
        m->DeleteSelectedRows();
        QCOMPARE(m->Proxy()->rowCount(), 4);
        QVERIFY(!m->IndexOf(7, Col::WordColumn).isValid());
        m->UndoStack()->undo();
        QCOMPARE(m->Proxy()->rowCount(), 5);
        m->UndoStack()->undo(); // the added word: record 2 is the empty row again
        QCOMPARE(m->Proxy()->rowCount(), 4);
        QCOMPARE(m->Proxy()->FreeRecordShown(), 2);
        m->UndoStack()->clear();
        m_frame->hide();
    }

    void addDeleteAndUndo() {
        QVERIFY(WriteBytes(DicPath(), Image({{0, "一", "ｲﾁ"}, {2, "三", "ｻﾝ"}})));
        DictionaryManager* m = Activated(DictionaryManager::ShowFor(m_frame.get(), *m_context));
        QVERIFY(m != nullptr);
        // Added in the first free record, which stays in sight while a filter is on.
        Type(m->FilterEdit(), U("三"));
        QPushButton* addButton = nullptr;
        for (QPushButton* b : m->findChildren<QPushButton*>()) {
            if (b->text() == U("追加(&A)")) {
                addButton = b;
            }
        }
        QVERIFY(addButton != nullptr);
        QTest::mouseClick(addButton, Qt::LeftButton);
        QCOMPARE(m->Table()->currentIndex(), m->IndexOf(1, Col::WordColumn));
        QLineEdit* editor = CellEditor(m);
        QVERIFY(editor != nullptr);
        Type(editor, U("二"));
        PressEnter(editor);
        EditCell(m, 1, Col::YomiColumn, U("に"));
        QCOMPARE(m->Model()->Yomi(1), U("ﾆ"));
        QCOMPARE(m->Proxy()->rowCount(), 2);

        // Delete on the selected rows empties their records; the numbers stay.
        m->FilterEdit()->clear();
        m->Table()->selectionModel()->clearSelection();
        m->Table()->selectionModel()->select(m->IndexOf(0, Col::WordColumn),
                                             QItemSelectionModel::Select);
        m->Table()->selectionModel()->select(m->IndexOf(2, Col::YomiColumn),
                                             QItemSelectionModel::Select);
        m->Table()->setFocus();
        QTest::keyClick(m->Table(), Qt::Key_Delete);
        QCOMPARE(m->Model()->Word(0), QString());
        QCOMPARE(m->Model()->Word(2), QString());
        QCOMPARE(m->Model()->Word(1), U("二"));

        QTest::keyClick(m, Qt::Key_Z, Qt::ControlModifier); // the delete
        QCOMPARE(m->Model()->Word(0), U("一"));
        QCOMPARE(m->Model()->Yomi(2), U("ｻﾝ"));
        m->UndoStack()->undo(); // the reading
        m->UndoStack()->undo(); // the word
        QCOMPARE(m->Model()->Word(1), QString());
        QVERIFY(m->UndoStack()->isClean());
        QTest::keyClick(m, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(m->Model()->Word(1), U("二"));
    }

    void saveKeepsBytesPastTheRecordsAndReloadsTheTables() {
        const QByteArray tail("\x01TAIL-BYTES", 11);
        QVERIFY(WriteBytes(DicPath(), Image({{0, "漢字", "ｶﾝｼﾞ"}}) + tail));
        {
            MessageBoxSink sink(nullptr);
            m_context->UserDictionary().Load(sink);
        }
        DictionaryManager* m = Activated(DictionaryManager::ShowFor(m_frame.get(), *m_context));
        QVERIFY(m != nullptr);
        EditCell(m, 1, Col::WordColumn, U("東京")); // the empty row shown
        EditCell(m, 1, Col::YomiColumn, U("トウキョウ"));
        QVERIFY(m->IsModified());
        QTest::keyClick(m, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!m->IsModified());
        const QByteArray saved = ReadBytes(DicPath());
        QCOMPARE(saved.size(), kImageSize + tail.size());
        QCOMPARE(saved.mid(kImageSize), tail);
        QCOMPARE(Record(saved, 0), Sjis("漢字,ｶﾝｼﾞ"));
        QCOMPARE(Record(saved, 1), Sjis("東京,ﾄｳｷｮｳ"));
        // The tables follow the file: longer words first.
        QCOMPARE(QByteArray(m_context->UserDictionary().Tables().word[kBuiltinRows]), Sjis("漢字"));
        QCOMPARE(QByteArray(m_context->UserDictionary().Tables().word[kBuiltinRows + 1]),
                 Sjis("東京"));
    }

    void aFileSavedMeanwhileByTheDialogIsMergedOrReloaded() {
        QVERIFY(WriteBytes(DicPath(), Image({{0, "一", "ｲﾁ"}})));
        DictionaryManager* m = Activated(DictionaryManager::ShowFor(m_frame.get(), *m_context));
        QVERIFY(m != nullptr);
        EditCell(m, 1, Col::WordColumn, U("二"));
        EditCell(m, 1, Col::YomiColumn, U("ﾆ"));

        // The registration dialog writes record 1 and record 4 in the meantime.
        {
            BoxAnswerer dialogBoxes;
            WordDialog d(m_context->Registration());
            DialogSteps steps(&d, [&] {
                Type(d.WordEdit(1), U("弐"));
                Type(d.YomiEdit(1), U("ﾆ"));
                Type(d.WordEdit(4), U("五"));
                Type(d.YomiEdit(4), U("ｺﾞ"));
                QTest::mouseClick(d.ConfirmButton(), Qt::LeftButton);
            });
            QCOMPARE(d.exec(), int(QDialog::Accepted));
        }
        QVERIFY(m->Document().ChangedOnDisk());
        {
            BoxChooser boxes({QMessageBox::Yes, QMessageBox::Ok}); // merge, then the report
            QVERIFY(m->Save());
            QCOMPARE(boxes.texts.size(), 2);
            QVERIFY(boxes.texts[0].startsWith(U("辞書ファイルは、")));
            QVERIFY(boxes.texts[1].contains(U("1 行を空き行へ移しました")));
        }
        const QByteArray merged = ReadBytes(DicPath());
        QCOMPARE(Record(merged, 0), Sjis("一,ｲﾁ"));
        QCOMPARE(Record(merged, 1), Sjis("二,ﾆ"));  // mine stays in its record
        QCOMPARE(Record(merged, 2), Sjis("弐,ﾆ"));  // the dialog's moved to a free one
        QCOMPARE(Record(merged, 4), Sjis("五,ｺﾞ")); // the dialog's own record

        // Reload: the window's edit goes, the file's rows show.
        EditCell(m, 3, Col::WordColumn, U("四")); // the first free record, the one shown
        QVERIFY(WriteBytes(DicPath(), Image({{0, "零", "ｾﾞﾛ"}})));
        {
            BoxChooser boxes({QMessageBox::No});
            QVERIFY(!m->Save());
            QCOMPARE(boxes.texts.size(), 1);
        }
        QCOMPARE(m->Model()->Word(0), U("零"));
        QCOMPARE(m->Model()->Word(3), QString());
        QVERIFY(!m->IsModified());

        // Unedited, the window takes what was saved elsewhere when it is activated again.
        QVERIFY(WriteBytes(DicPath(), Image({{0, "零", "ﾚｲ"}})));
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(m, &activate);
        QCOMPARE(m->Model()->Yomi(0), U("ﾚｲ"));
        QCOMPARE(m->NoticeLabel()->text(), U("ほかで保存された辞書を読み直しました。"));
        // Edited, it only says so.
        EditCell(m, 1, Col::WordColumn, U("二"));
        QVERIFY(WriteBytes(DicPath(), Image({{0, "零", "ｾﾞﾛ"}})));
        QApplication::sendEvent(m, &activate);
        QCOMPARE(m->Model()->Yomi(0), U("ﾚｲ"));
        QCOMPARE(m->Model()->Word(1), U("二"));
        QVERIFY(m->NoticeLabel()->text().contains(U("統合できます")));
    }

    void wordListsInAndOut() {
        QVERIFY(WriteBytes(DicPath(), Image({{0, "今日", "ｷｮｳ"}})));
        DictionaryManager* m = Activated(DictionaryManager::ShowFor(m_frame.get(), *m_context));
        QVERIFY(m != nullptr);
        const QString csv = cwd().filePath(QStringLiteral("in.csv"));
        QVERIFY(WriteBytes(
            csv, QByteArray("\xEF\xBB\xBF") +
                     U("今日,こんにち\r\n明日,あした\r\n\r\n長すぎる長すぎる単語,ながい\r\n"
                       "\"音声,おんせい\r\nx,漢字\r\n")
                         .toUtf8()));
        {
            // Replace the duplicate's reading; then the report.
            BoxChooser boxes({QMessageBox::No, QMessageBox::Ok});
            QVERIFY(m->ImportFile(csv, WordListSeparator::Comma));
            QCOMPARE(boxes.texts.size(), 2);
            QVERIFY(boxes.texts[0].contains(U("1行目 今日: ｷｮｳ → ｺﾝﾆﾁ")));
            const QString report = boxes.texts[1];
            QVERIFY(report.contains(U("1 語を追加し、1 語の読みを置き換えました。")));
            QVERIFY(report.contains(U("読み込めなかった行が 3 行あります")));
            QVERIFY(report.contains(U("4行目: 単語が全角6文字 (12バイト) を超えています")));
            QVERIFY(report.contains(U("5行目: 単語と読みの2つの欄になっていません")));
            QVERIFY(report.contains(U("6行目: 読みにカナ以外の文字があります")));
        }
        QCOMPARE(m->Model()->Yomi(0), U("ｺﾝﾆﾁ"));
        QCOMPARE(m->Model()->Word(1), U("明日"));
        // One step undoes the whole import.
        m->UndoStack()->undo();
        QCOMPARE(m->Model()->Yomi(0), U("ｷｮｳ"));
        QCOMPARE(m->Model()->Word(1), QString());
        m->UndoStack()->redo();

        const QString out = cwd().filePath(QStringLiteral("out.csv"));
        QVERIFY(m->ExportFile(out, WordListSeparator::Comma, WordListEncoding::ShiftJis));
        QCOMPARE(ReadBytes(out), Sjis("今日,ｺﾝﾆﾁ\r\n明日,ｱｼﾀ\r\n"));
        const QString tsv = cwd().filePath(QStringLiteral("out.tsv"));
        QVERIFY(m->ExportFile(tsv, WordListSeparator::Tab, WordListEncoding::Utf8WithBom));
        QCOMPARE(ReadBytes(tsv),
                 QByteArray("\xEF\xBB\xBF") + U("今日\tｺﾝﾆﾁ\r\n明日\tｱｼﾀ\r\n").toUtf8());
        BoxChooser boxes;
        QVERIFY(!m->ImportFile(cwd().filePath(QStringLiteral("missing.csv")),
                               WordListSeparator::Comma));
        QCOMPARE(boxes.texts.size(), 1);
    }

    void everyListWrittenReadsBackToTheSameRecords() {
        // Words as the dictionary can hold them: line breaks, a tab, quotes, a comma.
        const QByteArray original = Image({{0, "改\r\n行", "ｶｲｷﾞｮｳ"},
                                           {1, "タ\tブ", "ﾀﾌﾞ"},
                                           {2, "\"引用\"", "ｲﾝﾖｳ"},
                                           {3, "A,B\r", "ｴｰﾋﾞｰ"},
                                           {4, "漢字", "ｶﾝｼﾞ"}});
        QVERIFY(WriteBytes(DicPath(), original));
        DictionaryManager* m = Activated(DictionaryManager::ShowFor(m_frame.get(), *m_context));
        QVERIFY(m != nullptr);
        struct Form {
            const char* name;
            WordListSeparator separator;
            WordListEncoding encoding;
        };
        const Form forms[] = {
            {"utf8.csv", WordListSeparator::Comma, WordListEncoding::Utf8},
            {"bom.csv", WordListSeparator::Comma, WordListEncoding::Utf8WithBom},
            {"sjis.csv", WordListSeparator::Comma, WordListEncoding::ShiftJis},
            {"utf8.tsv", WordListSeparator::Tab, WordListEncoding::Utf8},
            {"sjis.tsv", WordListSeparator::Tab, WordListEncoding::ShiftJis},
        };
        for (const Form& f : forms) {
            QVERIFY(m->ExportFile(cwd().filePath(QString::fromLatin1(f.name)), f.separator,
                                  f.encoding));
        }
        m->Table()->selectAll();
        m->DeleteSelectedRows();
        for (const Form& f : forms) {
            BoxChooser boxes;
            QVERIFY(m->ImportFile(cwd().filePath(QString::fromLatin1(f.name)), f.separator));
            QCOMPARE(boxes.texts.size(), 1);
            QVERIFY2(boxes.texts[0] == U("5 語を追加し、0 語の読みを置き換えました。"),
                     qPrintable(f.name + (": " + boxes.texts[0])));
            const QByteArray image(reinterpret_cast<const char*>(m->Document().Image()),
                                   kImageSize);
            for (int n = 0; n < 5; ++n) {
                QCOMPARE(Record(image, n), Record(original, n));
            }
            m->UndoStack()->undo();
        }
    }

    void importNeverPassesTheLastRecord() {
        QByteArray image(kImageSize, '\0');
        for (int n = 0; n < 9997; ++n) {
            const QByteArray w = "w" + QByteArray::number(n);
            image.replace(34 * n, w.size(), w);
            image.replace(34 * n + 13, 1, "\xB1");
        }
        QVERIFY(WriteBytes(DicPath(), image));
        DictionaryManager* m = Activated(DictionaryManager::ShowFor(m_frame.get(), *m_context));
        QVERIFY(m != nullptr);
        const QString csv = cwd().filePath(QStringLiteral("many.csv"));
        QVERIFY(WriteBytes(csv, "a,\xB1\nb,\xB2\nc,\xB3\nd,\xB4\n"));
        BoxChooser boxes;
        QVERIFY(m->ImportFile(csv, WordListSeparator::Comma));
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY(boxes.texts[0].contains(
            U("辞書が 9999 行でいっぱいのため、2 語は登録されませんでした。")));
        QCOMPARE(m->Model()->Word(9998), QStringLiteral("b"));
        m->AddRow();
        QCOMPARE(boxes.texts.size(), 2);
        QCOMPARE(boxes.texts[1], U("辞書に空きの行がありません。(9999 行すべて使用中)"));
    }

    void readingFieldShowsAndSpeaksWithUnsavedRows() {
        QVERIFY(WriteBytes(DicPath(), Image({})));
        DictionaryManager* m = Activated(DictionaryManager::ShowFor(m_frame.get(), *m_context));
        QVERIFY(m != nullptr);
        Type(m->TryEdit(), U("音声"));
        QCOMPARE(m->ReadingLabel()->text(), U("ｵﾝｾｲ"));
        // A row not saved yet already reads, and the tables are as loaded afterwards.
        EditCell(m, 0, Col::WordColumn, U("東京"));
        EditCell(m, 0, Col::YomiColumn, U("ﾄｳｷｮｳ"));
        m->TryEdit()->clear();
        Type(m->TryEdit(), U("東京へ"));
        QVERIFY(m->ReadingLabel()->text().startsWith(U("ﾄｳｷｮｳ")));
        QCOMPARE(m_context->UserDictionary().Tables().yomi[kBuiltinRows][0], '\0');

        QSignalSpy ticks(&m_context->Speech(), &SpeechController::ticked);
        QTest::mouseClick(m->ListenButton(), Qt::LeftButton);
        QVERIFY(m_context->Speech().IsTimerRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!m_context->Speech().IsTimerRunning(), 5000);
        QStringList samples;
        for (const QList<QVariant>& t : ticks) {
            if (!t[0].toString().isEmpty()) {
                samples << t[0].toString();
            }
        }
        QVERIFY(samples.size() >= 3);
        QVERIFY(samples[0].endsWith(QStringLiteral("_TO")));
        QCOMPARE(m_context->UserDictionary().Tables().yomi[kBuiltinRows][0], '\0');
    }

    void registerSelectionFromTheMenuActionAndTheContextMenu() {
        QVERIFY(WriteBytes(DicPath(), Image({{0, "漢字", "ｶﾝｼﾞ"}})));
        EditorRun run(sound());
        QVERIFY(run.ok());
        TextView* view = run.view();
        Type(view, U("音声合成の漢字"));
        const std::vector<QAction*> actions = run.frame().ActionsFor(CommandId::RegisterSelection);
        QCOMPARE(actions.size(), std::size_t{1});
        QAction* action = actions.front();
        QCOMPARE(action->text(), U("選択範囲を登録"));
        QCOMPARE(run.frame().ActionsFor(CommandId::DictionaryManager).front()->text(),
                 U("辞書の管理(&M)..."));
        QVERIFY(!action->isEnabled()); // nothing selected

        QTextCursor cursor = view->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        view->setTextCursor(cursor);
        QVERIFY(action->isEnabled());
        action->trigger();
        DictionaryManager* m = DictionaryManager::Find(&run.frame());
        QVERIFY(m != nullptr);
        QVERIFY(m->isVisible());
        // The new row takes the first free record, its reading from the automatic reading (as it
        // is heard: the long vowel as its vowel), and its reading cell is open for correction.
        QCOMPARE(m->Model()->Word(1), U("音声合成"));
        QCOMPARE(m->Model()->Yomi(1), U("ｵﾝｾｲｺﾞｵｾｲ"));
        QCOMPARE(m->Table()->currentIndex(), m->IndexOf(1, Col::YomiColumn));
        QLineEdit* editor = CellEditor(m);
        QVERIFY(editor != nullptr);
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->text(), U("ｵﾝｾｲｺﾞｵｾｲ"));
        QTest::keyClick(editor, Qt::Key_Escape);

        // From the context menu: a word registered already is shown, not added twice.
        cursor.setPosition(5);
        cursor.setPosition(7, QTextCursor::KeepAnchor);
        view->setTextCursor(cursor);
        bool menuHadIt = false;
        QTimer::singleShot(50, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                return;
            }
            for (QAction* a : menu->actions()) {
                if (a == action && a->isEnabled()) {
                    menuHadIt = true;
                    menu->close();
                    a->trigger();
                    return;
                }
            }
            menu->close();
        });
        const QPoint at = view->cursorRect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
        QVERIFY(menuHadIt);
        QCOMPARE(m->Table()->currentIndex(), m->IndexOf(0, Col::YomiColumn));
        QCOMPARE(m->Model()->Word(2), QString());

        // A selection longer than a word can be gets the dialog's message.
        BoxChooser boxes;
        view->selectAll();
        run.frame().Dispatch(CommandId::RegisterSelection);
        QCOMPARE(
            boxes.texts,
            QStringList({U(
                "単語は全角6文字 (12バイト) まで入力できます。半角の文字は1文字1バイトです。")}));
        QVERIFY(!m->Model()->setData(m->Model()->index(3, Col::YomiColumn),
                                     U("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅ"), Qt::EditRole));
        QCOMPARE(
            boxes.texts.takeLast(),
            U("読みは半角カナ20文字 (20バイト) まで入力できます。濁点と半濁点も1文字に数えます。"));
        m->UndoStack()->clear();
        m->close();
    }

private:
    QString DicPath() const { return cwd().filePath(QStringLiteral("Yomi6.dic")); }

    std::unique_ptr<AppContext> m_context; // what the run of the editor would share
    std::unique_ptr<QWidget> m_frame;
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DictionaryManagerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "dictionary_manager_test.moc"
