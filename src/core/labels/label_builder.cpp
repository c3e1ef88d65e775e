#include "labels/label_builder.h"

#include "labels/label_ids.h"
#include "labels/mora_table.h"

#include <algorithm>
#include <optional>

namespace yomi6::labels {

namespace {

constexpr int kMaxS = 19;
constexpr int kMaxM = 49;
constexpr int kMaxL = 99;
constexpr int kMaxLL = 199;
constexpr std::string_view kPau = "pau";
constexpr std::string_view kSil = "sil";
constexpr std::string_view kXx = "xx";

// The element at an index the builder counts in int (the label fields are ints).
template <class T> const T& At(const std::vector<T>& v, int i) {
    return v[static_cast<std::size_t>(i)];
}
template <class T> T& At(std::vector<T>& v, int i) {
    return v[static_cast<std::size_t>(i)];
}

int Limit(int value, int low, int high) {
    return std::clamp(value, low, high);
}

// The utterance as nested spans of indices into flat lists.
struct Phoneme {
    std::string name;
    int mora = -1; // -1 for a pause
};
struct UMora {
    int word = 0;
    int last = 0;          // its last phoneme
    std::string_view kana; // as the mora table or ー spells it
};
struct UWord {
    const LabelWord* word = nullptr;
    int first = 0, last = 0; // morae
    int phrase = 0;
};
struct Phrase {
    int accent = 0;
    bool question = false;
    int first = 0, last = 0; // words
    int group = 0;
};
struct Group {
    int first = 0, last = 0; // phrases
};

struct Utterance {
    std::vector<Phoneme> phonemes;
    std::vector<UMora> morae;
    std::vector<UWord> words;
    std::vector<Phrase> phrases;
    std::vector<Group> groups;

    int WordOf(int phoneme) const { return At(morae, At(phonemes, phoneme).mora).word; }
    int PhraseOf(int phoneme) const { return At(words, WordOf(phoneme)).phrase; }
    int GroupOf(int phoneme) const { return At(phrases, PhraseOf(phoneme)).group; }
    int FirstMora(const Phrase& a) const { return At(words, a.first).first; }
    int LastMora(const Phrase& a) const { return At(words, a.last).last; }
    int MoraCount(const Phrase& a) const { return LastMora(a) - FirstMora(a) + 1; }
    int AccentOf(const Phrase& a) const { return a.accent == 0 ? MoraCount(a) : a.accent; }
    int FirstMora(const Group& b) const { return FirstMora(At(phrases, b.first)); }
    int MoraCount(const Group& b) const {
        return LastMora(At(phrases, b.last)) - FirstMora(At(phrases, b.first)) + 1;
    }
    // The phrase's first phoneme (a pause before it is not part of it).
    int FirstPhoneme(const Phrase& a) const {
        const int m = FirstMora(a);
        int p = m == 0 ? 0 : At(morae, m - 1).last + 1;
        while (At(phonemes, p).mora < 0) {
            ++p;
        }
        return p;
    }
    int LastPhoneme(const Phrase& a) const { return At(morae, LastMora(a)).last; }
};

// Turns the last phoneme, a vowel, voiceless (a → A).
void Devoice(Phoneme& p) {
    if (p.name.size() == 1 && std::string_view("aiueo").find(p.name[0]) != std::string::npos) {
        p.name[0] = static_cast<char>(p.name[0] - 'a' + 'A');
    }
}

class Builder {
public:
    Utterance Take() { return std::move(m_u); }

