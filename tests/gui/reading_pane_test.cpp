// The reading pane through the real 表示 menu entry: off by default and kept in the settings
// file; the listing of the current line or the selection against the core's reading of the
// same bytes, the silent parts marked, the unit being heard highlighted in step with the
// speech, and a word's context menu "単語登録..." opening the registration dialog with the word
// and its reading in the first empty row.
#include "app/main_window.h"
#include "dictionary_manager/word_dialog.h"
#include "editor/reading_pane.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "playback/playback.h"
#include "playback/speech_pass.h"
#include "playback/speech_state.h"
#include "speaking/app_context.h"
#include "speaking/kana_script.h"
#include "speaking/speech_controller.h"
#include "text/cp932_codec.h"
#include "text/speech_text.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
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

CoreReading ReadWithCore(const SpeechPreferences& choices, const ReaderSetup& setup,
                         const QString& text) {
    CoreReading core;
    core.state->readings = choices.readings;
    const std::string bytes = SpeechBytes(text.toStdU16String());
    StartSpeech(*core.state, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                setup);
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

constexpr QChar kThinSpace(0x2009);

// The listing without the thin spaces between its words, and where each character of the
// listing is in it (-1 for a thin space).
struct Stripped {
    QString text;
    QList<int> at;
};

Stripped Strip(const QString& listing) {
    Stripped s;
    for (const QChar c : listing) {
        if (c == kThinSpace) {
            s.at << -1;
        } else {
            s.at << static_cast<int>(s.text.size());
            s.text += c;
        }
    }
    return s;
}

// Listing positions as positions in the stripped listing.
QList<int> InStripped(const Stripped& s, const QList<int>& positions) {
    QList<int> out;
    for (int p : positions) {
        out << s.at.value(p, -2);
    }
    return out;
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

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Opens the pane's context menu over its first character and returns its kana entries as
// "text [x]" (checked) or "text [ ]"; triggers the entry choose when it is not empty.
QStringList ChooseKana(ReadingPane* pane, const QString& choose = QString()) {
    QPlainTextEdit* text = pane->ReadingText();
    emit text->customContextMenuRequested(text->cursorRect(QTextCursor(text->document())).center());
    QMenu* menu = nullptr;
    for (int i = 0; i < 500 && menu == nullptr; ++i) {
        menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            QTest::qWait(10);
        }
    }
    if (menu == nullptr) {
        return {QStringLiteral("(no menu)")};
    }
    QStringList entries;
    QAction* chosen = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->text().endsWith(U("で表示"))) {
            entries << a->text() +
                           (a->isChecked() ? QStringLiteral(" [x]") : QStringLiteral(" [ ]"));
            if (a->text() == choose) {
                chosen = a;
            }
        }
    }
    menu->close();
    if (chosen != nullptr) {
        chosen->trigger();
    }
    return entries;
}

// The listing of the pane each time the voice reaches a unit, until the reading ends.
QStringList ListingsWhileReading(MainWindow& frame, ReadingPane* pane, CommandId command) {
    QStringList listings;
    QObject guard;
    SpeechController& speech = frame.Context().Speech();
    QObject::connect(&speech, &SpeechController::highlightChanged, &guard,
                     [&](const QObject*, int unitBegin, int, int, int) {
                         if (unitBegin >= 0) {
                             listings << pane->ReadingText()->toPlainText();
                         }
                     });
    frame.Dispatch(command);
    for (int i = 0; i < 1000 && speech.IsTimerRunning(); ++i) {
        QTest::qWait(10);
    }
    return listings;
}

} // namespace

