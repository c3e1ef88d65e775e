// The lines in 「」 and 『』 by a voice of their own in the editor, offscreen: 声の管理's
// せりふの声 kept in the settings file (absent: off, and a file without it keeps none), and F3
// saying the narration in the speaking slot's voice and the lines in the other slot's, through the
// real speech controller.
#include "app/main_window.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "speaking/audio_export.h"
#include "speaking/audio_export_dialog.h"
#include "speaking/natural_export.h"
#include "speaking/speech_controller.h"
#include "support/test_reading.h"
#include "voice/voice_selection.h"
#include "voice_manager/voice_dialog.h"
#include "voice_manager/voice_library.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace yomi6;
using namespace yomi6::test;

namespace {

// The units F3 says of text in run, each as "SAMPLE BEGIN-END", the tick past the end left out.
QStringList SpokenUnits(EditorRun& run, const QString& text) {
    run.view()->setPlainText(text);
    QSignalSpy units(&run.speech(), &SpeechController::unitTicked);
    QTest::keyClick(run.view(), Qt::Key_F3);
    QStringList got;
    if (!QTest::qWaitFor([&] { return run.speech().IsSpeakEnabled(); }, 10000)) {
        return {QStringLiteral("(still speaking)")};
    }
    for (const QList<QVariant>& u : units) {
        if (!u.at(0).toString().isEmpty()) {
            got << QStringLiteral("%1 %2-%3")
                       .arg(u.at(0).toString())
                       .arg(u.at(1).toInt())
                       .arg(u.at(2).toInt());
        }
    }
    return got;
}

// The character a unit of SpokenUnits starts at.
int BeginOf(const QString& unit) {
    return unit.section(QLatin1Char(' '), 1).section(QLatin1Char('-'), 0, 0).toInt();
}

} // namespace

class DialogueVoiceTest : public GuiTestCase {
    Q_OBJECT

public:
    DialogueVoiceTest() {
        StartRunsAtSpeed(20);
        ChooseDictionaryReadingInEveryTest();
    }

private slots:
    void theDialogsChoiceIsKeptAndAFileWithoutItKeepsNone() {
        VoiceSelection voices;
        VoiceLibrary library(voices);
        library.LoadFromSettings();
        QCOMPARE(library.Dialogue(), DialogueVoice::Off);
        const auto accept = [](VoiceDialog& d) {
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        };
        {
            VoiceDialog d(library);
            QCOMPARE(d.DialogueBox()->currentData().toInt(), int(DialogueVoice::Off));
            accept(d);
        }
        QVERIFY(config().IniBytes().find("DialogueVoice") == std::string::npos);
        {
            VoiceDialog d(library);
            QComboBox* box = d.DialogueBox();
            box->setCurrentIndex(box->findData(int(DialogueVoice::OtherSlot)));
            accept(d);
        }
        QCOMPARE(library.Dialogue(), DialogueVoice::OtherSlot);
        QCOMPARE(IniInt(config().IniPath(), "Voices", "DialogueVoice"), std::optional<int>(1));
        {
            // Cancel leaves it; the next run's dialog shows it as kept.
            VoiceLibrary next(voices);
            next.LoadFromSettings();
            VoiceDialog d(next);
            QCOMPARE(d.DialogueBox()->currentData().toInt(), int(DialogueVoice::OtherSlot));
            d.DialogueBox()->setCurrentIndex(d.DialogueBox()->findData(int(DialogueVoice::Sad)));
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
            QCOMPARE(next.Dialogue(), DialogueVoice::OtherSlot);
        }
        {
            // Off again: written, as the file has the key now.
            VoiceDialog d(library);
            d.DialogueBox()->setCurrentIndex(d.DialogueBox()->findData(int(DialogueVoice::Off)));
            accept(d);
        }
        QCOMPARE(IniInt(config().IniPath(), "Voices", "DialogueVoice"), std::optional<int>(0));
        // A value the program does not know reads as off.
        config().WriteIni("[Voices]\nDialogueVoice=9\n");
        library.LoadFromSettings();
        QCOMPARE(library.Dialogue(), DialogueVoice::Off);
    }

