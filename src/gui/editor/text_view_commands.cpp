// The document's commands a text view carries out while its window is the active one: what each
// does, and what its action shows, kept from the signals of what it follows.
#include "editor/document.h"
#include "editor/text_view.h"
#include "speaking/app_context.h"
#include "speaking/app_settings.h"
#include "speaking/speech_controller.h"

#include <QApplication>
#include <QClipboard>

namespace yomi6 {

std::span<const CommandBinding<TextView>> TextView::Bindings() {
    using V = TextView;
    static constexpr CommandBinding<V> kCommands[] = {
        {CommandId::Speak, [](V& v) { v.SpeakDocument(); }},
        {CommandId::Stop, [](V& v) { v.StopSpeaking(); }},
        {CommandId::ReadFromCaret, [](V& v) { v.SpeakFromCaret(); }},
        {CommandId::Pause, [](V& v) { v.Speech().TogglePause(); }},
        {CommandId::ScreenFont, [](V& v) { v.ChooseScreenFont(); }},
        {CommandId::WordWrap, [](V& v) { v.ToggleWordWrap(); }},
        {CommandId::SpeechSettings, [](V& v) { v.EditSpeechSettings(); }},
        {CommandId::WordRegistration, [](V& v) { v.OpenWordRegistration(); }},
        {CommandId::DictionaryManager, [](V& v) { v.OpenDictionaryManager(); }},
        {CommandId::RegisterSelection, [](V& v) { v.RegisterSelectionInManager(); }},
        {CommandId::VoiceManager, [](V& v) { v.OpenVoiceManager(); }},
        {CommandId::FitSamples, [](V& v) { v.ToggleFitSamples(); }},
        {CommandId::EditUndo, [](V& v) { v.undo(); }},
        {CommandId::EditCut, [](V& v) { v.cut(); }},
        {CommandId::EditCopy, [](V& v) { v.copy(); }},
        {CommandId::EditPaste, [](V& v) { v.paste(); }},
        {CommandId::EditSelectAll, [](V& v) { v.selectAll(); }},
        {CommandId::EditFind, [](V& v) { v.OpenSearchDialog(false); }},
        {CommandId::EditReplace, [](V& v) { v.OpenSearchDialog(true); }},
        {CommandId::FileSave, [](V& v) { v.m_document->DoFileSave(v.window()); }},
        {CommandId::FileSaveAs, [](V& v) { v.m_document->DoSaveAs(v.window()); }},
        {CommandId::FilePrint, [](V& v) { v.PrintDocument(true); }},
        {CommandId::FilePrintDirect, [](V& v) { v.PrintDocument(false); }},
        {CommandId::FilePrintPreview, [](V& v) { v.PreviewPrint(); }},
        {CommandId::PrinterFont, [](V& v) { v.ChoosePrinterFont(); }},
        {CommandId::PageLayout, [](V& v) { v.EditPageLayout(); }},
        {CommandId::ExportAudio, [](V& v) { v.ExportAudioFile(); }},
    };
    return kCommands;
}

void TextView::TakeCommands(const CommandActions& actions) {
    ReleaseCommands();
    m_commands = &actions;
    m_commandConnections = ConnectCommands(actions, *this, Bindings());
    const auto keep = [this](const QMetaObject::Connection& connection) {
        m_commandConnections.push_back(connection);
    };
    keep(connect(this, &QPlainTextEdit::copyAvailable, this, &TextView::ShowSelectionCommands));
    keep(connect(this, &QPlainTextEdit::textChanged, this, &TextView::ShowTextCommands));
    keep(connect(this, &QPlainTextEdit::undoAvailable, this, &TextView::ShowUndoCommand));
    keep(connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
                 &TextView::ShowPasteCommand));
    keep(connect(&Speech(), &SpeechController::stateChanged, this, &TextView::ShowSpeechCommands));
    // The others are on whenever the view has them; those below say when they are not.
    for (const CommandBinding<TextView>& row : Bindings()) {
        actions.SetEnabled(row.id, true);
    }
    ShowSelectionCommands();
    ShowTextCommands();
    ShowUndoCommand();
    ShowPasteCommand();
    ShowSpeechCommands();
    ShowWrapCommand();
    ShowFitSamplesCommand();
}

void TextView::ReleaseCommands() {
    for (const QMetaObject::Connection& connection : m_commandConnections) {
        disconnect(connection);
    }
    m_commandConnections.clear();
    m_commands = nullptr;
}

void TextView::ShowSelectionCommands() {
    if (m_commands == nullptr) {
        return;
    }
    const bool selected = textCursor().hasSelection();
    m_commands->SetEnabled(CommandId::EditCopy, selected);
    m_commands->SetEnabled(CommandId::EditCut, selected && !isReadOnly());
    m_commands->SetEnabled(CommandId::RegisterSelection, selected);
}

void TextView::ShowTextCommands() {
    if (m_commands == nullptr) {
        return;
    }
    const bool hasText = !document()->isEmpty();
    for (const CommandId id : {CommandId::EditSelectAll, CommandId::EditFind,
                               CommandId::EditReplace, CommandId::ExportAudio}) {
        m_commands->SetEnabled(id, hasText);
    }
}

void TextView::ShowUndoCommand() {
    if (m_commands != nullptr) {
        m_commands->SetEnabled(CommandId::EditUndo, document()->isUndoAvailable());
    }
}

void TextView::ShowPasteCommand() {
    if (m_commands != nullptr) {
        m_commands->SetEnabled(CommandId::EditPaste, canPaste());
    }
}

void TextView::ShowSpeechCommands() {
    if (m_commands == nullptr) {
        return;
    }
    const SpeechController& speech = Speech();
    m_commands->SetEnabled(CommandId::Speak, speech.IsSpeakEnabled());
    m_commands->SetEnabled(CommandId::ReadFromCaret, speech.IsSpeakEnabled());
    m_commands->SetEnabled(CommandId::Pause, speech.IsPaused() || speech.IsTimerRunning());
    m_commands->SetChecked(CommandId::Pause, speech.IsPaused());
}

void TextView::ShowWrapCommand() {
    if (m_commands != nullptr) {
        m_commands->SetChecked(CommandId::WordWrap, IsWordWrap());
    }
}

void TextView::ShowFitSamplesCommand() {
    if (m_commands != nullptr) {
        m_commands->SetChecked(CommandId::FitSamples,
                               app_settings::FitSamples(m_document->Context().Settings()));
    }
}

void TextView::ToggleFitSamples() {
    // Taken up by the next speak command, as the speed is.
    AppSettings& settings = m_document->Context().Settings();
    app_settings::SetFitSamples(settings, !app_settings::FitSamples(settings));
    ShowFitSamplesCommand();
}

} // namespace yomi6
