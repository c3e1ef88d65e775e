#include "editor/bookmarks_dialog.h"

#include "editor/document.h"
#include "editor/reading_places.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QVBoxLayout>

namespace yomi6 {

BookmarksDialog::BookmarksDialog(ReadingPlaces& places, Document* document,
                                 std::function<void(int)> jump, QWidget* parent)
    : QDialog(parent), m_places(places), m_document(document), m_jumpTo(std::move(jump)),
      m_list(new QListWidget(this)), m_jump(new QPushButton(QStringLiteral("移動(&G)"), this)),
      m_delete(new QPushButton(QStringLiteral("削除(&D)"), this)) {
    setWindowTitle(QStringLiteral("しおり - ") + document->Title());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    buttons->addButton(m_jump, QDialogButtonBox::ActionRole);
    buttons->addButton(m_delete, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    m_jump->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(m_jump, &QPushButton::clicked, this, &BookmarksDialog::JumpToCurrent);
    connect(m_delete, &QPushButton::clicked, this, &BookmarksDialog::DeleteCurrent);
    connect(m_list, &QListWidget::itemActivated, this, &BookmarksDialog::JumpToCurrent);
    connect(&m_places, &ReadingPlaces::placesChanged, this, [this](const Document* changed) {
        if (changed == m_document) {
            Fill();
        }
    });
    connect(document, &QObject::destroyed, this, &QDialog::close);
    Fill();
}

void BookmarksDialog::Fill() {
    const int row = m_list->currentRow();
    m_list->clear();
    m_positions.clear();
    if (m_document != nullptr) {
        const QTextDocument* text = m_document->TextDocument();
        for (const auto& [name, position] : m_places.Bookmarks(m_document)) {
            const int line = text->findBlock(position).blockNumber() + 1;
            m_list->addItem(QStringLiteral("%1 (%2行目)").arg(name).arg(line));
            m_positions.push_back(position);
        }
    }
    m_list->setCurrentRow(std::min(std::max(row, 0), m_list->count() - 1));
    m_jump->setEnabled(m_list->count() > 0);
    m_delete->setEnabled(m_list->count() > 0);
}

void BookmarksDialog::JumpToCurrent() {
    const int row = m_list->currentRow();
    if (row >= 0 && row < static_cast<int>(m_positions.size())) {
        m_jumpTo(m_positions[static_cast<std::size_t>(row)]);
    }
}

void BookmarksDialog::DeleteCurrent() {
    const int row = m_list->currentRow();
    if (m_document != nullptr && row >= 0 && row < static_cast<int>(m_positions.size())) {
        m_places.RemoveBookmark(m_document, row);
    }
}

} // namespace yomi6
