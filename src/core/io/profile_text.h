// The line-level rules of the profile (INI) file: how a line is classified, how names compare,
// how values are trimmed, quoted and read as integers. All text is code page 932 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace yomi6::profile {

enum class LineKind : std::uint8_t {
    Blank,   // nothing but blanks
    Comment, // first non-blank byte ';' or '#'
    Section, // "[name]", anything after the closing bracket ignored
    Key,     // "key=value"
    Other,   // anything else: kept as it is, never matched
};

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;      // the section name or the key, blanks trimmed
    std::string_view value;     // the value with blanks trimmed, quotes still on
    std::size_t valueStart = 0; // offset of the value in the line (after '=' and blanks)
};

// Classifies one line (without its line end). A line holding a NUL byte is Other: it cannot be
// understood and is only carried along. firstLine lets a UTF-8 byte order mark at the start of
// the file be skipped.
ParsedLine ParseLine(std::string_view line, bool firstLine = false);

// Blanks around names and values: space, tab and a stray carriage return. None of them can be
// the second byte of a double-byte character, so trimming the end is safe.
std::string_view TrimBlanks(std::string_view s);

// Compares names without regard to ASCII case: letters are folded only where they are
// single-byte characters, never as the second byte of a double-byte character (in code page
// 932 0x41-0x5A and 0x61-0x7A are also trail bytes, e.g. "セ" 83 5A, "ズ" 83 7A).
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// A value enclosed in one pair of matching double or single quotes loses them, as profile
// readers do.
std::string_view Unquote(std::string_view value);

// The text to write for a value so that reading it back gives the value again: quoted when it
// has blanks at either end or is itself enclosed in matching quotes.
std::string QuoteForWriting(std::string_view value);

// The integer of a value: leading blanks, an optional sign, decimal digits up to the first
// other byte ("12px" is 12). No digit at all gives nullopt, so that the caller's default
// applies; values beyond the 32-bit range saturate.
std::optional<std::int32_t> ParseProfileInt(std::string_view value);

// Whether a name or value can be written so that it reads back unchanged: no line break or NUL
// anywhere; names non-empty, without blanks at either end, a section name without a
// single-byte ']' and not ending in a lone lead byte, a key without '=' and not starting with
// '[', ';' or '#'.
bool IsStorableSection(std::string_view section);
bool IsStorableKey(std::string_view key);
bool IsStorableValue(std::string_view value);

} // namespace yomi6::profile
