#include "editor/text_view.h"

#include "speaking/audio_export.h"

#include "editor/dictionary_once.h"
#include "editor/document.h"
#include "editor/text_search.h"
#include "platform/message_box.h"
#include "playback/playback.h"
#include "playback/speech_state.h"
#include "speaking/app_context.h"
#include "speaking/app_settings.h"
#include "speaking/speech_controller.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>

#include <algorithm>

namespace yomi6 {

namespace {

// The most characters the control holds, like the edit control it stands for.
constexpr int kMaxTextCharacters = 1048575;

constexpr const char* kNotFound = "「%1」が見つかりません。";

} // namespace

TextView::TextView(Document* document, QWidget* parent)
    : QPlainTextEdit(parent), m_document(document) {
    LoadDictionaryOnce(document->Context(), this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The document's text, not a copy: the control's own empty document goes.
    setDocument(document->TextDocument());
    AppSettings& settings = document->Context().Settings();
    ApplyWrapMode(app_settings::WordWrap(settings));
    if (const auto screen = app_settings::ScreenFont(settings)) {
        ApplyScreenFont(*screen);
    }
    m_printerFont = app_settings::PrinterFont(settings);
    document->AddView(this);

    connect(this->document(), &QTextDocument::contentsChange, this,
            [this](int, int removed, int added) {
                if (removed != 0 || added != 0) {
                    Speech().TextEdited(this);
                }
            });
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (!m_scrollingForSpeech) {
                m_userScrolled.start();
            }
        });
    }
    // The status bar then says that Ctrl+F3 reads on from the cut: the caret goes there.
    connect(&Speech(), &SpeechController::passCut, this,
            [this](const QObject* owner, int position) {
                if (owner == this) {
                    MoveCaretToCut(position);
                }
            });
}

void TextView::MoveCaretToCut(int position) {
    QTextCursor caret = textCursor();
    caret.setPosition(std::clamp(position, 0, document()->characterCount() - 1));
    // Where the speech is, not a scroll of the user's.
    m_scrollingForSpeech = true;
    setTextCursor(caret);
    m_scrollingForSpeech = false;
}

SpeechController& TextView::Speech() const {
    return m_document->Context().Speech();
}

TextView::~TextView() {
    Speech().ViewDestroyed(this);
    m_document->RemoveView(this);
}

bool TextView::IsWordWrap() const {
    return lineWrapMode() != QPlainTextEdit::NoWrap;
}

bool TextView::SetWordWrap(bool wrap) {
    if (IsWordWrap() == wrap) {
        return false;
    }
    ApplyWrapMode(wrap);
    return true;
}

void TextView::ApplyWrapMode(bool wrap) {
    setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    // The wrap mode is written into the shared text: it stays that of the layout view.
    m_document->FitLayout();
    ShowWrapCommand();
}

void TextView::ClaimLayout() {
    QTextDocument* text = document();
    if (text->defaultFont() != font()) {
        text->setDefaultFont(font());
    }
    QTextOption option = text->defaultTextOption();
    const QTextOption::WrapMode wrap = IsWordWrap() ? wordWrapMode() : QTextOption::NoWrap;
    if (option.wrapMode() != wrap) {
        option.setWrapMode(wrap);
        text->setDefaultTextOption(option);
    }
}

void TextView::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    // The control sets its font on the shared text as well: the layout view's font goes back.
    if (event->type() == QEvent::FontChange) {
        m_document->FitLayout();
    }
}

void TextView::SetActive(bool activate) {
    if (activate) {
        m_document->SetLayoutView(this);
    } else {
        Speech().ViewDeactivated(this);
    }
}

QString TextView::Text() const {
    return m_document->Text();
}

void TextView::SpeakDocument() {
    const QString text = Text();
    const QStringList messages = Speech().Speak(this, SpeechSourceOfText(text), text, m_document);
    for (const QString& message : messages) {
        ShowMessage(window(), message, MessageBoxType::IconExclamation);
    }
}

void TextView::SpeakFromCaret() {
    const QTextCursor caret = textCursor();
    const QString text = Text();
    const int begin = caret.hasSelection() ? caret.selectionStart() : caret.position();
    const int end = caret.hasSelection() ? caret.selectionEnd() : static_cast<int>(text.size());
    const QStringList messages = Speech().ReadRange(this, text, begin, end, m_document);
    for (const QString& message : messages) {
        ShowMessage(window(), message, MessageBoxType::IconExclamation);
    }
}

void TextView::ExportAudioFile() {
    // The selection when there is one, else the whole document.
    QString text = textCursor().hasSelection() ? textCursor().selectedText() : Text();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    ExportAudioWithDialogs(window(), m_document->Context(), text,
                           m_document->DialogPath(QStringLiteral(".wav")));
}

void TextView::StopSpeaking() {
    Speech().Stop();
}

void TextView::ChooseScreenFont() {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font(), window());
    if (!ok) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ApplyScreenFont(chosen);
    app_settings::SetScreenFont(m_document->Context().Settings(), chosen);
    QApplication::restoreOverrideCursor();
}

void TextView::ApplyScreenFont(const QFont& font) {
    m_screenFont = font;
    setFont(font);
}

void TextView::ToggleWordWrap() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SetWordWrap(!IsWordWrap());
    app_settings::SetWordWrap(m_document->Context().Settings(), IsWordWrap());
    QApplication::restoreOverrideCursor();
}

void TextView::OpenSearchDialog(bool replace) {
    emit searchDialogWanted(replace, textCursor().selectedText());
}

bool TextView::FindText(const SearchOptions& options) {
    if (!FindNext(*this, options)) {
        TextNotFound(options);
        return false;
    }
    return true;
}

void TextView::ReplaceText(const SearchOptions& options, const QString& replacement) {
    if (!ReplaceOne(*this, options, replacement)) {
        TextNotFound(options);
    }
}

int TextView::ReplaceAllText(const SearchOptions& options, const QString& replacement) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int count = ReplaceAll(*this, options, replacement);
    QApplication::restoreOverrideCursor();
    if (count == 0) {
        TextNotFound(options);
    }
    return count;
}

void TextView::TextNotFound(const SearchOptions& options) {
    ShowMessage(window(), QString::fromUtf8(kNotFound).arg(options.text),
                MessageBoxType::IconExclamation);
}

void TextView::keyPressEvent(QKeyEvent* event) {
    // F5 switches the voice once per press: not while the keyboard repeats it, and not with Alt
    // held (Alt+F5 belongs to the window system).
    if (event->key() == Qt::Key_F5 && !(event->modifiers() & Qt::AltModifier) &&
        ToggleVoiceOnF5(m_document->Context().Preferences(),
                        event->isAutoRepeat() ? KeyRepeat::AutoRepeat : KeyRepeat::FirstPress)) {
        emit voiceChanged();
    }
    // Typing that would take the text past its limit is refused, as the edit control does.
    if (!event->text().isEmpty() && !textCursor().hasSelection() &&
        document()->characterCount() > kMaxTextCharacters) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextView::insertFromMimeData(const QMimeData* source) {
    const qsizetype removed = textCursor().selectedText().size();
    if (source->hasText() &&
        document()->characterCount() - 1 - removed + source->text().size() > kMaxTextCharacters) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

} // namespace yomi6
