#include "analysis/dictionary_link.h"

#include "io/temporary_registry.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace yomi6 {

namespace {

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

// The kept folder's name: one per dictionary folder and dicrc, so that a changed dicrc (a new
// version of this program) gets a folder of its own. FNV-1a, 64 bits.
std::string KeptName(const std::string& dicDir, std::string_view dicrc) {
    std::uint64_t hash = 14695981039346656037ULL;
    const auto add = [&hash](std::string_view bytes) {
        for (const char c : bytes) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
    };
    add(dicDir);
    add(std::string_view("\0", 1));
    add(dicrc);
    std::array<char, 17> hex{};
    std::snprintf(hex.data(), hex.size(), "%016llx", static_cast<unsigned long long>(hash));
    return "dic-" + std::string(hex.data());
}

std::string LinkTarget(const std::string& link) {
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
    return n > 0 && static_cast<std::size_t>(n) < buffer.size()
               ? std::string(buffer.data(), static_cast<std::size_t>(n))
               : std::string();
}

// Every link names the dictionary's file and the dicrc holds exactly dicrc.
bool IsLinkFolder(const std::string& folder, const std::string& dicDir, std::string_view dicrc) {
    for (const char* name : kDictionaryFiles) {
        if (LinkTarget(folder + "/" + name) != dicDir + "/" + name) {
            return false;
        }
    }
    std::ifstream in(folder + "/dicrc", std::ios::binary);
    std::string held;
    held.resize(dicrc.size() + 1);
    in.read(held.data(), static_cast<std::streamsize>(held.size()));
    held.resize(static_cast<std::size_t>(in.gcount()));
    return held == dicrc;
}

// Removes the files this class makes in folder, and the folder when that leaves it empty.
void RemoveFolder(const std::string& folder) {
    for (const char* name : kDictionaryFiles) {
        ::unlink((folder + "/" + name).c_str());
    }
    ::unlink((folder + "/dicrc").c_str());
    ::rmdir(folder.c_str());
}

// Makes folder and its missing parents, private to the user.
bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string AnalyzerCacheHomeFrom(const char* xdgCacheHome, const char* home) {
    if (IsAbsolute(xdgCacheHome)) {
        return std::string(xdgCacheHome) + "/yomi6";
    }
    if (IsAbsolute(home)) {
        return std::string(home) + "/.cache/yomi6";
    }
    return {};
}

std::string AnalyzerCacheHome() {
    return AnalyzerCacheHomeFrom(std::getenv("XDG_CACHE_HOME"), std::getenv("HOME"));
}

DictionaryLink::DictionaryLink(const std::string& dicDir, std::string_view dicrc,
                               const std::string& cacheHome) {
    if (!cacheHome.empty() && UseCache(dicDir, dicrc, cacheHome)) {
        return;
    }
    RemoveMade();
    const char* tmp = std::getenv("TMPDIR");
    MakeTemporary(IsAbsolute(tmp) ? tmp : "/tmp", dicDir, dicrc);
}

DictionaryLink::~DictionaryLink() {
    RemoveMade();
}

bool DictionaryLink::UseCache(const std::string& dicDir, std::string_view dicrc,
                              const std::string& cacheHome) {
    const std::string kept = cacheHome + "/" + KeptName(dicDir, dicrc);
    if (IsLinkFolder(kept, dicDir, dicrc)) {
        m_folder = kept;
        m_ready = true;
        return true;
    }
    if (!MakeFolders(cacheHome) || !MakeTemporary(cacheHome, dicDir, dicrc)) {
        return false;
    }
    // A kept folder is only ever renamed into place whole, so one that is there and not right
    // was changed by hand: it is replaced, and only the files this class makes are removed from
    // it. One that another run renamed into place meanwhile is right and stays.
    struct stat st {};
    if (::lstat(kept.c_str(), &st) == 0 && !IsLinkFolder(kept, dicDir, dicrc)) {
        RemoveFolder(kept);
    }
    if (::rename(m_folder.c_str(), kept.c_str()) == 0) {
        for (const std::string& path : m_made) {
            ForgetTemporary(path);
        }
        ForgetTemporary(m_folder);
        m_made.clear();
        m_folder = kept;
        return true;
    }
    // Another run made it at the same moment: use that one. Else this load keeps the temporary
    // folder just made, removed afterwards.
    if (IsLinkFolder(kept, dicDir, dicrc)) {
        RemoveMade();
        m_folder = kept;
        m_ready = true;
    }
    return true;
}

// The folder and its files are noted for the clean-up of a command-line run ended by a signal
// (io/temporary_registry.h) before they are made, under a gate that the clean-up waits for: a
// run interrupted while its analyzer loads leaves none of them behind.
bool DictionaryLink::MakeTemporary(const std::string& parent, const std::string& dicDir,
                                   std::string_view dicrc) {
    const TemporaryGate gate;
    if (!gate.IsOpen()) {
        return false;
    }
    std::string pattern = parent + "/yomi6-dic-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        return false;
    }
    m_folder = pattern;
    NoteTemporaryFolder(m_folder);
    for (const char* name : kDictionaryFiles) {
        const std::string link = m_folder + "/" + name;
        NoteTemporary(link);
        m_made.push_back(link);
        if (::symlink((dicDir + "/" + name).c_str(), link.c_str()) != 0) {
            return false;
        }
    }
    const std::string dicrcPath = m_folder + "/dicrc";
    NoteTemporary(dicrcPath);
    m_made.push_back(dicrcPath);
    std::ofstream out(dicrcPath, std::ios::binary);
    out.write(dicrc.data(), static_cast<std::streamsize>(dicrc.size()));
    m_ready = static_cast<bool>(out.flush());
    return m_ready;
}

// A temporary folder has a noted file from the moment it is made; the kept folder has none.
void DictionaryLink::RemoveMade() {
    for (const std::string& path : m_made) {
        ::unlink(path.c_str());
        ForgetTemporary(path);
    }
    if (!m_made.empty()) {
        ::rmdir(m_folder.c_str());
        ForgetTemporary(m_folder);
        m_folder.clear();
    }
    m_made.clear();
    m_ready = false;
}

} // namespace yomi6