    void Push(const LabelWord& w) {
        if (w.pronunciation == kPause) {
            m_pause = true;
            return;
        }
        if (w.pronunciation == kQuestion) {
            MarkQuestion();
            m_pause = true;
            return;
        }
        std::optional<int> word;
        const std::string_view p = w.pronunciation;
        for (std::size_t i = 0; i < p.size();) {
            if (p.compare(i, kLongVowel.size(), kLongVowel) == 0) {
                i += kLongVowel.size();
                if (!m_u.phonemes.empty() && !m_pause) {
                    // The long vowel is one more mora of the vowel before, of the mora's word.
                    const int wordOfMora = m_u.morae.back().word;
                    m_u.phonemes.push_back(
                        {m_u.phonemes.back().name, static_cast<int>(m_u.morae.size())});
                    m_u.morae.push_back(
                        {wordOfMora, static_cast<int>(m_u.phonemes.size()) - 1, kLongVowel});
                    m_u.words.back().last = static_cast<int>(m_u.morae.size()) - 1;
                }
                continue;
            }
            if (p.compare(i, kDevoicedMark.size(), kDevoicedMark) == 0) {
                i += kDevoicedMark.size();
                if (!m_u.phonemes.empty() && word) {
                    Devoice(m_u.phonemes.back());
                }
                continue;
            }
            std::size_t n = 0;
            const Mora* mora = MoraAt(p.substr(i), n);
            if (mora == nullptr) {
                break; // nothing the voice can say: the rest of the word is left out
            }
            i += n;
            InsertPause();
            if (!word) {
                m_u.words.push_back({&w, static_cast<int>(m_u.morae.size()), 0, 0});
                word = static_cast<int>(m_u.words.size()) - 1;
            }
            const int moraIndex = static_cast<int>(m_u.morae.size());
            if (!mora->consonant.empty()) {
                m_u.phonemes.push_back({std::string(mora->consonant), moraIndex});
            }
            m_u.phonemes.push_back({std::string(mora->vowel), moraIndex});
            m_u.morae.push_back({*word, static_cast<int>(m_u.phonemes.size()) - 1, mora->kana});
            m_u.words.back().last = moraIndex;
        }
        if (word) {
            Place(*word, w);
        }
    }

private:
    void InsertPause() {
        if (m_pause && !m_u.phonemes.empty()) {
            m_u.phonemes.push_back({std::string(kPau), -1});
        }
        m_pause = false;
    }

    void MarkQuestion() {
        if (m_u.phonemes.empty()) {
            return;
        }
        int p = static_cast<int>(m_u.phonemes.size()) - 1;
        if (At(m_u.phonemes, p).mora < 0 && p > 0) {
            --p;
        }
        if (At(m_u.phonemes, p).mora >= 0) {
            At(m_u.phrases, m_u.PhraseOf(p)).question = true;
        }
    }

    // The new word's accent phrase and breath group.
    void Place(int index, const LabelWord& w) {
        UWord& word = At(m_u.words, index);
        const int phrase = static_cast<int>(m_u.phrases.size());
        if (index == 0) {
            m_u.phrases.push_back({w.accent, false, index, index, 0});
            m_u.groups.push_back({phrase, phrase});
            word.phrase = phrase;
            return;
        }
        if (w.chain == 1) {
            word.phrase = phrase - 1;
            m_u.phrases.back().last = index;
            return;
        }
        // A pause between this word and the one before ends the breath group.
        const int before = At(m_u.morae, At(m_u.words, index - 1).last).last;
        const bool pause = At(m_u.phonemes, before + 1).mora < 0;
        const int group =
            pause ? static_cast<int>(m_u.groups.size()) : static_cast<int>(m_u.groups.size()) - 1;
        m_u.phrases.push_back({w.accent, false, index, index, group});
        if (pause) {
            m_u.groups.push_back({phrase, phrase});
        } else {
            m_u.groups.back().last = phrase;
        }
        word.phrase = phrase;
    }

    Utterance m_u;
    bool m_pause = false;
};

std::string Num(int value) {
    return std::to_string(value);
}

std::string WordFields(const UWord* w, char sep1, char sep2) {
    if (w == nullptr) {
        return std::string(kXx) + sep1 + std::string(kXx) + sep2 + std::string(kXx);
    }
    return std::string(PartOfSpeechId(*w->word)) + sep1 +
           std::string(ConjugationTypeId(w->word->conjugationType)) + sep2 +
           std::string(ConjugationFormId(w->word->conjugationForm));
}

class Writer {
public:
    explicit Writer(const Utterance& u) : m_u(u) {}

