#include "analysis/mecab_analyzer.h"

#include "analysis/dictionary_link.h"
#include "analysis/feature_layout.h"
#include "analysis/spoken_forms.h"
#include "analysis/word_context.h"
#include "text/char_classes.h"
#include "text/utf8_codec.h"

#include <mecab.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace yomi6 {

namespace {

// The dicrc of the Open JTalk dictionary (Debian: open-jtalk-mecab-naist-jdic), which ships
// none: IPADIC's fields, then the accent, which the comment lines name for FeatureLayoutOf.
constexpr std::string_view kOpenJTalkDicrc = "; f[9]: accent\n"
                                             "; f[10]: accentRule\n"
                                             "; f[11]: chainFlag\n"
                                             "cost-factor = 800\n"
                                             "bos-feature = BOS/EOS,*,*,*,*,*,*,*,*\n";

// A dicrc is a few kilobytes; anything much larger is not one.
constexpr std::streamsize kMaxDicrcBytes = 1 << 20;

// What a path that is not a folder is, in the words of the message.
const char* WhatItIs(mode_t mode) {
    if (S_ISFIFO(mode)) {
        return "a named pipe (FIFO)";
    }
    if (S_ISREG(mode)) {
        return "a file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    return "something else";
}

bool IsReadableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), R_OK) == 0;
}

// Every file must be a readable regular file: MeCab itself would wait forever on a pipe and
// report a missing file only in its own words. A folder without dicrc is the Open JTalk
// dictionary's (withoutDicrc).
bool CheckFolder(const std::string& dicDir, bool& withoutDicrc, std::string& error) {
    struct stat st {};
    if (::stat(dicDir.c_str(), &st) != 0) {
        error = "the analyzer dictionary folder " + dicDir + " is missing";
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        error = "the analyzer dictionary folder " + dicDir + " is " + WhatItIs(st.st_mode) +
                ", not a folder";
        return false;
    }
    for (const char* name : kDictionaryFiles) {
        const std::string path = dicDir + "/" + name;
        if (::stat(path.c_str(), &st) != 0) {
            error = "the analyzer dictionary file " + path + " is missing";
            return false;
        }
        if (!IsReadableFile(path)) {
            error = "the analyzer dictionary file " + path + " cannot be read";
            return false;
        }
    }
    const std::string dicrc = dicDir + "/dicrc";
    withoutDicrc = ::stat(dicrc.c_str(), &st) != 0 && errno == ENOENT;
    if (!withoutDicrc && !IsReadableFile(dicrc)) {
        error = "the analyzer dictionary file " + dicrc + " cannot be read";
        return false;
    }
    return true;
}

bool IsUtf8Charset(std::string_view charset) {
    std::string lower;
    for (const char c : charset) {
        if (c != '-' && c != '_') {
            lower.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
        }
    }
    return lower == "utf8";
}

