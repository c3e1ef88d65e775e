#include "labels/devoicing_stage.h"

#include "labels/mora_table.h"
#include "text/utf8_codec.h"

#include <array>
#include <string>

namespace yomi6::labels {

namespace {

// The morae whose vowel may go voiceless, each with the morae that must follow.
constexpr std::string_view kAfterS[] = {"カ", "キ", "ク", "ケ", "コ", "タ", "チ", "ツ", "テ", "ト",
                                        "ハ", "ヒ", "フ", "ヘ", "ホ", "パ", "ピ", "プ", "ペ", "ポ"};
constexpr std::string_view kAfterH[] = {"カ", "キ", "ク", "ケ", "コ", "サ", "シ", "ス", "セ", "ソ",
                                        "タ", "チ", "ツ", "テ", "ト", "パ", "ピ", "プ", "ペ", "ポ"};
constexpr std::string_view kAfterOther[] = {"カ", "キ", "ク", "ケ", "コ", "サ", "シ", "ス", "セ",
                                            "ソ", "タ", "チ", "ツ", "テ", "ト", "ハ", "ヒ", "フ",
                                            "ヘ", "ホ", "パ", "ピ", "プ", "ペ", "ポ"};

struct CandidateRow {
    std::array<std::string_view, 16> morae; // "" ends the list
    const std::string_view* next;
    std::size_t nextCount;
};

// s before k, t, h, p (not before s or sh); f and h before k, s, t, p (not before f or h);
// the other voiceless consonants before any of them.
const CandidateRow kCandidates[] = {
    {{"スィ", "ス"}, kAfterS, std::size(kAfterS)},
    {{"フィ", "ヒ", "フ"}, kAfterH, std::size(kAfterH)},
    {{"キュ", "シュ", "チュ", "ツィ", "ヒュ", "ピュ", "テュ", "トゥ", "ティ", "キ", "ク", "シ",
      "チ", "ツ", "ピ", "プ"},
     kAfterOther,
     std::size(kAfterOther)},
};

// 1 voiceless, 0 voiced, -1 no rule says.
int UnvoiceRule(std::string_view mora, const std::string* next) {
    if (next == nullptr) {
        return 0;
    }
    for (const CandidateRow& row : kCandidates) {
        for (std::string_view m : row.morae) {
            if (m.empty() || m != mora) {
                continue;
            }
            for (std::size_t k = 0; k < row.nextCount; ++k) {
                if (next->compare(0, row.next[k].size(), row.next[k]) == 0) {
                    return 1;
                }
            }
            return 0;
        }
    }
    return -1;
}

// One mora of the sentence, as the rules see it.
struct MoraInfo {
    std::string kana; // the mora (、 and ？ for a pause and a question word)
    std::size_t word; // the word it belongs to
    int flag = -1;    // 1 voiceless, 0 voiced, -1 not decided
    int index = 0;    // its place in the accent phrase, from 0
    int accent = 0;   // the phrase's accent
};

// The morae of every word, in order, with their places in their phrases.
std::vector<MoraInfo> Morae(const std::vector<LabelWord>& words) {
    std::vector<MoraInfo> out;
    int index = 0;
    int accent = 0;
    for (std::size_t w = 0; w < words.size(); ++w) {
        const std::string& p = words[w].pronunciation;
        if (words[w].chain != 1) {
            index = 0;
            accent = words[w].accent;
        }
        if (p == kPause || p == kQuestion) {
            out.push_back({p, w, 0, index++, accent});
            continue;
        }
        for (std::size_t i = 0; i < p.size();) {
            MoraInfo m{{}, w, -1, index, accent};
            std::size_t n = 0;
            if (const Mora* mora = MoraAt(std::string_view(p).substr(i), n)) {
                m.kana = mora->kana;
            } else {
                n = Utf8Step(std::string_view(p).substr(i));
                m.kana = p.substr(i, n); // ー, or anything else as it is
            }
            i += n;
            if (p.compare(i, kDevoicedMark.size(), kDevoicedMark) == 0) {
                m.flag = 1;
                i += kDevoicedMark.size();
            }
            if (m.kana == kDevoicedMark) {
                continue; // a stray mark
            }
            ++index;
            out.push_back(std::move(m));
        }
    }
    return out;
}

bool IsOneOf(std::string_view pos, std::initializer_list<std::string_view> names) {
    for (std::string_view n : names) {
        if (pos == n) {
            return true;
        }
    }
    return false;
}

} // namespace

void SetDevoicing(std::vector<LabelWord>& words) {
    std::vector<MoraInfo> m = Morae(words);
    for (std::size_t i = 0; i < m.size(); ++i) {
        MoraInfo* m2 = i + 1 < m.size() ? &m[i + 1] : nullptr;
        MoraInfo* m3 = i + 2 < m.size() ? &m[i + 2] : nullptr;
        MoraInfo& m1 = m[i];
        // す of です and ます: voiceless unless a question's end or a long vowel follows.
        if (m2 != nullptr && m3 != nullptr && m1.word == m2->word && m2->word != m3->word &&
            (m1.kana == "マ" || m1.kana == "デ") && m2->kana == "ス" &&
            IsOneOf(words[m2->word].pos, {"動詞", "助動詞", "感動詞"})) {
            const std::string& after = words[m3->word].pronunciation;
            m2->flag = after == kQuestion || after == kLongVowel ? 0 : 1;
        }
        // The し of a verb, an auxiliary or a particle decides first.
        if (m1.flag != 1 && m2 != nullptr && m2->flag == -1 && (m3 == nullptr || m3->flag != 1) &&
            words[m2->word].pronunciation == "シ" &&
            IsOneOf(words[m2->word].pos, {"動詞", "助動詞", "助詞"})) {
            m2->flag = m2->accent == m2->index + 1
                           ? 0
                           : UnvoiceRule(m2->kana, m3 != nullptr ? &m3->kana : nullptr);
            if (m2->flag == 1) {
                m1.flag = m1.flag == -1 ? 0 : m1.flag;
                if (m3 != nullptr && m3->flag == -1) {
                    m3->flag = 0;
                }
            }
        }
        if (m1.flag == -1) {
            if (words[m1.word].pos == "フィラー" || (m2 != nullptr && m2->flag == 1) ||
                m1.accent == m1.index + 1) {
                m1.flag = 0;
            } else {
                m1.flag = UnvoiceRule(m1.kana, m2 != nullptr ? &m2->kana : nullptr);
            }
        }
        if (m1.flag == 1 && m2 != nullptr && m2->flag == -1) {
            m2->flag = 0;
        }
    }
    // The pronunciations again, with the marks.
    std::vector<std::string> pron(words.size());
    for (const MoraInfo& mora : m) {
        pron[mora.word] += mora.kana;
        if (mora.flag == 1) {
            pron[mora.word] += kDevoicedMark;
        }
    }
    for (std::size_t w = 0; w < words.size(); ++w) {
        words[w].pronunciation = pron[w];
    }
}

} // namespace yomi6::labels
