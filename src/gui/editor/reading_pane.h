// The reading pane: a dock beside the document windows that lists the reading of the active
// view's current line, or of its selection; while the view's document is being read, of the
// line being heard. The reading is written in half-width katakana, hiragana or full-width
// katakana (the context menu chooses; the choice is kept in the settings), with a thin space
// between words. The unit being heard is highlighted in step with the document, the parts
// heard as nothing are marked in a colour of their own, and a word's context menu offers it to
// the word registration dialog.
#pragma once

#include "aozora/aozora_notation.h"
#include "playback/reading_listing.h"
#include "speaking/highlight_schedule.h"
#include "speaking/kana_script.h"
#include "text/speech_text.h"

#include <QDockWidget>
#include <QPointer>
#include <QTimer>

#include <vector>

class QPlainTextEdit;

namespace yomi6 {

class AppContext;
class TextView;

class ReadingPane : public QDockWidget {
    Q_OBJECT
public:
    // Lists readings with the speech choices of context and follows its speech.
    explicit ReadingPane(AppContext& context, QWidget* parent = nullptr);

    // The view whose caret and selection the pane follows; nullptr: no document window.
    void SetView(TextView* view);

    // The listed reading, for tests and the context menu.
    QPlainTextEdit* ReadingText() const { return m_text; }
    // The word at a character of the listing and its reading as listed (half-width katakana);
    // empty when there is no word there.
    std::pair<QString, QString> WordAt(int listingPosition) const;
    // The context menu's "単語登録..." for the word at a character of the listing.
    void RegisterWordAt(int listingPosition);
    // Lists the reading again now (it is otherwise done shortly after the caret moves).
    void Refresh();

    // The kana the reading is written in; setting it lists the reading again and keeps the
    // choice in the settings.
    KanaScript Script() const { return m_script; }
    void SetScript(KanaScript script);

signals:
    // The reading was listed again; reading it may have found the analyzer missing.
    void readingShown();

private:
    void ScheduleRefresh();
    // Lists the reading of text, which starts at document position offset.
    void List(int offset, const QString& text);
    void ShowContextMenu(const QPoint& at);
    // A unit of the view's document is heard now (unitBegin -1: the reading ended).
    void FollowHighlight(const SpeechHighlight& unit);
    // Marks the unit being heard (m_heardBegin, m_heardEnd) in the listing.
    void MarkHeard();
    int ByteAt(int listingPosition) const;

    AppContext& m_context;
    QPlainTextEdit* m_text;
    QPointer<TextView> m_view;
    QList<QMetaObject::Connection> m_viewConnections;
    QTimer m_refreshTimer;
    KanaScript m_script;
    QString m_listed;       // the listed text
    int m_listedOffset = 0; // its first character's position in the document
    int m_readEnd = 0;      // the document position where its reading stopped
    // While the view's document is being read: the document position of the unit being heard,
    // whose line the pane lists; -1 otherwise.
    int m_following = -1;
    int m_heardBegin = -1; // the characters of the unit being heard, or -1
    int m_heardEnd = -1;
    int m_heardOffset = 0; // its place in the reading of its characters
    int m_heardLength = 0;
    SpeechSource m_source;         // its speech bytes
    ReadingListing m_listing;      // its reading
    std::vector<int> m_charOfByte; // listing character of each reading byte
    // Whether the view's document reads as Aozora notation and where its colophon begins,
    // found again only when the document or the choice changed: a refresh follows every move
    // of the caret, and finding them walks the whole document.
    struct DocumentNotation {
        const void* document = nullptr;
        int revision = -1;
        AozoraMode choice = AozoraMode::Off;
        bool aozora = false;
        std::size_t readEnd = 0;
    };
    DocumentNotation m_notation;
};

} // namespace yomi6
