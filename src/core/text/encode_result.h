// What the text encoders take and give back: the line-end style to write, what to do with a
// character the encoding cannot hold, and the report of every such character.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace yomi6 {

// How a line break ('\n' in the text) is written.
enum class LineEnd { CrLf, Lf, Cr };

// A character the target encoding cannot hold. It is never dropped silently: the caller
// either fails the encoding or accepts a replacement.
enum class OnUnencodable {
    Fail,    // no bytes: the result holds only the report
    Replace, // a blank (code page 932) or U+FFFD (UTF-8) in its place
};

struct EncodeOptions {
    LineEnd lineEnd = LineEnd::Lf;
    OnUnencodable onUnencodable = OnUnencodable::Fail;
};

struct Unencodable {
    std::size_t position; // index in the UTF-16 text
    char32_t codePoint;   // the character; a lone surrogate or an escape character as itself
};

struct EncodeResult {
    std::string bytes;
    std::vector<Unencodable> unencodable; // in text order

    bool ok() const { return unencodable.empty(); }
};

} // namespace yomi6
