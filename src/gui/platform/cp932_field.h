// Edit fields whose text is stored as code page 932 bytes: conversion both ways, and a validator
// that keeps a field within a number of bytes however the text arrives (typed, pasted, dropped
// or committed by an input method).
#pragma once

#include <QString>
#include <QValidator>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace yomi6 {

// The code page 932 bytes of text; none when it holds a character the code page cannot.
std::optional<std::string> Cp932Bytes(const QString& text);

// The text of code page 932 bytes; bytes that are no character stay as escape characters, so
// that Cp932Bytes gives them back unchanged.
QString Cp932Text(std::string_view bytes);

// Refuses any edit after which the text would not fit in maxBytes bytes of code page 932, or
// would hold a character the code page cannot.
class ByteLimitValidator : public QValidator {
    Q_OBJECT
public:
    ByteLimitValidator(std::size_t maxBytes, QObject* parent);
    State validate(QString& input, int& pos) const override;
    std::size_t MaxBytes() const { return m_maxBytes; }

private:
    std::size_t m_maxBytes;
};

} // namespace yomi6
