// 音声ﾌｧｲﾙに保存(&E)... through the real menu action: the file type picks the format, the boxes
// add the side files, the selection alone is exported, the progress tells how long the rest
// takes, and a cancelled export leaves no file; replacing files is asked once for all of them,
// the status bar says where the file went, and a selection that reads nothing is refused.
#include "app/main_window.h"
#include "cli/cli_options.h"
#include "cli/natural_modes.h"
#include "editor/text_view.h"
#include "export/speech_export.h"
#include "gui/gui_test_support.h"
#include "playback/speech_state.h"
#include "speaking/audio_export.h"
#include "speaking/audio_export_dialog.h"
#include "speech_session/session_factory.h"
#include "support/test_reading.h"
#include "text/speech_text.h"
#include "voice/voice_selection.h"
#include "voice_manager/voice_library.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

#include <sndfile.h>

#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

// Frames of a sound file as libsndfile reads it; -1 when it cannot be read.
sf_count_t Frames(const QString& path, int* format = nullptr) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.toLocal8Bit().constData(), SFM_READ, &info);
    if (file == nullptr) {
        return -1;
    }
    sf_close(file);
    if (format != nullptr) {
        *format = info.format & SF_FORMAT_TYPEMASK;
    }
    return info.frames;
}

// The samples the export of text renders, counted by the core.
std::int64_t RenderedSamples(const SpeechPreferences& choices, const ReaderSetup& setup,
                             const QString& text) {
    const std::u16string utf16(reinterpret_cast<const char16_t*>(text.utf16()),
                               static_cast<std::size_t>(text.size()));
    const std::string bytes = SpeechBytes(utf16);
    ExportRequest request(setup);
    request.text = bytes;
    request.speed = choices.speed;
    request.voice = FlagOfVoice(choices.voice);
    return RunSpeechExport(request, {}).samples;
}

QString Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Answers every message box that comes up while it lives with button, and keeps their texts.
class EveryBoxAnswer {
public:
    explicit EveryBoxAnswer(QMessageBox::StandardButton button) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this, button] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_texts << box->text();
                box->button(button)->click();
            }
        });
        m_timer.start();
    }
    const QStringList& Texts() const { return m_texts; }

private:
    QTimer m_timer;
    QStringList m_texts;
};

