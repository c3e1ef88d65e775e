#include "english/english_lexicon.h"

#include <algorithm>
#include <array>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace yomi6::english {

namespace {

// The dictionary's names of the phones, in the order of Phone.
constexpr std::array<std::string_view, 39> kPhoneNames = {
    "aa", "ae", "ah", "ao", "aw", "ax", "ay", "eh", "er", "ey", "ih", "iy", "ow",
    "oy", "uh", "uw", "b",  "ch", "d",  "dh", "f",  "g",  "hh", "jh", "k",  "l",
    "m",  "n",  "ng", "p",  "r",  "s",  "sh", "t",  "th", "v",  "w",  "y",  "z"};
constexpr std::string_view kLastPhoneName = "zh";

// The header of a compiled lexicon: the entries follow it in order.
constexpr std::string_view kHeader = "MNCL";

std::optional<Phone> PhoneNamed(std::string_view name) {
    for (std::size_t k = 0; k < kPhoneNames.size(); ++k) {
        if (kPhoneNames[k] == name) {
            return static_cast<Phone>(k);
        }
    }
    if (name == kLastPhoneName) {
        return Phone::ZH;
    }
    return std::nullopt;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares two words without regard to ASCII case, as the dictionary is sorted.
int CompareWords(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t k = 0; k < n; ++k) {
        const auto x = static_cast<unsigned char>(Lower(a[k]));
        const auto y = static_cast<unsigned char>(Lower(b[k]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

bool IsVowel(Phone p) {
    return p <= Phone::UW;
}

std::optional<std::vector<Sound>> ParsePronunciation(std::string_view text) {
    // Each syllable is "((phone phone ...) stress)": the phones come after "((" or "(", the
    // stress after the ")" that closes them.
    std::vector<Sound> sounds;
    std::size_t syllableStart = 0;
    std::size_t k = 0;
    while (k < text.size()) {
        const char c = text[k];
        if (c >= 'a' && c <= 'z') {
            std::size_t end = k;
            while (end < text.size() && text[end] >= 'a' && text[end] <= 'z') {
                ++end;
            }
            const std::optional<Phone> phone = PhoneNamed(text.substr(k, end - k));
            if (!phone) {
                return std::nullopt;
            }
            sounds.push_back({*phone, 0});
            k = end;
        } else if (c >= '0' && c <= '9') {
            for (std::size_t s = syllableStart; s < sounds.size(); ++s) {
                sounds[s].stress = c - '0';
            }
            syllableStart = sounds.size();
            ++k;
        } else {
            ++k;
        }
    }
    if (sounds.empty()) {
        return std::nullopt;
    }
    return sounds;
}

EnglishLexicon::EnglishLexicon(std::string path) : m_path(std::move(path)) {}

EnglishLexicon::~EnglishLexicon() {
    if (m_data != nullptr) {
        ::munmap(const_cast<char*>(m_data), m_size);
    }
}

bool EnglishLexicon::Open() {
    if (m_tried) {
        return m_data != nullptr;
    }
    m_tried = true;
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    void* map = MAP_FAILED;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::size_t>(info.st_size) > kHeader.size()) {
        map =
            ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    }
    ::close(fd);
    if (map == MAP_FAILED) {
        return false;
    }
    const auto* data = static_cast<const char*>(map);
    const auto size = static_cast<std::size_t>(info.st_size);
    if (std::string_view(data, kHeader.size()) != kHeader) {
        ::munmap(map, size); // not a compiled lexicon: its order cannot be relied on
        return false;
    }
    m_data = data;
    m_size = size;
    const std::string_view all(m_data, m_size);
    const std::size_t newline = all.find('\n');
    m_first = newline == std::string_view::npos ? m_size : newline + 1;
    return true;
}

std::size_t EnglishLexicon::LineStart(std::size_t at) const {
    while (at > m_first && m_data[at - 1] != '\n') {
        --at;
    }
    return at;
}

std::string_view EnglishLexicon::WordAt(std::size_t at) const {
    // ("word" ...
    if (at + 2 >= m_size || m_data[at] != '(' || m_data[at + 1] != '"') {
        return {};
    }
    const std::size_t begin = at + 2;
    std::size_t end = begin;
    while (end < m_size && m_data[end] != '"' && m_data[end] != '\n') {
        ++end;
    }
    return {m_data + begin, end - begin};
}

std::optional<std::vector<Sound>> EnglishLexicon::Lookup(std::string_view word) {
    if (word.empty() || !Open()) {
        return std::nullopt;
    }
    // The first line whose word is not less than word: lines are found by their start at or
    // before a byte position.
    std::size_t low = m_first;
    std::size_t high = m_size; // a line start, or the end
    while (low < high) {
        const std::size_t line = LineStart(low + (high - low) / 2);
        const std::string_view lineView(m_data + line, m_size - line);
        const std::size_t newline = lineView.find('\n');
        const std::size_t next = newline == std::string_view::npos ? m_size : line + newline + 1;
        if (CompareWords(WordAt(line), word) < 0) {
            low = next;
        } else {
            high = line;
        }
    }
    if (low >= m_size || CompareWords(WordAt(low), word) != 0) {
        return std::nullopt;
    }
    const std::string_view rest(m_data + low, m_size - low);
    const std::size_t lineEnd = rest.find('\n');
    const std::string_view line = rest.substr(0, lineEnd);
    // The pronunciation follows the word and its part of speech: from the first "((".
    const std::size_t phones = line.find("((");
    if (phones == std::string_view::npos) {
        return std::nullopt;
    }
    return ParsePronunciation(line.substr(phones));
}

} // namespace yomi6::english
