#include "editor/document.h"
#include "platform/ui_text.h"

#include "editor/text_view.h"
#include "io/app_strings.h"
#include "platform/message_box.h"
#include "speaking/app_context.h"
#include "speaking/speech_controller.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace yomi6 {

namespace {

constexpr const char* kAskToSave = "%1 への変更を保存しますか?";
constexpr const char* kSaveFailed = "%1 を保存できません。\n%2";
constexpr const char* kUnencodable =
    "%1 には Shift-JIS で保存できない文字があります:\n%2\n\nUTF-8 で保存しますか?";
constexpr const char* kAllFiles = "すべてのﾌｧｲﾙ (*)";

QString FileFilter() {
    return Tr(strings::kFileFilter) + QStringLiteral(";;") + Tr(kAllFiles);
}

} // namespace

QString DialogFolder(const AppContext& context, const QString& path) {
    for (const QString& file : QStringList{path} + context.RecentFiles()) {
        const QFileInfo info(file);
        if (!file.isEmpty() && info.absoluteDir().exists()) {
            return info.absolutePath();
        }
    }
    return QDir::homePath();
}

QString Document::DialogPath(const QString& extension) const {
    const QString name = m_path.isEmpty() ? m_title : QFileInfo(m_path).completeBaseName();
    return QDir(DialogFolder(m_context, m_path)).filePath(name + extension);
}

Document::Document(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_text(new QTextDocument(this)) {
    m_text->setDocumentLayout(new QPlainTextDocumentLayout(m_text));
    // An edit marks the document modified; only saving (or loading) clears the mark, so undoing
    // back to the saved text still asks to save, as before.
    connect(m_text, &QTextDocument::modificationChanged, this, [this](bool changed) {
        if (changed) {
            SetModifiedFlag(true);
        }
    });
}

void Document::InitializeUntitled(int untitledNumber) {
    m_path.clear();
    m_title = Tr(strings::kUntitledBase) + QString::number(untitledNumber);
    m_format = DocumentFormat{};
    SetModifiedFlag(false);
    emit titleChanged();
}

bool Document::LoadFromFile(const QString& path, QWidget* dialogParent) {
    LoadedDocument loaded = LoadDocumentFile(path);
    switch (loaded.status) {
    case LoadedDocument::Status::TooLarge:
        ShowMessage(dialogParent, Tr(strings::kFileTooLarge), MessageBoxType::IconExclamation);
        return false;
    case LoadedDocument::Status::Error:
        ShowMessage(dialogParent, loaded.error, MessageBoxType::IconExclamation);
        return false;
    case LoadedDocument::Status::Ok:
        break;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_title = QFileInfo(path).fileName();
    m_format = loaded.format;
    // Loading is no edit: it leaves no undo step behind and no mark of a change.
    m_text->setPlainText(loaded.text);
    m_text->setModified(false);
    for (TextView* view : m_views) {
        view->setTextCursor(QTextCursor(m_text));
    }
    SetModifiedFlag(false);
    emit titleChanged();
    emit formatChanged();
    return true;
}

QString Document::Text() const {
    QString text = m_text->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

bool Document::DoFileSave(QWidget* dialogParent) {
    if (m_path.isEmpty()) {
        return DoSaveAs(dialogParent);
    }
    return SaveTo(m_path, dialogParent);
}

bool Document::DoSaveAs(QWidget* dialogParent) {
    QString suggested = m_path.isEmpty() ? DialogPath(Tr(strings::kDefaultExtension)) : m_path;
    QString path = QFileDialog::getSaveFileName(dialogParent, QString(), suggested, FileFilter());
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += Tr(strings::kDefaultExtension);
    }
    return SaveTo(path, dialogParent);
}

bool Document::SaveTo(const QString& path, QWidget* dialogParent) {
    const QString text = Text();
    DocumentFormat format = m_format;
    const SaveCheck check = CheckEncodable(text, format);
    if (!check.encodable) {
        // Never drop a character silently: offer UTF-8, which holds them all, or go back.
        const auto answer = QMessageBox::warning(
            dialogParent, Tr(strings::kAppName),
            Tr(kUnencodable).arg(QFileInfo(path).fileName(), check.unencodable.left(200)),
            QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer != QMessageBox::Yes) {
            return false;
        }
        format.encoding = TextEncoding::Utf8;
    }
    const QString error = SaveDocumentFile(path, text, format);
    if (!error.isEmpty()) {
        ShowMessage(dialogParent, Tr(kSaveFailed).arg(path, error),
                    MessageBoxType::IconExclamation);
        return false;
    }
    const bool renamed = QFileInfo(path).absoluteFilePath() != m_path;
    m_path = QFileInfo(path).absoluteFilePath();
    m_title = QFileInfo(path).fileName();
    m_format = format;
    SetModifiedFlag(false);
    if (renamed) {
        emit titleChanged();
    }
    emit formatChanged();
    return true;
}

bool Document::SaveModified(QWidget* dialogParent) {
    if (!m_modified) {
        return true;
    }
    const auto answer = QMessageBox::question(
        dialogParent, Tr(strings::kAppName), Tr(kAskToSave).arg(m_title),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel) {
        return false;
    }
    if (answer == QMessageBox::No) {
        return true;
    }
    return DoFileSave(dialogParent);
}

void Document::SetModifiedFlag(bool modified) {
    if (m_modified == modified) {
        return;
    }
    m_modified = modified;
    m_text->setModified(modified);
    emit modifiedChanged(modified);
}

void Document::AddView(TextView* view) {
    m_views.push_back(view);
    if (m_layoutView == nullptr) {
        m_layoutView = view;
    }
    if (m_highlightOwner != nullptr) {
        view->ShowSpeechHighlight(m_highlight.unitBegin, m_highlight.unitEnd, m_highlight.wordBegin,
                                  m_highlight.wordEnd);
    }
}

void Document::RemoveView(TextView* view) {
    std::erase(m_views, view);
    if (m_layoutView == view) {
        m_layoutView = m_views.empty() ? nullptr : m_views.front();
        FitLayout();
    }
    // The speech of a closed window ends with it: its highlight must not stay in the others.
    if (m_highlightOwner == view) {
        m_highlightOwner = nullptr;
        m_highlight = Highlight{};
        ShowHighlightInViews();
    }
}

void Document::SetLayoutView(TextView* view) {
    if (std::find(m_views.begin(), m_views.end(), view) != m_views.end()) {
        m_layoutView = view;
        FitLayout();
    }
}

void Document::FitLayout() {
    if (m_layoutView != nullptr) {
        m_layoutView->ClaimLayout();
    }
}

void Document::UnitHeard(const yomi6::SpeechHighlight& unit) {
    m_highlight = {unit.unitBegin, unit.unitEnd, unit.wordBegin, unit.wordEnd};
    m_highlightOwner = unit.unitBegin < 0 ? nullptr : unit.owner;
    ShowHighlightInViews();
    emit speechUnitHeard(unit);
}

void Document::ShowHighlightInViews() {
    for (TextView* view : m_views) {
        view->ShowSpeechHighlight(m_highlight.unitBegin, m_highlight.unitEnd, m_highlight.wordBegin,
                                  m_highlight.wordEnd);
    }
}

} // namespace yomi6
