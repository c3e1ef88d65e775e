// The view's commands that open the speech settings dialog, the word registration dialog and
// the voice dialog.
#include "dictionary/dictionary.h"
#include "dictionary_manager/word_dialog.h"
#include "editor/document.h"
#include "editor/text_view.h"
#include "platform/message_box.h"
#include "playback/speech_state.h"
#include "speaking/app_context.h"
#include "speaking/speech_settings_dialog.h"
#include "voice_manager/voice_dialog.h"

namespace yomi6 {

void TextView::EditSpeechSettings() {
    SpeechPreferences& choices = m_document->Context().Preferences();
    SpeechSettingsDialog dialog({choices.speed, choices.repeat, choices.voice}, window());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const SpeechDialogSettings& accepted = dialog.Settings();
    choices.speed = accepted.speedMs;
    choices.repeat = accepted.repeat;
    choices.voice = accepted.voice;
    emit voiceChanged(); // the status bar shows the voice at once
}

void TextView::OpenWordRegistration() {
    RegisterWord(QString(), QString());
}

void TextView::RegisterWord(const QString& word, const QString& yomi) {
    WordDialog dialog(m_document->Context().Registration(), window());
    if (!word.isEmpty()) {
        dialog.OfferWord(word, yomi);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // The next speak command uses the words as the file now holds them.
    MessageBoxSink sink(window());
    m_document->Context().UserDictionary().Load(sink);
}

void TextView::OpenVoiceManager() {
    VoiceDialog dialog(m_document->Context().Library(), window());
    dialog.exec();
}

} // namespace yomi6
