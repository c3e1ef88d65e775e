#include "natural/temp_folder.h"

#include "io/temporary_registry.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <unistd.h>
#include <vector>

namespace yomi6::natural {

TempFolder::TempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string folder = (base != nullptr && *base != '\0') ? base : "/tmp";
    if (folder.front() != '/') {
        char cwd[PATH_MAX];
        if (::getcwd(cwd, sizeof cwd) == nullptr) {
            m_error = "cannot make a folder for the engine's files in " + folder + ": " +
                      std::strerror(errno);
            return;
        }
        folder = std::string(cwd) + "/" + folder;
    }
    const std::string pattern = folder + "/yomi6-natural-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        m_error = "cannot make a folder for the engine's files in " + folder + ": " +
                  std::strerror(errno);
        return;
    }
    m_path = buffer.data();
    NoteTemporaryFolder(m_path);
}

std::string TempFolder::NotedFile(const std::string& name) {
    std::string path = File(name);
    NoteTemporary(path);
    m_noted.push_back(path);
    return path;
}

TempFolder::~TempFolder() {
    if (m_path.empty()) {
        return;
    }
    // Only the files of one run are put here, or an empty folder where an engine that went
    // wrong made one: no subfolders to walk.
    if (DIR* dir = ::opendir(m_path.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != ".." && ::unlink(File(name).c_str()) != 0) {
                ::rmdir(File(name).c_str());
            }
        }
        ::closedir(dir);
    }
    ::rmdir(m_path.c_str());
    for (const std::string& path : m_noted) {
        ForgetTemporary(path);
    }
    ForgetTemporary(m_path);
}

} // namespace yomi6::natural
