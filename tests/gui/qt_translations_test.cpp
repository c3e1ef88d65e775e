// Qt's own texts in the editor under a locale that is not Japanese (the test runs with LANG=C):
// the standard buttons of the editor's save prompt and of any message box, and the text view's
// context menu, read Japanese; and the editor still starts when the catalogue is missing or
// broken. The expected texts are typed out here.
#include "app/main_window.h"
#include "app/qt_translations.h"
#include "editor/document.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "playback/speech_state.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The texts of a message box's buttons, in the order of the given standard buttons.
QStringList ButtonTexts(QMessageBox& box, std::initializer_list<QMessageBox::StandardButton> ids) {
    QStringList texts;
    for (const QMessageBox::StandardButton id : ids) {
        QAbstractButton* b = box.button(id);
        texts << (b != nullptr ? b->text() : QStringLiteral("(none)"));
    }
    return texts;
}

// The item texts of the context menu the view opens for a right click, as shown.
QStringList ContextMenuTexts(TextView* view) {
    QStringList texts;
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        poll.stop();
        seen = true;
        for (const QAction* a : menu->actions()) {
            if (!a->isSeparator()) {
                texts << a->text();
            }
        }
        menu->close();
    });
    poll.start();
    const QPoint at = view->viewport()->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &event); // returns when the menu closes
    if (!seen) {
        texts << QStringLiteral("(no menu)");
    }
    return texts;
}

} // namespace

class QtTranslationsTest : public GuiTestCase {
    Q_OBJECT

    void InitClass() override {
        // The point of the test: nothing in the environment asks for Japanese.
        QCOMPARE(QLocale::system().name(), QStringLiteral("C"));
    }

private slots:
    void standardButtonsReadJapanese() {
        EditorRun run(sound());
        QVERIFY(run.ok());

        QMessageBox box(&run.frame());
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDetailedText(QStringLiteral("details"));
        box.show();
        QCOMPARE(ButtonTexts(box, {QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel}),
                 QStringList({U("保存"), U("変更を破棄"), U("キャンセル")}));
        // The button that opens the details.
        QStringList others;
        for (QAbstractButton* b : box.findChildren<QAbstractButton*>()) {
            if (box.standardButton(b) == QMessageBox::NoButton) {
                others << b->text();
            }
        }
        QCOMPARE(others, QStringList(U("詳細を表示...")));
        box.close();

        // The editor's own prompt on closing a changed document.
        run.view()->setPlainText(QStringLiteral("x"));
        run.view()->GetDocument()->SetModifiedFlag(true);
        QStringList prompt;
        ModalHandler handler([&prompt](QWidget* w) {
            if (auto* b = qobject_cast<QMessageBox*>(w)) {
                prompt = ButtonTexts(*b, {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel});
                b->button(QMessageBox::Cancel)->click();
            } else if (auto* d = qobject_cast<QDialog*>(w)) {
                d->reject();
            }
        });
        run.frame().Dispatch(CommandId::FileClose);
        QTRY_VERIFY(handler.handled());
        QCOMPARE(prompt, QStringList({U("はい(&Y)"), U("いいえ(&N)"), U("キャンセル")}));
    }

    void theTextViewsContextMenuReadsJapanese() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        run.view()->setPlainText(QStringLiteral("abc"));
        run.view()->selectAll();
        const QStringList texts = ContextMenuTexts(run.view());
        // Qt's edit items, then the program's own. Qt shows a shortcut after a tab only where
        // the window has none of its own for the item's keys.
        QCOMPARE(texts, QStringList({U("元に戻す(&U)"), U("やり直す(&R)\tCtrl+Y"),
                                     U("切り取り(&T)"), U("コピー(&C)"), U("貼り付け(&P)"),
                                     U("削除"), U("すべてを選択\tCtrl+A"), U("選択範囲を登録")}));
    }

    void theTextsLastAsLongAsTheRun() {
        {
            EditorRun run(sound());
            QVERIFY(run.ok());
        }
        // Gone with the run: a message box of the test itself speaks Qt's English again.
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancel"));
    }

    void aMissingOrBrokenCatalogueIsNoTranslation() {
        QTemporaryDir empty;
        QVERIFY(empty.isValid());
        QVERIFY(InstallQtTranslations(empty.path()) == nullptr);
        QVERIFY(InstallQtTranslations(empty.filePath(QStringLiteral("no-such-folder"))) == nullptr);
        QVERIFY(WriteBytes(empty.filePath(QStringLiteral("qtbase_ja.qm")),
                           QByteArray("not a catalogue at all", 22)));
        QVERIFY(InstallQtTranslations(empty.path()) == nullptr);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Cancel"));
    }

    // The program itself (yomi6 and the Qt program it hands the editor to), its Qt pointed by
    // a qt.conf beside it at a translations folder that is empty, then at one whose catalogue
    // is broken: it starts, paints its first window and ends normally. (That the qt.conf is
    // heeded shows in a last run whose plugin folder is empty: without its platform plugin Qt
    // cannot start.)
    void theEditorStartsWithoutTheCatalogue() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString program = dir.filePath(QStringLiteral("yomi6"));
        QVERIFY(QFile::copy(QStringLiteral(YOMI6_BINARY), program));
        QVERIFY(
            QFile::copy(QStringLiteral(YOMI6_QT_BINARY), dir.filePath(QStringLiteral("yomi6-qt"))));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("translations")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("no-plugins")));
        const auto run = [&](const QString& plugins) {
            const QString conf = QStringLiteral("[Paths]\nPlugins=%1\nTranslations=%2\n")
                                     .arg(plugins, dir.filePath(QStringLiteral("translations")));
            if (!WriteBytes(dir.filePath(QStringLiteral("qt.conf")), conf.toUtf8())) {
                return QStringLiteral("qt.conf not written");
            }
            QProcess editor;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("YOMI6_EXIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));
            editor.setProcessEnvironment(env);
            editor.setWorkingDirectory(cwd().path());
            editor.start(program, {});
            if (!editor.waitForFinished(120000)) {
                editor.kill();
                editor.waitForFinished();
                return QStringLiteral("did not end");
            }
            return editor.exitStatus() == QProcess::NormalExit && editor.exitCode() == 0
                       ? QStringLiteral("ok")
                       : QStringLiteral("failed");
        };
        const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath);
        QCOMPARE(run(plugins), QStringLiteral("ok"));
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("translations/qtbase_ja.qm")),
                           QByteArray(4096, '\x3c')));
        QCOMPARE(run(plugins), QStringLiteral("ok"));
        QCOMPARE(run(dir.filePath(QStringLiteral("no-plugins"))), QStringLiteral("failed"));
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "qt_translations_test.moc"
