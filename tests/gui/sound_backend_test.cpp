// The sound thread's owner: it starts the thread when sound is first needed and ends it at its
// own end, and a thread that a sound server holds in the backend is left to end on its own,
// after its owner has gone.
#include "playback/sample_mixer.h"
#include "sound/audio_output.h"
#include "sound/sound_backend.h"
#include "wave/sample_pcm.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <chrono>
#include <memory>

namespace yomi6 {

using namespace std::chrono_literals;

class SoundBackendTest : public QObject {
    Q_OBJECT
private slots:
    void EndsTheThreadItStarted_data();
    void EndsTheThreadItStarted();
    void LeavesAThreadHeldByAServerThatNeverAnswers();
};

void SoundBackendTest::EndsTheThreadItStarted_data() {
    QTest::addColumn<bool>("byFinish");
    QTest::newRow("Finish()") << true;
    QTest::newRow("the destructor") << false;
}

void SoundBackendTest::EndsTheThreadItStarted() {
    QFETCH(bool, byFinish);
    {
        // Never asked for its thread: there is nothing to end, and nothing is held.
        SoundBackend unused;
        QVERIFY(!unused.Finish());
    }
    auto backend = std::make_unique<SoundBackend>();
    const QPointer<QThread> thread = &backend->Thread();
    QCOMPARE(&backend->Thread(), thread.data()); // one thread, however often it is asked for
    QVERIFY(thread->isRunning());
    QVERIFY(thread != QThread::currentThread());
    if (!byFinish) {
        backend.reset();
        // The thread ended and its object went with the owner.
        QVERIFY(thread.isNull());
        return;
    }
    QVERIFY(!backend->Finish());
    QVERIFY(!backend->Finish()); // asked again: the same answer
    QVERIFY(thread.isNull());
    // Sound asked for after the end gets a thread of its own, which the owner's end ends too.
    const QPointer<QThread> again = &backend->Thread();
    QVERIFY(again->isRunning());
    backend.reset();
    QVERIFY(again.isNull());
}

void SoundBackendTest::LeavesAThreadHeldByAServerThatNeverAnswers() {
    // Stand-in for a hung sound server (a stopped server, a dead socket): it accepts the
    // connection and never sends a byte, where the backend looks for its server.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString socket = dir.filePath(QStringLiteral("native"));
    QLocalServer server;
    QVERIFY2(server.listen(socket), qPrintable(server.errorString()));
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));

    auto backend = std::make_unique<SoundBackend>();
    QThread* thread = &backend->Thread();
    auto* output =
        new AudioOutput(std::make_shared<SampleMixer>(kOutputSampleRate, 100ms), *backend);
    QMetaObject::invokeMethod(output, &AudioOutput::Open, Qt::QueuedConnection);
    // Connected: the output's opening waits inside the backend for the server's answer.
    QVERIFY(server.waitForNewConnection(30000));
    QLocalSocket* connection = server.nextPendingConnection();
    QVERIFY(connection != nullptr);

    QVERIFY(backend->Finish()); // held: not waited for
    QVERIFY(thread->isRunning());
    // A thread asked for since is finished, and the end still says that one was held.
    QVERIFY(&backend->Thread() != thread);
    QVERIFY(backend->Finish());
    output->deleteLater();
    backend.reset(); // the owner goes while the backend still holds its thread

    // The server goes away: the opening fails, counts itself out of the backend calls (which
    // outlived the owner with the thread), and the thread ends as it was asked to.
    connection->abort();
    server.close();
    QVERIFY(thread->wait(QDeadlineTimer(30s)));
}

} // namespace yomi6

QTEST_GUILESS_MAIN(yomi6::SoundBackendTest)
#include "sound_backend_test.moc"
