// The English pronouncing dictionary of the automatic reading: the CMU dictionary as Debian's
// festlex-cmu ships it, one entry a line, ("word" pos (((phones) stress) ...)), sorted by the
// word without regard to case. The file is mapped, not read: a lookup is a binary search over its
// lines, so that opening it costs no time and only the pages a lookup touches are read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6::english {

// Where festlex-cmu puts the dictionary.
inline constexpr const char* kDefaultLexiconPath = "/usr/share/festival/dicts/cmu/cmudict-0.4.out";

// The phonemes of American English as the dictionary writes them (ax: the unstressed schwa).
enum class Phone : std::uint8_t {
    // vowels
    AA,
    AE,
    AH,
    AO,
    AW,
    AX,
    AY,
    EH,
    ER,
    EY,
    IH,
    IY,
    OW,
    OY,
    UH,
    UW,
    // consonants
    B,
    CH,
    D,
    DH,
    F,
    G,
    HH,
    JH,
    K,
    L,
    M,
    N,
    NG,
    P,
    R,
    S,
    SH,
    T,
    TH,
    V,
    W,
    Y,
    Z,
    ZH,
};

bool IsVowel(Phone p);

// One phoneme and the stress of its syllable (0 unstressed, 1 stressed).
struct Sound {
    Phone phone;
    int stress = 0;

    bool operator==(const Sound&) const = default;
};

// The phones of one entry's pronunciation, e.g. "(((n uw) 1) ((y ao r k) 1)))"; nullopt when it
// names a phoneme not in Phone.
std::optional<std::vector<Sound>> ParsePronunciation(std::string_view text);

class EnglishLexicon {
public:
    explicit EnglishLexicon(std::string path = kDefaultLexiconPath);
    ~EnglishLexicon();
    EnglishLexicon(const EnglishLexicon&) = delete;
    EnglishLexicon& operator=(const EnglishLexicon&) = delete;

    // The pronunciation of word (ASCII letters, any case) by its first entry; nullopt when the
    // word is not there or the file cannot be opened (it is opened on the first lookup and not
    // again after a failure).
    std::optional<std::vector<Sound>> Lookup(std::string_view word);
    // Whether the file is open (after a lookup).
    bool IsOpen() const { return m_data != nullptr; }

private:
    bool Open();
    // The word of the line that starts at offset at (lower case not applied).
    std::string_view WordAt(std::size_t at) const;
    std::size_t LineStart(std::size_t at) const;

    std::string m_path;
    bool m_tried = false;
    const char* m_data = nullptr; // the mapped file
    std::size_t m_size = 0;
    std::size_t m_first = 0; // the first entry's line, after the header
};

} // namespace yomi6::english