// The layout named by the folder's dicrc (checked to be a readable regular file already).
FeatureLayout ReadLayout(const std::string& dicDir) {
    std::ifstream in(dicDir + "/dicrc", std::ios::binary);
    // Read as long as it is, up to the limit: a buffer of the limit's size would be filled
    // first, which costs more than the rest of opening the analyzer.
    std::string text;
    std::array<char, 4096> chunk{};
    while (static_cast<std::streamsize>(text.size()) < kMaxDicrcBytes) {
        in.read(chunk.data(), std::min(static_cast<std::streamsize>(chunk.size()),
                                       kMaxDicrcBytes - static_cast<std::streamsize>(text.size())));
        if (in.gcount() <= 0) {
            break;
        }
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    return FeatureLayoutOf(text);
}

class MecabAnalyzer : public Analyzer {
public:
    MecabAnalyzer(mecab_t* tagger, FeatureLayout layout)
        : m_tagger(tagger), m_layout(layout),
          m_fieldCount(std::max({layout.partOfSpeech, layout.subdivision, layout.pronunciation,
                                 layout.conjugationForm}) +
                       1) {}
    FeatureLayout Layout() const override { return m_layout; }
    ~MecabAnalyzer() override {
        if (m_lattice != nullptr) {
            mecab_lattice_destroy(m_lattice);
        }
        mecab_destroy(m_tagger);
    }
    MecabAnalyzer(const MecabAnalyzer&) = delete;
    MecabAnalyzer& operator=(const MecabAnalyzer&) = delete;

    bool Analyze(std::string_view utf8, std::vector<AnalyzedWord>& words) override {
        words.clear();
        if (utf8.empty()) {
            return true;
        }
        const mecab_node_t* node = mecab_sparse_tonode2(m_tagger, utf8.data(), utf8.size());
        if (node == nullptr) {
            return false;
        }
        Collect(node, utf8, words);
        return true;
    }

    // The fixed words are feature constraints on MeCab's lattice: each is one node, and the best
    // path is found through the words around it.
    bool AnalyzeAround(std::string_view utf8, const std::vector<Utf8Span>& fixed,
                       std::vector<AnalyzedWord>& words) override {
        words.clear();
        if (utf8.empty()) {
            return true;
        }
        if (m_lattice == nullptr && (m_lattice = mecab_lattice_new()) == nullptr) {
            return false;
        }
        mecab_lattice_clear(m_lattice);
        mecab_lattice_set_sentence2(m_lattice, utf8.data(), utf8.size());
        for (const Utf8Span& f : fixed) {
            if (f.begin < f.end && f.end <= utf8.size()) {
                mecab_lattice_set_feature_constraint(m_lattice, f.begin, f.end, kFixedFeature);
            }
        }
        if (mecab_parse_lattice(m_tagger, m_lattice) == 0) {
            return false;
        }
        Collect(mecab_lattice_get_bos_node(m_lattice), utf8, words);
        return true;
    }

private:
    // A noun the caller reads itself: the analyzer gives it no pronunciation.
    static constexpr const char* kFixedFeature = "名詞,固有名詞,一般,*,*,*,*";

    void Collect(const mecab_node_t* node, std::string_view utf8,
                 std::vector<AnalyzedWord>& words) const {
        // Offsets are counted from the nodes' lengths: rlength takes in the blanks MeCab
        // passes over before a word.
        std::size_t pos = 0;
        for (; node != nullptr; node = node->next) {
            if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) {
                continue;
            }
            AnalyzedWord word;
            word.begin = std::min<std::size_t>(pos + (node->rlength - node->length), utf8.size());
            word.end = std::min<std::size_t>(word.begin + node->length, utf8.size());
            pos = word.end;
            if (word.end <= word.begin) {
                continue;
            }
            word.feature = node->feature != nullptr ? node->feature : "";
            ParseFeature(word.feature, word);
            ApplySpokenForms(utf8.substr(word.begin, word.end - word.begin), word.pronunciation);
            words.push_back(std::move(word));
        }
        SplitUnknownRuns(utf8, words);
        ApplyWordContext(utf8, words);
    }

    // A run of kanji the dictionary does not know is one word without a reading, which would
    // be passed over in silence, known characters and all (四川省雅安県… as one unknown word, or
    // as a number that ends after its 四): each of its characters is analysed alone instead,
    // so that those the dictionary knows are read. A word the caller reads itself stays whole.
    void SplitUnknownRuns(std::string_view utf8, std::vector<AnalyzedWord>& words) const {
        std::vector<AnalyzedWord> out;
        out.reserve(words.size());
        for (AnalyzedWord& w : words) {
            const std::string_view s = utf8.substr(w.begin, w.end - w.begin);
            if (!w.pronunciation.empty() || w.feature == kFixedFeature || !HoldsKanjiRun(s)) {
                out.push_back(std::move(w));
                continue;
            }
            for (std::size_t k = 0; k < s.size();) {
                const std::size_t n = Utf8Step(s.substr(k));
                AnalyzedWord part = AnalyzeAlone(s.substr(k, n));
                part.begin = w.begin + k;
                part.end = part.begin + n;
                out.push_back(std::move(part));
                k += n;
            }
        }
        words = std::move(out);
    }

    // One character analysed by itself, with its own lattice (the tagger's own holds the text
    // being collected).
    AnalyzedWord AnalyzeAlone(std::string_view ch) const {
        AnalyzedWord word;
        mecab_lattice_t* lattice = mecab_lattice_new();
        if (lattice == nullptr) {
            return word;
        }
        mecab_lattice_set_sentence2(lattice, ch.data(), ch.size());
        if (mecab_parse_lattice(m_tagger, lattice) != 0) {
            for (const mecab_node_t* node = mecab_lattice_get_bos_node(lattice); node != nullptr;
                 node = node->next) {
                if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) {
                    continue;
                }
                if (node->length == ch.size() && node->feature != nullptr) {
                    word.feature = node->feature;
                    ParseFeature(word.feature, word);
                    ApplySpokenForms(ch, word.pronunciation);
                }
                break;
            }
        }
        mecab_lattice_destroy(lattice);
        return word;
    }

    void ParseFeature(std::string_view feature, AnalyzedWord& word) const {
        const std::vector<std::string> fields = SplitFeature(feature, m_fieldCount);
        const auto field = [&](std::size_t i) -> std::string_view {
            return i < fields.size() ? std::string_view(fields[i]) : std::string_view();
        };
        // IPADIC tags a numeral 名詞,数; UniDic 名詞,数詞.
        const std::string_view subdivision = field(m_layout.subdivision);
        word.isNumeral = field(m_layout.partOfSpeech) == "名詞" &&
                         (subdivision == "数" || subdivision == "数詞");
        const auto named = [](std::string_view f) {
            return f == "*" ? std::string() : std::string(f);
        };
        word.partOfSpeech = named(field(m_layout.partOfSpeech));
        word.subdivision = named(subdivision);
        word.conjugation = named(field(m_layout.conjugationForm));
        // An unknown word has fewer fields; "*" (IPADIC) or nothing (UniDic) is no reading.
        const std::string_view pronunciation = field(m_layout.pronunciation);
        if (pronunciation != "*") {
            word.pronunciation = SpokenKana(pronunciation);
        }
    }

    // The kana of a pronunciation field without the Open JTalk dictionary's marks: ’ after a
    // mora said voiceless and : between the parts of a compound entry (the labels read them
    // from the feature).
    static std::string SpokenKana(std::string_view pronunciation) {
        constexpr std::string_view kDevoiced = "’";
        std::string out;
        out.reserve(pronunciation.size());
        for (std::size_t i = 0; i < pronunciation.size();) {
            if (pronunciation.substr(i, kDevoiced.size()) == kDevoiced) {
                i += kDevoiced.size();
            } else if (pronunciation[i] == ':') {
                ++i;
            } else {
                out += pronunciation[i++];
            }
        }
        return out;
    }

    mecab_t* m_tagger;
    mecab_lattice_t* m_lattice = nullptr; // made at the first analysis around fixed words
    FeatureLayout m_layout;
    std::size_t m_fieldCount;
};

} // namespace

