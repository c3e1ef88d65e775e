// Following the voice in the editor: the highlight of the unit being heard compared tick by tick
// with the units the core reads from the same text, in both reading modes and across passes;
// reading from the caret or the selection, pause and resume, F5, the end of a reading, the view
// following the unit heard down and sideways, and the commands' menu entries, shortcuts and tool
// bar buttons through the real actions.
#include "app/application.h"
#include "app/document_window.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "playback/pass_planner.h"
#include "playback/playback.h"
#include "playback/speech_pass.h"
#include "playback/speech_state.h"
#include "speaking/speech_controller.h"
#include "text/speech_text.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>

#include <algorithm>
#include <deque>
#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

// One unit as heard: its sample and the characters it read.
struct Heard {
    QString sample;
    int begin = 0;
    int end = 0;
    bool operator==(const Heard&) const = default;
};

QString Describe(const QList<Heard>& units) {
    QStringList parts;
    for (const Heard& u : units) {
        parts << QStringLiteral("%1 %2-%3").arg(u.sample).arg(u.begin).arg(u.end);
    }
    return parts.join(QLatin1Char(','));
}

// The units of text [begin, end) as the core reads them pass after pass, each pass cut by the
// pass planner and read from its start in voice: what the editor must highlight, in order.
QList<Heard> CoreUnits(const SpeechPreferences& choices, const ReaderSetup& setup,
                       const QString& text, int begin, int end, VoiceSlot voice) {
    const std::u16string all = text.toStdU16String();
    QList<Heard> units;
    auto state = std::make_unique<SpeechState>();
    static_cast<SpeechPreferences&>(*state) = choices;
    state->voice = voice;
    std::size_t at = static_cast<std::size_t>(begin);
    while (at < static_cast<std::size_t>(end)) {
        const std::u16string_view rest =
            std::u16string_view(all).substr(at, static_cast<std::size_t>(end) - at);
        SpeechSource source = SpeechSourceOf(rest, kPassSourceBytes + 2);
        const bool textEnds = source.spans.back().end == rest.size();
        const std::size_t cut = PassCutLength(source.bytes, textEnds);
        source.bytes.resize(cut);
        source.spans.resize(cut);
        state->speaking = 0;
        StartSpeech(*state, reinterpret_cast<const unsigned char*>(source.bytes.data()), cut,
                    setup);
        RunPass(*state, [&](const TickResult& tick) {
            if (tick.unitLength > 0) {
                const auto span = source.TextSpan(tick.source.begin, tick.source.end);
                units.append({QString::fromLatin1(tick.sample.data(),
                                                  static_cast<qsizetype>(tick.sample.size())),
                              static_cast<int>(at + span.begin), static_cast<int>(at + span.end)});
            }
        });
        at += source.TextSpan(0, PassAdvance(cut, static_cast<std::size_t>(state->sourceEnd))).end;
    }
    return units;
}

// The range a view shows as the unit being heard, or {-1, -1} when it shows none.
std::pair<int, int> HighlightedUnit(const TextView* view) {
    for (const QTextEdit::ExtraSelection& s : view->extraSelections()) {
        if (s.format.property(QTextFormat::UserProperty).toString() == QLatin1String("unit")) {
            return {s.cursor.selectionStart(), s.cursor.selectionEnd()};
        }
    }
    return {-1, -1};
}

// Records, on every tick that highlights a unit, the sample played and the range the given
// view shows at that moment.
class HighlightRecorder {
public:
    HighlightRecorder(SpeechController& speech, const TextView* view) {
        // A highlight is shown when its sample starts to sound, up to the output latency after
        // its tick; by then later ticks may have run. So each highlight is paired with the
        // earliest tick not yet shown that read the same range, never with the latest tick.
        m_connections << QObject::connect(&speech, &SpeechController::unitTicked,
                                          [this](const QString& sample, int begin, int end) {
                                              m_ticks.push_back({sample, begin, end});
                                          });
        // Connected after the views: they have applied the highlight when this runs.
        m_connections << QObject::connect(
            &speech, &SpeechController::highlightChanged,
            [this, view](const QObject*, int unitBegin, int, int, int) {
                if (unitBegin < 0) {
                    return;
                }
                const auto [b, e] = HighlightedUnit(view);
                QString sample = QStringLiteral("?"); // no tick read this range
                while (!m_ticks.empty()) {
                    const Heard tick = m_ticks.front();
                    m_ticks.pop_front();
                    if (tick.begin == b && tick.end == e) {
                        sample = tick.sample;
                        break;
                    }
                }
                units.append({sample, b, e});
            });
    }
    ~HighlightRecorder() {
        for (const auto& c : m_connections) {
            QObject::disconnect(c);
        }
    }
    QList<Heard> units;

private:
    std::deque<Heard> m_ticks;
    QList<QMetaObject::Connection> m_connections;
};

