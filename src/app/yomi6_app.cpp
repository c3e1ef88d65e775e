#include "app/yomi6_app.h"

#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "platform/app_strings.h"
#include "platform/message_box.h"
#include "settings/settings_path.h"
#include "view/app_context.h"
#include "view/app_settings.h"
#include "view/speech_controller.h"

#include <QFile>
#include <QTranslator>

namespace yomi6 {

CYOMI5App::CYOMI5App(const SpeechPreferences& start)
    : m_context(std::make_unique<AppContext>(start)) {}
CYOMI5App::~CYOMI5App() = default;

bool CYOMI5App::InitInstance(const QStringList& files) {
    m_qtTranslations = InstallQtTranslations(QtTranslationsFolder());
    app_settings::LoadAtStart(*m_context);
    m_mainFrame = std::make_unique<CMainFrame>(*m_context);
    if (files.isEmpty()) {
        m_mainFrame->NewDocument();
    } else {
        for (const QString& file : files) {
            if (m_mainFrame->OpenDocument(file) == nullptr) {
                return false; // the user was told why the file did not open
            }
        }
    }
    m_mainFrame->show();
    return true;
}

int CYOMI5App::ExitInstance() {
    m_mainFrame.reset();
    m_context->Speech().Shutdown();
    if (!app_settings::SaveAtExit(*m_context)) {
        const QString path = QFile::decodeName(QByteArray::fromStdString(SettingsPath()));
        ShowMessage(nullptr, QString::fromUtf8(strings::kSettingsNotSaved).arg(path),
                    MessageBoxType::IconExclamation);
    }
    return 0;
}

} // namespace yomi6