    std::vector<std::string> Labels() const {
        const int n = static_cast<int>(m_u.phonemes.size());
        std::vector<std::string_view> names = {kXx, kXx, kSil};
        for (const Phoneme& p : m_u.phonemes) {
            names.emplace_back(p.name);
        }
        names.insert(names.end(), {kSil, kXx, kXx});
        std::vector<std::string> out;
        for (int i = 0; i < n + 2; ++i) {
            const int p = i == 0 ? 0 : i == n + 1 ? n - 1 : i - 1;
            std::string label = std::string(At(names, i)) + "^" + std::string(At(names, i + 1)) +
                                "-" + std::string(At(names, i + 2)) + "+" +
                                std::string(At(names, i + 3)) + "=" + std::string(At(names, i + 4));
            label += Fields(p, i == 0, i == n + 1);
            out.push_back(std::move(label));
        }
        return out;
    }

private:
    std::string Fields(int p, bool first, bool last) const {
        const bool pau = At(m_u.phonemes, p).mora < 0;
        const bool edge = first || last || pau;
        std::string s; // A: the mora against the nucleus, from the phrase's start, from its end
        if (edge) {
            s += "/A:xx+xx+xx";
        } else {
            const Phrase& a = At(m_u.phrases, m_u.PhraseOf(p));
            const int index = At(m_u.phonemes, p).mora - m_u.FirstMora(a) + 1;
            s += "/A:" + Num(Limit(index - m_u.AccentOf(a), -kMaxM, kMaxM)) + "+" +
                 Num(Limit(index, 1, kMaxM)) + "+" +
                 Num(Limit(m_u.MoraCount(a) - index + 1, 1, kMaxM));
        }
        // B, C, D: the words before, at and after.
        const UWord* before = nullptr;
        const UWord* after = nullptr;
        if (pau) {
            before = &At(m_u.words, m_u.WordOf(p - 1));
            after = &At(m_u.words, m_u.WordOf(p + 1));
        } else {
            const int w = m_u.WordOf(p);
            const int words = static_cast<int>(m_u.words.size());
            before = w == 0 ? nullptr : last ? &At(m_u.words, w) : &At(m_u.words, w - 1);
            after = w + 1 >= words ? nullptr : first ? &At(m_u.words, w) : &At(m_u.words, w + 1);
        }
        s += "/B:" + WordFields(before, '-', '_');
        s += "/C:" + WordFields(edge ? nullptr : &At(m_u.words, m_u.WordOf(p)), '_', '+');
        s += "/D:" + WordFields(after, '+', '_');
        // E, F, G: the accent phrases before, at and after.
        const int phrases = static_cast<int>(m_u.phrases.size());
        std::optional<int> e;
        std::optional<int> g;
        if (pau) {
            e = m_u.PhraseOf(p - 1);
            g = m_u.PhraseOf(p + 1);
        } else {
            const int a = m_u.PhraseOf(p);
            if (last) {
                e = a;
            } else if (a > 0) {
                e = a - 1;
            }
            if (first) {
                g = a;
            } else if (a + 1 < phrases) {
                g = a + 1;
            }
        }
        if (e) {
            s += "/E:" + PhraseValues(*e, '!');
        } else {
            s += "/E:xx_xx!xx_xx";
        }
        if (edge || !e) {
            s += "-xx";
        } else {
            s += IsPause(m_u.LastPhoneme(At(m_u.phrases, *e)) + 1) ? "-0" : "-1";
        }
        if (edge) {
            s += "/F:xx_xx#xx_xx@xx_xx|xx_xx";
        } else {
            const int a = m_u.PhraseOf(p);
            const Group& b = At(m_u.groups, At(m_u.phrases, a).group);
            const int index = a - b.first + 1;
            const int mora = m_u.FirstMora(At(m_u.phrases, a)) - m_u.FirstMora(b) + 1;
            s += "/F:" + PhraseValues(a, '#') + "@" + Num(Limit(index, 1, kMaxM)) + "_" +
                 Num(Limit(b.last - b.first + 1 - index + 1, 1, kMaxM)) + "|" +
                 Num(Limit(mora, 1, kMaxL)) + "_" +
                 Num(Limit(m_u.MoraCount(b) - mora + 1, 1, kMaxL));
        }
        if (g) {
            s += "/G:" + PhraseValues(*g, '%');
        } else {
            s += "/G:xx_xx%xx_xx";
        }
        if (edge || !g) {
            s += "_xx";
        } else {
            s += IsPause(m_u.FirstPhoneme(At(m_u.phrases, *g)) - 1) ? "_0" : "_1";
        }
        // H, I, J: the breath groups before, at and after.
        const int groups = static_cast<int>(m_u.groups.size());
        std::optional<int> h;
        std::optional<int> j;
        if (pau) {
            h = m_u.GroupOf(p - 1);
            j = m_u.GroupOf(p + 1);
        } else {
            const int b = m_u.GroupOf(p);
            if (last) {
                h = b;
            } else if (b > 0) {
                h = b - 1;
            }
            if (first) {
                j = b;
            } else if (b + 1 < groups) {
                j = b + 1;
            }
        }
        s += h ? "/H:" + GroupValues(*h) : std::string("/H:xx_xx");
        if (edge) {
            s += "/I:xx-xx@xx+xx&xx-xx|xx+xx";
        } else {
            const int b = m_u.GroupOf(p);
            const Group& group = At(m_u.groups, b);
            const int phrase = group.first + 1;
            const int mora = m_u.FirstMora(group) + 1;
            const int morae = static_cast<int>(m_u.morae.size());
            s += "/I:" + Num(Limit(group.last - group.first + 1, 1, kMaxM)) + "-" +
                 Num(Limit(m_u.MoraCount(group), 1, kMaxL)) + "@" + Num(Limit(b + 1, 1, kMaxS)) +
                 "+" + Num(Limit(groups - b, 1, kMaxS)) + "&" + Num(Limit(phrase, 1, kMaxM)) + "-" +
                 Num(Limit(phrases - phrase + 1, 1, kMaxM)) + "|" + Num(Limit(mora, 1, kMaxLL)) +
                 "+" + Num(Limit(morae - mora + 1, 1, kMaxLL));
        }
        s += j ? "/J:" + GroupValues(*j) : std::string("/J:xx_xx");
        // K: the utterance.
        s += "/K:" + Num(Limit(groups, 1, kMaxS)) + "+" + Num(Limit(phrases, 1, kMaxM)) + "-" +
             Num(Limit(static_cast<int>(m_u.morae.size()), 1, kMaxLL));
        return s;
    }

