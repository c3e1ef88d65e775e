#include "gui/gui_test_support.h"

#include "app/application.h"
#include "app/document_window.h"
#include "app/main_window.h"
#include "app/resources_init.h"
#include "editor/document.h"
#include "editor/text_view.h"
#include "io/profile_file.h"
#include "platform/dialog_units.h"
#include "playback/speech_state.h"
#include "sound/sound_backend.h"
#include "speaking/app_context.h"
#include "text/cp932_codec.h"
#include "voice_manager/voice_library.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <utility>

#include <memory>

namespace yomi6::test {

namespace {

std::string ToCp932(const char* utf8) {
    const QString s = QString::fromUtf8(utf8);
    return EncodeCp932(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                           static_cast<std::size_t>(s.size())),
                       EncodeOptions{})
        .bytes;
}

} // namespace

EditorRun::EditorRun(SoundBackend& sound, const QStringList& files)
    : EditorRun(sound, files, SpeechPreferences()) {}

EditorRun::EditorRun(SoundBackend& sound, const QStringList& files, const SpeechPreferences& start)
    : m_app(std::make_unique<Application>(sound, start)) {
    m_ok = m_app->Start(files);
    if (m_ok) {
        QApplication::setActiveWindow(m_app->Window());
    }
}

EditorRun::~EditorRun() {
    Finish();
}

MainWindow& EditorRun::frame() const {
    return *m_app->Window();
}

TextView* EditorRun::view() const {
    return frame().ActiveView();
}

QPrinter& EditorRun::printer() const {
    return m_app->Context().Printer();
}

SpeechController& EditorRun::speech() const {
    return m_app->Context().Speech();
}

SpeechPreferences& EditorRun::choices() const {
    return m_app->Context().Preferences();
}

ReaderSetup EditorRun::reading() const {
    return m_app->Context().ReadingSetup();
}

AppSettings& EditorRun::settings() const {
    return m_app->Context().Settings();
}

VoiceSelection& EditorRun::voices() const {
    return m_app->Context().Voices();
}

VoiceLibrary& EditorRun::library() const {
    return m_app->Context().Library();
}

void EditorRun::Finish() {
    if (!m_app) {
        return;
    }
    if (m_app->Window() != nullptr) {
        for (DocumentWindow* f : frame().DocumentWindows()) {
            f->View()->GetDocument()->SetModifiedFlag(false);
        }
        if (m_app->Window()->isVisible()) {
            m_app->Window()->close();
        }
    }
    m_app->Finish();
    m_app.reset();
}

ScratchConfig::ScratchConfig() : m_oldValue(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
}

ScratchConfig::~ScratchConfig() {
    qputenv("XDG_CONFIG_HOME", m_oldValue);
}

QString ScratchConfig::IniPath() const {
    return m_dir.filePath(QStringLiteral("yomi6.ini"));
}

std::string ScratchConfig::IniBytes() const {
    return ReadBytes(IniPath()).toStdString();
}

void ScratchConfig::WriteIni(const char* utf8Lines) const {
    QByteArray bytes = Sjis(utf8Lines);
    bytes.replace("\r\n", "\n").replace("\n", "\r\n");
    WriteBytes(IniPath(), bytes);
}

void ScratchConfig::ChooseDictionaryReading() const {
    WriteIni("[よみあげPadのセッティング]\n読み方=0\n");
}

GuiTestCase::GuiTestCase()
    : m_ownSound(std::make_unique<SoundBackend>()), m_sound(m_ownSound.get()) {}

GuiTestCase::GuiTestCase(SoundBackend& shared) : m_sound(&shared) {}

GuiTestCase::~GuiTestCase() = default;

void GuiTestCase::initTestCase() {
    InitResources();
    QVERIFY(m_cwd.isValid());
    QVERIFY(QDir::setCurrent(m_cwd.path()));
    // What the runs keep in the user's data folder (where reading stopped) stays in the class's
    // folder; a class may name another one in InitClass.
    qputenv("XDG_DATA_HOME", m_cwd.filePath(QStringLiteral("data")).toLocal8Bit());
    InitClass();
}

