#include "english/english_kana.h"

#include "english/kana_rows.h"

#include <algorithm>
#include <optional>

namespace yomi6::english {

namespace {

constexpr std::string_view kLong = "ー";
constexpr std::string_view kSmallTsu = "ッ";
constexpr std::string_view kN = "ン";

bool IsVowelLetter(char c) {
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// The runs of vowel letters of a lower-case word: y after the first letter and not before a
// vowel counts as one (city, system), w after a vowel and not before one too (new, law).
std::vector<std::string> VowelGroups(std::string_view word) {
    std::vector<std::string> groups;
    std::string run;
    for (std::size_t k = 0; k < word.size(); ++k) {
        const char c = word[k];
        const bool beforeVowel = k + 1 < word.size() && IsVowelLetter(word[k + 1]);
        const bool vowel = IsVowelLetter(c) || (c == 'y' && k > 0 && !beforeVowel) ||
                           (c == 'w' && !run.empty() && !beforeVowel);
        if (vowel) {
            run.push_back(c);
        } else if (!run.empty()) {
            groups.push_back(run);
            run.clear();
        }
    }
    if (!run.empty()) {
        groups.push_back(run);
    }
    return groups;
}

// The vowel letters written for each vowel phoneme, when the groups can be paired with them:
// as many groups as vowels, or one more that is a silent e at the end (-e, -es, -ed).
std::vector<std::string> AlignedGroups(std::string_view word, std::size_t vowels) {
    std::vector<std::string> groups = VowelGroups(word);
    if (groups.size() == vowels + 1 && groups.back() == "e") {
        const std::size_t at = word.rfind('e');
        if (at + 1 == word.size() ||
            (at + 2 == word.size() && (word.back() == 's' || word.back() == 'd'))) {
            groups.pop_back();
        }
    }
    if (groups.size() != vowels) {
        groups.assign(vowels, std::string());
    }
    return groups;
}

bool IsShort(Phone v) {
    switch (v) {
    case Phone::AA:
    case Phone::AE:
    case Phone::AH:
    case Phone::AX:
    case Phone::EH:
    case Phone::IH:
    case Phone::UH:
        return true;
    default:
        return false;
    }
}

// The kana vowel of a vowel phoneme said in a group of letters, whether it is long, and the
// kana vowel gliding after it (アイ, アウ, オイ).
struct VowelKana {
    KanaVowel vowel;
    bool longVowel = false;
    std::optional<KanaVowel> glide;
};

KanaVowel VowelOfLetters(const std::string& letters, KanaVowel otherwise) {
    if (letters.empty()) {
        return otherwise;
    }
    switch (letters.back()) { // the last letter: ion is オ, ea is ア
    case 'a':
    case 'u':
        return KanaVowel::A;
    case 'e':
        return KanaVowel::E;
    case 'i':
    case 'y':
        return KanaVowel::I;
    case 'o':
        return KanaVowel::O;
    default:
        return otherwise;
    }
}

// What follows a phoneme, from sounds[k] on.
class Sounds {
public:
    explicit Sounds(const std::vector<Sound>& sounds) : m_sounds(sounds) {}
    std::size_t Size() const { return m_sounds.size(); }
    std::optional<Phone> At(std::size_t k) const {
        if (k < m_sounds.size()) {
            return m_sounds[k].phone;
        }
        return std::nullopt;
    }
    bool VowelAt(std::size_t k) const { return k < m_sounds.size() && IsVowel(m_sounds[k].phone); }
    bool Stressed(std::size_t k) const { return k < m_sounds.size() && m_sounds[k].stress > 0; }
    // Whether k is at the end of the word, or only s or z follow it.
    bool EndsAt(std::size_t k) const {
        if (k + 1 >= m_sounds.size()) {
            return true;
        }
        return k + 2 == m_sounds.size() &&
               (m_sounds[k + 1].phone == Phone::S || m_sounds[k + 1].phone == Phone::Z);
    }

private:
    const std::vector<Sound>& m_sounds;
};

class KanaWriter {
public:
    KanaWriter(std::string_view spelling, const std::vector<Sound>& sounds)
        : m_word(spelling), m_sounds(sounds) {
        std::transform(m_word.begin(), m_word.end(), m_word.begin(), [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        });
        const auto vowels = static_cast<std::size_t>(std::count_if(
            sounds.begin(), sounds.end(), [](const Sound& s) { return IsVowel(s.phone); }));
        m_groups = AlignedGroups(m_word, vowels);
    }

    std::string Write() {
        std::size_t vowelIndex = 0;
        for (std::size_t k = 0; k < m_sounds.Size();) {
            const Phone p = *m_sounds.At(k);
            if (IsVowel(p)) {
                WriteVowel(RowAfterVowel(k), k, vowelIndex++, false);
                ++k;
                continue;
            }
            k = WriteConsonant(k, vowelIndex);
        }
        return m_out;
    }

private:
    VowelKana KanaOfVowel(std::size_t k, std::size_t vowelIndex) const {
        const Phone p = *m_sounds.At(k);
        const std::string& letters = m_groups[vowelIndex];
        const bool stressed = m_sounds.Stressed(k);
        const bool beforeR = m_sounds.At(k + 1) == Phone::R;
        switch (p) {
        case Phone::AA:
            return {letters.starts_with('o') ? KanaVowel::O : KanaVowel::A, false, {}};
        case Phone::AE:
            return {KanaVowel::A, false, {}};
        case Phone::AH:
            return {stressed ? KanaVowel::A : VowelOfLetters(letters, KanaVowel::A), false, {}};
        case Phone::AO:
            return {KanaVowel::O, beforeR || letters != "o", {}};
        case Phone::AW:
            return {KanaVowel::A, false, KanaVowel::U};
        case Phone::AX:
            if (letters == "u" && m_sounds.At(k + 1) == Phone::L && k + 2 == m_sounds.Size()) {
                return {KanaVowel::U, false, {}}; // -ful フル
            }
            return {VowelOfLetters(letters, KanaVowel::A), false, {}};
        case Phone::AY:
            return {KanaVowel::A, false, KanaVowel::I};
        case Phone::EH:
            return {KanaVowel::E, false, {}};
        case Phone::ER:
            return {KanaVowel::A, true, {}};
        case Phone::EY:
            return {KanaVowel::E, true, {}};
        case Phone::IH:
            return {!stressed && letters == "e" ? KanaVowel::E : KanaVowel::I, false, {}};
        case Phone::IY:
            return {KanaVowel::I, stressed || m_sounds.EndsAt(k), {}};
        case Phone::OW:
            return {KanaVowel::O, stressed || letters.ends_with('w'), {}};
        case Phone::OY:
            return {KanaVowel::O, false, KanaVowel::I};
        case Phone::UH:
            return {KanaVowel::U, false, {}};
        default: // UW
            return {KanaVowel::U, true, {}};
        }
    }

    // The row of a vowel at k: after a vowel ending in ウ or エ, er is ワー or ヤー (パワー,
    // プレーヤー), its ウ the w.
    const KanaRow& RowAfterVowel(std::size_t k) {
        if (k > 0 && *m_sounds.At(k) == Phone::ER) {
            const Phone before = *m_sounds.At(k - 1);
            if (before == Phone::AW && m_out.ends_with("ウ")) {
                m_out.resize(m_out.size() - std::string_view("ウ").size());
                return RowOf(Phone::W);
            }
            if (before == Phone::EY) {
                return RowOf(Phone::Y);
            }
        }
        return VowelRow();
    }

    // The vowel at k after a consonant of row (or alone); glided: after a y glide.
    void WriteVowel(const KanaRow& row, std::size_t k, std::size_t vowelIndex, bool glided) {
        const VowelKana kana = KanaOfVowel(k, vowelIndex);
        const Phone p = *m_sounds.At(k);
        // An unstressed ax before a final l written -le is no vowel of its own (シンプル).
        if (p == Phone::AX && m_sounds.At(k + 1) == Phone::L && k + 2 == m_sounds.Size() &&
            m_word.ends_with("le") && &row != &VowelRow()) {
            m_out += row.bare;
            m_lastVowel = kana.vowel;
            return;
        }
        if (glided) {
            m_out += row.glided;
            m_out += SmallGlide(kana.vowel);
        } else {
            m_out += row.with[static_cast<std::size_t>(kana.vowel)];
        }
        if (kana.longVowel) {
            m_out += kLong;
        }
        if (kana.glide) {
            m_out += VowelRow().with[static_cast<std::size_t>(*kana.glide)];
        }
        m_lastVowel = kana.glide.value_or(kana.vowel);
        m_lastLong = kana.longVowel;
        m_lastGlided = kana.glide.has_value();
    }

    // Whether the consonant at k doubles (ッ) after the vowel before it.
    bool Doubles(std::size_t k) const {
        if (k == 0 || !m_sounds.VowelAt(k - 1) || m_lastLong || m_lastGlided ||
            !(IsShort(*m_sounds.At(k - 1)) || *m_sounds.At(k - 1) == Phone::AO)) {
            return false;
        }
        const Phone p = *m_sounds.At(k);
        const bool stop = p == Phone::P || p == Phone::T || p == Phone::K || p == Phone::D ||
                          p == Phone::G || p == Phone::CH || p == Phone::JH || p == Phone::SH;
        if (stop && m_sounds.EndsAt(k)) {
            return true;
        }
        if (k + 2 == m_sounds.Size() && p == Phone::T && m_sounds.At(k + 1) == Phone::S) {
            return true; // cats キャッツ
        }
        if (!m_sounds.Stressed(k - 1) || !m_sounds.VowelAt(k + 1)) {
            return false;
        }
        // Between vowels after a stressed one: where the spelling doubles the consonant.
        switch (p) {
        case Phone::P:
            return m_word.find("pp") != std::string::npos;
        case Phone::K:
            return m_word.find("ck") != std::string::npos || m_word.find("cc") != std::string::npos;
        case Phone::CH:
            return m_word.find("tch") != std::string::npos;
        case Phone::JH:
            return m_word.find("dge") != std::string::npos;
        case Phone::SH:
            return true;
        case Phone::S:
            return m_word.find("ss") != std::string::npos;
        default:
            return false;
        }
    }

    // The consonant at k and its vowel when one follows; returns the sound after them.
    std::size_t WriteConsonant(std::size_t k, std::size_t& vowelIndex) {
        const Phone p = *m_sounds.At(k);
        const std::optional<Phone> next = m_sounds.At(k + 1);
        if (Doubles(k)) {
            m_out += kSmallTsu;
        }
        if (p == Phone::R && k > 0 && m_sounds.VowelAt(k - 1) && !m_sounds.VowelAt(k + 1)) {
            // r after a vowel: a long vowel, or ア after a front or gliding one (ケア, ファイア).
            if (m_lastVowel == KanaVowel::A || m_lastVowel == KanaVowel::O) {
                if (!m_lastLong) {
                    m_out += kLong;
                }
            } else {
                m_out += VowelRow().with[static_cast<std::size_t>(KanaVowel::A)];
            }
            return k + 1;
        }
        if (p == Phone::T && next == Phone::S && !m_sounds.VowelAt(k + 2)) {
            m_out += "ツ";
            return k + 2;
        }
        if (p == Phone::D && next == Phone::Z && !m_sounds.VowelAt(k + 2)) {
            m_out += "ズ";
            return k + 2;
        }
        // w after k or g is the vowel it glides into (クイーン, クエスチョン).
        const bool wAfterK = p == Phone::W && k > 0 &&
                             (m_sounds.At(k - 1) == Phone::K || m_sounds.At(k - 1) == Phone::G);
        const KanaRow& row = wAfterK ? VowelRow() : RowOf(p);
        if (next && IsVowel(*next)) {
            if (p == Phone::NG) {
                m_out += kN;
            }
            // ew and u said uw after n, t, d: ニュー, チューブ, デューティー.
            const bool yOfU = *next == Phone::UW &&
                              (p == Phone::N || p == Phone::T || p == Phone::D) &&
                              (m_groups[vowelIndex] == "ew" || m_groups[vowelIndex] == "u" ||
                               m_groups[vowelIndex] == "ue" || m_groups[vowelIndex] == "eu");
            // k and g before ae: キャ, ギャ.
            const bool yOfA = *next == Phone::AE && (p == Phone::K || p == Phone::G);
            WriteVowel(row, k + 1, vowelIndex++, yOfU || yOfA);
            return k + 2;
        }
        if (next == Phone::Y && m_sounds.VowelAt(k + 2) && !row.glided.empty()) {
            const KanaVowel v = KanaOfVowel(k + 2, vowelIndex).vowel;
            if (!SmallGlide(v).empty()) {
                WriteVowel(row, k + 2, vowelIndex++, true);
                return k + 3;
            }
        }
        // No vowel after it.
        if ((p == Phone::M && (next == Phone::P || next == Phone::B || next == Phone::M)) ||
            (p == Phone::NG && (next == Phone::K || next == Phone::G))) {
            m_out += kN;
        } else {
            m_out += row.bare;
        }
        return k + 1;
    }

    std::string m_word;
    Sounds m_sounds;
    std::vector<std::string> m_groups;
    std::string m_out;
    KanaVowel m_lastVowel = KanaVowel::A;
    bool m_lastLong = false;
    bool m_lastGlided = false;
};

} // namespace

std::string KatakanaOf(std::string_view spelling, const std::vector<Sound>& sounds) {
    return KanaWriter(spelling, sounds).Write();
}

} // namespace yomi6::english
