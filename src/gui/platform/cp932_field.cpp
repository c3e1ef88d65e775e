#include "platform/cp932_field.h"

#include "text/cp932_codec.h"

#include <QApplication>

namespace yomi6 {

std::optional<std::string> Cp932Bytes(const QString& text) {
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    EncodeResult encoded = EncodeCp932(units, EncodeOptions{LineEnd::Lf, OnUnencodable::Fail});
    if (!encoded.ok()) {
        return std::nullopt;
    }
    return std::move(encoded.bytes);
}

QString Cp932Text(std::string_view bytes) {
    return QString::fromStdU16String(DecodeCp932(bytes));
}

ByteLimitValidator::ByteLimitValidator(std::size_t maxBytes, QObject* parent)
    : QValidator(parent), m_maxBytes(maxBytes) {}

QValidator::State ByteLimitValidator::validate(QString& input, int&) const {
    const auto bytes = Cp932Bytes(input);
    if (bytes && bytes->size() <= m_maxBytes) {
        return Acceptable;
    }
    QApplication::beep();
    return Invalid;
}

} // namespace yomi6