class ReadingPaneTest : public GuiTestCase {
    Q_OBJECT

public:
    ReadingPaneTest() {
        // The listings below are the dictionary reading's.
        ChooseDictionaryReadingInEveryTest();
        StartRunsAtSpeed(20);
    }

private slots:
    void thePaneIsOffByDefaultAndItsStateIsKept() {
        {
            EditorRun run(sound(), {}, start());
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
        QCOMPARE(IniInt(config().IniPath(), "よみあげPadのセッティング", "読みパネル"),
                 std::optional<int>(1));
        {
            EditorRun run(sound(), {}, start());
            QVERIFY(run.frame().ReadingPaneDock()->isVisibleTo(&run.frame()));
            MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        }
        QCOMPARE(IniInt(config().IniPath(), "よみあげPadのセッティング", "読みパネル"),
                 std::optional<int>(0));
    }

    void theListingIsTheReadingOfTheLineOrSelectionWithTheSilentPartsMarked() {
        EditorRun run(sound(), {}, start());
        MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        ReadingPane* pane = run.frame().ReadingPaneDock();
        TextView* view = run.view();
        const QString second = QString::fromUtf8("かき・く　け?こ");
        view->setPlainText(QString::fromUtf8("あいう\n") + second + QStringLiteral("\nさし"));
        QTextCursor caret = view->textCursor();
        caret.setPosition(6); // inside the second line
        view->setTextCursor(caret);
        pane->Refresh();
        const CoreReading core = ReadWithCore(run.choices(), run.reading(), second);
        const Stripped listing = Strip(pane->ReadingText()->toPlainText());
        QCOMPARE(listing.text, core.shown);
        QVERIFY(!core.silent.isEmpty());
        // Every byte here is one character of the listing.
        QCOMPARE(InStripped(listing, Marked(pane->ReadingText(), "silent")), core.silent);

        caret.setPosition(0);
        caret.setPosition(2, QTextCursor::KeepAnchor);
        view->setTextCursor(caret);
        QTRY_COMPARE(Strip(pane->ReadingText()->toPlainText()).text,
                     ReadWithCore(run.choices(), run.reading(), QStringLiteral("あい")).shown);
    }

    void theUnitBeingHeardIsHighlightedInStep() {
        EditorRun run(sound(), {}, start());
        MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        ReadingPane* pane = run.frame().ReadingPaneDock();
        TextView* view = run.view();
        // Read automatically: 東京 is five units, all from the same two characters; the pane
        // must show which of the five is heard.
        run.frame().Dispatch(CommandId::Readings);
        const QString text = QString::fromUtf8("東京へ行く");
        view->setPlainText(text);
        pane->Refresh();
        const CoreReading core = ReadWithCore(run.choices(), run.reading(), text);
        QCOMPARE(core.shown.size(), qsizetype(core.state->endIndex)); // one byte a character
        QVERIFY(core.shown.startsWith(QString::fromUtf8("ﾄｵｷｮｵ")));
        QStringList expected;
        RunPass(*core.state, [&](const TickResult& tick) {
            if (tick.unitLength > 0) {
                expected << core.shown.mid(tick.unitBegin, tick.unitLength);
            }
        });
        QStringList heard;
        const auto connection = connect(
            &run.speech(), &SpeechController::highlightChanged, this,
            [&](const QObject*, int unitBegin, int, int, int) {
                if (unitBegin >= 0) {
                    const Stripped listing = Strip(pane->ReadingText()->toPlainText());
                    QString part;
                    for (int i : InStripped(listing, Marked(pane->ReadingText(), "heard"))) {
                        part += core.shown.mid(i, 1);
                    }
                    heard << part;
                }
            });
        run.frame().Dispatch(CommandId::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 5000);
        disconnect(connection);
        QCOMPARE(heard, expected);
        QVERIFY(Marked(pane->ReadingText(), "heard").isEmpty()); // gone at the end
    }

    void theReadingIsWrittenInTheChosenKanaWithThinSpacesBetweenWords() {
        {
            EditorRun run(sound(), {}, start());
            MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
            ReadingPane* pane = run.frame().ReadingPaneDock();
            run.choices().readings = kReadingsDictionary;
            // Words by script, each sign a word of its own (。 and ー are read as pauses, "-");
            // no thin space beside a blank. A voiced kana is one character in full-width kana.
            run.view()->setPlainText(U("がっこうへ。パンだ スーパーabc"));
            pane->Refresh();
            QCOMPARE(pane->Script(), KanaScript::HalfWidth);
            QCOMPARE(pane->ReadingText()->toPlainText(),
                     U("ｶﾞｯｺｳﾍ\u2009-\u2009ﾊﾟﾝ\u2009ﾀﾞ ｽ-ﾊﾟ-\u2009ｴｲﾋﾞｲｼｲ"));
            QCOMPARE(ChooseKana(pane, U("ひらがなで表示")),
                     QStringList({U("ひらがなで表示 [ ]"), U("カタカナで表示 [ ]"),
                                  U("半角ｶﾀｶﾅで表示 [x]")}));
            QCOMPARE(pane->ReadingText()->toPlainText(),
                     U("がっこうへ\u2009-\u2009ぱん\u2009だ す-ぱ-\u2009えいびいしい"));
            QCOMPARE(ChooseKana(pane, U("カタカナで表示")),
                     QStringList({U("ひらがなで表示 [x]"), U("カタカナで表示 [ ]"),
                                  U("半角ｶﾀｶﾅで表示 [ ]")}));
            QCOMPARE(pane->ReadingText()->toPlainText(),
                     U("ガッコウヘ\u2009-\u2009パン\u2009ダ ス-パ-\u2009エイビイシイ"));
            // A word's registration still offers the half-width reading the dictionary holds.
            const int at = static_cast<int>(pane->ReadingText()->toPlainText().indexOf(U("ン")));
            QCOMPARE(pane->WordAt(at), std::make_pair(U("パン"), U("ﾊﾟﾝ")));
        }
        // Kept in the settings file under its own key, and taken up by the next run.
        QCOMPARE(IniInt(config().IniPath(), "よみあげPadのセッティング", "読みパネルの文字"),
                 std::optional<int>(2));
        EditorRun run(sound(), {}, start());
        ReadingPane* pane = run.frame().ReadingPaneDock();
        QCOMPARE(pane->Script(), KanaScript::Katakana);
        run.view()->setPlainText(U("ばびぶ"));
        pane->Refresh();
        QCOMPARE(pane->ReadingText()->toPlainText(), U("バビブ"));
        QCOMPARE(ChooseKana(pane, U("半角ｶﾀｶﾅで表示")).size(), 3);
        QCOMPARE(pane->ReadingText()->toPlainText(), U("ﾊﾞﾋﾞﾌﾞ"));
    }

    void everyHalfWidthKanaHasItsFullWidthForms() {
        struct Case {
            const char* half;
            const char* hiragana;
            const char* katakana;
        };
        const Case cases[] = {
            // The whole row of half-width katakana, then the signs.
            {"ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ",
             "をぁぃぅぇぉゃゅょっーあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほま"
             "みむめもやゆよらりるれろわん",
             "ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマ"
             "ミムメモヤユヨラリルレロワン"},
            {"｡｢｣､･", "。「」、・", "。「」、・"},
            // Voiced and semi-voiced: one character; ｳﾞ has a hiragana too.
            {"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞ",
             "がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽゔ",
             "ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ"},
            // A mark that voices nothing stands on its own; everything else is left alone.
            {"ﾅﾞﾟﾞｱﾟ", "な゛゜゛あ゜", "ナ゛゜゛ア゜"},
            {"A1-漢 ｱ", "A1-漢 あ", "A1-漢 ア"},
        };
        for (const Case& c : cases) {
            QCOMPARE(InKanaScript(U(c.half), KanaScript::Hiragana), U(c.hiragana));
            QCOMPARE(InKanaScript(U(c.half), KanaScript::Katakana), U(c.katakana));
            QCOMPARE(InKanaScript(U(c.half), KanaScript::HalfWidth), U(c.half));
        }
        QVERIFY(IsOneKana(U("ﾊﾟ")));
        QVERIFY(!IsOneKana(U("ﾅﾞ")));
        QVERIFY(!IsOneKana(U("ｱｲ")));
        QVERIFY(!IsOneKana(U("A")));
        QCOMPARE(KanaScriptOf(1), KanaScript::Hiragana);
        QCOMPARE(KanaScriptOf(2), KanaScript::Katakana);
        QCOMPARE(KanaScriptOf(7), KanaScript::HalfWidth);
    }

    void theKanaChoiceIsWrittenOnlyOnceMade() {
        {
            EditorRun run(sound(), {}, start());
            MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        }
        QCOMPARE(IniInt(config().IniPath(), "よみあげPadのセッティング", "読みパネル"),
                 std::optional<int>(1));
        QCOMPARE(IniInt(config().IniPath(), "よみあげPadのセッティング", "読みパネルの文字"),
                 std::nullopt);
    }

    void theAnalyzersWordsAreSpacedAndTheUnitHeardIsOneKana() {
        EditorRun run(sound(), {}, start());
        MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        ReadingPane* pane = run.frame().ReadingPaneDock();
        run.choices().readings = kReadingsAutomatic;
        const QString text = U("東京へ行く");
        run.view()->setPlainText(text);
        pane->SetScript(KanaScript::Hiragana);
        // Three words: 東京, へ, 行く.
        const QStringList words = pane->ReadingText()->toPlainText().split(kThinSpace);
        QCOMPARE(words.size(), 3);
        const QString core = ReadWithCore(run.choices(), run.reading(), text).shown;
        QCOMPARE(words.join(QString()), InKanaScript(core, KanaScript::Hiragana));
        QCOMPARE(words.at(1), U("え")); // the particle as spoken

        // A voiced kana heard is one character of the listing.
        run.choices().readings = kReadingsDictionary;
        run.view()->setPlainText(U("がっこう"));
        pane->Refresh();
        QCOMPARE(pane->ReadingText()->toPlainText(), U("がっこう"));
        QStringList heard;
        QObject guard;
        connect(&run.speech(), &SpeechController::highlightChanged, &guard,
                [&](const QObject*, int unitBegin, int, int, int) {
                    if (unitBegin >= 0) {
                        QString part;
                        for (int i : Marked(pane->ReadingText(), "heard")) {
                            part += pane->ReadingText()->toPlainText().at(i);
                        }
                        heard << part;
                    }
                });
        run.frame().Dispatch(CommandId::Speak);
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning(), 5000);
        QCOMPARE(heard, QStringList({U("が"), U("っ"), U("こ"), U("う")}));
    }