// A text of short sentences separated by runs of empty lines (line ends cost no tick), so that
// a reading crosses several passes in a few dozen ticks.
QString LongText(const char* sentenceUtf8, int sentences, int emptyLines) {
    QString text;
    for (int i = 0; i < sentences; ++i) {
        text += QString::fromUtf8(sentenceUtf8) + QString(emptyLines, QLatin1Char('\n'));
    }
    return text;
}

bool Idle(const EditorRun& run) {
    return !run.speech().IsTimerRunning() && !run.speech().IsPaused();
}

} // namespace

class FollowTest : public GuiTestCase {
    Q_OBJECT

public:
    FollowTest() { StartRunsAtSpeed(10); }

private slots:
    void commandsHaveTheirMenuEntriesShortcutsAndButtons() {
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        // Typed out here, not taken from the program's tables.
        struct Expected {
            const char* menu;
            const char* text;
            const char* keys; // shortcuts, blank separated
            const char* toolTip;
            bool checkable;
        };
        const Expected expected[] = {
            {"よみあげ(&T)", "ｶｰｿﾙ位置から読む(&R)", "Ctrl+F3", "ｶｰｿﾙ位置から読む (Ctrl+F3)",
             false},
            {"よみあげ(&T)", "一時停止(&P)", "Ctrl+F4 Pause", "一時停止 (Pause)", true},
            {"表示(&V)", "読みﾊﾟﾈﾙ(&Y)", "", nullptr, true},
            {"よみあげ(&T)", "しゃべる(&S)", "F3", "よみあげｽﾀｰﾄ (F3)", false},
            {"よみあげ(&T)", "やめる(&E)", "F4", "よみあげｽﾄｯﾌﾟ(F4)", false},
        };
        for (const Expected& e : expected) {
            QAction* item = MenuAction(run.frame(), e.menu, e.text);
            QVERIFY2(item != nullptr, e.text);
            QCOMPARE(item->isCheckable(), e.checkable);
            for (const QString& keys :
                 QString::fromLatin1(e.keys).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const QKeySequence sequence(keys);
                bool found = false;
                for (const QAction* a : run.frame().actions()) {
                    found = found || a->shortcuts().contains(sequence);
                }
                QVERIFY2(found, qPrintable(keys));
            }
            if (e.toolTip != nullptr) {
                bool onToolBar = false;
                for (const QAction* a : run.frame().ToolBar()->actions()) {
                    onToolBar = onToolBar || (a->toolTip() == QString::fromUtf8(e.toolTip) &&
                                              !a->icon().isNull());
                }
                QVERIFY2(onToolBar, e.toolTip);
            }
        }

        // The keys act: Ctrl+F3 reads from the caret, Pause and Ctrl+F4 toggle the pause, F4
        // ends a paused reading.
        TextView* view = run.view();
        view->setPlainText(QString::fromUtf8("あいうえお かきくけこ さしすせそ"));
        QTextCursor caret = view->textCursor();
        caret.setPosition(6);
        view->setTextCursor(caret);
        run.choices().speed = 200;
        HighlightRecorder heard(run.speech(), view);
        QTest::keyClick(view, Qt::Key_F3, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!heard.units.isEmpty(), 3000);
        QCOMPARE(heard.units.first().begin, 6); // か
        QTest::keyClick(view, Qt::Key_Pause);
        QVERIFY(run.speech().IsPaused());
        QVERIFY(MenuAction(run.frame(), "よみあげ(&T)", "一時停止(&P)")->isChecked());
        QTest::keyClick(view, Qt::Key_F4, Qt::ControlModifier);
        QVERIFY(!run.speech().IsPaused());
        QVERIFY(run.speech().IsTimerRunning());
        QTest::keyClick(view, Qt::Key_Pause);
        QVERIFY(run.speech().IsPaused());
        QTest::keyClick(view, Qt::Key_F4);
        QVERIFY(Idle(run));
        QCOMPARE(HighlightedUnit(view), std::make_pair(-1, -1));
        QCOMPARE(run.speech().SampleTickState().speaking, 0);
    }