    bool IsPause(int phoneme) const {
        return phoneme >= 0 && phoneme < static_cast<int>(m_u.phonemes.size()) &&
               At(m_u.phonemes, phoneme).mora < 0;
    }

    // morae_accent<sep>question_xx of a phrase.
    std::string PhraseValues(int index, char sep) const {
        const Phrase& a = At(m_u.phrases, index);
        return Num(Limit(m_u.MoraCount(a), 1, kMaxM)) + "_" +
               Num(Limit(m_u.AccentOf(a), 1, kMaxM)) + sep + (a.question ? "1" : "0") + "_xx";
    }

    std::string GroupValues(int index) const {
        const Group& b = At(m_u.groups, index);
        return Num(Limit(b.last - b.first + 1, 1, kMaxM)) + "_" +
               Num(Limit(m_u.MoraCount(b), 1, kMaxL));
    }

    const Utterance& m_u;
};

} // namespace

std::vector<std::string> BuildLabels(const std::vector<LabelWord>& words,
                                     std::vector<LabelMora>* morae) {
    Builder builder;
    for (const LabelWord& w : words) {
        builder.Push(w);
    }
    const Utterance u = builder.Take();
    if (morae != nullptr) {
        morae->clear();
        for (const UMora& m : u.morae) {
            const LabelWord& w = *At(u.words, m.word).word;
            morae->push_back({std::string(m.kana), w.sourceBegin, w.sourceEnd});
        }
    }
    if (u.phonemes.empty()) {
        return {};
    }
    return Writer(u).Labels();
}

} // namespace yomi6::labels