    void whileReadingThePaneFollowsTheVoiceNotTheCaret() {
        EditorRun run(sound(), {}, start());
        MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        ReadingPane* pane = run.frame().ReadingPaneDock();
        TextView* view = run.view();
        run.choices().readings = kReadingsDictionary;
        view->setPlainText(U("あいう\nかき\nさしす"));
        QTextCursor caret = view->textCursor();
        caret.setPosition(5); // on the second line
        view->setTextCursor(caret);
        pane->Refresh();
        QCOMPARE(pane->ReadingText()->toPlainText(), U("ｶｷ"));
        const QStringList listings = ListingsWhileReading(run.frame(), pane, CommandId::Speak);
        QCOMPARE(listings, QStringList({U("ｱｲｳ"), U("ｱｲｳ"), U("ｱｲｳ"), U("ｶｷ"), U("ｶｷ"), U("ｻｼｽ"),
                                        U("ｻｼｽ"), U("ｻｼｽ")}));
        // Read to the end: the caret's line again.
        QTRY_COMPARE(pane->ReadingText()->toPlainText(), U("ｶｷ"));

        // Paused, the pane stays on the line heard, whatever the caret does; stopped, it goes
        // back to the caret.
        run.choices().speed = 400;
        QSignalSpy highlights(&run.speech(), &SpeechController::highlightChanged);
        run.frame().Dispatch(CommandId::Speak);
        QTRY_VERIFY(!highlights.isEmpty());
        run.frame().Dispatch(CommandId::Pause);
        QVERIFY(run.speech().IsPaused());
        QCOMPARE(pane->ReadingText()->toPlainText(), U("ｱｲｳ"));
        caret.setPosition(9); // the third line
        view->setTextCursor(caret);
        QTest::qWait(300); // longer than the pane waits for the caret to settle
        QCOMPARE(pane->ReadingText()->toPlainText(), U("ｱｲｳ"));
        QVERIFY(!Marked(pane->ReadingText(), "heard").isEmpty());
        run.frame().Dispatch(CommandId::Stop);
        QTRY_COMPARE(pane->ReadingText()->toPlainText(), U("ｻｼｽ"));
        QVERIFY(Marked(pane->ReadingText(), "heard").isEmpty());
    }

