// A message sink that records what it was asked to show.
#pragma once

#include "io/message_sink.h"

#include <string>
#include <utility>
#include <vector>

namespace yomi6::test {

class RecordingSink : public IMessageSink {
public:
    void ShowMessage(std::string_view text, MessageBoxType type) override {
        messages.emplace_back(std::string(text), type);
    }
    std::vector<std::pair<std::string, MessageBoxType>> messages;
};

} // namespace yomi6::test
