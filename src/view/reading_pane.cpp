#include "view/reading_pane.h"

#include "platform/cp932_field.h"
#include "platform/message_box.h"
#include "speech/speech_state.h"
#include "speech/word_ranges.h"
#include "view/analyzer_message.h"
#include "view/speech_controller.h"
#include "view/yomi6_doc.h"
#include "view/yomi6_view.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>

namespace yomi6 {

namespace {

constexpr const char* kPaneTitle = "読みﾊﾟﾈﾙ";
constexpr const char* kRegisterWord = "単語登録...";
constexpr int kRefreshDelayMs = 60; // the caret may move on before the reading is listed
const QColor kHeardBackground(0xff, 0xc8, 0x50);  // as the document's unit highlight
const QColor kSilentBackground(0xd8, 0xdc, 0xe6); // heard as nothing

bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

QTextEdit::ExtraSelection Marked(QTextDocument* document, int begin, int end, const char* part,
                                 const QColor& background) {
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(document);
    selection.cursor.setPosition(begin);
    selection.cursor.setPosition(end, QTextCursor::KeepAnchor);
    selection.format.setBackground(background);
    selection.format.setProperty(QTextFormat::UserProperty, QString::fromLatin1(part));
    return selection;
}

} // namespace

ReadingPane::ReadingPane(QWidget* parent)
    : QDockWidget(QString::fromUtf8(kPaneTitle), parent), m_text(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("readingPane"));
    m_text->setReadOnly(true);
    m_text->setContextMenuPolicy(Qt::CustomContextMenu);
    setWidget(m_text);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(kRefreshDelayMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &ReadingPane::Refresh);
    connect(m_text, &QWidget::customContextMenuRequested, this, &ReadingPane::ShowContextMenu);
    SpeechController& speech = SpeechController::Instance();
    connect(&speech, &SpeechController::highlightChanged, this, &ReadingPane::OnHighlight);
    // The reading mode may have changed with the speech state.
    connect(&speech, &SpeechController::stateChanged, this, &ReadingPane::ScheduleRefresh);
}

void ReadingPane::SetView(CYOMI5View* view) {
    if (view == m_view) {
        return;
    }
    for (const auto& c : m_viewConnections) {
        disconnect(c);
    }
    m_viewConnections.clear();
    m_view = view;
    if (view != nullptr) {
        m_viewConnections << connect(view, &QPlainTextEdit::cursorPositionChanged, this,
                                     &ReadingPane::ScheduleRefresh)
                          << connect(view, &QPlainTextEdit::selectionChanged, this,
                                     &ReadingPane::ScheduleRefresh)
                          << connect(view, &QPlainTextEdit::textChanged, this,
                                     &ReadingPane::ScheduleRefresh);
    }
    ScheduleRefresh();
}

void ReadingPane::ScheduleRefresh() {
    // Hidden, the pane reads nothing (nor loads the analyzer); showing it lists the reading.
    if (isVisibleTo(parentWidget())) {
        m_refreshTimer.start();
    }
}

void ReadingPane::Refresh() {
    m_refreshTimer.stop();
    m_listed.clear();
    m_listedOffset = 0;
    if (m_view != nullptr) {
        const QTextCursor caret = m_view->textCursor();
        if (caret.hasSelection()) {
            m_listedOffset = caret.selectionStart();
            m_listed = m_view->Text().mid(m_listedOffset, caret.selectionEnd() - m_listedOffset);
        } else {
            m_listedOffset = caret.block().position();
            m_listed = caret.block().text();
        }
    }
    // The pane reads as a speech from the document would: Aozora notation is found in the
    // whole document, and nothing of its colophon is read.
    const QString whole = m_view != nullptr ? m_view->Text() : m_listed;
    const std::u16string_view document(reinterpret_cast<const char16_t*>(whole.utf16()),
                                       static_cast<std::size_t>(whole.size()));
    const bool aozora =
        g_speech.readings == kReadingsAutomatic && ReadsAsAozora(g_speech.aozora, document);
    const auto listedAt = static_cast<std::size_t>(std::max(m_listedOffset, 0));
    if (aozora && (listedAt >= AozoraReadEnd(true, document, document.size()) ||
                   AozoraReadStart(true, document, listedAt) != listedAt)) {
        m_listed.clear(); // the colophon or the notation block: silent
    }
    m_source = SpeechSourceOf(m_listed.toStdU16String());
    const ReadingMode mode =
        g_speech.readings == kReadingsAutomatic ? ReadingMode::Automatic : ReadingMode::Dictionary;
    // An analyzer that cannot be loaded is said once, here or at the next speech.
    AnalyzerMessageBox sink(window());
    ReaderSetup setup;
    setup.messages = &sink;
    setup.aozora = aozora;
    m_listing = ListReading(reinterpret_cast<const unsigned char*>(m_source.bytes.data()),
                            m_source.bytes.size(), mode, g_speech.voice, setup);

    // One listing character per reading character; a two-byte character's bytes share one.
    QString shown;
    m_charOfByte.assign(m_listing.reading.size(), 0);
    for (std::size_t i = 0; i < m_listing.reading.size();) {
        const auto b = static_cast<unsigned char>(m_listing.reading[i]);
        std::size_t length = IsLeadByte(b) && i + 1 < m_listing.reading.size() ? 2 : 1;
        m_charOfByte[i] = static_cast<int>(shown.size());
        if (b == 0x0D && i + 1 < m_listing.reading.size() && m_listing.reading[i + 1] == '\n') {
            length = 2; // a line end shows as one break
            m_charOfByte[i + 1] = static_cast<int>(shown.size());
            shown += QLatin1Char('\n');
        } else {
            if (length == 2) {
                m_charOfByte[i + 1] = static_cast<int>(shown.size());
            }
            const QString text = Cp932Text(std::string_view(m_listing.reading).substr(i, length));
            shown += text.isEmpty() ? QString(QLatin1Char(' ')) : text.left(1);
        }
        i += length;
    }
    m_text->setPlainText(shown);

    QList<QTextEdit::ExtraSelection> marks;
    for (std::size_t i = 0; i < m_listing.silent.size(); ++i) {
        if (m_listing.silent[i] && (i == 0 || m_charOfByte[i] != m_charOfByte[i - 1])) {
            marks.append(Marked(m_text->document(), m_charOfByte[i], m_charOfByte[i] + 1, "silent",
                                kSilentBackground));
        }
    }
    m_text->setExtraSelections(marks);
}

