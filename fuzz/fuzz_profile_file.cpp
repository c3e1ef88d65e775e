// Any bytes parse as a profile file that is written back unchanged; reading never fails; one
// write changes only its own line (every other byte stays) and reads back; other keys keep
// their values; a delete removes one line and nothing else.
#include "io/profile_file.h"
#include "io/profile_text.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using yomi6::ProfileFile;

struct Name {
    std::string_view section;
    std::string_view key;
};

// Plain names, names differing only in case, and Japanese names whose second bytes are ASCII
// letters or brackets (セ 83 5A, ズ 83 7A, ゾ 83 5D).
constexpr std::array<Name, 8> kNames = {{
    {"A", "k"},
    {"a", "K"},
    {"Settings", "PreviewPages"},
    {"\x83\x5A", "\x83\x5A"},
    {"\x83\x7A", "\x83\x5A"},
    {"\x83\x5D", "X1"},
    {"Recent File List", "File1"},
    {"B", "\x90\xBA\x82\xCC\x8E\xBF"},
}};

constexpr std::array<std::string_view, 6> kValues = {"1",        "-42",   "",
                                                     " padded ", "\"q\"", "\x83\x5A\x83"};

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// The bytes of before that after replaced: before and after agree except for one stretch,
// whose old part is returned.
std::string_view ChangedStretch(std::string_view before, std::string_view after) {
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
        ++prefix;
    }
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    return before.substr(prefix, before.size() - prefix - suffix);
}

bool SameName(const Name& a, const Name& b) {
    return yomi6::profile::EqualsIgnoreCase(a.section, b.section) &&
           yomi6::profile::EqualsIgnoreCase(a.key, b.key);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const Name& target = kNames[data[0] % kNames.size()];
    const std::string_view value = kValues[data[1] % kValues.size()];
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    ProfileFile file = ProfileFile::FromBytes(text);
    Check(file.Bytes() == text);
    std::array<std::optional<std::string>, kNames.size()> before;
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        before[i] = file.Find(kNames[i].section, kNames[i].key);
        (void)file.GetInt(kNames[i].section, kNames[i].key, 7);
    }

    // Writing back the value a key reads as changes nothing.
    const auto current = file.Find(target.section, target.key);
    if (current && yomi6::profile::IsStorableValue(*current)) {
        Check(file.WriteString(target.section, target.key, *current));
        Check(!file.IsModified());
    }

    Check(file.WriteString(target.section, target.key, value));
    const std::string written = file.Bytes();
    Check(ChangedStretch(text, written).find('\n') == std::string_view::npos);
    const ProfileFile reread = ProfileFile::FromBytes(written);
    Check(reread.Find(target.section, target.key) == std::string(value));
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (!SameName(kNames[i], target)) {
            Check(reread.Find(kNames[i].section, kNames[i].key) == before[i]);
        }
    }

    // Deleting the key removes exactly its line (and its line end).
    ProfileFile again = ProfileFile::FromBytes(written);
    Check(again.DeleteKey(target.section, target.key));
    const std::string deleted = again.Bytes();
    Check(ChangedStretch(deleted, written).empty());
    const std::string_view removed = ChangedStretch(written, deleted);
    Check(removed.find('\n') == removed.rfind('\n'));
    return 0;
}