    void highlightFollowsEveryUnitAcrossPassesInBothModes_data() {
        QTest::addColumn<int>("readings");
        QTest::newRow("dictionary") << kReadingsDictionary;
        QTest::newRow("automatic") << kReadingsAutomatic;
    }

    void highlightFollowsEveryUnitAcrossPassesInBothModes() {
        QFETCH(int, readings);
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        run.choices().readings = readings;
        TextView* view = run.view();
        // About 13,000 bytes; the caret after the first sentence.
        const QString text = LongText("東京は晴れ、ｱｲｳ 12。", 6, 1100);
        view->setPlainText(text);
        const int start = 1100 + static_cast<int>(QString::fromUtf8("東京は晴れ、ｱｲｳ 12。").size());
        QTextCursor caret = view->textCursor();
        caret.setPosition(start);
        view->setTextCursor(caret);
        const QList<Heard> expected = CoreUnits(run.choices(), run.reading(), text, start,
                                                static_cast<int>(text.size()), VoiceSlot::Female);
        QVERIFY(expected.size() > 20);
        // Heard past two pass cuts.
        QVERIFY(
            SpeechBytes(text.mid(start, expected.last().begin - start).toStdU16String()).size() >
            2 * kPassSourceBytes);

        HighlightRecorder heard(run.speech(), view);
        run.frame().Dispatch(CommandId::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 20000);
        // The end of the text takes the highlight away, when the last tick's sample sounds: the
        // timer has stopped by then, but the clearing (and so the highlights before it, which
        // are shown in order) waits for the output's latency.
        QTRY_COMPARE_WITH_TIMEOUT(HighlightedUnit(view), std::make_pair(-1, -1), 5000);
        QCOMPARE(Describe(heard.units), Describe(expected));
    }

    // Without wrapping a line runs on past the right edge: the view follows the unit heard down
    // and sideways, back to the left at the next line, and the unit is always in sight.
    void theUnitHeardStaysInSightWithoutWrapping() {
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        run.choices().readings = kReadingsDictionary;
        TextView* view = run.view();
        QVERIFY(!view->IsWordWrap());
        QString text = QString::fromUtf8("あいう\n");
        for (int i = 0; i < 40; ++i) {
            text += QString::fromUtf8("かきくけこ");
        }
        for (int i = 0; i < 30; ++i) {
            text += QString::fromUtf8("\nさしす");
        }
        view->setPlainText(text);
        QVERIFY(view->fontMetrics().horizontalAdvance(text.section(QLatin1Char('\n'), 1, 1)) >
                2 * view->viewport()->width());
        QStringList outOfSight;
        int furthestRight = 0;
        const auto check = [&](const QObject*, int unitBegin, int, int, int) {
            if (unitBegin < 0) {
                return;
            }
            QTextCursor at(view->document());
            at.setPosition(unitBegin);
            const QRect rect = view->cursorRect(at);
            furthestRight = std::max(furthestRight, view->horizontalScrollBar()->value());
            if (!view->viewport()->rect().contains(rect)) {
                outOfSight << QStringLiteral("%1 at (%2, %3)")
                                  .arg(unitBegin)
                                  .arg(rect.left())
                                  .arg(rect.top());
            }
        };
        const QMetaObject::Connection watch =
            QObject::connect(&run.speech(), &SpeechController::highlightChanged, check);
        run.frame().Dispatch(CommandId::Speak);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(HighlightedUnit(view), std::make_pair(-1, -1), 5000);
        QObject::disconnect(watch);
        QVERIFY2(outOfSight.isEmpty(), qPrintable(outOfSight.mid(0, 10).join(QLatin1String(", "))));
        QVERIFY(furthestRight > view->viewport()->width()); // it went far to the right
        QCOMPARE(view->horizontalScrollBar()->value(), 0);  // and back, for the short lines
        QVERIFY(view->verticalScrollBar()->value() > 0);
    }

