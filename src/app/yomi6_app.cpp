#include "app/yomi6_app.h"

#include "app/app_settings.h"
#include "app/main_frame.h"
#include "view/speech_controller.h"

namespace yomi6 {

CYOMI5App::CYOMI5App() = default;
CYOMI5App::~CYOMI5App() = default;

bool CYOMI5App::InitInstance(const QStringList& files) {
    app_settings::LoadAtStart();
    m_mainFrame = std::make_unique<CMainFrame>();
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
    SpeechController::Instance().Shutdown();
    app_settings::SaveAtExit();
    return 0;
}

} // namespace yomi6
