// The voice dialog through the real "声の管理(&V)..." action, offscreen: the voices it lists, the
// report of a folder loaded in the background, a slot given a voice folder and kept in the
// settings file, F5 between the slots, and the folder's sample being what the player gets.
#include "app/main_window.h"
#include "commands/command_ids.h"
#include "editor/text_view.h"
#include "gui/dialog_test_support.h"
#include "gui/gui_test_support.h"
#include "playback/speech_state.h"
#include "sound/sample_bank.h"
#include "speech_session/session_factory.h"
#include "voice/voice_selection.h"
#include "voice_manager/voice_dialog.h"
#include "voice_manager/voice_library.h"
#include "wave/sample_pcm.h"
#include "wave/wave_decoder.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <vector>

using namespace yomi6;
using namespace yomi6::test;

namespace {

std::vector<std::int16_t> Tone(double seconds, double freq) {
    std::vector<std::int16_t> pcm(static_cast<std::size_t>(seconds * kOutputSampleRate));
    for (std::size_t i = 0; i < pcm.size(); ++i) {
        pcm[i] = static_cast<std::int16_t>(std::lround(
            9000 * std::sin(2 * M_PI * freq * static_cast<double>(i) / kOutputSampleRate)));
    }
    return pcm;
}

bool WriteWave(const QString& path, const std::vector<std::int16_t>& pcm) {
    const auto bytes = EncodeWave16(pcm, kOutputSampleRate);
    return WriteBytes(path, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                       static_cast<qsizetype>(bytes.size())));
}

bool Same(std::span<const std::int16_t> a, const std::vector<std::int16_t>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

QString U8(const char* utf8) {
    return QString::fromUtf8(utf8);
}

int RowOf(QListWidget* list, const QString& start) {
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text().startsWith(start)) {
            return row;
        }
    }
    return -1;
}

} // namespace

class VoiceDialogTest : public GuiTestCase {
    Q_OBJECT

private:
    void InitClass() override {
        QVERIFY(m_data.isValid() && m_other.isValid());
        qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
        m_folder = m_data.path() + QStringLiteral("/yomi6/voices/mine");
        QVERIFY(QDir().mkpath(m_folder));
        m_ka = Tone(0.2, 500);
        QVERIFY(WriteWave(m_folder + QStringLiteral("/KA.wav"), m_ka));
        QVERIFY(WriteBytes(m_folder + QStringLiteral("/GA.wav"), "no sound here"));
    }

private slots:
    void theFemaleSlotSpeaksAVoiceFolderAndKeepsItAcrossRuns() {
        const SampleBank bank;
        const VoiceSelection builtIn;
        const std::vector<std::int16_t> builtInKi(bank.Find(builtIn, "IDF_KI").begin(),
                                                  bank.Find(builtIn, "IDF_KI").end());
        const std::vector<std::int16_t> builtInMaleKa(bank.Find(builtIn, "IDW_KA").begin(),
                                                      bank.Find(builtIn, "IDW_KA").end());
        QVERIFY(!builtInKi.empty() && !builtInMaleKa.empty());
        {
            EditorRun run(sound());
            QVERIFY(run.ok());
            const auto actions = run.frame().ActionsFor(CommandId::VoiceManager);
            QVERIFY(!actions.empty());
            QCOMPARE(actions.front()->text(), QString::fromUtf8("声の管理(&V)..."));

            QStringList listed;
            QString report;
            auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
                auto* d = qobject_cast<VoiceDialog*>(w);
                if (d == nullptr) {
                    return;
                }
                for (int row = 0; row < d->VoiceList()->count(); ++row) {
                    listed << d->VoiceList()->item(row)->text();
                }
                QSignalSpy shown(d, &VoiceDialog::reportShown);
                d->VoiceList()->setCurrentRow(RowOf(d->VoiceList(), QStringLiteral("mine")));
                if (shown.isEmpty() && !shown.wait(10000)) {
                    return;
                }
                report = d->Report()->toPlainText();
                QComboBox* female = d->SlotBox(false);
                female->setCurrentIndex(female->findData(m_folder));
                d->AddFolder(m_other.path());
                d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            });
            actions.front()->trigger();
            QVERIFY(handler->handled());
            QCOMPARE(listed.mid(0, 2), QStringList({QString::fromUtf8("男性（内蔵）"),
                                                    QString::fromUtf8("女性（内蔵）")}));
            // Then the natural voice in its two variants, the folders installed with the program
            // (here the source tree's) and the user's own folder.
            QCOMPARE(listed.mid(2, 2),
                     QStringList({QString::fromUtf8("tohoku-f01（自然な声）"),
                                  QString::fromUtf8("tohoku-f01 低め（同じ女声を低くしたもの）")}));
            QVERIFY2(listed.size() == 7 &&
                         listed[4].startsWith(QStringLiteral("tohoku-f01-kana  (")) &&
                         listed[5].startsWith(QStringLiteral("tohoku-f01-kana-low  (")) &&
                         listed[6].startsWith(QStringLiteral("mine  (")),
                     qPrintable(listed.join(QLatin1Char('\n'))));
            QVERIFY2(report.contains(QString::fromUtf8("使える音 1、ない音 139、使えない音 1")),
                     qPrintable(report));
            QVERIFY2(report.contains(
                         QString::fromUtf8("使えない音 GA.wav: WAVEファイルとして読めません")),
                     qPrintable(report));

