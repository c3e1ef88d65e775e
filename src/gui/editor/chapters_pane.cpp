#include "editor/chapters_pane.h"

#include "editor/text_view.h"

#include <QListWidget>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>
#include <string_view>

namespace yomi6 {

namespace {

constexpr const char* kPaneTitle = "目次";
constexpr const char* kNoChapters = "(見出しがありません)";
constexpr QChar kIndent(0x3000); // one ideographic space per level below the first

} // namespace

ChaptersPane::ChaptersPane(QWidget* parent)
    : QDockWidget(QString::fromUtf8(kPaneTitle), parent), m_list(new QListWidget(this)) {
    setObjectName(QStringLiteral("chaptersPane"));
    setWidget(m_list);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(kRefreshDelayMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &ChaptersPane::Refresh);
    // A click moves the caret and leaves the focus in the list, so that the arrows go on
    // through it; Enter or a double click moves the caret and hands the focus to the text.
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Chosen(item, false); });
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { Chosen(item, true); });
}

void ChaptersPane::SetView(TextView* view) {
    if (view == m_view) {
        return;
    }
    for (const auto& c : m_viewConnections) {
        disconnect(c);
    }
    m_viewConnections.clear();
    m_view = view;
    if (view != nullptr) {
        m_viewConnections << connect(view, &QPlainTextEdit::textChanged, this,
                                     &ChaptersPane::ScheduleRefresh);
    }
    // Another window: listed at once, as the user looks at the pane for that window now.
    if (isVisibleTo(parentWidget())) {
        Refresh();
    }
}

void ChaptersPane::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    Refresh();
}

void ChaptersPane::ScheduleRefresh() {
    // Hidden, the pane finds nothing; showing it lists the chapters.
    if (isVisibleTo(parentWidget())) {
        m_refreshTimer.start();
    }
}

void ChaptersPane::Refresh() {
    m_refreshTimer.stop();
    const QTextDocument* document = m_view != nullptr ? m_view->document() : nullptr;
    const int revision = document != nullptr ? document->revision() : -1;
    if (document == m_listedDocument && revision == m_listedRevision) {
        return;
    }
    m_listedDocument = document;
    m_listedRevision = revision;
    m_chapters.clear();
    if (m_view != nullptr) {
        const QString text = m_view->Text();
        m_chapters =
            FindChapters(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                             static_cast<std::size_t>(text.size())));
    }
    m_list->clear();
    for (const Chapter& chapter : m_chapters) {
        auto* item = new QListWidgetItem(QString(std::max(chapter.level - 1, 0), kIndent) +
                                         QString::fromStdU16String(chapter.title));
        item->setToolTip(QString::fromStdU16String(chapter.title));
        m_list->addItem(item);
    }
    if (m_view != nullptr && m_chapters.empty()) {
        auto* none = new QListWidgetItem(QString::fromUtf8(kNoChapters));
        none->setFlags(Qt::NoItemFlags);
        m_list->addItem(none);
    }
}

void ChaptersPane::Chosen(QListWidgetItem* item, bool focusText) {
    const int row = m_list->row(item);
    if (row < 0 || row >= static_cast<int>(m_chapters.size())) {
        return;
    }
    GoTo(row);
    if (focusText && m_view != nullptr) {
        m_view->setFocus(Qt::OtherFocusReason);
    }
}

void ChaptersPane::GoTo(int index) {
    // The list may be a moment behind the text: the caret goes to the start of the line that
    // holds the listed place.
    if (m_view == nullptr || index < 0 || index >= static_cast<int>(m_chapters.size())) {
        return;
    }
    QTextDocument* document = m_view->document();
    const int at = std::min(static_cast<int>(m_chapters[static_cast<std::size_t>(index)].begin),
                            document->characterCount() - 1);
    QTextCursor caret(document);
    caret.setPosition(document->findBlock(at).position());
    m_view->setTextCursor(caret);
    // The heading's line at the top: from the end of the text back up to the caret.
    QScrollBar* bar = m_view->verticalScrollBar();
    bar->setValue(bar->maximum());
    m_view->ensureCursorVisible();
}

} // namespace yomi6
