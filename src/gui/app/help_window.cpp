#include "app/help_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace yomi6 {

const char* const HelpWindow::kContentsPage = "qrc:/help/index.html";

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), m_browser(new QTextBrowser(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8("よみあげPad ﾍﾙﾌﾟ"));
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // The pages link to each other by relative names; nothing leaves the program's resources.
    m_browser->setOpenExternalLinks(false);

    auto* home = new QPushButton(QString::fromUtf8("目次(&C)"), this);
    auto* back = new QPushButton(QString::fromUtf8("戻る(&B)"), this);
    auto* forward = new QPushButton(QString::fromUtf8("進む(&F)"), this);
    home->setObjectName(QStringLiteral("helpHome"));
    back->setObjectName(QStringLiteral("helpBack"));
    forward->setObjectName(QStringLiteral("helpForward"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(home, &QPushButton::clicked, m_browser, &QTextBrowser::home);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(home);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    m_browser->setSource(QUrl(QString::fromLatin1(kContentsPage)));
    resize(640, 560);
}

} // namespace yomi6