    void f3SaysTheLinesInTheOtherSlotsVoice() {
        const QString text = QString::fromUtf8("ねこは「はい『いえ』\nうん」といった。「あ");
        // ね0 こ1 は2 「3 … 」12 と13 … 。18 「19 あ20: two lines, the second left open.
        {
            // Off: the speaking slot's voice says it all, as it always did.
            EditorRun run(sound(), {}, start());
            const QStringList off = SpokenUnits(run, text);
            QVERIFY(off.size() >= 12);
            for (const QString& unit : off) {
                QVERIFY2(unit.startsWith(QStringLiteral("IDF_")), qPrintable(unit));
            }
        }
        config().WriteIni("[Voices]\nDialogueVoice=1\n");
        EditorRun run(sound(), {}, start());
        QCOMPARE(run.library().Dialogue(), DialogueVoice::OtherSlot);
        const QStringList units = SpokenUnits(run, text);
        const QString said = units.join(QLatin1Char(','));
        QVERIFY2(units.size() >= 12, qPrintable(said));
        // Every character in order, whichever voice says it; the lines in the male slot's.
        int at = 0;
        int lines = 0;
        for (const QString& unit : units) {
            const int begin = BeginOf(unit);
            QVERIFY2(begin >= at, qPrintable(said));
            at = begin;
            const bool line = (begin >= 3 && begin < 13) || begin >= 19;
            lines += line ? 1 : 0;
            QVERIFY2(unit.startsWith(line ? QStringLiteral("IDW_") : QStringLiteral("IDF_")),
                     qPrintable(said));
        }
        QVERIFY2(lines >= 6 && lines < units.size() - 4, qPrintable(said));

        // Read from inside the first line (as from the cursor there): its rest in the lines'
        // voice, up to its closing bracket.
        QSignalSpy rest(&run.speech(), &SpeechController::unitTicked);
        run.speech().ReadRange(run.view(), text, 5, 18);
        QVERIFY(QTest::qWaitFor([&] { return run.speech().IsSpeakEnabled(); }, 10000));
        int restLines = 0;
        for (const QList<QVariant>& u : rest) {
            const QString sample = u.at(0).toString();
            if (sample.isEmpty()) {
                continue;
            }
            const bool line = u.at(1).toInt() < 13;
            restLines += line ? 1 : 0;
            QVERIFY2(sample.startsWith(line ? QStringLiteral("IDW_") : QStringLiteral("IDF_")),
                     qPrintable(sample + QLatin1Char(' ') + u.at(1).toString()));
        }
        QVERIFY(restLines >= 3 && restLines < rest.size());
    }

    // 音声ﾌｧｲﾙに保存 with the same choice: the lines in the other slot's voice, the timings
    // telling each unit as it was said.
    void theExportSaysTheLinesAsF3Does() {
        config().WriteIni("[Voices]\nDialogueVoice=1\n");
        VoiceSelection voices;
        VoiceLibrary library(voices);
        library.LoadFromSettings();
        const SpeechPreferences choices;
        NaturalExportVoice natural = NaturalExportVoiceFor(library, choices);
        QVERIFY(natural.lines.has_value());
        QCOMPARE(natural.lines->slot, VoiceSlot::Male);
        QVERIFY(!natural.lines->options && !natural.options);

        QTemporaryDir out;
        const ExportTargets targets{out.filePath(QStringLiteral("d.wav")), QString(),
                                    out.filePath(QStringLiteral("d.json"))};
        test::TestReading reading;
        ExportOutcome outcome;
        // ね0 こ2 「4 は6 い8 」10 と12 。14 (bytes)
        const QString error =
            ExportAudioFiles(nullptr, choices, voices, natural, reading.Setup(),
                             QString::fromUtf8("ねこ「はい」と。"), targets, &outcome);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QFile json(targets.timings);
        QVERIFY(json.open(QIODevice::ReadOnly));
        const QString timings = QString::fromUtf8(json.readAll());
        const QRegularExpression entry(QStringLiteral(
            R"re("sample":"(ID[FW])_[A-Z]+","startMs":\d+,"source":\[(\d+),(\d+)\])re"));
        int lines = 0;
        int narration = 0;
        for (auto it = entry.globalMatch(timings); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const bool line = m.captured(2).toInt() >= 4 && m.captured(3).toInt() <= 12;
            QCOMPARE(m.captured(1), line ? QStringLiteral("IDW") : QStringLiteral("IDF"));
            (line ? lines : narration) += 1;
        }
        QVERIFY2(lines >= 2 && narration >= 3, qPrintable(timings));
    }
};

QTEST_MAIN(DialogueVoiceTest)
#include "dialogue_voice_test.moc"