std::unique_ptr<Analyzer> OpenMecabAnalyzer(const std::string& dicDir, std::string& error) {
    bool withoutDicrc = false;
    if (!CheckFolder(dicDir, withoutDicrc, error)) {
        return nullptr;
    }
    // MeCab maps the files it opens, so a temporary link folder may go once the load is over.
    std::optional<DictionaryLink> linked;
    if (withoutDicrc) {
        linked.emplace(dicDir, kOpenJTalkDicrc, AnalyzerCacheHome());
        if (!linked->Ready()) {
            error = "the analyzer dictionary in " + dicDir +
                    " has no dicrc, and no folder could be made to give it one";
            return nullptr;
        }
    }
    // The folder is named explicitly and no resource file of the system is read (MeCab wants
    // one, so it gets an empty one): another dictionary package made the system's default
    // changes nothing here.
    std::string program = "yomi6";
    std::string rcOption = "-r";
    std::string rcFile = "/dev/null";
    std::string dicOption = "-d";
    std::string dir = linked ? linked->Folder() : dicDir;
    std::array<char*, 5> argv = {program.data(), rcOption.data(), rcFile.data(), dicOption.data(),
                                 dir.data()};
    mecab_t* tagger = mecab_new(static_cast<int>(argv.size()), argv.data());
    if (tagger == nullptr) {
        const char* why = mecab_strerror(nullptr);
        error = "the analyzer dictionary in " + dicDir + " cannot be loaded" +
                (why != nullptr && *why != '\0' ? std::string(": ") + why : std::string());
        return nullptr;
    }
    const mecab_dictionary_info_t* info = mecab_dictionary_info(tagger);
    if (info == nullptr || info->charset == nullptr || !IsUtf8Charset(info->charset)) {
        mecab_destroy(tagger);
        error = "the analyzer dictionary in " + dicDir + " is not a UTF-8 dictionary";
        return nullptr;
    }
    return std::make_unique<MecabAnalyzer>(tagger, linked ? FeatureLayoutOf(kOpenJTalkDicrc)
                                                          : ReadLayout(dicDir));
}

} // namespace yomi6