void ReadingPane::OnHighlight(const QObject* owner, int unitBegin, int unitEnd, int, int) {
    QList<QTextEdit::ExtraSelection> marks;
    for (const QTextEdit::ExtraSelection& s : m_text->extraSelections()) {
        if (s.format.property(QTextFormat::UserProperty).toString() != QLatin1String("heard")) {
            marks.append(s);
        }
    }
    const auto* speaking = qobject_cast<const CYOMI5View*>(owner);
    if (unitBegin >= 0 && speaking != nullptr && m_view != nullptr &&
        speaking->GetDocument() == m_view->GetDocument()) {
        // The reading bytes whose characters are exactly the unit's; among them the unit's
        // place in its word's reading. Without such bytes, every byte that overlaps the unit.
        const auto docSpan = [this](std::size_t i) {
            const SpeechSource::Span span =
                m_source.TextSpan(m_listing.source[i].begin, m_listing.source[i].end);
            return std::make_pair(m_listedOffset + static_cast<int>(span.begin),
                                  m_listedOffset + static_cast<int>(span.end));
        };
        std::vector<std::size_t> exact;
        std::vector<std::size_t> overlapping;
        for (std::size_t i = 0; i < m_listing.reading.size(); ++i) {
            const auto [b, e] = docSpan(i);
            if (b == unitBegin && e == unitEnd) {
                exact.push_back(i);
            }
            if (b < unitEnd && unitBegin < e) {
                overlapping.push_back(i);
            }
        }
        std::vector<std::size_t> heard = overlapping;
        const int offset = SpeechController::Instance().UnitOffsetInSource();
        const int length = SpeechController::Instance().UnitLength();
        if (!exact.empty() && offset >= 0 && static_cast<std::size_t>(offset) < exact.size()) {
            const auto from = exact.begin() + offset;
            heard.assign(from, from + std::min<std::ptrdiff_t>(length, exact.end() - from));
        }
        if (!heard.empty()) {
            const int first = m_charOfByte[heard.front()];
            const int last = m_charOfByte[heard.back()];
            marks.append(Marked(m_text->document(), first, last + 1, "heard", kHeardBackground));
        }
    }
    m_text->setExtraSelections(marks);
}

int ReadingPane::ByteAt(int listingPosition) const {
    const auto it = std::find(m_charOfByte.begin(), m_charOfByte.end(), listingPosition);
    return it == m_charOfByte.end() ? -1 : static_cast<int>(it - m_charOfByte.begin());
}

std::pair<QString, QString> ReadingPane::WordAt(int listingPosition) const {
    const int byte = ByteAt(listingPosition);
    if (byte < 0) {
        return {};
    }
    const auto at = static_cast<std::size_t>(byte);
    const unsigned char b = static_cast<unsigned char>(m_listing.reading[at]);
    if (b == 0x0D || b == 0x0A || m_listing.source[at].end <= m_listing.source[at].begin) {
        return {};
    }
    const SourceRange word = WordAround(WordRanges(m_source.bytes), m_listing.source[at]);
    const SpeechSource::Span span = m_source.TextSpan(word.begin, word.end);
    std::string yomi;
    for (std::size_t i = 0; i < m_listing.reading.size(); ++i) {
        const unsigned char r = static_cast<unsigned char>(m_listing.reading[i]);
        if (r != 0x0D && r != 0x0A && m_listing.source[i].begin >= word.begin &&
            m_listing.source[i].end <= word.end && m_listing.source[i].end > word.begin) {
            yomi += m_listing.reading[i];
        }
    }
    return {m_listed.mid(span.begin, span.end - span.begin).trimmed(), Cp932Text(yomi)};
}

void ReadingPane::RegisterWordAt(int listingPosition) {
    const auto [word, yomi] = WordAt(listingPosition);
    if (m_view != nullptr && !word.isEmpty()) {
        m_view->RegisterWord(word, yomi);
        Refresh(); // the new word may read differently
    }
}

void ReadingPane::ShowContextMenu(const QPoint& at) {
    const int position = m_text->cursorForPosition(at).position();
    // The character under the pointer: the cursor may sit after it.
    const QRect before = m_text->cursorRect(m_text->cursorForPosition(at));
    const int listingPosition = at.x() < before.left() && position > 0 ? position - 1 : position;
    QMenu* menu = m_text->createStandardContextMenu(at);
    menu->addSeparator();
    QAction* registerWord = menu->addAction(QString::fromUtf8(kRegisterWord));
    registerWord->setEnabled(!WordAt(listingPosition).first.isEmpty());
    connect(registerWord, &QAction::triggered, this,
            [this, listingPosition] { RegisterWordAt(listingPosition); });
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_text->viewport()->mapToGlobal(at));
}

} // namespace yomi6
