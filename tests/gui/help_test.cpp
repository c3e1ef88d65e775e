// The help as a user meets it: ﾍﾙﾌﾟ → 目次 opens the contents, every page is reached from it by
// clicking its link, every link on every page leads to a page that exists, and the pages name
// the features and the menu items the program really has (their texts taken from the real
// actions), every key of those actions, and the buttons go back, forward and home.
#include "app/help_window.h"
#include "app/main_window.h"
#include "gui/gui_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

#include <map>
#include <memory>
#include <vector>

using namespace yomi6;
using namespace yomi6::test;

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// What each page must tell: words it must contain (among them facts the help alone keeps: the
// print header's date, the input methods' set-up, the limits of a voice folder's files), and
// the commands whose menu text (without its mnemonic and "...") it must name. Every page here
// must be linked from 目次.
struct Page {
    const char* file;
    std::vector<const char*> words;
    std::vector<CommandId> commands;
};

const std::vector<Page>& Pages() {
    static const std::vector<Page> pages = {
        {"speak.html",
         {"F3", "F4", "F5", "Ctrl+F3", "Pause", "Ctrl+F4", "4000", "続きは Ctrl+F3", "読み上げ中",
          "一時停止中", "ﾚﾃﾞｨ"},
         {CommandId::Speak, CommandId::Stop, CommandId::ReadFromCaret, CommandId::Pause}},
        {"readings.html",
         {"自動", "辞書", "MeCab", "YOMI6_MECAB_DIC", "解析辞書", "読み方", "青空文庫", "ルビ",
          "青空文庫の注記を読まない"},
         {CommandId::Readings}},
        {"reading_pane.html",
         {"ひらがな", "全角カタカナ", "半角カタカナ", "単語登録..."},
         {CommandId::ReadingPane}},
        {"dictionary.html",
         {"Yomi6.dic", "CSV", "UTF-8", "Shift-JIS", "読みを試す", "統合", "New York", "CR LF"},
         {CommandId::WordRegistration, CommandId::DictionaryManager, CommandId::RegisterSelection}},
        {"voices.html",
         {"声を録音する", "フォルダを追加", "KA.wav", "141", "スペース", "Enter",
          "/usr/share/yomi6/voices/", "tohoku-f01-kana", "CC BY 4.0", "16 MiB"},
         {CommandId::VoiceManager}},
        {"export.html",
         {".wav", ".flac", ".ogg", ".opus", ".mp3", "字幕", "タイミング", "--export"},
         {CommandId::ExportAudio}},
        {"settings.html",
         {"yomi6.ini", "XDG_CONFIG_HOME", "リピート", "枠を含めた"},
         {CommandId::SpeechSettings, CommandId::FitSamples}},
        {"files.html",
         {"Shift-JIS", "UTF-8", "1,048,575", "Ctrl+F", "Ctrl+H", "2025/01/07 09:05:07", "im-config",
          "ホームフォルダ"},
         {CommandId::EditFind, CommandId::EditReplace, CommandId::FilePrintPreview,
          CommandId::PageLayout}},
        {"book.html",
         {"Ctrl+Shift+F3", "Ctrl+F3", "places.txt", "XDG_DATA_HOME"},
         {CommandId::ChaptersPane, CommandId::ResumeReading, CommandId::AddBookmark,
          CommandId::BookmarkList, CommandId::Sleep15, CommandId::Sleep30, CommandId::Sleep60,
          CommandId::SleepChapter}},
        {"keys.html", {"F5"}, {}},
        {"commandline.html",
         {"--reading", "--schedule", "--units", "--wav", "--export", "--speak", "--pdf",
          "--check-voice", "--encoding", "--aozora", "--readings"},
         {}},
    };
    return pages;
}

// A menu text as a page quotes it: "ｶｰｿﾙ位置から読む(&R)" → "ｶｰｿﾙ位置から読む".
QString Quoted(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    text.remove(QLatin1Char('&'));
    text.remove(QStringLiteral("..."));
    return text.section(QLatin1Char('\t'), 0, 0).trimmed();
}

struct Link {
    QString href;
    int position = 0; // a character of the link text in the document
};

std::vector<Link> Links(const QTextBrowser* browser) {
    std::vector<Link> links;
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isAnchor() && !fragment.charFormat().anchorHref().isEmpty()) {
                links.push_back({fragment.charFormat().anchorHref(), fragment.position() + 1});
            }
        }
    }
    return links;
}

