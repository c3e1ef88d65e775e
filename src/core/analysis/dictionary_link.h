// A MeCab dictionary folder for a dictionary that ships without the resource file dicrc (the
// Open JTalk dictionary): a folder of links to its binaries beside the dicrc written for it.
//
// It is kept in the user's cache folder, so that a run finds it made instead of making and
// removing five files in a temporary folder at every start (that was a fifth of the start of
// `--reading`). It is made once, filled under a temporary name and then renamed into place, and
// its links and dicrc are checked at every use. Where no cache folder can be used, a temporary
// folder serves the load and is removed with this object.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

// The files of a compiled MeCab dictionary folder, its resource file dicrc aside.
inline constexpr std::array<const char*, 4> kDictionaryFiles = {"sys.dic", "unk.dic", "matrix.bin",
                                                                "char.bin"};

// $XDG_CACHE_HOME/yomi6 when that variable is an absolute path, else <home>/.cache/yomi6 with
// home from $HOME (if absolute); empty otherwise.
std::string AnalyzerCacheHome();
std::string AnalyzerCacheHomeFrom(const char* xdgCacheHome, const char* home);

class DictionaryLink {
public:
    // Links the binaries of dicDir beside dicrc: in cacheHome (made if missing) when it can,
    // else in a temporary folder under $TMPDIR. An empty cacheHome means the temporary folder.
    DictionaryLink(const std::string& dicDir, std::string_view dicrc, const std::string& cacheHome);
    ~DictionaryLink();
    DictionaryLink(const DictionaryLink&) = delete;
    DictionaryLink& operator=(const DictionaryLink&) = delete;

    bool Ready() const { return m_ready; }
    // The folder to give MeCab as its dictionary folder.
    const std::string& Folder() const { return m_folder; }
    // True when the folder is the kept one in the cache (not removed afterwards).
    bool Kept() const { return m_ready && m_made.empty(); }

private:
    bool UseCache(const std::string& dicDir, std::string_view dicrc, const std::string& cacheHome);
    bool MakeTemporary(const std::string& parent, const std::string& dicDir,
                       std::string_view dicrc);
    void RemoveMade();

    std::string m_folder;
    std::vector<std::string> m_made; // files of a temporary folder, removed with it
    bool m_ready = false;
};

} // namespace yomi6
