// Message boxes titled with the application's name, and the core's message sink on top of them.
#pragma once

#include "io/message_sink.h"

#include <QString>

class QWidget;

namespace yomi6 {

// Shows text modally: a stop icon box as critical, an exclamation icon box as a warning, a
// plain box with no icon.
void ShowMessage(QWidget* parent, const QString& text, MessageBoxType type);

// Shows the core's messages (for example the dictionary's) as message boxes.
class MessageBoxSink : public IMessageSink {
public:
    explicit MessageBoxSink(QWidget* parent) : m_parent(parent) {}
    void ShowMessage(std::string_view text, MessageBoxType type) override;

private:
    QWidget* m_parent;
};

} // namespace yomi6
