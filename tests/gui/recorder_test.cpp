// The recorder end to end, run by recorder_pulse.sh under a private sound server whose default
// input is the monitor of the null sink "test": the test plays a known tone into the sink with
// paplay while a take runs, and checks what the recorder kept: the tone alone, without the
// silence around it, at the built-in voices' loudness, saved at once; a silent take is not
// kept; a new session over the folder goes on where the last one stopped. The recorder opened
// from the voice dialog is closed after a take (its playback still sounding) in each way a user
// closes it, and the voice dialog and the program live on.
#include "gui/gui_test_support.h"
#include "voice/sample_edit.h"
#include "voice/voice_folder.h"
#include "voice_manager/recorder_dialog.h"
#include "voice_manager/voice_dialog.h"
#include "voice_manager/voice_library.h"
#include "wave/sample_pcm.h"
#include "wave/wave_decoder.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <cmath>
#include <vector>

using namespace yomi6;
using namespace yomi6::test;

namespace {

constexpr double kToneSeconds = 0.4;
constexpr double kToneHz = 440;

// 0.3 s of silence, a quiet tone, 0.3 s of silence.
QByteArray ToneFile() {
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(0.3 * kOutputSampleRate), 0);
    const auto n = static_cast<std::size_t>(kToneSeconds * kOutputSampleRate);
    for (std::size_t i = 0; i < n; ++i) {
        pcm.push_back(static_cast<std::int16_t>(std::lround(
            1500 * std::sin(2 * M_PI * kToneHz * static_cast<double>(i) / kOutputSampleRate))));
    }
    pcm.resize(pcm.size() + static_cast<std::size_t>(0.3 * kOutputSampleRate), 0);
    const auto bytes = EncodeWave16(pcm, kOutputSampleRate);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

int Crossings(std::span<const std::int16_t> pcm) {
    int n = 0;
    for (std::size_t i = 1; i < pcm.size(); ++i) {
        n += (pcm[i - 1] < 0) != (pcm[i] < 0) ? 1 : 0;
    }
    return n;
}

QString EventTypes(const QList<int>& types) {
    QStringList names;
    for (const int type : types) {
        names << QString::number(type);
    }
    return names.join(QLatin1Char(' '));
}

enum class CloseBy { WindowButton, Escape, OwnButton };

// Watches a recorder's teardown. Once its own destructor has run, the widget underneath is
// being torn down and sends its parts their last events itself; an event for anything else
// delivered then means that the event loop runs inside the teardown (a sound stream torn down
// with the widget does that), and then an event for the recorder, such as a focus change from
// the window system, reaches it half-destroyed: that is what crashed the editor.
class TeardownWatch : public QObject {
public:
    TeardownWatch() { qApp->installEventFilter(this); }
    ~TeardownWatch() override { qApp->removeEventFilter(this); }
    void Watch(RecorderDialog* recorder) { m_recorder = recorder; }
    // The types of the events delivered elsewhere during the teardown.
    const QList<int>& events() const { return m_events; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The pointer holds while the object lives as a QObject; once its own destructor has
        // run, it no longer is a RecorderDialog.
        QObject* recorder = m_recorder.data();
        if (recorder != nullptr && qobject_cast<RecorderDialog*>(recorder) == nullptr &&
            !IsPartOf(watched, recorder)) {
            m_events << static_cast<int>(event->type());
        }
        return false;
    }

private:
    static bool IsPartOf(QObject* object, QObject* whole) {
        for (; object != nullptr; object = object->parent()) {
            if (object == whole) {
                return true;
            }
        }
        return false;
    }

    QPointer<QObject> m_recorder;
    QList<int> m_events;
};

} // namespace

Q_DECLARE_METATYPE(CloseBy)

