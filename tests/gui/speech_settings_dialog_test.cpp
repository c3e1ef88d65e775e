// The speech settings dialog through its real controls: the template, values in and out, the
// up-down arrows with their clamping, the exchange's two messages, OK and Cancel, and the
// view's command that copies the speech settings in and out.
#include "app/main_window.h"
#include "commands/command_ids.h"
#include "gui/dialog_test_support.h"
#include "gui/gui_test_support.h"
#include "platform/dialog_units.h"
#include "platform/spin_control.h"
#include "playback/speech_state.h"
#include "speaking/speech_settings_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

const QString kRangeText = QString::fromUtf8("0 から 1000 までの整数を入力してください。");
const QString kIntegerText = QString::fromUtf8("整数を入力してください。");

void ClickUpper(SpinControl* spin) {
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, spin->height() / 4));
}

void ClickLower(SpinControl* spin) {
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, spin->height() * 3 / 4));
}

QString Checked(QButtonGroup* group) {
    QAbstractButton* b = group->checkedButton();
    return b == nullptr ? QStringLiteral("none") : b->text();
}

void SetSpeedText(SpeechSettingsDialog& d, const QString& text) {
    d.SpeedEdit()->selectAll();
    QTest::keyClicks(d.SpeedEdit(), text);
}

} // namespace

class SpeechSettingsDialogTest : public GuiTestCase {
    Q_OBJECT
public:
    explicit SpeechSettingsDialogTest(SoundBackend& sound) : GuiTestCase(sound) {}

private slots:
    void templateGeometryInDialogUnits() {
        SpeechSettingsDialog d;
        const DialogUnits du(DialogFont(11));
        QCOMPARE(d.windowTitle(), QString::fromUtf8("設定"));
        QCOMPARE(d.size(), du.ToPixels(QSize(139, 151)));
        // Every control in the template's order, which is the tab order, at its place.
        const QStringList controls = {
            ControlLine("QPushButton", "OK", QRect(28, 129, 39, 15), du),
            ControlLine("QPushButton", "ｷｬﾝｾﾙ", QRect(72, 129, 39, 15), du),
            ControlLine("QLabel", "スピード", QRect(37, 18, 32, 8), du),
            ControlLine("QLineEdit", "", QRect(72, 17, 26, 12), du),
            ControlLine("SpinControl", "", QRect(98, 17, 8, 12), du),
            ControlLine("QGroupBox", "リピート", QRect(21, 82, 97, 36), du),
            ControlLine("QPushButton", "ＯＮ", QRect(28, 94, 39, 15), du),
            ControlLine("QPushButton", "ＯＦＦ", QRect(72, 94, 39, 15), du),
            ControlLine("QGroupBox", "しゃべる速度", QRect(21, 3, 97, 36), du),
            ControlLine("QGroupBox", "声のタイプ", QRect(21, 42, 97, 36), du),
            ControlLine("QPushButton", "男性", QRect(28, 56, 39, 15), du),
            ControlLine("QPushButton", "女性", QRect(72, 56, 39, 15), du),
        };
        QCOMPARE(ControlsInTabOrder(d), controls);
        QCOMPARE(d.OkButton()->geometry(), du.ToPixels(QRect(28, 129, 39, 15)));
        QCOMPARE(d.CancelButton()->text(), QString::fromUtf8("ｷｬﾝｾﾙ"));
        QCOMPARE(d.SpeedEdit()->geometry(), du.ToPixels(QRect(72, 17, 26, 12)));
        QCOMPARE(d.Spin()->geometry(), du.ToPixels(QRect(98, 17, 8, 12)));
        QCOMPARE(d.VoiceButtons()->button(1)->geometry(), du.ToPixels(QRect(72, 56, 39, 15)));
        QCOMPARE(d.RepeatButtons()->button(1)->text(), QString::fromUtf8("ＯＦＦ"));
        QVERIFY(d.OkButton()->isDefault());
        QVERIFY(d.RepeatButtons()->button(0)->isCheckable());
        // The group boxes lie behind the controls they surround: a click reaches the control.
        QCOMPARE(d.childAt(d.SpeedEdit()->geometry().center()), d.SpeedEdit());
        QCOMPARE(d.childAt(d.VoiceButtons()->button(0)->geometry().center()),
                 d.VoiceButtons()->button(0));
    }

