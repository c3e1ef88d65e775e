// The speech timer: the 10 ms floor, ticks on the user-interface thread, stop and restart, and
// the grid that tickTime() keeps when ticks are delivered late.
#include "sound/speech_timer.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <chrono>
#include <vector>

namespace yomi6 {

using namespace std::chrono_literals;

class SpeechTimerTest : public QObject {
    Q_OBJECT
private slots:
    void RaisesShortPeriodsToTenMilliseconds_data();
    void RaisesShortPeriodsToTenMilliseconds();
    void TicksOnTheCallersThreadUntilStopped();
    void KeepsTheGridWhenATickIsDeliveredLate();
    void StartsANewGridAfterTicksWereLost();
};

void SpeechTimerTest::RaisesShortPeriodsToTenMilliseconds_data() {
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("interval");
    QTest::newRow("zero") << 0 << 10;
    QTest::newRow("negative") << -5 << 10;
    QTest::newRow("very negative") << -2147483647 << 10;
    QTest::newRow("below the floor") << 9 << 10;
    QTest::newRow("at the floor") << 10 << 10;
    QTest::newRow("default") << 180 << 180;
    QTest::newRow("slowest") << 1000 << 1000;
}

void SpeechTimerTest::RaisesShortPeriodsToTenMilliseconds() {
    QFETCH(int, speed);
    QFETCH(int, interval);
    SpeechTimer timer;
    timer.start(speed);
    QVERIFY(timer.isActive());
    QCOMPARE(timer.interval(), interval);
}

void SpeechTimerTest::TicksOnTheCallersThreadUntilStopped() {
    SpeechTimer timer;
    QVERIFY(!timer.isActive());
    std::vector<QThread*> threads;
    connect(&timer, &SpeechTimer::tick, this, [&] { threads.push_back(QThread::currentThread()); });
    QSignalSpy ticks(&timer, &SpeechTimer::tick);
    timer.start(0);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 3, 5000);
    for (QThread* thread : threads) {
        QCOMPARE(thread, QThread::currentThread());
    }
    timer.stop();
    QVERIFY(!timer.isActive());
    const auto count = ticks.count();
    QTest::qWait(50);
    QCOMPARE(ticks.count(), count);

    // A running timer started again takes the new period.
    timer.start(50);
    timer.start(20);
    QCOMPARE(timer.interval(), 20);
    QVERIFY(ticks.wait(5000));
}

void SpeechTimerTest::KeepsTheGridWhenATickIsDeliveredLate() {
    // Every other tick is held up for a third of the period; the due moments stay exactly one
    // period apart. A loaded machine may hold a tick up for a whole period more, and then the
    // timer rightly starts a new grid: so each step is checked against the moment the tick was
    // delivered, and enough steps must have kept the grid across a held-up tick.
    constexpr auto kPeriod = 300ms;
    SpeechTimer timer;
    std::vector<SpeechTimer::Clock::time_point> due;
    std::vector<SpeechTimer::Clock::time_point> delivered;
    int keptAfterHold = 0;
    connect(&timer, &SpeechTimer::tick, this, [&] {
        delivered.push_back(SpeechTimer::Clock::now());
        due.push_back(timer.tickTime());
        const std::size_t k = due.size() - 1;
        if (k > 0 && k % 2 == 0 && due[k] - due[k - 1] == kPeriod) {
            ++keptAfterHold; // the tick before this one was held up
        }
        if (k % 2 == 1) {
            QThread::msleep(100);
        }
    });
    timer.start(static_cast<int>(kPeriod.count()));
    QTRY_VERIFY_WITH_TIMEOUT(keptAfterHold >= 3, 30000);
    timer.stop();
    for (std::size_t k = 1; k < due.size(); ++k) {
        const auto onGrid = due[k - 1] + kPeriod;
        // Delivered less than a period after its place: on the grid, to the nanosecond.
        if (delivered[k] - onGrid < kPeriod) {
            QCOMPARE(due[k], onGrid);
        } else if (due[k] != onGrid) {
            // A new grid from the late delivery itself: never before it, never in the future.
            QVERIFY(due[k] - onGrid >= kPeriod);
            QVERIFY(due[k] <= delivered[k]);
        }
    }
    // And the moments are when the ticks were due: none of them lies in the future.
    QVERIFY(due.back() <= SpeechTimer::Clock::now());
}

void SpeechTimerTest::StartsANewGridAfterTicksWereLost() {
    // The first tick blocks for several periods: ticks are lost, and the next due moment is
    // the late delivery itself, not a moment on the old grid long past (which would lie before
    // the first tick let go). How late the delivery comes is the machine's business.
    SpeechTimer timer;
    std::vector<SpeechTimer::Clock::time_point> due;
    std::vector<SpeechTimer::Clock::time_point> delivered;
    SpeechTimer::Clock::time_point released;
    connect(&timer, &SpeechTimer::tick, this, [&] {
        due.push_back(timer.tickTime());
        delivered.push_back(SpeechTimer::Clock::now());
        if (due.size() == 1) {
            QThread::msleep(250);
            released = SpeechTimer::Clock::now();
        }
    });
    timer.start(50);
    QTRY_VERIFY_WITH_TIMEOUT(due.size() >= 2, 10000);
    timer.stop();
    QVERIFY(due[1] - due[0] >= 250ms);
    QVERIFY(due[1] >= released);
    QVERIFY(due[1] <= delivered[1]);
}

} // namespace yomi6

QTEST_GUILESS_MAIN(yomi6::SpeechTimerTest)
#include "speech_timer_test.moc"