    void aSelectionIsReadAloneAndRepeatStartsWhereTheReadingStarted() {
        EditorRun run(sound(), {}, start());
        TextView* view = run.view();
        const QString text = QString::fromUtf8("あいう。かきく。さしす。");
        view->setPlainText(text);
        QTextCursor selection = view->textCursor();
        selection.setPosition(4);
        selection.setPosition(8, QTextCursor::KeepAnchor);
        view->setTextCursor(selection);
        const QList<Heard> once =
            CoreUnits(run.choices(), run.reading(), text, 4, 8, VoiceSlot::Female);

        HighlightRecorder heard(run.speech(), view);
        run.frame().Dispatch(CommandId::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 5000);
        QCOMPARE(Describe(heard.units), Describe(once));

        run.choices().repeat = true;
        heard.units.clear();
        run.frame().Dispatch(CommandId::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(heard.units.size() >= 2 * once.size() + 1, 5000);
        run.frame().Dispatch(CommandId::Stop);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 5000);
        for (qsizetype i = 0; i < 2 * once.size(); ++i) {
            QCOMPARE(heard.units.at(i), once.at(i % once.size()));
        }
        // The stop ended the reading and took the highlight away (when the last tick sounds).
        QTRY_COMPARE_WITH_TIMEOUT(HighlightedUnit(view), std::make_pair(-1, -1), 5000);
    }

    void pauseHoldsTheUnitAndResumeGoesOnWithTheNext() {
        EditorRun run(sound(), {}, start());
        TextView* view = run.view();
        const QString text = LongText("かきくけこさしすせそ。", 3, 1500);
        view->setPlainText(text);
        const QList<Heard> expected = CoreUnits(run.choices(), run.reading(), text, 0,
                                                static_cast<int>(text.size()), VoiceSlot::Female);
        run.choices().speed = 40;
        HighlightRecorder heard(run.speech(), view);
        QAction* pause = MenuAction(run.frame(), "よみあげ(&T)", "一時停止(&P)");
        QVERIFY(pause != nullptr);
        run.frame().Dispatch(CommandId::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(heard.units.size() >= 4, 3000);
        pause->trigger();
        const qsizetype held = heard.units.size();
        QVERIFY(!run.speech().IsTimerRunning());
        QTest::qWait(200); // five periods
        QCOMPARE(heard.units.size(), held);
        QCOMPARE(HighlightedUnit(view),
                 std::make_pair(heard.units.last().begin, heard.units.last().end));
        // Resumed: the next unit, and on to the end across both pass boundaries.
        pause->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 10000);
        QCOMPARE(Describe(heard.units), Describe(expected));
    }

