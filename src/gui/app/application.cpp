#include "app/application.h"

#include "app/main_window.h"
#include "app/qt_translations.h"
#include "io/app_strings.h"
#include "platform/message_box.h"
#include "settings/settings_path.h"
#include "speaking/app_context.h"
#include "speaking/app_settings.h"
#include "speaking/speech_controller.h"

#include <QFile>
#include <QTranslator>

namespace yomi6 {

Application::Application(SoundBackend& sound, const SpeechPreferences& start)
    : m_context(std::make_unique<AppContext>(sound, start)) {}
Application::~Application() = default;

bool Application::Start(const QStringList& files) {
    m_qtTranslations = InstallQtTranslations(QtTranslationsFolder());
    app_settings::LoadAtStart(*m_context);
    m_mainWindow = std::make_unique<MainWindow>(*m_context);
    if (files.isEmpty()) {
        m_mainWindow->NewDocument();
    } else {
        for (const QString& file : files) {
            if (m_mainWindow->OpenDocument(file) == nullptr) {
                return false; // the user was told why the file did not open
            }
        }
    }
    m_mainWindow->show();
    return true;
}

int Application::Finish() {
    m_mainWindow.reset();
    m_context->Speech().Shutdown();
    if (!app_settings::SaveAtExit(*m_context)) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(SettingsPath()));
        ShowMessage(nullptr, QString::fromUtf8(strings::kSettingsNotSaved).arg(path),
                    MessageBoxType::IconExclamation);
    }
    return 0;
}

} // namespace yomi6
