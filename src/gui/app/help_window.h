// The help: pages of our own (resources/help/), opened at 目次, with links between them and
// buttons to go back, forward and home, shown in a window of its own.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace yomi6 {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // The page that opens first, and the one the 目次 button goes back to.
    static const char* const kContentsPage;

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

} // namespace yomi6