    void valuesGoInAndComeOutOnlyOnOk() {
        BoxAnswerer boxes;
        SpeechSettingsDialog d({250, true, VoiceSlot::Female});
        QString shownSpeed, shownRepeat, shownVoice;
        DialogSteps steps(&d, [&] {
            shownSpeed = d.SpeedEdit()->text();
            shownRepeat = Checked(d.RepeatButtons());
            shownVoice = Checked(d.VoiceButtons());
            QTest::mouseClick(d.VoiceButtons()->button(0), Qt::LeftButton);
            QTest::mouseClick(d.RepeatButtons()->button(1), Qt::LeftButton);
            SetSpeedText(d, QStringLiteral(" 300 "));
            QTest::mouseClick(d.OkButton(), Qt::LeftButton);
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QVERIFY(steps.ran());
        QCOMPARE(shownSpeed, QStringLiteral("250"));
        QCOMPARE(shownRepeat, QString::fromUtf8("ＯＮ"));
        QCOMPARE(shownVoice, QString::fromUtf8("女性"));
        QCOMPARE(d.Settings().speedMs, 300);
        QVERIFY(!d.Settings().repeat);
        QCOMPARE(d.Settings().voice, VoiceSlot::Male);
        QVERIFY(boxes.boxes().empty());

        // The male voice presses "男性"; "女性" then hands out the female voice. Cancel hands out
        // nothing.
        SpeechSettingsDialog again({180, false, VoiceSlot::Male});
        DialogSteps more(&again, [&] {
            shownVoice = Checked(again.VoiceButtons());
            shownRepeat = Checked(again.RepeatButtons());
            QTest::mouseClick(again.VoiceButtons()->button(1), Qt::LeftButton);
            QTest::keyClick(&again, Qt::Key_Return); // the focus is on OK
        });
        QCOMPARE(again.exec(), int(QDialog::Accepted));
        QCOMPARE(shownVoice, QString::fromUtf8("男性"));
        QCOMPARE(shownRepeat, QString::fromUtf8("ＯＦＦ"));
        QCOMPARE(again.Settings().voice, VoiceSlot::Female);

        SpeechSettingsDialog cancelled({180, true, VoiceSlot::Male});
        DialogSteps cancel(&cancelled, [&] {
            ClickLower(cancelled.Spin());
            QTest::mouseClick(cancelled.VoiceButtons()->button(1), Qt::LeftButton);
            QTest::keyClick(&cancelled, Qt::Key_Escape);
        });
        QCOMPARE(cancelled.exec(), int(QDialog::Rejected));
        QCOMPARE(cancelled.Settings().speedMs, 180);
        QCOMPARE(cancelled.Settings().voice, VoiceSlot::Male);
    }

    void arrowsStepTheSpeedAndStopAtTheEnds() {
        BoxAnswerer boxes;
        SpeechSettingsDialog d({180, true, VoiceSlot::Female});
        QStringList shown;
        DialogSteps steps(&d, [&] {
            ClickUpper(d.Spin());
            shown << d.SpeedEdit()->text();
            ClickLower(d.Spin());
            ClickLower(d.Spin());
            shown << d.SpeedEdit()->text();
            SetSpeedText(d, QStringLiteral("0"));
            ClickUpper(d.Spin());
            shown << d.SpeedEdit()->text();
            SetSpeedText(d, QStringLiteral("1000"));
            ClickLower(d.Spin());
            shown << d.SpeedEdit()->text();
            SetSpeedText(d, QStringLiteral("999"));
            ClickLower(d.Spin());
            ClickLower(d.Spin());
            shown << d.SpeedEdit()->text();
            QTest::mouseClick(d.OkButton(), Qt::LeftButton);
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QCOMPARE(shown, QStringList({"179", "181", "0", "1000", "1000"}));
        QCOMPARE(d.Settings().speedMs, 1000);
        QVERIFY(boxes.boxes().empty());
    }

    void arrowsAfterARefusedTextShowTheMessageThenStepFromTheField() {
        BoxAnswerer boxes;
        SpeechSettingsDialog d({200, false, VoiceSlot::Female});
        QStringList shown;
        QString voiceAfter, repeatAfter;
        bool focusOnField = false;
        DialogSteps steps(&d, [&] {
            SetSpeedText(d, QStringLiteral("1500"));
            ClickLower(d.Spin()); // out of range: message, then 1500 + 1 clamped
            shown << d.SpeedEdit()->text();

            SetSpeedText(d, QStringLiteral("99999999999"));
            ClickUpper(d.Spin()); // saturated, still only clamped
            shown << d.SpeedEdit()->text();

            SetSpeedText(d, QStringLiteral("-7"));
            ClickLower(d.Spin());
            shown << d.SpeedEdit()->text();

            // Letters: the last accepted speed moves; the voice buttons, read after the speed,
            // go back to their last accepted state; the repeat buttons, read before, keep
            // the click.
            SetSpeedText(d, QStringLiteral("300"));
            ClickUpper(d.Spin());
            QTest::mouseClick(d.VoiceButtons()->button(0), Qt::LeftButton);
            QTest::mouseClick(d.RepeatButtons()->button(0), Qt::LeftButton);
            SetSpeedText(d, QStringLiteral("abc"));
            ClickUpper(d.Spin());
            shown << d.SpeedEdit()->text();
            voiceAfter = Checked(d.VoiceButtons());
            repeatAfter = Checked(d.RepeatButtons());
            focusOnField = d.focusWidget() == d.SpeedEdit();
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        QCOMPARE(d.exec(), int(QDialog::Rejected));
        QCOMPARE(shown, QStringList({"1000", "1000", "0", "298"}));
        QCOMPARE(boxes.texts(), QStringList({kRangeText, kRangeText, kRangeText, kIntegerText}));
        QCOMPARE(boxes.boxes()[0].icon, QMessageBox::Warning);
        QCOMPARE(boxes.boxes()[3].icon, QMessageBox::NoIcon);
        QCOMPARE(voiceAfter, QString::fromUtf8("女性"));
        QCOMPARE(repeatAfter, QString::fromUtf8("ＯＮ"));
        QVERIFY(focusOnField);
        QCOMPARE(d.Settings().speedMs, 200); // cancelled: nothing handed out
    }

    void okWithARefusedTextKeepsTheDialogOpenWithTheFieldSelected() {
        BoxAnswerer boxes;
        SpeechSettingsDialog d({180, true, VoiceSlot::Female});
        bool stillOpen = false;
        bool selectedWhole = false;
        DialogSteps steps(&d, [&] {
            for (const char* bad : {"", "-0", "12a", "1001"}) {
                SetSpeedText(d, QString::fromLatin1(bad));
                if (QString::fromLatin1(bad).isEmpty()) {
                    d.SpeedEdit()->clear();
                }
                QTest::mouseClick(d.OkButton(), Qt::LeftButton);
            }
            stillOpen = d.isVisible();
            selectedWhole = d.focusWidget() == d.SpeedEdit() &&
                            d.SpeedEdit()->selectedText() == QStringLiteral("1001");
            SetSpeedText(d, QStringLiteral("0"));
            QTest::mouseClick(d.OkButton(), Qt::LeftButton);
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QVERIFY(stillOpen);
        QVERIFY(selectedWhole);
        QCOMPARE(boxes.texts(),
                 QStringList({kIntegerText, kIntegerText, kIntegerText, kRangeText}));
        QCOMPARE(d.Settings().speedMs, 0); // the shortest interval is a valid speed
    }

    void theSpeechSettingsCommandCopiesTheSettingsInAndOut() {
        EditorRun run(sound());
        QVERIFY(run.ok());
        run.choices().speed = 240;
        run.choices().voice = VoiceSlot::Female;
        run.choices().repeat = false;
        QString shownSpeed;
        auto ok = std::make_unique<ModalHandler>([&](QWidget* w) {
            auto* d = qobject_cast<SpeechSettingsDialog*>(w);
            if (d == nullptr) {
                return;
            }
            shownSpeed = d->SpeedEdit()->text();
            d->SpeedEdit()->setText(QStringLiteral("90"));
            d->VoiceButtons()->button(0)->click();
            d->RepeatButtons()->button(0)->click();
            d->OkButton()->click();
        });
        run.frame().Dispatch(CommandId::SpeechSettings);
        QCOMPARE(shownSpeed, QStringLiteral("240"));
        QCOMPARE(run.choices().speed, 90);
        QCOMPARE(run.choices().voice, VoiceSlot::Male);
        QVERIFY(run.choices().repeat);

        auto cancel = std::make_unique<ModalHandler>([&](QWidget* w) {
            auto* d = qobject_cast<SpeechSettingsDialog*>(w);
            if (d == nullptr) {
                return;
            }
            d->SpeedEdit()->setText(QStringLiteral("500"));
            d->CancelButton()->click();
        });
        run.frame().Dispatch(CommandId::SpeechSettings);
        QCOMPARE(run.choices().speed, 90);
    }
};

int RunSpeechSettingsDialogTests(int argc, char** argv, SoundBackend& sound) {
    SpeechSettingsDialogTest test(sound);
    return QTest::qExec(&test, argc, argv);
}

#include "speech_settings_dialog_test.moc"
