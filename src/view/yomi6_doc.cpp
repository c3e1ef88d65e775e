#include "view/yomi6_doc.h"

#include "platform/app_strings.h"
#include "platform/message_box.h"
#include "view/yomi6_view.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>

namespace yomi6 {

namespace {

constexpr const char* kAskToSave = "%1 への変更を保存しますか?";
constexpr const char* kSaveFailed = "%1 を保存できません。\n%2";
constexpr const char* kUnencodable =
    "%1 には Shift-JIS で保存できない文字があります:\n%2\n\nUTF-8 で保存しますか?";
constexpr const char* kAllFiles = "すべてのﾌｧｲﾙ (*)";

QString Tr(const char* s) {
    return QString::fromUtf8(s);
}

QString FileFilter() {
    return Tr(strings::kFileFilter) + QStringLiteral(";;") + Tr(kAllFiles);
}

} // namespace

CYOMI5Doc::CYOMI5Doc(QObject* parent) : QObject(parent) {}

void CYOMI5Doc::OnNewDocument(int untitledNumber) {
    m_path.clear();
    m_title = Tr(strings::kUntitledBase) + QString::number(untitledNumber);
    m_format = DocumentFormat{};
    SetModifiedFlag(false);
    emit titleChanged();
}

bool CYOMI5Doc::OnOpenDocument(const QString& path, QWidget* dialogParent) {
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
    m_loadedText = std::move(loaded.text);
    for (CYOMI5View* view : m_views) {
        view->SetTextFromDocument(m_loadedText);
    }
    SetModifiedFlag(false);
    emit titleChanged();
    emit formatChanged();
    return true;
}

QString CYOMI5Doc::Text() const {
    return m_views.empty() ? m_loadedText : m_views.front()->Text();
}

bool CYOMI5Doc::DoFileSave(QWidget* dialogParent) {
    if (m_path.isEmpty()) {
        return DoSaveAs(dialogParent);
    }
    return SaveTo(m_path, dialogParent);
}

bool CYOMI5Doc::DoSaveAs(QWidget* dialogParent) {
    QString suggested = m_path.isEmpty() ? m_title + Tr(strings::kDefaultExtension) : m_path;
    QString path = QFileDialog::getSaveFileName(dialogParent, QString(), suggested, FileFilter());
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += Tr(strings::kDefaultExtension);
    }
    return SaveTo(path, dialogParent);
}

bool CYOMI5Doc::SaveTo(const QString& path, QWidget* dialogParent) {
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

bool CYOMI5Doc::SaveModified(QWidget* dialogParent) {
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

void CYOMI5Doc::SetModifiedFlag(bool modified) {
    if (m_modified == modified) {
        return;
    }
    m_modified = modified;
    for (CYOMI5View* view : m_views) {
        view->document()->setModified(modified);
    }
    emit modifiedChanged(modified);
}

void CYOMI5Doc::AddView(CYOMI5View* view) {
    // A further view starts with the text as it stands in the first one.
    view->SetTextFromDocument(m_views.empty() ? m_loadedText : Text());
    m_views.push_back(view);
    if (m_views.size() == 1) {
        m_loadedText.clear();
    }
    connect(view->document(), &QTextDocument::contentsChange, this,
            [this, view](int position, int removed, int added) {
                MirrorChange(view, position, removed, added);
            });
    connect(view->document(), &QTextDocument::modificationChanged, this, [this](bool changed) {
        if (changed && !m_mirroring) {
            SetModifiedFlag(true);
        }
    });
}

void CYOMI5Doc::RemoveView(CYOMI5View* view) {
    if (m_views.size() == 1 && m_views.front() == view) {
        m_loadedText = view->Text(); // keep the text for a view that may still come
    }
    std::erase(m_views, view);
}

void CYOMI5Doc::MirrorChange(CYOMI5View* from, int position, int removed, int added) {
    if (m_mirroring || m_views.size() < 2 || !from->IsTextLoaded()) {
        return;
    }
    // The inserted text, read from the view that changed.
    QTextCursor source(from->document());
    source.setPosition(position);
    source.setPosition(position + added, QTextCursor::KeepAnchor);
    QString inserted = source.selection().toRawText();
    inserted.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    m_mirroring = true;
    for (CYOMI5View* view : m_views) {
        if (view == from) {
            continue;
        }
        QTextCursor c(view->document());
        c.setPosition(std::min(position, view->document()->characterCount() - 1));
        c.setPosition(std::min(position + removed, view->document()->characterCount() - 1),
                      QTextCursor::KeepAnchor);
        c.insertText(inserted);
    }
    m_mirroring = false;
}

} // namespace yomi6