void GuiTestCase::init() {
    m_config = std::make_unique<ScratchConfig>();
    if (m_dictionaryReading) {
        m_config->ChooseDictionaryReading();
    }
    m_start = SpeechPreferences{};
    if (m_startSpeed) {
        m_start.speed = *m_startSpeed;
    }
    InitTest();
}

void GuiTestCase::cleanup() {
    CleanupTest();
    m_config.reset();
}

ModalHandler::ModalHandler(std::function<void(QWidget*)> act)
    : m_timer(std::make_unique<QTimer>()) {
    m_timer->setInterval(10);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        m_timer->stop();
        m_handled = true;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_text = box->text();
        }
        act(modal);
    });
    m_timer->start();
}

ModalHandler::~ModalHandler() = default;

QAction* FirstAction(MainWindow& frame, CommandId id) {
    const auto actions = frame.ActionsFor(id);
    return actions.empty() ? nullptr : actions.front();
}

void Type(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        if (ch == QLatin1Char('\n')) {
            QTest::keyClick(widget, Qt::Key_Return);
        } else if (ch.unicode() < 0x80) {
            QTest::keyClicks(widget, QString(ch));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(ch));
            QApplication::sendEvent(widget, &commit);
        }
    }
}

void AcceptFileDialog(QWidget* dialog, const QString& path) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    if (files == nullptr) {
        if (auto* other = qobject_cast<QDialog*>(dialog)) {
            other->reject(); // never leave an unexpected dialog waiting for ever
        }
        return;
    }
    if (QWidget* focus = files->focusWidget()) {
        focus->clearFocus();
    }
    files->selectFile(path);
    QMetaObject::invokeMethod(files, "accept");
}

std::unique_ptr<ModalHandler> AnswerNextMessageBox(QMessageBox::StandardButton button) {
    return std::make_unique<ModalHandler>([button](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            if (QAbstractButton* b = box->button(button)) {
                b->click();
                return;
            }
        }
        if (auto* dialog = qobject_cast<QDialog*>(w)) {
            dialog->reject();
        }
    });
}

std::optional<int> IniInt(const QString& iniPath, const char* sectionUtf8, const char* keyUtf8) {
    const ProfileFile profile = ProfileFile::Open(QFile::encodeName(iniPath).toStdString());
    const auto value = profile.Find(ToCp932(sectionUtf8), ToCp932(keyUtf8));
    if (!value) {
        return std::nullopt;
    }
    return profile.GetInt(ToCp932(sectionUtf8), ToCp932(keyUtf8), -99999);
}

QMenu* TopMenu(MainWindow& frame, const QString& title) {
    for (QAction* top : frame.menuBar()->actions()) {
        if (top->menu() != nullptr && top->text() == title) {
            return top->menu();
        }
    }
    return nullptr;
}

QAction* MenuAction(MainWindow& frame, const QString& menuTitle, const QString& text) {
    if (QMenu* menu = TopMenu(frame, menuTitle)) {
        for (QAction* a : menu->actions()) {
            if (a->text() == text) {
                return a;
            }
        }
    }
    return nullptr;
}

QAction* MenuAction(MainWindow& frame, const char* menuTitleUtf8, const char* textUtf8) {
    return MenuAction(frame, QString::fromUtf8(menuTitleUtf8), QString::fromUtf8(textUtf8));
}

namespace {

QString PlaceText(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

QStringList ControlsInTabOrder(const QWidget& dialog) {
    QStringList lines;
    for (const QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain()) {
        if (w->parentWidget() != &dialog) {
            continue;
        }
        QString name = QString::fromLatin1(w->metaObject()->className());
        name = name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
        QString text;
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            text = button->text();
        } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
            text = label->text();
        } else if (const auto* box = qobject_cast<const QGroupBox*>(w)) {
            text = box->title();
        }
        lines << name + QLatin1Char('|') + text + QLatin1Char('|') + PlaceText(w->geometry());
    }
    return lines;
}

QString ControlLine(const char* className, const char* textUtf8, const QRect& place,
                    const DialogUnits& units) {
    return QString::fromLatin1(className) + QLatin1Char('|') + QString::fromUtf8(textUtf8) +
           QLatin1Char('|') + PlaceText(units.ToPixels(place));
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray Sjis(const char* utf8) {
    return QByteArray::fromStdString(ToCp932(utf8));
}

} // namespace yomi6::test
