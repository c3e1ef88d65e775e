// The table of contents: a dock beside the document windows that lists the chapters of the
// active view's document (chapters.h), each indented by its level. It follows the text a moment
// after typing pauses, so that a long book does not slow the typing down, and the active window
// as it changes. Choosing a chapter (a click, or Enter) puts the view's caret at the start of
// its heading line and scrolls the line to the top, so that reading from the caret reads the
// book on from there.
#pragma once

#include "chapters/chapters.h"

#include <QDockWidget>
#include <QPointer>
#include <QTimer>

#include <vector>

class QListWidget;
class QListWidgetItem;
class QTextDocument;

namespace yomi6 {

class TextView;

class ChaptersPane : public QDockWidget {
    Q_OBJECT
public:
    explicit ChaptersPane(QWidget* parent = nullptr);

    // The view whose document the pane lists; nullptr: no document window.
    void SetView(TextView* view);

    // The list of chapters, for tests.
    QListWidget* List() const { return m_list; }
    // The chapters listed, in text order.
    const std::vector<Chapter>& Listed() const { return m_chapters; }
    // Lists the chapters again now if the document changed (it is otherwise done shortly after
    // the text changes).
    void Refresh();
    // Puts the view's caret at the heading of listed chapter index and scrolls to it.
    void GoTo(int index);

    // How long the text must rest before the list follows it.
    static constexpr int kRefreshDelayMs = 400;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ScheduleRefresh();
    void Chosen(QListWidgetItem* item, bool focusText);

    QListWidget* m_list;
    QPointer<TextView> m_view;
    QList<QMetaObject::Connection> m_viewConnections;
    QTimer m_refreshTimer;
    std::vector<Chapter> m_chapters;
    // The text the list was made from: its document and revision.
    const QTextDocument* m_listedDocument = nullptr;
    int m_listedRevision = -1;
};

} // namespace yomi6
