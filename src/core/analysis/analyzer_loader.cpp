#include "analysis/analyzer_loader.h"

#include "analysis/mecab_analyzer.h"

#include <cstdlib>
#include <unistd.h>

namespace yomi6 {

AnalyzerLoader::AnalyzerLoader(Opener opener, std::string englishPath)
    : m_opener(opener ? std::move(opener) : Opener(OpenMecabAnalyzer)),
      m_english(std::move(englishPath)) {}

AnalyzerLoader::~AnalyzerLoader() = default;

void AnalyzerLoader::SetConfiguredDictionary(std::string dicDir) {
    m_configured = std::move(dicDir);
}

std::string AnalyzerLoader::DictionaryFolder() const {
    if (const char* env = std::getenv(kAnalyzerDictionaryVariable); env != nullptr && *env != 0) {
        return env;
    }
    if (!m_configured.empty()) {
        return m_configured;
    }
    return DefaultDictionaryFolder();
}

std::string DefaultDictionaryFolder() {
    for (const std::string_view folder : kDefaultAnalyzerDictionaries) {
        std::string path(folder); // not const: returned by move
        if (::access((path + "/sys.dic").c_str(), R_OK) == 0) {
            return path;
        }
    }
    // None is installed: name the one that should be, in the message that follows.
    return std::string(kDefaultAnalyzerDictionary);
}

Analyzer* AnalyzerLoader::Get(std::string& error) {
    if (!m_analyzer) {
        const std::string folder = DictionaryFolder();
        m_analyzer = m_opener(folder, error);
        m_failedFolder = m_analyzer ? std::nullopt : std::optional<std::string>(folder);
    }
    return m_analyzer.get();
}

bool AnalyzerLoader::HasFailed() const {
    return !m_analyzer && m_failedFolder.has_value() && *m_failedFolder == DictionaryFolder();
}

} // namespace yomi6