class RecorderTest : public GuiTestCase {
    Q_OBJECT

private:
    void InitClass() override {
        m_tone = cwd().filePath(QStringLiteral("tone.wav"));
        QVERIFY(WriteBytes(m_tone, ToneFile()));
        qputenv("XDG_DATA_HOME", cwd().filePath(QStringLiteral("data")).toLocal8Bit());
    }

private slots:
    void aTakeIsTrimmedLevelledSavedAndTheSessionResumes() {
        const QString folder = cwd().filePath(QStringLiteral("voices/my voice"));
        {
            RecorderDialog d(folder);
            QVERIFY(d.OpenSession());
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            QCOMPARE(d.CurrentUnit(), std::size_t{0});
            QCOMPARE(d.KanaLabel()->text(), QString::fromUtf8("ア"));

            QSignalSpy done(&d, &RecorderDialog::takeDone);
            QTest::keyClick(&d, Qt::Key_Space);
            QVERIFY2(d.IsRecording(), qPrintable(d.StatusLabel()->text()));
            QTRY_VERIFY_WITH_TIMEOUT(d.BytesReceived() > 0, 5000);
            QProcess play;
            play.start(QStringLiteral("paplay"),
                       {QStringLiteral("-d"), QStringLiteral("test"), m_tone});
            QVERIFY(play.waitForFinished(10000));
            QCOMPARE(play.exitCode(), 0);
            QTest::qWait(300);
            QTest::keyClick(&d, Qt::Key_Space);
            QCOMPARE(done.size(), 1);
            QVERIFY2(done.front().front().toBool(), qPrintable(d.StatusLabel()->text()));

            // Saved at once, before the session moves on.
            QFile file(QDir(folder).filePath(QStringLiteral("A.wav")));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const WaveDecodeResult r =
                DecodeWave({reinterpret_cast<const unsigned char*>(bytes.constData()),
                            static_cast<std::size_t>(bytes.size())});
            QVERIFY2(r, r.detail.c_str());
            QCOMPARE(r.wave.sampleRate, kOutputSampleRate);
            std::vector<std::int16_t> kept;
            for (const float v : r.wave.mono) {
                kept.push_back(static_cast<std::int16_t>(std::lround(v * 32768)));
            }
            const double seconds = static_cast<double>(kept.size()) / kOutputSampleRate;
            // The tone and a small margin, none of the 0.3 s of silence on either side.
            QVERIFY2(seconds > kToneSeconds - 0.02 && seconds < kToneSeconds + 0.08,
                     qPrintable(QString::number(seconds)));
            // The tone's periods, all of them and no others (the margins are near-silent).
            const int crossings = Crossings(kept);
            QVERIFY2(std::abs(crossings - 2 * kToneHz * kToneSeconds) < 12,
                     qPrintable(QString::number(crossings)));
            const double level = VoicedRms(kept, kOutputSampleRate);
            QVERIFY2(std::abs(level - BuiltInVoiceLevel()) < 0.1 * BuiltInVoiceLevel(),
                     qPrintable(QString::number(level)));

            QTest::keyClick(&d, Qt::Key_Return);
            QCOMPARE(d.CurrentUnit(), std::size_t{1});
            // A take in which nothing was said is not kept.
            QTest::keyClick(&d, Qt::Key_Space);
            QTRY_VERIFY_WITH_TIMEOUT(d.BytesReceived() > 0, 5000);
            QTest::qWait(500);
            QTest::keyClick(&d, Qt::Key_Space);
            QCOMPARE(done.size(), 2);
            QVERIFY(!done.back().front().toBool());
            QVERIFY(!QFile::exists(QDir(folder).filePath(QStringLiteral("I.wav"))));
        }
        // Closed after one unit: the next session starts at the second.
        RecorderDialog again(folder);
        QVERIFY(again.OpenSession());
        QCOMPARE(again.CurrentUnit(), std::size_t{1});
        QCOMPARE(again.KanaLabel()->text(), QString::fromUtf8("イ"));
        const auto voice = LoadVoiceFolder(folder.toStdString());
        QCOMPARE(voice->report.UsableCount(), std::size_t{2}); // A and the pause
        QVERIFY(!voice->report.HasUnusable());
    }

    void closingAfterATakeLeavesTheVoiceDialogWhole_data() {
        QTest::addColumn<CloseBy>("how");
        QTest::newRow("window close button") << CloseBy::WindowButton;
        QTest::newRow("Esc") << CloseBy::Escape;
        QTest::newRow("閉じる") << CloseBy::OwnButton;
    }

    void closingAfterATakeLeavesTheVoiceDialogWhole() {
        QFETCH(CloseBy, how);
        const QString folder = cwd().filePath(QStringLiteral("closed/") + QTest::currentDataTag());
        QVERIFY(QDir().mkpath(folder));
        VoiceSelection selection;
        VoiceLibrary library(selection);
        VoiceDialog voices(library);
        voices.show();
        QVERIFY(QTest::qWaitForWindowExposed(&voices));
        voices.activateWindow();
        voices.AddFolder(folder); // selected: the recorder goes on in it
        QString failure = QStringLiteral("the recorder did not open");
        TeardownWatch watch;
        auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
            auto* recorder = qobject_cast<RecorderDialog*>(w);
            if (recorder == nullptr) {
                failure = QStringLiteral("another modal window: ") + w->metaObject()->className();
                return;
            }
            watch.Watch(recorder);
            failure = RecordTone(*recorder);
            if (!failure.isEmpty()) {
                recorder->reject();
                return;
            }
            switch (how) {
            case CloseBy::WindowButton:
                // What the window manager's close button asks of the window.
                recorder->windowHandle()->close();
                break;
            case CloseBy::Escape:
                QTest::keyClick(recorder, Qt::Key_Escape);
                break;
            case CloseBy::OwnButton:
                recorder->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
                break;
            }
        });
        voices.RecordButton()->click();
        QVERIFY(handler->handled());
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        // Whatever the recorder left to the event loop runs now, with the voice dialog active.
        QTest::qWait(300);
        QVERIFY(voices.findChildren<RecorderDialog*>().isEmpty());
        QVERIFY2(watch.events().isEmpty(),
                 qPrintable(QStringLiteral("the event loop ran in the recorder's teardown: %1")
                                .arg(EventTypes(watch.events()))));
        QVERIFY(voices.isVisible());
        QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("A.wav"))));
        // The list shows the folder again, selected, and its report says what the take added.
        QListWidgetItem* item = voices.VoiceList()->currentItem();
        QVERIFY(item != nullptr && item->text().startsWith(QFileInfo(folder).fileName()));
    }

private:
    // One take of the tone in the recorder's current unit; empty, or what went wrong.
    QString RecordTone(RecorderDialog& d) {
        QSignalSpy done(&d, &RecorderDialog::takeDone);
        QTest::keyClick(&d, Qt::Key_Space);
        if (!d.IsRecording()) {
            return QStringLiteral("not recording: ") + d.StatusLabel()->text();
        }
        if (!QTest::qWaitFor([&] { return d.BytesReceived() > 0; }, 5000)) {
            return QStringLiteral("the input delivered nothing");
        }
        QProcess play;
        play.start(QStringLiteral("paplay"),
                   {QStringLiteral("-d"), QStringLiteral("test"), m_tone});
        if (!play.waitForFinished(10000) || play.exitCode() != 0) {
            return QStringLiteral("paplay failed");
        }
        QTest::qWait(300);
        QTest::keyClick(&d, Qt::Key_Space);
        if (done.size() != 1 || !done.front().front().toBool()) {
            return QStringLiteral("the take was not kept: ") + d.StatusLabel()->text();
        }
        return {};
    }

    QString m_tone;
};

QTEST_MAIN(RecorderTest)
#include "recorder_test.moc"
