// The sleep timer: its rule on a clock the test drives (the time runs out, the sentence being
// heard is finished, the end of a chapter, the sentence that fades), and its menu entries
// through the real actions, one of them checked at most, with a real reading stopped at the end
// of its chapter; through a real sound server (tests/e2e/gui_pulse.sh), its last sentence heard
// fading.
#include "app/main_window.h"
#include "commands/command_ids.h"
#include "editor/sleep_timer.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "sound/speech_player.h"
#include "speaking/speech_controller.h"

#include <QAction>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

using namespace yomi6;
using namespace yomi6::test;
using namespace std::chrono_literals;

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Tells timer of each character of text from begin on as a unit of its own, heard at clock
// (which moves on by step each unit); returns where it said to stop, or npos.
std::size_t Listen(SleepTimer& timer, std::u16string_view text, std::size_t begin,
                   SleepTimer::Clock::time_point& clock, SleepTimer::Clock::duration step) {
    for (std::size_t i = begin; i < text.size(); ++i) {
        clock += step;
        if (timer.Heard(timer.NeedsText(clock) ? text : std::u16string_view(), i, i + 1, clock)) {
            return i;
        }
    }
    return std::u16string_view::npos;
}

// The peak of each 50 ms block (signed 16-bit mono at 44100 Hz) of bytes whose peak is above
// quiet: the blocks where a sample sounds.
std::vector<int> LoudBlockPeaks(const QByteArray& bytes, int quiet) {
    constexpr qsizetype kBlock = 2205;
    std::vector<int> peaks;
    const qsizetype frames = bytes.size() / 2;
    for (qsizetype start = 0; start + kBlock <= frames; start += kBlock) {
        int peak = 0;
        for (qsizetype i = start; i < start + kBlock; ++i) {
            const auto lo = static_cast<unsigned char>(bytes[2 * i]);
            const auto hi = static_cast<unsigned char>(bytes[2 * i + 1]);
            const auto frame = static_cast<std::int16_t>(lo | (hi << 8));
            peak = std::max(peak, std::abs(static_cast<int>(frame)));
        }
        if (peak > quiet) {
            peaks.push_back(peak);
        }
    }
    return peaks;
}

