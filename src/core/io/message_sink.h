// How the core shows a message to the user: the GUI puts up a box, the command line writes a
// line to standard error, and tests record the text.
#pragma once

#include <string_view>

namespace yomi6 {

// The kind of box a message is shown in: a stop icon, an exclamation icon, or no icon.
enum class MessageBoxType { IconStop, IconExclamation, Ok };

class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    // text is UTF-8.
    virtual void ShowMessage(std::string_view text, MessageBoxType type) = 0;
};

} // namespace yomi6
