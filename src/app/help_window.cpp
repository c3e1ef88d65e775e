#include "app/help_window.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace yomi6 {

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8("よみあげPad ﾍﾙﾌﾟ"));
    auto* browser = new QTextBrowser(this);
    QFile page(QStringLiteral(":/help/help.html"));
    if (page.open(QIODevice::ReadOnly)) {
        browser->setHtml(QString::fromUtf8(page.readAll()));
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    resize(560, 480);
}

} // namespace yomi6