            QTRY_VERIFY_WITH_TIMEOUT(!run.library().IsLoading(), 10000);
            // The player's lookup: the folder's KA, the built-in voice for what it lacks.
            QVERIFY(Same(bank.Find(run.voices(), "IDF_KA"), m_ka));
            QVERIFY(Same(bank.Find(run.voices(), "IDF_KI"), builtInKi));
            QVERIFY(Same(bank.Find(run.voices(), "IDW_KA"), builtInMaleKa));

            // F5 in the view switches to the male slot and back.
            run.choices().voice = VoiceSlot::Female;
            QTest::keyClick(run.view(), Qt::Key_F5);
            QCOMPARE(run.choices().voice, VoiceSlot::Male);
            QTest::keyClick(run.view(), Qt::Key_F5);
            QCOMPARE(run.choices().voice, VoiceSlot::Female);
            run.Finish();
        }
        const std::string ini = config().IniBytes();
        QVERIFY2(ini.find("FemaleSlot=" + m_folder.toStdString()) != std::string::npos,
                 ini.c_str());
        QVERIFY(ini.find("MaleSlot=male") != std::string::npos);
        QVERIFY(ini.find("Folder1=" + m_other.path().toStdString()) != std::string::npos);

        // A new run starts with the built-in voices, then reads the choice and loads the
        // folder again.
        QVERIFY(Same(bank.Find(builtIn, "IDF_KA"), {}) == false);
        EditorRun again(sound());
        QVERIFY(again.ok());
        QTRY_VERIFY_WITH_TIMEOUT(Same(bank.Find(again.voices(), "IDF_KA"), m_ka), 10000);
        QCOMPARE(again.library().AddedFolders(), QStringList{m_other.path()});

        // Cancel leaves the choice as it was; the built-in male voice for the female slot.
        auto cancel = std::make_unique<ModalHandler>([&](QWidget* w) {
            if (auto* d = qobject_cast<VoiceDialog*>(w)) {
                QComboBox* female = d->SlotBox(false);
                female->setCurrentIndex(female->findData(VoiceLibrary::kBuiltInMale));
                d->reject();
            }
        });
        again.frame().Dispatch(CommandId::VoiceManager);
        QVERIFY(Same(bank.Find(again.voices(), "IDF_KA"), m_ka));
        auto male = std::make_unique<ModalHandler>([&](QWidget* w) {
            if (auto* d = qobject_cast<VoiceDialog*>(w)) {
                QComboBox* female = d->SlotBox(false);
                female->setCurrentIndex(female->findData(VoiceLibrary::kBuiltInMale));
                d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            }
        });
        again.frame().Dispatch(CommandId::VoiceManager);
        QVERIFY(Same(bank.Find(again.voices(), "IDF_KA"), builtInMaleKa));
        again.Finish();
        QVERIFY(config().IniBytes().find("FemaleSlot=male") != std::string::npos);
    }

    void theListsLabelLeadsToTheList() {
        VoiceSelection voices;
        VoiceLibrary library(voices); // as a run has it: with the choice the settings keep
        library.LoadFromSettings();
        VoiceDialog d(library);
        d.show();
        QApplication::setActiveWindow(&d);
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QLabel* label = nullptr;
        for (QLabel* l : d.findChildren<QLabel*>()) {
            if (l->text() == QString::fromUtf8("声(&L):")) {
                label = l;
            }
        }
        QVERIFY(label != nullptr);
        // With a buddy the "&" marks the mnemonic instead of being shown.
        QCOMPARE(label->buddy(), d.VoiceList());
        d.SlotBox(true)->setFocus();
        QTest::keyClick(&d, Qt::Key_L, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), d.VoiceList());
        d.reject();
    }

    void aFolderWhoseNameCannotBeKeptIsRefusedAndTheDialogStaysOpen() {
        // Under the voices folder: a name with a line break, and one with a character code
        // page 932 lacks. Both are listed (they are folders) but cannot be kept as a choice.
        const QString voices = m_data.path() + QStringLiteral("/yomi6/voices/");
        const QString twoLines = voices + QStringLiteral("two\nlines");
        const QString emoji = voices + QString::fromUtf8("声😀");
        QVERIFY(QDir().mkpath(twoLines) && QDir().mkpath(emoji));
        const std::string before = config().IniBytes();
        VoiceSelection selection;
        VoiceLibrary library(selection); // as a run has it: with the choice the settings keep
        library.LoadFromSettings();
        VoiceDialog d(library);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        BoxAnswerer boxes;

        // Picked with the add button: refused at once, the name shown with its line break.
        const int listed = d.VoiceList()->count();
        QVERIFY(!d.AddFolder(m_other.path() + QStringLiteral("/a\nb")));
        QCOMPARE(d.VoiceList()->count(), listed);
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY2(boxes.texts()[0].contains(QStringLiteral("/a\\nb")), qPrintable(boxes.texts()[0]));
        QVERIFY(boxes.texts()[0].contains(QString::fromUtf8("設定ファイルに残せません")));

        // Chosen for a slot: OK says so and the dialog stays open to choose again.
        QComboBox* female = d.SlotBox(false);
        for (const QString& folder : {twoLines, emoji}) {
            boxes.clear();
            const int index = female->findData(folder);
            QVERIFY2(index >= 0, qPrintable(folder));
            female->setCurrentIndex(index);
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            QCOMPARE(boxes.texts().size(), 1);
            QVERIFY(d.isVisible());
            QCOMPARE(d.result(), 0);
        }
        QCOMPARE(config().IniBytes(), before); // nothing was written
        QVERIFY(boxes.texts()[0].contains(QString::fromUtf8("声😀")));

        // A name that can be kept closes the dialog as before.
        boxes.clear();
        female->setCurrentIndex(female->findData(m_folder));
        d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(QDir(twoLines).removeRecursively() && QDir(emoji).removeRecursively());
        QTRY_VERIFY_WITH_TIMEOUT(!library.IsLoading(), 10000);
    }

    // The natural voice's pitch, intonation and style weight: shown from the settings, enabled
    // only while a slot has the natural voice, set with the keys, kept by OK and asked of the
    // engine for the next sentence.
    void theNaturalVoicesControlsAreSetWithTheKeysAndKept() {
        config().WriteIni("[Voices]\nFemaleSlot=natural:happy\nMaleSlot=male\nNaturalPitch=2\n");
        VoiceSelection voices;
        VoiceLibrary library(voices);
        library.LoadFromSettings();
        {
            VoiceDialog d(library);
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            QCOMPARE(d.PitchBox()->value(), 2);
            QCOMPARE(d.IntonationBox()->value(), 1.0);
            QCOMPARE(d.StyleWeightBox()->value(), 100);
            QVERIFY(d.PitchBox()->isEnabled());
            // With samples in both slots the controls have nothing to act on.
            QComboBox* female = d.SlotBox(false);
            female->setCurrentIndex(female->findData(VoiceLibrary::kBuiltInFemale));
            QVERIFY(!d.PitchBox()->isEnabled() && !d.IntonationBox()->isEnabled() &&
                    !d.StyleWeightBox()->isEnabled());
            female->setCurrentIndex(female->findData(QStringLiteral("natural:neutral")));
            QVERIFY(d.PitchBox()->isEnabled() && d.StyleWeightBox()->isEnabled());
            d.StyleBox(false)->setCurrentIndex(d.StyleBox(false)->findText(U8("怒り")));

            d.PitchBox()->setFocus();
            d.PitchBox()->selectAll();
            QTest::keyClicks(d.PitchBox(), QStringLiteral("-5"));
            for (int i = 0; i < 3; ++i) {
                QTest::keyClick(d.IntonationBox(), Qt::Key_Down);
            }
            for (int i = 0; i < 4; ++i) {
                QTest::keyClick(d.StyleWeightBox(), Qt::Key_Down);
            }
            QCOMPARE(d.PitchBox()->value(), -5);
            // The end of the range holds.
            QTest::keyClick(d.PitchBox(), Qt::Key_PageDown);
            QCOMPARE(d.PitchBox()->value(), -12);
            QTest::keyClick(d.PitchBox(), Qt::Key_PageUp);
            for (int i = 0; i < 3; ++i) {
                QTest::keyClick(d.PitchBox(), Qt::Key_Down);
            }
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        }
        QCOMPARE(library.Controls(), (NaturalControls{-5, 7, 60}));
        const std::string ini = config().IniBytes();
        QVERIFY2(ini.find("NaturalPitch=-5\r\nNaturalIntonation=7\r\nNaturalStyleWeight=60") !=
                     std::string::npos,
                 ini.c_str());
        QVERIFY2(ini.find("FemaleSlot=natural:angry") != std::string::npos, ini.c_str());
        // The next sentence is asked of the engine with them.
        const EngineRequest request = SlotEngineRequest(library, VoiceSlot::Female, 180, 1);
        QCOMPARE(request.controls.halfTones, -5.0);
        QCOMPARE(request.controls.intonation, 0.7);
        QCOMPARE(request.controls.styleWeight, 0.6);

        // The next run's dialog shows them as they were kept.
        VoiceLibrary next(voices);
        next.LoadFromSettings();
        VoiceDialog again(next);
        QCOMPARE(again.PitchBox()->value(), -5);
        QCOMPARE(again.IntonationBox()->value(), 0.7);
        QCOMPARE(again.StyleWeightBox()->value(), 60);
        QTRY_VERIFY_WITH_TIMEOUT(!library.IsLoading() && !next.IsLoading(), 10000);
    }

    // The pauses: a file of an earlier version shows the defaults, a value out of range its
    // nearest end; the boxes typed into and stepped are kept by OK, read back by the next run,
    // and asked of the engine; Cancel keeps nothing.
    void theNaturalVoicesPausesAreSetInTheBoxesAndKept() {
        config().WriteIni("[Voices]\nFemaleSlot=natural:neutral\nMaleSlot=male\n"
                          "PauseDash=99999\n");
        VoiceSelection voices;
        VoiceLibrary library(voices);
        library.LoadFromSettings();
        {
            VoiceDialog d(library);
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            QCOMPARE(d.PauseBox(PauseMark::Comma)->value(), DefaultPauses().At(PauseMark::Comma));
            QCOMPARE(d.PauseBox(PauseMark::BlankLine)->value(),
                     DefaultPauses().At(PauseMark::BlankLine));
            QCOMPARE(d.PauseBox(PauseMark::Dash)->value(), 5000);
            QVERIFY(d.PauseBox(PauseMark::Period)->isEnabled());
            // Samples in both slots: the pauses have nothing to act on.
            QComboBox* female = d.SlotBox(false);
            female->setCurrentIndex(female->findData(VoiceLibrary::kBuiltInFemale));
            QVERIFY(!d.PauseBox(PauseMark::Period)->isEnabled());
            female->setCurrentIndex(female->findData(QStringLiteral("natural:neutral")));
            QVERIFY(d.PauseBox(PauseMark::Period)->isEnabled());

            QSpinBox* comma = d.PauseBox(PauseMark::Comma);
            comma->setFocus();
            comma->selectAll();
            QTest::keyClicks(comma, QStringLiteral("250"));
            QTest::keyClick(comma, Qt::Key_Enter);
            QCOMPARE(comma->value(), 250);
            QSpinBox* blank = d.PauseBox(PauseMark::BlankLine);
            blank->setFocus();
            QTest::keyClick(blank, Qt::Key_Up); // a step of 50 ms
            QSpinBox* line = d.PauseBox(PauseMark::LineEnd);
            line->setFocus();
            line->selectAll();
            QTest::keyClicks(line, QStringLiteral("0"));
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        }
        PauseTable expected = DefaultPauses();
        expected.At(PauseMark::Comma) = 250;
        expected.At(PauseMark::BlankLine) += 50;
        expected.At(PauseMark::LineEnd) = 0;
        expected.At(PauseMark::Dash) = 5000;
        QCOMPARE(library.Pauses(), expected);
        const std::string ini = config().IniBytes();
        QVERIFY2(ini.find("PauseComma=250\r\n") != std::string::npos, ini.c_str());
        QVERIFY2(ini.find("PauseLineEnd=0\r\n") != std::string::npos, ini.c_str());
        QVERIFY2(ini.find("PauseDash=5000\r\n") != std::string::npos, ini.c_str());
        QCOMPARE(SlotEngineRequest(library, VoiceSlot::Female, 180, 1).pauses, expected);

        VoiceLibrary next(voices);
        next.LoadFromSettings();
        {
            VoiceDialog again(next);
            QCOMPARE(again.PauseBox(PauseMark::Comma)->value(), 250);
            QCOMPARE(again.PauseBox(PauseMark::LineEnd)->value(), 0);
            again.PauseBox(PauseMark::Comma)->setValue(900);
            again.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        }
        QCOMPARE(next.Pauses(), expected);
        QTRY_VERIFY_WITH_TIMEOUT(!library.IsLoading() && !next.IsLoading(), 10000);
    }

private:
    QTemporaryDir m_data;
    QTemporaryDir m_other;
    QString m_folder;
    std::vector<std::int16_t> m_ka;
};

QTEST_MAIN(VoiceDialogTest)
#include "voice_dialog_test.moc"
