// The analyzer of the automatic reading, loaded once, on first use: opening its dictionary
// costs time and memory that a user of the dictionary reading alone should never pay. Beside it
// the English pronouncing dictionary of the Latin words, opened at the first one.
#pragma once

#include "analysis/analyzer.h"
#include "english/english_lexicon.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace yomi6 {

// The environment variable that names the analyzer's dictionary folder; it wins over the
// settings file.
inline constexpr const char* kAnalyzerDictionaryVariable = "YOMI6_MECAB_DIC";

// Its owner (the editor's application context, a command-line run, a test) creates it and
// hands it to the readings through their setup.
class AnalyzerLoader {
public:
    using Opener =
        std::function<std::unique_ptr<Analyzer>(const std::string& dicDir, std::string& error)>;

    // opener defaults to MeCab; englishPath is the English pronouncing dictionary's file.
    explicit AnalyzerLoader(Opener opener = nullptr,
                            std::string englishPath = english::kDefaultLexiconPath);
    ~AnalyzerLoader();

    // The dictionary folder named by the settings file ("" for none). Takes effect at the next
    // load; an analyzer already loaded stays.
    void SetConfiguredDictionary(std::string dicDir);
    // The folder a load uses: the environment variable, else the settings' folder, else the
    // default folder.
    std::string DictionaryFolder() const;

    // The analyzer, loading it on the first call. nullptr with the reason in error when it
    // cannot be loaded; the next call tries again (the user may have installed it meanwhile).
    Analyzer* Get(std::string& error);
    bool IsLoaded() const { return m_analyzer != nullptr; }
    // Whether a load from the folder a load would use now has failed (and none has succeeded
    // since). Another folder (the settings or the environment changed) has not failed yet.
    bool HasFailed() const;

    // The English pronouncing dictionary (opened at its first lookup; a missing file finds no
    // word, and the Latin words are spelled).
    english::EnglishLexicon& English() { return m_english; }

private:
    Opener m_opener;
    std::string m_configured;
    std::unique_ptr<Analyzer> m_analyzer;
    std::optional<std::string> m_failedFolder;
    english::EnglishLexicon m_english;
};

// The default folder: the first of kDefaultAnalyzerDictionaries that holds a readable sys.dic,
// else IPADIC's (which a missing-dictionary message then names).
std::string DefaultDictionaryFolder();

} // namespace yomi6