void WriteContents(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class AudioExportTest : public GuiTestCase {
    Q_OBJECT

private slots:
    // The slot that speaks keeps a natural voice (as 声の管理 stores it): the export is said by
    // the natural engine, 16-bit, with its timings, its voice found where the run's speech finds
    // it (the voice library's places, not the environment read again); without the voice's file,
    // one message names the file and where it was looked for, and the sample voice speaks.
    void aSlotsNaturalVoiceExportsWithTheNaturalEngine() {
        qunsetenv("YOMI6_NATURAL_VOICE_DIR");
        config().WriteIni("[Voices]\nFemaleSlot=natural:happy\n");
        QFile file(cwd().filePath("natural.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QString::fromUtf8("雨が降る。").toLocal8Bit());
        file.close();
        EditorRun run(sound(), {file.fileName()});
        QVERIFY(run.ok());
        QCOMPARE(run.choices().voice, VoiceSlot::Female); // the female slot speaks
        NaturalInstall& places = run.library().Natural();
        places.voiceFolder.clear();
        places.searchFolders = {cwd().filePath("no-voice").toStdString(),
                                YOMI6_NATURAL_TEST_VOICES};
        QAction* action = MenuAction(run.frame(), "ﾌｧｲﾙ(&F)", "音声ﾌｧｲﾙに保存(&E)...");
        QVERIFY(action != nullptr);
        const auto exportTo = [&](const QString& target) {
            auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
                if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                    dialog->findChild<QCheckBox*>("timings")->setChecked(true);
                }
                AcceptFileDialog(w, target);
            });
            action->trigger();
            QVERIFY(handler->handled());
        };
        const QString target = cwd().filePath("natural.wav");
        exportTo(target);
        SF_INFO info{};
        SNDFILE* sound = sf_open(target.toLocal8Bit().constData(), SFM_READ, &info);
        QVERIFY(sound != nullptr);
        sf_close(sound);
        QCOMPARE(info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_16);
        QCOMPARE(info.samplerate, 48000); // the natural voice's own rate
        const QString timings = Contents(cwd().filePath("natural.json"));
        QVERIFY2(timings.startsWith(QString::fromUtf8(
                     R"({"format":"yomi6-timings","version":2,"engine":"natural",)")) &&
                     timings.contains(QString::fromUtf8(R"({"mora":"ア",)")),
                 qPrintable(timings));

        places.searchFolders.pop_back();
        const QString fallback = cwd().filePath("fallback.wav");
        QStringList said;
        {
            EveryBoxAnswer answer(QMessageBox::Ok);
            exportTo(fallback);
            said = answer.Texts();
        }
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.front().contains(QString::fromUtf8("tohoku-f01-happy.htsvoice が ") +
                                       cwd().filePath("no-voice")),
                 qPrintable(said.front()));
        // The sample voice's rendering: 8-bit.
        SNDFILE* samples = sf_open(fallback.toLocal8Bit().constData(), SFM_READ, &info);
        QVERIFY(samples != nullptr);
        sf_close(samples);
        QCOMPARE(info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_U8);
        QVERIFY(Contents(cwd().filePath("fallback.json"))
                    .startsWith(R"({"format":"yomi6-timings","version":1,)"));
        run.Finish();
    }

    // The natural voice's export reads an Aozora document as the book, and its subtitles show
    // the characters of a UTF-8 document that the code page lacks as they are written.
    void aNaturalExportReadsAozoraAndShowsCharactersAsWritten() {
        qputenv("YOMI6_NATURAL_VOICE_DIR", YOMI6_NATURAL_TEST_VOICES);
        qputenv("YOMI6_MECAB_DIC", "/var/lib/mecab/dic/ipadic-utf8");
        config().WriteIni("[Voices]\nFemaleSlot=natural:neutral\n");
        QFile file(cwd().filePath("aozora.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("𠮷野家《よしのや》の森鷗外。［＃傍点］\n底本：「本」\n");
        file.close();
        EditorRun run(sound(), {file.fileName()});
        QVERIFY(run.ok());
        QAction* action = MenuAction(run.frame(), "ﾌｧｲﾙ(&F)", "音声ﾌｧｲﾙに保存(&E)...");
        QVERIFY(action != nullptr);
        const QString target = cwd().filePath("aozora.wav");
        auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                dialog->findChild<QCheckBox*>("subtitles")->setChecked(true);
                dialog->findChild<QCheckBox*>("timings")->setChecked(true);
            }
            AcceptFileDialog(w, target);
        });
        action->trigger();
        QVERIFY(handler->handled());
        handler.reset();
        qunsetenv("YOMI6_NATURAL_VOICE_DIR");
        qunsetenv("YOMI6_MECAB_DIC");
        const QString cues = Contents(cwd().filePath("aozora.srt"));
        QVERIFY2(cues.contains(QString::fromUtf8("\n𠮷野家の森鷗外。\n")) &&
                     !cues.contains(QString::fromUtf8("底本")),
                 qPrintable(cues));
        // The ruby is said for its base (吉 for 𠮷) and not again; the colophon is not said.
        const QString timings = Contents(cwd().filePath("aozora.json"));
        QString said;
        static const QRegularExpression mora(QStringLiteral("\"mora\":\"([^\"]+)\""));
        for (auto m = mora.globalMatch(timings); m.hasNext();) {
            said += m.next().captured(1);
        }
        QVERIFY2(said.startsWith(QString::fromUtf8("ヨシノヤノモリオ")) &&
                     said.count(QString::fromUtf8("ヨシノヤ")) == 1 &&
                     !said.contains(QString::fromUtf8("テイホン")),
                 qPrintable(said));
        run.Finish();
    }

    // The chapters box: one sound file and one subtitle file per chapter, a playlist, the
    // status bar naming the playlist and the count; the samples of the parts are the whole's.
    void theChaptersBoxWritesOneFilePerChapterAndAPlaylist() {
        QFile file(cwd().filePath("book.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Chapters of some length, as a book's are: each part adds at most its own ending.
        QString book = QString::fromUtf8("第一章　朝\r\n");
        book += QString::fromUtf8("あさです。きょうもいいてんきです。\r\n").repeated(8);
        book += QString::fromUtf8("第二章　昼\r\n");
        book += QString::fromUtf8("ひるです。おなかがすきました。\r\n").repeated(8);
        file.write(book.toLocal8Bit());
        file.close();
        EditorRun run(sound(), {file.fileName()});
        QVERIFY(run.ok());
        QAction* action = MenuAction(run.frame(), "ﾌｧｲﾙ(&F)", "音声ﾌｧｲﾙに保存(&E)...");
        QVERIFY(action != nullptr);
        const QString target = cwd().filePath("book.wav");
        auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                dialog->findChild<QCheckBox*>("subtitles")->setChecked(true);
                dialog->findChild<QCheckBox*>("chapters")->setChecked(true);
            }
            AcceptFileDialog(w, target);
        });
        action->trigger();
        QVERIFY(handler->handled());
        handler.reset();
        const QString first = cwd().filePath(QString::fromUtf8("book-01-第一章　朝"));
        const QString second = cwd().filePath(QString::fromUtf8("book-02-第二章　昼"));
        QVERIFY(!QFile::exists(target));
        QVERIFY(Contents(first + ".srt").contains(QString::fromUtf8("あさです。")));
        QVERIFY(!Contents(second + ".srt").contains(QString::fromUtf8("あさです。")));
        const QString list = Contents(cwd().filePath("book.m3u8"));
        QVERIFY2(list.startsWith("#EXTM3U\n") &&
                     list.contains(QString::fromUtf8("\nbook-02-第二章　昼.wav\n")),
                 qPrintable(list));
        const qint64 parts = Frames(first + ".wav") + Frames(second + ".wav");
        const qint64 whole = RenderedSamples(run.choices(), run.reading(), run.view()->Text());
        QVERIFY2(std::abs(parts - whole) <= whole / 100,
                 qPrintable(QStringLiteral("%1 against %2").arg(parts).arg(whole)));
        const QString said = run.frame().statusBar()->currentMessage();
        QVERIFY2(said.contains(QStringLiteral("book.m3u8")) && said.contains(QStringLiteral(" 2 ")),
                 qPrintable(said));
        run.Finish();
    }

    // The marks box: one sound file with a mark where each chapter starts and a cue sheet,
    // instead of the files per chapter (the two boxes are one choice); the M4B type has the
    // marks always.
    void theMarksBoxWritesOneFileWithTheChaptersMarkedInIt() {
        QFile file(cwd().filePath("marked.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QString book = QString::fromUtf8("第一章　朝\r\nあさです。\r\n");
        book += QString::fromUtf8("第二章　昼\r\nひるです。\r\n");
        file.write(book.toLocal8Bit());
        file.close();
        EditorRun run(sound(), {file.fileName()});
        QVERIFY(run.ok());
        QAction* action = MenuAction(run.frame(), "ﾌｧｲﾙ(&F)", "音声ﾌｧｲﾙに保存(&E)...");
        QVERIFY(action != nullptr);
        const QString target = cwd().filePath("marked.flac");
        bool chaptersCleared = false;
        QStringList types;
        auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                types = dialog->nameFilters();
                auto* chapters = dialog->findChild<QCheckBox*>("chapters");
                auto* marks = dialog->findChild<QCheckBox*>("marks");
                if (chapters != nullptr && marks != nullptr) {
                    chapters->setChecked(true);
                    marks->setChecked(true);
                    chaptersCleared = !chapters->isChecked();
                }
            }
            AcceptFileDialog(w, target);
        });
        action->trigger();
        QVERIFY(handler->handled());
        handler.reset();
        QVERIFY(chaptersCleared);
        QVERIFY(types.contains(QStringLiteral("M4B (*.m4b)")));
        QVERIFY(!QFile::exists(cwd().filePath(QString::fromUtf8("marked-01-第一章　朝.flac"))));
        QFile flac(target);
        QVERIFY(flac.open(QIODevice::ReadOnly));
        const QByteArray bytes = flac.readAll();
        QVERIFY(bytes.contains(QString::fromUtf8("CHAPTER002NAME=第二章　昼").toUtf8()));
        QVERIFY(bytes.contains("CHAPTER001=00:00:00.000"));
        const QString cue = Contents(cwd().filePath("marked.cue"));
        QVERIFY2(cue.count(QStringLiteral("TRACK")) == 2, qPrintable(cue));
        const QString said = run.frame().statusBar()->currentMessage();
        QVERIFY2(said.contains(QStringLiteral("marked.cue")), qPrintable(said));
        run.Finish();
    }

    void fileTypePicksTheFormatAndTheBoxesAddSideFiles() {
        QFile file(cwd().filePath("doc.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QString::fromUtf8("こんにちは。\r\nキャット！\r\n").toLocal8Bit());
        file.close();
        EditorRun run(sound(), {file.fileName()});
        QVERIFY(run.ok());
        QAction* action = MenuAction(run.frame(), "ﾌｧｲﾙ(&F)", "音声ﾌｧｲﾙに保存(&E)...");
        QVERIFY(action != nullptr);
        QVERIFY(action->isEnabled());

        const QString target = cwd().filePath("out"); // no extension: the type adds .flac
        auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                dialog->selectNameFilter("FLAC (*.flac)");
                dialog->findChild<QCheckBox*>("subtitles")->setChecked(true);
            }
            AcceptFileDialog(w, target);
        });
        action->trigger();
        QVERIFY(handler->handled());
        handler.reset();
        int format = 0;
        QCOMPARE(Frames(target + ".flac", &format),
                 RenderedSamples(run.choices(), run.reading(), run.view()->Text()));
        QCOMPARE(format, SF_FORMAT_FLAC);
        QFile srt(target + ".srt");
        QVERIFY(srt.open(QIODevice::ReadOnly));
        const QString cues = QString::fromUtf8(srt.readAll());
        QVERIFY2(cues.startsWith("1\n00:00:00,000 --> ") &&
                     cues.contains(QString::fromUtf8("\n\n2\n")) &&
                     cues.contains(QString::fromUtf8("キャット！")),
                 qPrintable(cues));
        QVERIFY(!QFile::exists(target + ".json"));

        // The selection alone, as WAVE.
        QTextCursor cursor = run.view()->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        run.view()->setTextCursor(cursor);
        const QString part = cwd().filePath("part.wav");
        auto second =
            std::make_unique<ModalHandler>([&](QWidget* w) { AcceptFileDialog(w, part); });
        action->trigger();
        QVERIFY(second->handled());
        second.reset();
        QCOMPARE(Frames(part),
                 RenderedSamples(run.choices(), run.reading(), QString::fromUtf8("こんに")));
        run.Finish();
    }

    // The format beside the subtitles box: WebVTT writes a .vtt whose cues time the same ticks
    // as the SRT cues, and the choice is offered again at the next export.
    void subtitleFormatIsChosenBesideTheBoxAndRemembered() {
        QFile file(cwd().filePath("vtt.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QString::fromUtf8("今日は。\r\n明日も晴れ。\r\n").toLocal8Bit());
        file.close();
        EditorRun run(sound(), {file.fileName()});
        QVERIFY(run.ok());
        QAction* action = MenuAction(run.frame(), "ﾌｧｲﾙ(&F)", "音声ﾌｧｲﾙに保存(&E)...");
        QVERIFY(action != nullptr);

        const auto exportWith = [&](const QString& target, const QString& type, QString* offered) {
            auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
                if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                    auto* box = dialog->findChild<QCheckBox*>("subtitles");
                    auto* combo = dialog->findChild<QComboBox*>("subtitleType");
                    QVERIFY(box != nullptr && combo != nullptr);
                    *offered = combo->currentText();
                    QVERIFY(!combo->isEnabled());
                    box->setChecked(true);
                    QVERIFY(combo->isEnabled());
                    combo->setCurrentIndex(combo->findText(type));
                }
                AcceptFileDialog(w, target);
            });
            action->trigger();
            QVERIFY(handler->handled());
        };
        QString offered;
        exportWith(cwd().filePath("a.wav"), "SRT (.srt)", &offered);
        exportWith(cwd().filePath("b.wav"), "WebVTT (.vtt)", &offered);
        QCOMPARE(offered, QString("SRT (.srt)"));
        QVERIFY(!QFile::exists(cwd().filePath("b.srt")));
        QString remembered;
        exportWith(cwd().filePath("c.wav"), "WebVTT (.vtt)", &remembered);
        QCOMPARE(remembered, QString("WebVTT (.vtt)"));

        QFile srtFile(cwd().filePath("a.srt"));
        QFile vttFile(cwd().filePath("b.vtt"));
        QVERIFY(srtFile.open(QIODevice::ReadOnly) && vttFile.open(QIODevice::ReadOnly));
        const QStringList srt = QString::fromUtf8(srtFile.readAll()).split('\n');
        const QString vtt = QString::fromUtf8(vttFile.readAll());
        QVERIFY2(vtt.startsWith("WEBVTT\n\n"), qPrintable(vtt));
        // The first cue's times: the SRT's with a full stop before the milliseconds.
        QVERIFY(srt.size() > 2);
        QVERIFY2(QRegularExpression("^00:00:0\\d,\\d{3} --> 00:00:0\\d,\\d{3}$")
                     .match(srt[1])
                     .hasMatch(),
                 qPrintable(srt[1]));
        QString times = srt[1];
        times.replace(',', '.');
        const QStringList cue = vtt.split('\n').mid(2, 2);
        QVERIFY2(cue.contains(times), qPrintable(vtt));
        QVERIFY(vtt.contains(QString::fromUtf8("明日も晴れ。")));
        run.Finish();
    }

    // Typed without an extension, both boxes ticked: one question names the three files that
    // exist. "No" leaves them as they were and the dialog open for another name; "yes"
    // replaces all three, with no second question.
    void replacingAsksOnceNamingEveryFile() {
        const QString docPath = cwd().filePath("book.txt");
        WriteContents(docPath, QString::fromUtf8("こんにちは。").toLocal8Bit());
        EditorRun run(sound(), {docPath});
        QVERIFY(run.ok());
        QAction* action = FirstAction(run.frame(), CommandId::ExportAudio);
        QVERIFY(action != nullptr);
        QDir out(cwd().filePath("replace"));
        QVERIFY(QDir().mkpath(out.path()));
        const QStringList names{"book.wav", "book.srt", "book.json"};
        for (const QString& name : names) {
            WriteContents(out.filePath(name), "old");
        }

        const auto exportAnswering = [&](QMessageBox::StandardButton button, QStringList* asked,
                                         bool* stayedOpen) {
            std::unique_ptr<EveryBoxAnswer> answer;
            auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
                auto* dialog = qobject_cast<QFileDialog*>(w);
                QVERIFY(dialog != nullptr);
                dialog->selectNameFilter("WAVE (*.wav)");
                dialog->findChild<QCheckBox*>("subtitles")->setChecked(true);
                auto* type = dialog->findChild<QComboBox*>("subtitleType");
                type->setCurrentIndex(type->findText("SRT (.srt)"));
                dialog->findChild<QCheckBox*>("timings")->setChecked(true);
                answer = std::make_unique<EveryBoxAnswer>(button);
                AcceptFileDialog(w, out.filePath("book"));
                *stayedOpen = dialog->isVisible();
                if (*stayedOpen) {
                    dialog->reject();
                }
            });
            action->trigger();
            QVERIFY(handler->handled());
            QVERIFY(answer != nullptr);
            *asked = answer->Texts();
        };

        QStringList asked;
        bool stayedOpen = false;
        exportAnswering(QMessageBox::No, &asked, &stayedOpen);
        QCOMPARE(asked.size(), 1);
        for (const QString& name : names) {
            QVERIFY2(asked[0].contains(QDir::toNativeSeparators(out.filePath(name))),
                     qPrintable(asked[0]));
            QCOMPARE(Contents(out.filePath(name)), QString("old"));
        }
        QVERIFY(asked[0].contains(QString::fromUtf8("置き換えますか")));
        QVERIFY(stayedOpen);
        QCOMPARE(out.entryList(QDir::Files | QDir::Hidden).size(), names.size());

        exportAnswering(QMessageBox::Yes, &asked, &stayedOpen);
        QCOMPARE(asked.size(), 1);
        QVERIFY(!stayedOpen);
        QCOMPARE(Frames(out.filePath("book.wav")),
                 RenderedSamples(run.choices(), run.reading(), run.view()->Text()));
        QVERIFY(Contents(out.filePath("book.srt")).startsWith("1\n00:00:00,000 --> "));
        QVERIFY(Contents(out.filePath("book.json")).contains("\"units\""));
        run.Finish();
    }

    // With the extension typed, the question names a side file that exists even where the
    // sound file does not; once saved, the status bar gives the sound file's full path.
    void aSideFileAloneIsAskedAboutAndTheStatusBarSaysWhere() {
        const QString docPath = cwd().filePath("side.txt");
        WriteContents(docPath, QString::fromUtf8("あいう。").toLocal8Bit());
        EditorRun run(sound(), {docPath});
        QVERIFY(run.ok());
        QAction* action = FirstAction(run.frame(), CommandId::ExportAudio);
        QVERIFY(action != nullptr);
        QDir out(cwd().filePath("side"));
        QVERIFY(QDir().mkpath(out.path()));
        WriteContents(out.filePath("talk.srt"), "old");

        std::unique_ptr<ModalHandler> answer;
        auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                dialog->findChild<QCheckBox*>("subtitles")->setChecked(true);
                auto* type = dialog->findChild<QComboBox*>("subtitleType");
                type->setCurrentIndex(type->findText("SRT (.srt)"));
            }
            answer = AnswerNextMessageBox(QMessageBox::Yes);
            AcceptFileDialog(w, out.filePath("talk.wav"));
        });
        action->trigger();
        QVERIFY(handler->handled());
        QVERIFY(answer && answer->handled());
        const QString audio = QDir::toNativeSeparators(out.filePath("talk.wav"));
        QVERIFY2(answer->text().contains(QDir::toNativeSeparators(out.filePath("talk.srt"))) &&
                     !answer->text().contains(audio),
                 qPrintable(answer->text()));
        QVERIFY(Contents(out.filePath("talk.srt")).startsWith("1\n"));
        const QString said = run.frame().statusBar()->currentMessage();
        QVERIFY2(said.contains(QString::fromUtf8("保存しました")) && said.contains(audio) &&
                     said.contains("talk.srt"),
                 qPrintable(said));
        run.Finish();
    }

    // The editor's reading, its export and the command line choose the engine by one function
    // from the same settings: the same voice file, variant and rate for each slot, found in the
    // checkout's voices/ as the programs run from the build folder find it.
    void theReadingTheExportAndTheCommandLineChooseAlike() {
        qunsetenv("YOMI6_NATURAL_VOICE_DIR");
        config().WriteIni("[Voices]\nFemaleSlot=natural:sad\nMaleSlot=natural-lowered:angry\n");
        EditorRun run(sound());
        QVERIFY(run.ok());
        TestReading reading;
        SessionServices services{
            run.choices(), run.settings(), reading.dictionary, reading.analyzer, {}};
        SessionFactory factory(services, run.library());
        for (const int voice : {0, 1}) {
            run.choices().voice = voice != 0 ? VoiceSlot::Male : VoiceSlot::Female;
            run.choices().speed = 150;
            QStringList missing;
            const EngineChoice reads = factory.Choose(&missing);
            const NaturalExportVoice exports = NaturalExportVoiceFor(run.library(), run.choices());
            cli::Options options;
            options.voice = voice;
            options.speed = 150;
            const std::optional<natural::NaturalPassOptions> line = cli::NaturalPassFor(options, 1);
            QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
            QVERIFY(reads.natural.has_value() && exports.options && line);
            const std::string file = std::string(YOMI6_SOURCE_DIR) + "/voices/tohoku-f01/" +
                                     (voice != 0 ? "tohoku-f01-angry" : "tohoku-f01-sad") +
                                     ".htsvoice";
            for (const natural::EngineSetup* setup :
                 {&reads.setup, &exports.options->synthesis.setup, &line->synthesis.setup}) {
                QCOMPARE(setup->voiceFile, file);
                QCOMPARE(setup->variant,
                         voice != 0 ? natural::Variant::Lowered : natural::Variant::AsRecorded);
                QCOMPARE(setup->rate, natural::RateForSpeed(150));
            }
        }
    }

    // A selection of a line end alone reads nothing: said in Japanese, and no file is written.
    void aSelectionThatReadsNothingIsRefused() {
        const QString docPath = cwd().filePath("blank.txt");
        WriteContents(docPath, QString::fromUtf8("あ\r\n\r\nい").toLocal8Bit());
        EditorRun run(sound(), {docPath});
        QVERIFY(run.ok());
        QAction* action = FirstAction(run.frame(), CommandId::ExportAudio);
        QVERIFY(action != nullptr);
        QTextCursor cursor = run.view()->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(3, QTextCursor::KeepAnchor);
        run.view()->setTextCursor(cursor);
        QDir out(cwd().filePath("blank"));
        QVERIFY(QDir().mkpath(out.path()));
        std::unique_ptr<ModalHandler> message;
        auto handler = std::make_unique<ModalHandler>([&](QWidget* w) {
            AcceptFileDialog(w, out.filePath("blank.flac"));
            message = AnswerNextMessageBox(QMessageBox::Ok);
        });
        action->trigger();
        QVERIFY(handler->handled());
        QVERIFY(message && message->handled());
        QVERIFY2(message->text().contains(QString::fromUtf8("読み上げる文字がない")),
                 qPrintable(message->text()));
        QCOMPARE(out.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        run.Finish();
    }

    void cancelLeavesNoFile() {
        QString text;
        for (int i = 0; i < 3000; ++i) {
            text += QString::fromUtf8("これは長い文章の一部です。\n");
        }
        QDir out(cwd().filePath("cancel"));
        QVERIFY(QDir().mkpath(out.path()));
        bool sawProgress = false;
        QString estimate;
        ModalHandler handler([&](QWidget* w) {
            auto* progress = qobject_cast<QProgressDialog*>(w);
            sawProgress = progress != nullptr;
            if (progress != nullptr) {
                // It tells how long the rest takes.
                QTRY_VERIFY_WITH_TIMEOUT(
                    progress->labelText().contains(QString::fromUtf8("残り 約")), 10000);
                estimate = progress->labelText();
                // As the user does: the dialog's one button.
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
            }
        });
        ExportOutcome outcome;
        const SpeechPreferences choices; // as a new user's
        test::TestReading reading;
        const ExportTargets targets{out.filePath("long.opus"), out.filePath("long.vtt"), QString()};
        const QString error = ExportAudioFiles(nullptr, choices, VoiceSelection(), {},
                                               reading.Setup(), text, targets, &outcome);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(sawProgress);
        QVERIFY2(estimate.contains(QRegularExpression(QString::fromUtf8("残り 約 [0-9]+ (秒|分)"))),
                 qPrintable(estimate));
        QVERIFY(outcome.cancelled);
        QCOMPARE(out.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }
};

QTEST_MAIN(AudioExportTest)
#include "audio_export_test.moc"
