// A profile (INI) file in code page 932, read once, changed in memory and written back whole.
//
// Sections and keys match without regard to ASCII case; the first matching section and, in it,
// the first matching key count. A change touches only its own line: replacing a value keeps
// the key's spelling and everything before the value; a new key goes after the last entry of
// its section (before trailing blank lines and comments); a new section goes at the end of the
// file. Every other byte of the file - comments, blank lines, lines that cannot be understood,
// other programs' sections - is written back exactly as it was read. New lines end like the
// file's first line does (CR LF for a new file).
//
// Typical use: open, read or write several keys, Save() once.
#pragma once

#include "io/profile_text.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

// A settings file is a few hundred bytes; anything beyond this is not one of ours and is
// neither parsed nor overwritten.
inline constexpr std::size_t kMaxProfileBytes = 4 * 1024 * 1024;

enum class ProfileLoad {
    Loaded,     // read and parsed
    Missing,    // no file yet: reads give defaults, Save() creates it
    Unreadable, // exists but cannot be read: reads give defaults, Save() refuses to replace it
    TooLarge,   // over kMaxProfileBytes: reads give defaults, Save() refuses to replace it
};

class ProfileFile {
public:
    // An empty profile with no file behind it.
    ProfileFile();

    // Reads the file at path. Never fails: what cannot be read reads as defaults.
    static ProfileFile Open(const std::string& path);

    // Parses bytes held in memory; Save() has no file to write to.
    static ProfileFile FromBytes(std::string bytes);

    ProfileLoad LoadState() const { return m_load; }
    const std::string& path() const { return m_path; }

    // The value of section/key with blanks trimmed and one pair of enclosing quotes removed;
    // nullopt when the section or key is absent.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    // The value read as an integer (see profile::ParseProfileInt); the default when the key is
    // absent or its value holds no number.
    std::int32_t GetInt(std::string_view section, std::string_view key,
                        std::int32_t defaultValue) const;

    // Sets section/key in memory. Writing the value the key already reads as changes nothing.
    // false (and nothing changed) when the name or value cannot be stored in the format.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    // Writes the integer as decimal text.
    bool WriteInt(std::string_view section, std::string_view key, std::int32_t value);
    // Removes the first matching key line; false when there was none.
    bool DeleteKey(std::string_view section, std::string_view key);

    bool IsModified() const { return m_modified; }

    // The file's bytes as they would be written.
    std::string Bytes() const;

    // Writes the changes to the file, replacing it atomically (see WriteFileAtomically). true
    // when the file now holds them or nothing was changed; false, with SaveError() saying why,
    // when they could not be written (the old file is then untouched) or when the file was not
    // fully read (unreadable or too large), so that its content is not lost.
    bool Save();
    const std::string& SaveError() const { return m_saveError; }

private:
    enum class Eol : std::uint8_t { None, Lf, CrLf };

    struct Line {
        std::uint32_t begin = 0;  // offset in m_original, or index in m_owned when owned
        std::uint32_t length = 0; // bytes in m_original (unused when owned)
        Eol eol = Eol::None;
        profile::LineKind kind = profile::LineKind::Other;
        bool owned = false;
    };

    struct Range {
        std::size_t begin; // first line after the header
        std::size_t end;   // one past the section's last line
    };

    void Parse();
    std::string_view Text(std::size_t line) const;
    profile::ParsedLine ParseAt(std::size_t line) const;
    std::optional<Range> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKeyLine(Range range, std::string_view key) const;
    Line MakeOwned(std::string text);
    void InsertLine(std::size_t at, Line line);
    void EndLastLine(std::size_t line);

    std::string m_path;
    ProfileLoad m_load = ProfileLoad::Missing;
    std::string m_original;
    std::vector<std::string> m_owned;
    std::vector<Line> m_lines;
    std::vector<std::size_t> m_headers; // line numbers of the section headers, in order
    Eol m_newEol = Eol::CrLf;
    bool m_modified = false;
    std::string m_saveError;
};

} // namespace yomi6
