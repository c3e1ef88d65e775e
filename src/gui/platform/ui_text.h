// The program's own texts are written in the sources as UTF-8: these turn them into QStrings.
#pragma once

#include <QString>

#include <string_view>

namespace yomi6 {

inline QString Tr(const char* utf8) {
    return QString::fromUtf8(utf8);
}

inline QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace yomi6