int Median(std::vector<int> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

class SleepTimerTest : public GuiTestCase {
    Q_OBJECT

public:
    SleepTimerTest() {
        ChooseDictionaryReadingInEveryTest();
        StartRunsAtSpeed(100);
    }

private slots:
    void whenTheTimeRunsOutTheSentenceBeingHeardIsFinished() {
        const std::u16string text = u"あいうえお。かきくけこ！さしすせそ\nたちつてと。";
        const auto start = SleepTimer::Clock::time_point() + 1000h;
        const struct {
            SleepTimer::Mode mode;
            std::chrono::minutes after;
        } modes[] = {{SleepTimer::Mode::Minutes15, 15min},
                     {SleepTimer::Mode::Minutes30, 30min},
                     {SleepTimer::Mode::Minutes60, 60min}};
        for (const auto& m : modes) {
            SleepTimer timer;
            timer.Set(m.mode, start);
            QCOMPARE(timer.Deadline(), std::optional(start + m.after));
            // Every unit heard before the time is up goes on.
            auto clock = start;
            QCOMPARE(Listen(timer, text, 0, clock, (m.after - 1s) / static_cast<int>(text.size())),
                     std::u16string_view::npos);
            // Up during "き": the stop comes with the last word before the ！ that ends its
            // sentence.
            clock = start + m.after;
            QCOMPARE(Listen(timer, text, 7, clock, 1s), text.find(u'！') - 1);
            QCOMPARE(timer.Current(), SleepTimer::Mode::Off);
            QCOMPARE(Listen(timer, text, 0, clock, 1s), std::u16string_view::npos);
        }
        // A line without a sentence end ends at its line break; a unit that takes the end in
        // (a word read as one) stops as well.
        SleepTimer timer;
        timer.Set(SleepTimer::Mode::Minutes15, start);
        auto clock = start + 15min;
        QCOMPARE(Listen(timer, text, 13, clock, 1s), text.find(u'\n') - 1);
        timer.Set(SleepTimer::Mode::Minutes15, start);
        QVERIFY(!timer.Heard(text, 6, 9, clock));
        QVERIFY(timer.Heard(text, 9, 11, clock));
        // The 。 itself heard: nothing of the sentence is left to say.
        timer.Set(SleepTimer::Mode::Minutes15, start);
        QVERIFY(timer.Heard(text, 5, 6, clock));
        // Closing brackets are heard as nothing after the last word.
        const std::u16string quote = u"「はい」と言った。「いいえ。」";
        timer.Set(SleepTimer::Mode::Minutes15, start);
        QCOMPARE(Listen(timer, quote, 9, clock, 1s), quote.find(u'え'));
        // Off, nothing stops.
        timer.Set(SleepTimer::Mode::Off, start);
        QCOMPARE(Listen(timer, text, 0, clock, 1h), std::u16string_view::npos);
    }

    void theVolumeFallsOnlyInTheSentenceThatEndsTheReading() {
        const std::u16string text = u"第一章\nはじめ。つぎ。おわり。\n\n第二章\nべつ。\n";
        auto clock = SleepTimer::Clock::time_point() + 1h;
        SleepTimer timer;
        timer.Set(SleepTimer::Mode::ChapterEnd, clock);
        QVERIFY(!timer.InLastSentence(0)); // nothing heard yet: the place to stop is not known
        QVERIFY(!timer.Heard(text, 4, 5, clock));
        QVERIFY(!timer.InLastSentence(4));
        QVERIFY(!timer.InLastSentence(text.find(u"つぎ")));
        QVERIFY(timer.InLastSentence(text.find(u"おわり")));
        // The time running out in a sentence: that sentence fades from the unit heard on.
        timer.Set(SleepTimer::Mode::Minutes15, clock);
        const std::size_t next = text.find(u"つぎ");
        QVERIFY(!timer.Heard(text, next, next + 1, clock + 10min));
        QVERIFY(!timer.InLastSentence(next));
        QVERIFY(!timer.Heard(text, next, next + 1, clock + 15min));
        QVERIFY(timer.InLastSentence(next));
        QVERIFY(timer.InLastSentence(next + 1));
        timer.Set(SleepTimer::Mode::Off, clock);
        QVERIFY(!timer.InLastSentence(next));
    }

    void theLastSentenceIsHeardFadingOnARealSoundServer() {
        const QString recording = qEnvironmentVariable("YOMI6_TEST_RECORDING");
        if (recording.isEmpty()) {
            QSKIP("needs a sound server that records: run through tests/e2e/gui_pulse.sh");
        }
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        QTRY_VERIFY_WITH_TIMEOUT(run.speech().Player().HasOutput(), 10000);
        // The same kana open the chapter and end its last sentence, which lasts longer than the
        // fade: what is heard last is a quarter as loud as what was heard first.
        const QString kana = U("まみむめも");
        run.view()->setPlainText(U("第一章\n") + kana.repeated(3) + U("。") + kana.repeated(7) +
                                 U("。\n\n第二章\nたちつてと。\n"));
        run.frame().Action(CommandId::SleepChapter)->trigger();
        const std::int64_t fades = run.speech().Player().stats().fades;
        QFile file(recording);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const qint64 before = file.size() & ~qint64{1};
        run.frame().Dispatch(CommandId::Speak);
        QTRY_VERIFY_WITH_TIMEOUT(run.speech().IsTimerRunning(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning() && !run.speech().IsPaused(), 30000);
        QCOMPARE(run.speech().Player().stats().fades, fades + 1); // once, not once a unit
        QTest::qWait(600); // the recorder passes the last frames on
        QVERIFY(file.seek(before));
        // Each kana sounds over two blocks: ten blocks are the five kana once. The first block
        // may hold the start of the sound only.
        const std::vector<int> loud = LoudBlockPeaks(file.readAll(), 2000);
        QVERIFY2(loud.size() >= 40, qPrintable(QString::number(loud.size())));
        const int first = Median({loud.begin() + 1, loud.begin() + 11});
        const int last = Median({loud.end() - 10, loud.end()});
        qInfo("first %d, last %d", first, last);
        QVERIFY2(last * 2 < first,
                 qPrintable(QStringLiteral("first %1, last %2").arg(first).arg(last)));
    }

    void theChapterModeStopsAtTheEndOfTheChapterBeingRead() {
        const std::u16string text =
            u"一［＃「一」は中見出し］\nはじめ。\nおわり。\n\n二［＃「二」は中見出し］\nつぎ。\n";
        const std::size_t second = text.find(u"二［");
        const std::size_t lastWord = text.rfind(u'。', second) - 1;
        auto clock = SleepTimer::Clock::time_point() + 1h;
        SleepTimer timer;
        timer.Set(SleepTimer::Mode::ChapterEnd, clock);
        QCOMPARE(Listen(timer, text, 0, clock, 1s), lastWord);
        // A unit past the end (the end itself not told) stops too; the last chapter runs to the
        // end of the text.
        timer.Set(SleepTimer::Mode::ChapterEnd, clock);
        QVERIFY(!timer.Heard(text, 14, 15, clock));
        QVERIFY(timer.Heard(text, second, second + 1, clock));
        timer.Set(SleepTimer::Mode::ChapterEnd, clock);
        QCOMPARE(Listen(timer, text, second, clock, 1s), text.size() - 3);
    }

    void theMenuEntriesAreOneChoiceAndAChapterReadingStopsAtItsEnd() {
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        const struct {
            CommandId id;
            const char* text;
        } entries[] = {{CommandId::Sleep15, "15分後に止める"},
                       {CommandId::Sleep30, "30分後に止める"},
                       {CommandId::Sleep60, "60分後に止める"},
                       {CommandId::SleepChapter, "章の終わりで止める"}};
        QList<QAction*> items;
        for (const auto& e : entries) {
            QAction* item = MenuAction(run.frame(), U("よみあげ(&T)"), U(e.text));
            QVERIFY2(item != nullptr, e.text);
            QCOMPARE(item, run.frame().Action(e.id));
            QVERIFY(item->isCheckable());
            QVERIFY(item->isEnabled());
            QVERIFY(item->shortcuts().isEmpty());
            items << item;
        }
        const auto checked = [&items] {
            QString marks;
            for (const QAction* item : items) {
                marks += item->isChecked() ? QLatin1Char('v') : QLatin1Char('-');
            }
            return marks;
        };
        QCOMPARE(checked(), QStringLiteral("----"));
        items[1]->trigger();
        QCOMPARE(checked(), QStringLiteral("-v--"));
        items[0]->trigger();
        QCOMPARE(checked(), QStringLiteral("v---"));
        items[0]->trigger();
        QCOMPARE(checked(), QStringLiteral("----"));

        TextView* view = run.view();
        view->setPlainText(U("第一章\nあいう。かきく。\n\n第二章\nさしすせそ。たちつてと。\n"));
        const int second = static_cast<int>(view->toPlainText().indexOf(U("第二章")));
        items[3]->trigger();
        QList<int> heard;
        QObject guard;
        QObject::connect(&run.speech(), &SpeechController::highlightChanged, &guard,
                         [&heard](const QObject*, int unitBegin, int, int, int) {
                             if (unitBegin >= 0) {
                                 heard << unitBegin;
                             }
                         });
        run.frame().Dispatch(CommandId::Speak);
        QTRY_VERIFY_WITH_TIMEOUT(!run.speech().IsTimerRunning() && !run.speech().IsPaused(), 20000);
        QVERIFY(!heard.isEmpty());
        // The last unit heard is the chapter's last word.
        QCOMPARE(heard.last(), static_cast<int>(view->toPlainText().indexOf(U("く。"))));
        QVERIFY(second > heard.last());
        QCOMPARE(checked(), QStringLiteral("----"));
        QVERIFY(run.frame().StatusMessage().contains(U("ｽﾘｰﾌﾟﾀｲﾏｰ")));
    }
};

QTEST_MAIN(SleepTimerTest)
#include "sleep_timer_test.moc"