    void editingWhilePausedEndsTheReading() {
        EditorRun run(sound(), {}, start());
        TextView* view = run.view();
        view->setPlainText(QString::fromUtf8("あいうえおかきくけこ"));
        HighlightRecorder heard(run.speech(), view);
        run.choices().speed = 40;
        run.frame().Dispatch(CommandId::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(heard.units.size() >= 2, 3000);
        run.frame().Dispatch(CommandId::Pause);
        QVERIFY(run.speech().IsPaused());
        QTest::keyClick(view, Qt::Key_X);
        QVERIFY(Idle(run));
        QCOMPARE(run.speech().SampleTickState().speaking, 0);
        QCOMPARE(HighlightedUnit(view), std::make_pair(-1, -1));
        // Nothing plays afterwards, and speaking is possible again.
        const qsizetype count = heard.units.size();
        QTest::qWait(120);
        QCOMPARE(heard.units.size(), count);
        QVERIFY(run.speech().IsSpeakEnabled());
    }

    void f5SwitchesTheVoiceFromTheNextUnit() {
        EditorRun run(sound(), {}, start());
        TextView* view = run.view();
        const QString text = LongText("あいうえおかきくけこ。", 2, 2500);
        view->setPlainText(text);
        const QList<Heard> female = CoreUnits(run.choices(), run.reading(), text, 0,
                                              static_cast<int>(text.size()), VoiceSlot::Female);
        const QList<Heard> male = CoreUnits(run.choices(), run.reading(), text, 0,
                                            static_cast<int>(text.size()), VoiceSlot::Male);
        run.choices().speed = 40;
        HighlightRecorder heard(run.speech(), view);
        run.frame().Dispatch(CommandId::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(heard.units.size() >= 3, 3000);
        QTest::keyClick(view, Qt::Key_F5);
        const qsizetype switched = heard.units.size();
        QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 10000);
        QCOMPARE(heard.units.size(), female.size());
        for (qsizetype i = 0; i < heard.units.size(); ++i) {
            QCOMPARE(heard.units.at(i), (i < switched ? female : male).at(i));
        }
        QVERIFY(female.at(switched).sample != male.at(switched).sample);
    }

    void everyWindowOfTheDocumentShowsTheHighlight() {
        EditorRun run(sound(), {}, start());
        TextView* first = run.view();
        first->setPlainText(QString::fromUtf8("あいうえおかきくけこ"));
        run.frame().Dispatch(CommandId::WindowNew);
        TextView* second = run.view();
        QVERIFY(second != first);
        QCOMPARE(second->GetDocument(), first->GetDocument());
        run.choices().speed = 40;
        HighlightRecorder heard(run.speech(), first);
        HighlightRecorder seen(run.speech(), second);
        run.frame().Dispatch(CommandId::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(heard.units.size() >= 3, 3000);
        run.frame().Dispatch(CommandId::Stop);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 3000);
        QCOMPARE(Describe(seen.units), Describe(heard.units));
        QCOMPARE(HighlightedUnit(first), std::make_pair(-1, -1));
    }

    void aUnitReachesOnlyTheDocumentThatOwnsTheReading() {
        EditorRun run(sound(), {}, start());
        TextView* other = run.view();
        other->setPlainText(QString::fromUtf8("さしすせそ"));
        run.frame().Dispatch(CommandId::FileNew);
        TextView* speaking = run.view();
        QVERIFY(speaking->GetDocument() != other->GetDocument());
        speaking->setPlainText(QString::fromUtf8("あいうえおかきくけこ"));
        run.choices().speed = 40;
        // What each document is handed, and what the views of the other one show meanwhile.
        QList<int> ours;
        QList<int> theirs;
        QList<std::pair<int, int>> otherShows;
        QObject guard;
        connect(speaking->GetDocument(), &Document::speechUnitHeard, &guard,
                [&](const SpeechHighlight& unit) {
                    ours << unit.unitBegin;
                    otherShows << HighlightedUnit(other);
                });
        connect(other->GetDocument(), &Document::speechUnitHeard, &guard,
                [&](const SpeechHighlight& unit) { theirs << unit.unitBegin; });
        // Each unit as it was placed, to be handed to the owner's document when heard.
        QList<int> placed;
        connect(&run.speech(), &SpeechController::unitTicked, &guard,
                [&](const QString&, int begin, int end) {
                    if (begin < end) {
                        placed << begin;
                    }
                });
        run.frame().Dispatch(CommandId::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(ours.size() >= 3, 3000);
        QCOMPARE(ours.mid(0, 3), placed.mid(0, 3));
        QCOMPARE(HighlightedUnit(speaking).first, ours.last());
        run.frame().Dispatch(CommandId::Stop);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 3000);
        QTRY_COMPARE(ours.last(), -1); // the reading's end reaches its document too
        QVERIFY(theirs.isEmpty());
        QVERIFY(std::all_of(otherShows.begin(), otherShows.end(),
                            [](const std::pair<int, int>& r) { return r.first < 0; }));
        QCOMPARE(other->GetDocument()->SpeechHighlight().unitBegin, -1);
    }

    void aWindowOpenedOrClosedWhileSpeakingKeepsTheHighlightRight() {
        EditorRun run(sound(), {}, start());
        TextView* first = run.view();
        first->setPlainText(QString::fromUtf8("あいうえおかきくけこさしすせそ"));
        run.choices().speed = 40;
        run.frame().Dispatch(CommandId::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(HighlightedUnit(first).first >= 0, 3000);
        // A window opened now shows the unit being heard at once, not from the next tick on.
        run.frame().Dispatch(CommandId::WindowNew);
        TextView* second = run.view();
        QVERIFY(second != first);
        const Document::Highlight& kept = first->GetDocument()->SpeechHighlight();
        QVERIFY(kept.unitBegin >= 0);
        QCOMPARE(HighlightedUnit(second), std::make_pair(kept.unitBegin, kept.unitEnd));
        QCOMPARE(HighlightedUnit(first), HighlightedUnit(second));
        run.frame().Dispatch(CommandId::Stop);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 3000);
        QCOMPARE(HighlightedUnit(second), std::make_pair(-1, -1));

        // The window that speaks closes: its speech ends, and with it the highlight in the
        // window that stays.
        run.frame().Dispatch(CommandId::ReadFromCaret);
        QTRY_VERIFY_WITH_TIMEOUT(HighlightedUnit(first).first >= 0, 3000);
        DocumentWindow* speaking = run.frame().DocumentWindows().back();
        QCOMPARE(speaking->View(), second);
        QVERIFY(speaking->close());
        QTRY_COMPARE(run.frame().DocumentWindows().size(), 1u);
        QTRY_VERIFY_WITH_TIMEOUT(Idle(run), 3000);
        QTest::qWait(300); // a few ticks' time: nothing may show up again
        QCOMPARE(HighlightedUnit(first), std::make_pair(-1, -1));
    }
};

QTEST_MAIN(FollowTest)
#include "follow_test.moc"
