// The view's commands that open the speech settings dialog, the word registration dialog and
// the voice dialog.
#include "dictionary/dic_loader.h"
#include "platform/message_box.h"
#include "speech/speech_state.h"
#include "view/app_context.h"
#include "view/speech_settings_dialog.h"
#include "view/voice_dialog.h"
#include "view/word_dialog.h"
#include "view/yomi6_doc.h"
#include "view/yomi6_view.h"

namespace yomi6 {

void CYOMI5View::OnSpeechSettings() {
    CSpeechSettingsDlg dialog(window());
    SpeechPreferences& choices = m_document->Context().Preferences();
    dialog.m_nSpeed = choices.speed;
    dialog.m_nRepeat = choices.repeat;
    dialog.m_nVoice = choices.voice;
    if (dialog.DoModal() != QDialog::Accepted) {
        return;
    }
    choices.speed = dialog.m_nSpeed;
    choices.repeat = dialog.m_nRepeat;
    choices.voice = dialog.m_nVoice;
    emit voiceChanged(); // the status bar shows the voice at once
}

void CYOMI5View::OnWordRegistration() {
    RegisterWord(QString(), QString());
}

void CYOMI5View::RegisterWord(const QString& word, const QString& yomi) {
    CWordDlg dialog(m_document->Context().Registration(), window());
    if (!word.isEmpty()) {
        dialog.OfferWord(word, yomi);
    }
    if (dialog.DoModal() != QDialog::Accepted) {
        return;
    }
    // The next speak command uses the words as the file now holds them.
    MessageBoxSink sink(window());
    LoadDictionary(sink);
}

void CYOMI5View::OnVoiceManager() {
    VoiceDialog dialog(window());
    dialog.exec();
}

} // namespace yomi6
