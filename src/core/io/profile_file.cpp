#include "io/profile_file.h"

#include "io/atomic_file.h"

#include <algorithm>
#include <utility>

namespace yomi6 {

using profile::LineKind;

ProfileFile::ProfileFile() = default;

ProfileFile ProfileFile::Open(const std::string& path) {
    ProfileFile file;
    file.m_path = path;
    if (path.empty()) {
        return file; // Missing: nowhere to read from
    }
    switch (ReadWholeFile(path, kMaxProfileBytes, file.m_original)) {
    case ReadStatus::Read:
        file.m_load = ProfileLoad::Loaded;
        file.Parse();
        break;
    case ReadStatus::Missing:
        file.m_load = ProfileLoad::Missing;
        break;
    case ReadStatus::Unreadable:
        file.m_load = ProfileLoad::Unreadable;
        break;
    case ReadStatus::TooLarge:
        file.m_load = ProfileLoad::TooLarge;
        break;
    }
    return file;
}

ProfileFile ProfileFile::FromBytes(std::string bytes) {
    ProfileFile file;
    if (bytes.size() > kMaxProfileBytes) {
        file.m_load = ProfileLoad::TooLarge;
        return file;
    }
    file.m_original = std::move(bytes);
    file.m_load = ProfileLoad::Loaded;
    file.Parse();
    return file;
}

// One pass over the bytes: split at LF (a CR before it belongs to the line end), classify each
// line and remember where the sections start.
void ProfileFile::Parse() {
    m_lines.clear();
    m_headers.clear();
    bool eolSeen = false;
    const std::string_view all = m_original;
    std::size_t pos = 0;
    while (pos < all.size()) {
        Line line;
        line.begin = static_cast<std::uint32_t>(pos);
        const std::size_t lf = all.find('\n', pos);
        std::size_t end = lf == std::string_view::npos ? all.size() : lf;
        if (lf != std::string_view::npos) {
            line.eol = Eol::Lf;
            if (end > pos && all[end - 1] == '\r') {
                line.eol = Eol::CrLf;
                --end;
            }
            if (!eolSeen) {
                m_newEol = line.eol;
                eolSeen = true;
            }
        }
        line.length = static_cast<std::uint32_t>(end - pos);
        line.kind = profile::ParseLine(all.substr(pos, end - pos), m_lines.empty()).kind;
        if (line.kind == LineKind::Section) {
            m_headers.push_back(m_lines.size());
        }
        m_lines.push_back(line);
        pos = lf == std::string_view::npos ? all.size() : lf + 1;
    }
}

std::string_view ProfileFile::Text(std::size_t line) const {
    const Line& l = m_lines[line];
    if (l.owned) {
        return m_owned[l.begin];
    }
    return std::string_view(m_original).substr(l.begin, l.length);
}

profile::ParsedLine ProfileFile::ParseAt(std::size_t line) const {
    return profile::ParseLine(Text(line), line == 0);
}

std::optional<ProfileFile::Range> ProfileFile::FindSection(std::string_view section) const {
    for (std::size_t h = 0; h < m_headers.size(); ++h) {
        if (profile::EqualsIgnoreCase(ParseAt(m_headers[h]).name, section)) {
            const std::size_t end = h + 1 < m_headers.size() ? m_headers[h + 1] : m_lines.size();
            return Range{m_headers[h] + 1, end};
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> ProfileFile::FindKeyLine(Range range, std::string_view key) const {
    for (std::size_t i = range.begin; i < range.end; ++i) {
        if (m_lines[i].kind == LineKind::Key && profile::EqualsIgnoreCase(ParseAt(i).name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ProfileFile::Find(std::string_view section, std::string_view key) const {
    if (section.empty() || key.empty()) {
        return std::nullopt;
    }
    const auto range = FindSection(section);
    if (!range) {
        return std::nullopt;
    }
    const auto line = FindKeyLine(*range, key);
    if (!line) {
        return std::nullopt;
    }
    return std::string(profile::Unquote(ParseAt(*line).value));
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    auto value = Find(section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

std::int32_t ProfileFile::GetInt(std::string_view section, std::string_view key,
                                 std::int32_t defaultValue) const {
    const auto value = Find(section, key);
    if (!value) {
        return defaultValue;
    }
    return profile::ParseProfileInt(*value).value_or(defaultValue);
}

ProfileFile::Line ProfileFile::MakeOwned(std::string text) {
    Line line;
    line.begin = static_cast<std::uint32_t>(m_owned.size());
    line.owned = true;
    line.eol = m_newEol;
    m_owned.push_back(std::move(text));
    return line;
}

void ProfileFile::InsertLine(std::size_t at, Line line) {
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), line);
    for (auto it = std::lower_bound(m_headers.begin(), m_headers.end(), at); it != m_headers.end();
         ++it) {
        ++*it;
    }
}

// Gives the file's last line a line end before something is added after it.
void ProfileFile::EndLastLine(std::size_t line) {
    if (m_lines[line].eol == Eol::None) {
        m_lines[line].eol = m_newEol;
    }
}

bool ProfileFile::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
    if (!profile::IsStorableSection(section) || !profile::IsStorableKey(key) ||
        !profile::IsStorableValue(value)) {
        return false;
    }
    const std::string stored = profile::QuoteForWriting(value);
    const auto range = FindSection(section);
    if (!range) {
        if (!m_lines.empty()) {
            EndLastLine(m_lines.size() - 1);
        }
        Line header = MakeOwned("[" + std::string(section) + "]");
        header.kind = LineKind::Section;
        m_headers.push_back(m_lines.size());
        m_lines.push_back(header);
        Line entry = MakeOwned(std::string(key) + "=" + stored);
        entry.kind = LineKind::Key;
        m_lines.push_back(entry);
        m_modified = true;
        return true;
    }
    if (const auto line = FindKeyLine(*range, key)) {
        const profile::ParsedLine parsed = ParseAt(*line);
        if (profile::Unquote(parsed.value) == value) {
            return true;
        }
        // Keep the key as the file spells it and everything up to the value.
        std::string text(Text(*line).substr(0, parsed.valueStart));
        text += stored;
        const Eol eol = m_lines[*line].eol;
        Line replaced = MakeOwned(std::move(text));
        replaced.kind = LineKind::Key;
        replaced.eol = eol;
        m_lines[*line] = replaced;
        m_modified = true;
        return true;
    }
    // After the section's last entry, so that blank lines and comments that close the
    // section stay between it and the next one.
    std::size_t after = range->begin - 1;
    for (std::size_t i = range->begin; i < range->end; ++i) {
        if (m_lines[i].kind != LineKind::Blank && m_lines[i].kind != LineKind::Comment) {
            after = i;
        }
    }
    EndLastLine(after);
    Line entry = MakeOwned(std::string(key) + "=" + stored);
    entry.kind = LineKind::Key;
    InsertLine(after + 1, entry);
    m_modified = true;
    return true;
}

bool ProfileFile::WriteInt(std::string_view section, std::string_view key, std::int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

bool ProfileFile::DeleteKey(std::string_view section, std::string_view key) {
    if (section.empty() || key.empty()) {
        return false;
    }
    const auto range = FindSection(section);
    const auto line = range ? FindKeyLine(*range, key) : std::nullopt;
    if (!line) {
        return false;
    }
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*line));
    for (auto it = std::upper_bound(m_headers.begin(), m_headers.end(), *line);
         it != m_headers.end(); ++it) {
        --*it;
    }
    m_modified = true;
    return true;
}

std::string ProfileFile::Bytes() const {
    std::string bytes;
    bytes.reserve(m_original.size() + 64 * m_owned.size());
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        bytes += Text(i);
        switch (m_lines[i].eol) {
        case Eol::None:
            break;
        case Eol::Lf:
            bytes += '\n';
            break;
        case Eol::CrLf:
            bytes += "\r\n";
            break;
        }
    }
    return bytes;
}

bool ProfileFile::Save() {
    m_saveError.clear();
    if (!m_modified) {
        return true;
    }
    if (m_load == ProfileLoad::Unreadable || m_load == ProfileLoad::TooLarge) {
        m_saveError = "the settings file " + m_path +
                      (m_load == ProfileLoad::TooLarge ? " is too large" : " could not be read") +
                      "; it is left as it is";
        return false;
    }
    if (!WriteFileAtomically(m_path, Bytes(), m_saveError)) {
        return false;
    }
    m_load = ProfileLoad::Loaded;
    m_modified = false;
    return true;
}

} // namespace yomi6