// Clicks the link whose text holds character position, as the user does.
void ClickLink(QTextBrowser* browser, int position) {
    QTextCursor cursor(browser->document());
    cursor.setPosition(position);
    browser->ensureCursorVisible();
    browser->setTextCursor(cursor);
    browser->ensureCursorVisible();
    const QRect rect = browser->cursorRect(cursor);
    const QPoint at(rect.center().x(), rect.center().y());
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

QString PageName(const QTextBrowser* browser) {
    return browser->source().fileName();
}

} // namespace

class HelpTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void everyPageIsReachedFromTheContentsAndSaysWhatItMust() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        HelpWindow* help = OpenHelp(run.frame());
        QVERIFY(help != nullptr);
        QTextBrowser* browser = help->browser();
        QCOMPARE(PageName(browser), QStringLiteral("index.html"));
        QVERIFY(browser->toPlainText().contains(U("目次")));

        const std::vector<Link> contents = Links(browser);
        QSet<QString> linked;
        for (const Link& link : contents) {
            linked.insert(link.href);
        }
        for (const Page& page : Pages()) {
            const QString file = QString::fromLatin1(page.file);
            QVERIFY2(linked.contains(file), qPrintable(file + QStringLiteral(" is not in 目次")));
        }
        // Every entry of the contents, clicked, opens its page, which says what it must.
        for (const Link& link : contents) {
            browser->home();
            QCOMPARE(PageName(browser), QStringLiteral("index.html"));
            ClickLink(browser, link.position);
            QTRY_COMPARE(PageName(browser), link.href);
            const QString text = browser->toPlainText();
            QVERIFY2(text.size() > 200, qPrintable(link.href));
            QVERIFY2(!browser->documentTitle().isEmpty(), qPrintable(link.href));
            for (const Page& page : Pages()) {
                if (link.href != QLatin1String(page.file)) {
                    continue;
                }
                for (const char* word : page.words) {
                    QVERIFY2(text.contains(U(word)),
                             qPrintable(link.href + QStringLiteral(" lacks ") + U(word)));
                }
                for (const CommandId id : page.commands) {
                    QAction* action = FirstAction(run.frame(), id);
                    QVERIFY2(action != nullptr, qPrintable(QString::number(static_cast<int>(id))));
                    const QString quoted = Quoted(action->text());
                    QVERIFY2(text.contains(quoted),
                             qPrintable(link.href + QStringLiteral(" does not name ") + quoted));
                }
            }
        }
        help->close();
    }

    void everyLinkOfEveryPageLeadsToAPage() {
        EditorRun run(sound());
        HelpWindow* help = OpenHelp(run.frame());
        QVERIFY(help != nullptr);
        QTextBrowser* browser = help->browser();
        QStringList toVisit{QStringLiteral("index.html")};
        QSet<QString> visited;
        while (!toVisit.isEmpty()) {
            const QString page = toVisit.takeFirst();
            if (visited.contains(page)) {
                continue;
            }
            visited.insert(page);
            QVERIFY2(QFile::exists(QStringLiteral(":/help/") + page), qPrintable(page));
            browser->setSource(QUrl(QStringLiteral("qrc:/help/") + page));
            QCOMPARE(PageName(browser), page);
            for (const Link& link : Links(browser)) {
                QVERIFY2(!link.href.contains(QLatin1Char(':')),
                         qPrintable(page + QStringLiteral(" links outside: ") + link.href));
                toVisit << link.href;
            }
            // Each page but the contents leads back to it.
            if (page != QLatin1String("index.html")) {
                bool home = false;
                for (const Link& link : Links(browser)) {
                    home = home || link.href == QLatin1String("index.html");
                }
                QVERIFY2(home, qPrintable(page + QStringLiteral(" has no link to 目次")));
            }
        }
        // Every page of the resources is reachable.
        const QStringList all =
            QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")});
        for (const QString& page : all) {
            QVERIFY2(visited.contains(page), qPrintable(page + QStringLiteral(" is unreachable")));
        }
        QCOMPARE(visited.size(), all.size());
        help->close();
    }

    void theKeyListNamesEveryKeyOfTheMainWindow() {
        EditorRun run(sound());
        HelpWindow* help = OpenHelp(run.frame());
        QVERIFY(help != nullptr);
        help->browser()->setSource(QUrl(QStringLiteral("qrc:/help/keys.html")));
        const QString keys = help->browser()->toPlainText();
        // Every key of the main window's accelerators (each command's keys, all of them), but
        // the framework's pane keys, which do nothing in this program.
        const QStringList doNothing{QStringLiteral("F6"), QStringLiteral("Shift+F6")};
        QStringList listed;
        for (QAction* action : run.frame().actions()) {
            for (const QKeySequence& key : action->shortcuts()) {
                const QString text = key.toString(QKeySequence::PortableText);
                if (doNothing.contains(text) || listed.contains(text)) {
                    continue;
                }
                QVERIFY2(keys.contains(text),
                         qPrintable(QStringLiteral("keys.html lacks ") + text +
                                    QStringLiteral(" (") + Quoted(action->text()) +
                                    QStringLiteral(")")));
                listed << text;
            }
        }
        // The specified keys and this program's own at least.
        for (const char* key : {"F3", "F4", "Ctrl+F3", "Pause", "Ctrl+F4", "Ctrl+N", "Ctrl+O",
                                "Ctrl+S", "Ctrl+P", "Ctrl+Z", "Alt+Backspace", "Ctrl+X",
                                "Shift+Del", "Ctrl+C", "Ctrl+Ins", "Ctrl+V", "Shift+Ins"}) {
            QVERIFY2(listed.contains(QLatin1String(key)), key);
        }
        help->close();
    }

    void theButtonsGoBackForwardAndHome() {
        EditorRun run(sound());
        HelpWindow* help = OpenHelp(run.frame());
        QVERIFY(help != nullptr);
        QTextBrowser* browser = help->browser();
        auto* home = help->findChild<QPushButton*>(QStringLiteral("helpHome"));
        auto* back = help->findChild<QPushButton*>(QStringLiteral("helpBack"));
        auto* forward = help->findChild<QPushButton*>(QStringLiteral("helpForward"));
        QVERIFY(home && back && forward);
        QVERIFY(!back->isEnabled());
        const std::vector<Link> contents = Links(browser);
        QVERIFY(!contents.empty());
        ClickLink(browser, contents.front().position);
        QTRY_COMPARE(PageName(browser), contents.front().href);
        QVERIFY(back->isEnabled());
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(PageName(browser), QStringLiteral("index.html"));
        QVERIFY(forward->isEnabled());
        QTest::mouseClick(forward, Qt::LeftButton);
        QCOMPARE(PageName(browser), contents.front().href);
        QTest::mouseClick(home, Qt::LeftButton);
        QCOMPARE(PageName(browser), QStringLiteral("index.html"));
        help->close();
    }

    // ﾍﾙﾌﾟ → ﾊﾞｰｼﾞｮﾝ情報 shows the version and the credit the shipped voices' licence asks for,
    // every text whole inside the box: none cut off by its label or hidden behind the button.
    void theAboutBoxCreditsTheVoice() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        QAction* item = MenuAction(run.frame(), "ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(&A)...");
        if (item == nullptr) {
            item = MenuAction(run.frame(), "ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(YOMI6)(&A)...");
        }
        QVERIFY(item != nullptr);
        QStringList texts;
        QStringList faults;
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            shown = true;
            auto* ok = box->findChild<QPushButton*>();
            for (QLabel* label : box->findChildren<QLabel*>()) {
                if (label->text().isEmpty()) {
                    continue; // the icon
                }
                texts << label->text();
                const QRect r = label->geometry();
                const int needed = label->wordWrap() ? label->heightForWidth(r.width())
                                                     : label->sizeHint().height();
                if (needed > r.height() ||
                    (!label->wordWrap() && label->sizeHint().width() > r.width())) {
                    faults << QStringLiteral("cut off: ") + label->text();
                }
                if (!box->rect().contains(r) || (ok && r.intersects(ok->geometry()))) {
                    faults << QStringLiteral("outside or under the button: ") + label->text();
                }
            }
            box->accept();
        });
        item->trigger();
        QVERIFY(shown);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        const QString all = texts.join(QLatin1Char('\n'));
        for (const char* word : {"よみあげPad Version 6.0", "tohoku-f01", "東北大学",
                                 "Intelligent Communication Network Laboratory", "CC BY 4.0",
                                 "tohoku-f01-kana", "加工"}) {
            QVERIFY2(all.contains(U(word)), word);
        }
    }

private:
    // ﾍﾙﾌﾟ → 目次, through the real menu item.
    static HelpWindow* OpenHelp(MainWindow& frame) {
        QAction* item = MenuAction(frame, "ﾍﾙﾌﾟ(&H)", "目次(&C)");
        if (item == nullptr) {
            return nullptr;
        }
        item->trigger();
        auto* help = frame.findChild<HelpWindow*>();
        if (help != nullptr && !QTest::qWaitForWindowExposed(help)) {
            return nullptr;
        }
        return help;
    }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
