#include "app/about_dialog.h"

#include "io/app_strings.h"
#include "platform/dialog_units.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace yomi6 {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(strings::kAboutCaption));
    const DialogUnits du(DialogFont(11));
    // Taller than the version alone needs, for the credit of the shipped voices below it.
    setFixedSize(du.ToPixels(QSize(152, 117)));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(du.ToPixels(QSize(20, 20))));
    icon->setGeometry(du.ToPixels(QRect(11, 17, 20, 20)));

    auto* text = new QLabel(QString::fromUtf8(strings::kAboutText), this);
    text->setFont(DialogFont(11));
    text->setGeometry(du.ToPixels(QRect(40, 10, 105, 24)));

    auto* credit = new QLabel(QString::fromUtf8(strings::kAboutVoiceCredit), this);
    credit->setObjectName(QStringLiteral("voiceCredit"));
    credit->setFont(DialogFont(9));
    credit->setWordWrap(true);
    credit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    credit->setGeometry(du.ToPixels(QRect(11, 40, 130, 50)));

    auto* ok = new QPushButton(QString::fromUtf8(strings::kAboutOk), this);
    ok->setDefault(true);
    ok->setGeometry(du.ToPixels(QRect(51, 95, 50, 14)));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace yomi6
