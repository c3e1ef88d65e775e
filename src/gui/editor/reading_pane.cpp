#include "editor/reading_pane.h"
#include "editor/highlight_mark.h"

#include "analysis/analyzer_loader.h"
#include "editor/document.h"
#include "editor/text_view.h"
#include "platform/cp932_field.h"
#include "platform/message_box.h"
#include "playback/speech_state.h"
#include "reading/reading_mode.h"
#include "reading/word_ranges.h"
#include "speaking/app_context.h"
#include "speaking/app_settings.h"
#include "speaking/speech_controller.h"
#include "speech_session/analyzer_message.h"
#include "text/cp932.h"

#include <QActionGroup>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>

namespace yomi6 {

namespace {

constexpr const char* kPaneTitle = "読みﾊﾟﾈﾙ";
constexpr const char* kRegisterWord = "単語登録...";
constexpr int kRefreshDelayMs = 60; // the caret may move on before the reading is listed
constexpr QChar kWordSpace(0x2009); // a thin space between the words of the listing
const QColor kHeardBackground(0xff, 0xc8, 0x50);  // as the document's unit highlight
const QColor kSilentBackground(0xd8, 0xdc, 0xe6); // heard as nothing

// Where the listing puts a thin space between the characters read from source ranges a and b
// (each the range of a reading byte): between words. A dictionary or analyzer word is one
// range; characters that were each folded on their own (kana, letters, digits) make one word
// as long as they are of one script (wordOf: the word of each source byte by script).
bool WordBreak(const SourceRange& a, const SourceRange& b, const std::string& sourceBytes,
               const std::vector<int>& wordOf) {
    if ((a.begin == b.begin && a.end == b.end) || a.end <= a.begin || b.end <= b.begin) {
        return false;
    }
    const auto oneCharacter = [&sourceBytes](const SourceRange& r) {
        const int length = r.end - r.begin;
        return length == 1 ||
               (length == 2 && cp932::IsLeadByte(static_cast<unsigned char>(sourceBytes[r.begin])));
    };
    return !(oneCharacter(a) && oneCharacter(b) && wordOf[a.begin] == wordOf[b.begin]);
}

} // namespace

ReadingPane::ReadingPane(AppContext& context, QWidget* parent)
    : QDockWidget(QString::fromUtf8(kPaneTitle), parent), m_context(context),
      m_text(new QPlainTextEdit(this)),
      m_script(KanaScriptOf(app_settings::ReadingPaneScript(context.Settings()))) {
    setObjectName(QStringLiteral("readingPane"));
    m_text->setReadOnly(true);
    m_text->setContextMenuPolicy(Qt::CustomContextMenu);
    setWidget(m_text);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(kRefreshDelayMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &ReadingPane::Refresh);
    connect(m_text, &QWidget::customContextMenuRequested, this, &ReadingPane::ShowContextMenu);
    SpeechController& speech = m_context.Speech();
    // The reading mode may have changed with the speech state.
    connect(&speech, &SpeechController::stateChanged, this, &ReadingPane::ScheduleRefresh);
}

void ReadingPane::SetView(TextView* view) {
    if (view == m_view) {
        return;
    }
    for (const auto& c : m_viewConnections) {
        disconnect(c);
    }
    m_viewConnections.clear();
    m_view = view;
    m_following = -1;
    m_heardBegin = m_heardEnd = -1;
    if (view != nullptr) {
        m_viewConnections << connect(view, &QPlainTextEdit::cursorPositionChanged, this,
                                     &ReadingPane::ScheduleRefresh)
                          << connect(view, &QPlainTextEdit::selectionChanged, this,
                                     &ReadingPane::ScheduleRefresh)
                          << connect(view, &QPlainTextEdit::textChanged, this,
                                     &ReadingPane::ScheduleRefresh)
                          // What the document's reading is heard saying, as it is heard.
                          << connect(view->GetDocument(), &Document::speechUnitHeard, this,
                                     &ReadingPane::FollowHighlight);
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
    if (m_view == nullptr) {
        List(0, QString());
        return;
    }
    if (m_following >= 0) {
        // Being read: the line being heard, from the unit on when the line is longer than one
        // reading.
        const QTextBlock line = m_view->document()->findBlock(m_following);
        List(line.position(), line.text());
        if (m_following >= m_readEnd && m_following < line.position() + line.length()) {
            List(m_following, line.text().mid(m_following - line.position()));
        }
        return;
    }
    const QTextCursor caret = m_view->textCursor();
    if (caret.hasSelection()) {
        const int offset = caret.selectionStart();
        List(offset, m_view->Text().mid(offset, caret.selectionEnd() - offset));
    } else {
        List(caret.block().position(), caret.block().text());
    }
}

void ReadingPane::SetScript(KanaScript script) {
    m_script = script;
    app_settings::SetReadingPaneScript(m_context.Settings(), static_cast<int>(script));
    Refresh();
}

void ReadingPane::List(int offset, const QString& text) {
    m_listed = text;
    m_listedOffset = offset;
    // The pane reads as a speech from the document would: Aozora notation is found in the
    // whole document, and nothing of its colophon is read.
    const SpeechPreferences& choices = m_context.Preferences();
    const bool automatic =
        ResolveReadingMode(choices.readings, m_context.ReadingAnalyzer()) == ReadingMode::Automatic;
    bool aozora = false;
    if (automatic && choices.aozora != AozoraMode::Off) {
        const void* shown = m_view != nullptr ? m_view->document() : nullptr;
        const int revision = m_view != nullptr ? m_view->document()->revision() : -1;
        const bool known = shown != nullptr && m_notation.document == shown &&
                           m_notation.revision == revision && m_notation.choice == choices.aozora;
        QString whole;
        std::u16string_view document;
        if (!known || m_notation.aozora) {
            whole = m_view != nullptr ? m_view->Text() : m_listed;
            document = std::u16string_view(reinterpret_cast<const char16_t*>(whole.utf16()),
                                           static_cast<std::size_t>(whole.size()));
        }
        if (!known) {
            m_notation = {shown, shown != nullptr ? revision : -1, choices.aozora,
                          ReadsAsAozora(choices.aozora, document), 0};
            if (m_notation.aozora) {
                m_notation.readEnd = AozoraReadEnd(true, document, document.size());
            }
        }
        aozora = m_notation.aozora;
        const auto listedAt = static_cast<std::size_t>(std::max(m_listedOffset, 0));
        if (aozora && (listedAt >= m_notation.readEnd ||
                       AozoraReadStart(true, document, listedAt) != listedAt)) {
            m_listed.clear(); // the colophon or the notation block: silent
        }
    }
    m_source = SpeechSourceOf(m_listed.toStdU16String());
    const ReadingMode mode = ResolveReadingMode(choices.readings, m_context.ReadingAnalyzer());
    // An analyzer that cannot be loaded is said once, here or at the next speech.
    AnalyzerMessageBox sink(window(), m_context.ReadingAnalyzer());
    ReaderSetup setup = m_context.ReadingSetup();
    setup.messages = &sink;
    setup.aozora = aozora;
    m_listing = ListReading(reinterpret_cast<const unsigned char*>(m_source.bytes.data()),
                            m_source.bytes.size(), mode, choices.voice, setup);
    std::uint16_t readTo = 0;
    for (const SourceRange& r : m_listing.source) {
        readTo = std::max(readTo, r.end);
    }
    m_readEnd = readTo >= m_source.bytes.size()
                    ? m_listedOffset + static_cast<int>(m_listed.size())
                    : m_listedOffset + static_cast<int>(m_source.TextSpan(readTo, readTo).begin);

    // One listing character per reading character: a two-byte character's bytes share one, as
    // do a half-width kana and its voicing mark written in full-width kana.
    std::vector<int> wordOf(m_source.bytes.size(), 0);
    const std::vector<SourceRange> words = WordRanges(m_source.bytes);
    for (std::size_t w = 0; w < words.size(); ++w) {
        for (std::size_t b = words[w].begin; b < words[w].end && b < wordOf.size(); ++b) {
            wordOf[b] = static_cast<int>(w);
        }
    }
    const std::string& reading = m_listing.reading;
    QString shown;
    m_charOfByte.assign(reading.size(), 0);
    std::size_t previous = reading.size(); // the previous character's first byte on this line
    for (std::size_t i = 0; i < reading.size();) {
        const auto b = static_cast<unsigned char>(reading[i]);
        if (b == 0x0D && i + 1 < reading.size() && reading[i + 1] == '\n') {
            // A line end shows as one break.
            m_charOfByte[i] = m_charOfByte[i + 1] = static_cast<int>(shown.size());
            shown += QLatin1Char('\n');
            previous = reading.size();
            i += 2;
            continue;
        }
        std::size_t length = cp932::IsLeadByte(b) && i + 1 < reading.size() ? 2 : 1;
        QString character = Cp932Text(std::string_view(reading).substr(i, length));
        if (m_script != KanaScript::HalfWidth && length == 1 && i + 1 < reading.size()) {
            const QString pair = Cp932Text(std::string_view(reading).substr(i, 2));
            if (IsOneKana(pair)) {
                length = 2;
                character = pair;
            }
        }
        const QString written = character.isEmpty() ? QString(QLatin1Char(' '))
                                                    : InKanaScript(character, m_script).left(1);
        if (previous < reading.size() && !shown.back().isSpace() && !written.front().isSpace() &&
            WordBreak(m_listing.source[previous], m_listing.source[i], m_source.bytes, wordOf)) {
            shown += kWordSpace;
        }
        for (std::size_t k = i; k < i + length; ++k) {
            m_charOfByte[k] = static_cast<int>(shown.size());
        }
        shown += written;
        previous = b == 0x0A || b == 0x0D ? reading.size() : i;
        i += length;
    }
    m_text->setPlainText(shown);
    MarkHeard();
    emit readingShown();
}

void ReadingPane::FollowHighlight(const SpeechHighlight& unit) {
    const int unitBegin = unit.unitBegin;
    if (unitBegin < 0) {
        m_heardBegin = m_heardEnd = -1;
        if (m_following >= 0) {
            // The reading ended: back to the caret's line.
            m_following = -1;
            ScheduleRefresh();
        }
        MarkHeard();
        return;
    }
    m_heardBegin = unitBegin;
    m_heardEnd = unit.unitEnd;
    m_heardOffset = unit.unitOffset;
    m_heardLength = unit.unitLength;
    m_following = unitBegin;
    // The voice has left the listed text: the line it is in now (hidden, the pane lists it
    // when shown).
    if (isVisibleTo(parentWidget()) && (unitBegin < m_listedOffset || unitBegin >= m_readEnd)) {
        Refresh();
        return;
    }
    MarkHeard();
}

void ReadingPane::MarkHeard() {
    QList<QTextEdit::ExtraSelection> marks;
    for (std::size_t i = 0; i < m_listing.silent.size(); ++i) {
        if (m_listing.silent[i] && (i == 0 || m_charOfByte[i] != m_charOfByte[i - 1])) {
            marks.append(HighlightMark(m_text->document(), m_charOfByte[i], m_charOfByte[i] + 1,
                                       "silent", kSilentBackground));
        }
    }
    if (m_heardBegin >= 0) {
        const int unitBegin = m_heardBegin;
        const int unitEnd = m_heardEnd;
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
        const int offset = m_heardOffset;
        const int length = m_heardLength;
        if (!exact.empty() && offset >= 0 && static_cast<std::size_t>(offset) < exact.size()) {
            const auto from = exact.begin() + offset;
            heard.assign(from, from + std::min<std::ptrdiff_t>(length, exact.end() - from));
        }
        if (!heard.empty()) {
            const int first = m_charOfByte[heard.front()];
            const int last = m_charOfByte[heard.back()];
            marks.append(
                HighlightMark(m_text->document(), first, last + 1, "heard", kHeardBackground));
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
        if (cp932::IsLeadByte(r) && i + 1 < m_listing.reading.size()) {
            // A two-byte character the reading copied (a kanji it could not read) is no
            // reading to offer.
            ++i;
            continue;
        }
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
    menu->addSeparator();
    auto* scripts = new QActionGroup(menu);
    for (const KanaScriptChoice& choice : KanaScriptChoices()) {
        QAction* item = menu->addAction(QString::fromUtf8(choice.label));
        item->setCheckable(true);
        item->setChecked(choice.script == m_script);
        scripts->addAction(item);
        const KanaScript script = choice.script;
        connect(item, &QAction::triggered, this, [this, script] { SetScript(script); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_text->viewport()->mapToGlobal(at));
}

} // namespace yomi6