    void onALineLongerThanOneReadingThePaneListsFromTheVoice() {
        EditorRun run(sound(), {}, start());
        MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        ReadingPane* pane = run.frame().ReadingPaneDock();
        TextView* view = run.view();
        run.choices().readings = kReadingsDictionary;
        // 2500 あ (5000 bytes) then いう on one line: one reading holds 2000 of them.
        view->setPlainText(QString(2500, QChar(u'あ')) + U("いう"));
        QTextCursor caret = view->textCursor();
        caret.setPosition(2497);
        view->setTextCursor(caret);
        const QStringList listings =
            ListingsWhileReading(run.frame(), pane, CommandId::ReadFromCaret);
        QCOMPARE(listings,
                 QStringList({U("ｱｱｱｲｳ"), U("ｱｱｱｲｳ"), U("ｱｱｱｲｳ"), U("ｱｱｱｲｳ"), U("ｱｱｱｲｳ")}));
    }

    void aWordsContextMenuOffersItForRegistration() {
        EditorRun run(sound(), {}, start());
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
            if (auto* dialog = qobject_cast<WordDialog*>(w)) {
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

    // The dictionary reading copies a kanji it cannot read: the word is offered with no reading
    // rather than with the kanji as its own reading.
    void anUnreadKanjiIsOfferedWithoutAReading() {
        EditorRun run(sound(), {}, start());
        MenuAction(run.frame(), "表示(&V)", "読みﾊﾟﾈﾙ(&Y)")->trigger();
        ReadingPane* pane = run.frame().ReadingPaneDock();
        run.choices().readings = kReadingsDictionary;
        run.view()->setPlainText(QString::fromUtf8("人"));
        pane->Refresh();
        const int at =
            static_cast<int>(pane->ReadingText()->toPlainText().indexOf(QString::fromUtf8("人")));
        QVERIFY(at >= 0);
        QCOMPARE(pane->WordAt(at), std::make_pair(QString::fromUtf8("人"), QString()));
    }
};

QTEST_MAIN(ReadingPaneTest)
#include "reading_pane_test.moc"
