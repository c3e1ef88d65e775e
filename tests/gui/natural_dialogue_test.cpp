// The lines in 「」 and 『』 said by the other slot's samples while the natural voice narrates, in
// the editor offscreen with the real engine, its sound played into a private sound server's null
// sink (tests/e2e/gui_pulse.sh): F3 says the narration in morae and the lines in samples, and
// 速さに合わせて声を縮める shortens the lines' samples to a fast tick as it does the sample
// voice's own reading, so that the line's last sample ends sooner.
#include "app/main_window.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "sound/speech_player.h"
#include "speaking/app_settings.h"
#include "speaking/speech_controller.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <optional>
#include <vector>

using namespace yomi6;
using namespace yomi6::test;
using Clock = std::chrono::steady_clock;

namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// One highlight as the reading showed it: the character its unit starts at (-1: the highlight
// went, nothing more is heard) and when its sound starts, as the speech scheduled it.
struct Shown {
    int begin;
    Clock::time_point onset;
};

// What one F3 said, and when the last sample of the line ended.
struct Saying {
    QStringList units; // "SAYS BEGIN", each unit with its first character
    // From the onset of the line's last sample (the text ends with the line) to the end of all
    // sound.
    std::optional<std::chrono::milliseconds> tail;
};

// Says text, which ends with a line whose last word starts at character lastWord, with F3 to
// its end. (A sample's unit starts where its word does.)
Saying Say(EditorRun& run, const QString& text, int lastWord) {
    run.view()->setPlainText(text);
    std::vector<Shown> shown;
    QObject context;
    QObject::connect(&run.speech(), &SpeechController::highlightChanged, &context,
                     [&](const QObject*, int begin, int, int, int) {
                         shown.push_back({begin, run.speech().ShownOnset()});
                     });
    QSignalSpy units(&run.speech(), &SpeechController::unitTicked);
    // The message a missing natural voice brings answered, so that it fails the test at once.
    const auto missing = AnswerNextMessageBox(QMessageBox::Ok);
    QTest::keyClick(run.view(), Qt::Key_F3);
    Saying said;
    if (missing->handled()) {
        said.units << missing->text();
        return said;
    }
    const bool ended = QTest::qWaitFor(
        [&] { return run.speech().IsSpeakEnabled() && !shown.empty() && shown.back().begin < 0; },
        60000);
    for (const QList<QVariant>& u : units) {
        if (!u[0].toString().isEmpty()) {
            said.units << QStringLiteral("%1 %2").arg(u[0].toString()).arg(u[1].toInt());
        }
    }
    if (!ended) {
        said.units << QStringLiteral("(still speaking)");
        return said;
    }
    std::optional<Clock::time_point> last;
    for (const Shown& s : shown) {
        if (s.begin == lastWord) {
            last = s.onset;
        }
    }
    if (last) {
        said.tail =
            std::chrono::duration_cast<std::chrono::milliseconds>(shown.back().onset - *last);
    }
    return said;
}

} // namespace

class NaturalDialogueTest : public GuiTestCase {
    Q_OBJECT

public:
    // 20 ms a tick: far shorter than any sample, which fitting shortens as far as it may.
    NaturalDialogueTest() { StartRunsAtSpeed(20); }

private:
    // The female slot narrates with the natural voice; the lines go to the male slot's samples.
    void InitTest() override {
        config().WriteIni("[Voices]\nFemaleSlot=natural:neutral\nMaleSlot=male\nDialogueVoice=1\n");
    }

private slots:
    void theLinesSamplesAreFittedToTheTickWhenTheSettingSaysSo() {
        EditorRun run(sound(), {}, start());
        QVERIFY(run.ok());
        run.choices().voice = VoiceSlot::Female;
        run.view()->setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(run.speech().Player().IsReady(), 10000);
        // ね0 こ1 は2 「3 ね4 こ5 」6: the narration, then a line whose last sample is こ.
        const QString text = U("ねこは「ねこ」");
        const int line = 3;
        const int lastWord = 4;
        QVERIFY(!app_settings::FitSamples(run.settings()));
        const Saying asRecorded = Say(run, text, lastWord);
        const QString said = asRecorded.units.join(QLatin1Char(','));

        // Both voices were heard, each in its part: the joined reading of the two.
        int lineSamples = 0;
        int narration = 0;
        for (const QString& unit : asRecorded.units) {
            const int begin = unit.section(QLatin1Char(' '), 1).toInt();
            const bool sample = unit.startsWith(QStringLiteral("IDW_"));
            QVERIFY2(sample == (begin >= line), qPrintable(said));
            (sample ? lineSamples : narration) += 1;
        }
        QVERIFY2(lineSamples == 2 && narration >= 3, qPrintable(said));

        // The menu's 速さに合わせて声を縮める, as the user turns it on.
        QAction* fit = FirstAction(run.frame(), CommandId::FitSamples);
        QVERIFY(fit != nullptr && fit->isEnabled());
        fit->trigger();
        QVERIFY(app_settings::FitSamples(run.settings()));
        const Saying fitted = Say(run, text, lastWord);
        QCOMPARE(fitted.units, asRecorded.units);

        QVERIFY2(asRecorded.tail && fitted.tail, qPrintable(said));
        qInfo("the line's last sample sounds %lld ms as recorded, %lld ms fitted",
              static_cast<long long>(asRecorded.tail->count()),
              static_cast<long long>(fitted.tail->count()));
        // As recorded, the last sample (over 100 ms) sounds to its end after its tick; fitted,
        // it is scaled down to under half of that (the two ticks after it are shorter still).
        // Both are distances in the sound as the speech placed it, the line's blocks back to
        // back, so a loaded machine that plays late changes neither.
        QVERIFY2(asRecorded.tail->count() >= 100,
                 qPrintable(QStringLiteral("%1 ms").arg(asRecorded.tail->count())));
        QVERIFY2(fitted.tail->count() * 10 <= asRecorded.tail->count() * 6,
                 qPrintable(QStringLiteral("%1 ms fitted, %2 ms as recorded")
                                .arg(fitted.tail->count())
                                .arg(asRecorded.tail->count())));
    }
};

QTEST_MAIN(NaturalDialogueTest)
#include "natural_dialogue_test.moc"
