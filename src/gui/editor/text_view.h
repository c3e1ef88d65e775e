// The text view of a document window: the edit control with word wrap, the screen font, find
// and replace, and the speech commands.
#pragma once

#include "commands/command_actions.h"

#include <QElapsedTimer>
#include <QFont>
#include <QPlainTextEdit>

#include <optional>
#include <span>
#include <vector>

class QMenu;

namespace yomi6 {

class Document;
class SpeechController;
struct SearchOptions;

class TextView : public QPlainTextEdit {
    Q_OBJECT
public:
    // Creating the first view of the run loads the dictionary first.
    TextView(Document* document, QWidget* parent = nullptr);
    ~TextView() override;

    Document* GetDocument() const { return m_document; }

    bool IsWordWrap() const;
    // False when the view already is in the wanted state.
    bool SetWordWrap(bool wrap);

    // Called by the frame when this view gains (true) or loses (false) activation: another
    // document window or another program became active, or the view is closing. The view
    // gaining activation lays the document's text out for itself.
    void SetActive(bool activate);
    // Lays the document's text (shared with its other views) out with this view's wrap mode
    // and font.
    void ClaimLayout();

    // The document's whole text with '\n' between lines and every other character as typed.
    QString Text() const;

    // The fonts: the screen font set on the control, the printer font kept for printing.
    const std::optional<QFont>& ScreenFont() const { return m_screenFont; }
    const std::optional<QFont>& PrinterFont() const { return m_printerFont; }
    void SetPrinterFont(const QFont& font) { m_printerFont = font; }

    // The commands a view carries out (text_view_commands.cpp).
    static std::span<const CommandBinding<TextView>> Bindings();
    // While its window is the active one, the view carries out its commands through their
    // actions in actions, which outlive it, and keeps each one's enabled state and check mark
    // as its text, selection, undo history and wrap, the clipboard, the speech and the settings
    // say, from their signals. Released when another window becomes active.
    void TakeCommands(const CommandActions& actions);
    void ReleaseCommands();

    // The find and replace dialogs' work, public for the dialogs and for tests.
    bool FindText(const SearchOptions& options);
    void ReplaceText(const SearchOptions& options, const QString& replacement);
    int ReplaceAllText(const SearchOptions& options, const QString& replacement);

    // The speech highlight: characters [unitBegin, unitEnd) are being heard, inside the word
    // [wordBegin, wordEnd); negative values take the highlight away. The document hands its
    // highlight to each of its windows, whichever of them started the speech.
    void ShowSpeechHighlight(int unitBegin, int unitEnd, int wordBegin, int wordEnd);

    // The word registration dialog, with word and yomi offered in its first empty row when word
    // is not empty; the dictionary is loaded again after confirm.
    void RegisterWord(const QString& word, const QString& yomi);

signals:
    // The voice changed by F5: the status bar shows it at once.
    void voiceChanged();
    // The find (replace false) or replace dialog is wanted, with selectedText offered as the
    // text to search for when it is not empty. The main window owns the dialogs.
    void searchDialogWanted(bool replace, const QString& selectedText);
    // The view's context menu is about to open: the main window adds its commands to menu.
    void contextMenuOpening(QMenu* menu);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    // The edit menu of the control with "選択範囲を登録" added.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SpeakDocument();
    void StopSpeaking();
    void SpeakFromCaret();
    // The speak command's pass stopped at character position before the end of the text: the
    // caret goes there, so that Ctrl+F3 reads on from it.
    void MoveCaretToCut(int position);
    // Scrolls the view to characters [begin, end) unless the user scrolled it in the last few
    // seconds.
    void KeepInView(int begin, int end);
    // The selection, or the whole document, rendered to a sound file (audio_export.cpp).
    void ExportAudioFile();
    void ChooseScreenFont();
    void ToggleWordWrap();
    // The speech dialogs (text_view_speech_dialogs.cpp).
    void EditSpeechSettings();
    void OpenWordRegistration();
    // The dictionary manager and the selection registered in it (text_view_dictionary.cpp).
    void OpenDictionaryManager();
    void RegisterSelectionInManager();
    void OpenVoiceManager();
    // Printing (text_view_print.cpp).
    void PrintDocument(bool withDialog);
    void PreviewPrint();
    void ChoosePrinterFont();
    void EditPageLayout();
    void OpenSearchDialog(bool replace);
    // What the commands' actions show, each from the signal of what it follows, while the view
    // holds them (text_view_commands.cpp).
    void ShowSelectionCommands();
    void ShowTextCommands();
    void ShowUndoCommand();
    void ShowPasteCommand();
    void ShowSpeechCommands();
    void ShowWrapCommand();
    void ShowFitSamplesCommand();
    void ToggleFitSamples();
    void ApplyScreenFont(const QFont& font);
    void ApplyWrapMode(bool wrap);
    void TextNotFound(const SearchOptions& options);
    // The speech of the run the view's document belongs to.
    SpeechController& Speech() const;

    Document* m_document;
    const CommandActions* m_commands = nullptr; // while the view carries out its commands
    std::vector<QMetaObject::Connection> m_commandConnections;
    std::optional<QFont> m_screenFont;
    std::optional<QFont> m_printerFont;
    QElapsedTimer m_userScrolled;      // since the user last scrolled the view
    bool m_scrollingForSpeech = false; // the view scrolls itself to the highlight
};

} // namespace yomi6
