// The speech timer: the 10 ms floor, ticks on the user-interface thread, stop and restart, and
// the grid that tickTime() keeps when ticks are delivered late.
#include "platform/speech_timer.h"

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
    // period apart.
    SpeechTimer timer;
    std::vector<SpeechTimer::Clock::time_point> due;
    connect(&timer, &SpeechTimer::tick, this, [&] {
        due.push_back(timer.tickTime());
        if (due.size() % 2 == 1) {
            QThread::msleep(100);
        }
    });
    timer.start(300);
    QTRY_VERIFY_WITH_TIMEOUT(due.size() >= 5, 10000);
    timer.stop();
    for (std::size_t k = 1; k < due.size(); ++k) {
        QCOMPARE(due[k] - due[k - 1], SpeechTimer::Clock::duration(300ms));
    }
    // And the moments are when the ticks were due: none of them lies in the future.
    QVERIFY(due.back() <= SpeechTimer::Clock::now());
}

void SpeechTimerTest::StartsANewGridAfterTicksWereLost() {
    // The first tick blocks for several periods: ticks are lost, and the next due moment is
    // the late delivery itself, not a moment on the old grid long past.
    SpeechTimer timer;
    std::vector<SpeechTimer::Clock::time_point> due;
    std::vector<SpeechTimer::Clock::time_point> delivered;
    connect(&timer, &SpeechTimer::tick, this, [&] {
        due.push_back(timer.tickTime());
        delivered.push_back(SpeechTimer::Clock::now());
        if (due.size() == 1) {
            QThread::msleep(250);
        }
    });
    timer.start(50);
    QTRY_VERIFY_WITH_TIMEOUT(due.size() >= 2, 10000);
    timer.stop();
    QVERIFY(due[1] - due[0] >= 250ms);
    QVERIFY(delivered[1] - due[1] < 50ms);
}

} // namespace yomi6

QTEST_GUILESS_MAIN(yomi6::SpeechTimerTest)
#include "speech_timer_test.moc"
