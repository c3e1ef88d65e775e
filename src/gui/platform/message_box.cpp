#include "platform/message_box.h"

#include "io/app_strings.h"

#include <QMessageBox>

namespace yomi6 {

void ShowMessage(QWidget* parent, const QString& text, MessageBoxType type) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromUtf8(strings::kAppName));
    box.setText(text);
    switch (type) {
    case MessageBoxType::IconStop:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageBoxType::IconExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageBoxType::Ok:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void MessageBoxSink::ShowMessage(std::string_view text, MessageBoxType type) {
    yomi6::ShowMessage(m_parent,
                       QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), type);
}

} // namespace yomi6
