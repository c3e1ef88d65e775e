#include "cli/output_checks.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <vector>

namespace yomi6::cli {

namespace {

struct NamedFile {
    const char* role; // how the command line names it
    std::string path;
};

// The absolute name path stands for: the file a link leads to, or for a file not there yet its
// folder's real name and its own.
std::string RealName(const std::string& path) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        std::string name = real;
        std::free(real);
        return name;
    }
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string leaf = slash == std::string::npos ? path : path.substr(slash + 1);
    if (char* real = ::realpath(folder.c_str(), nullptr)) {
        std::string name = real;
        std::free(real);
        return name + "/" + leaf;
    }
    return path;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) {
        if (!S_ISREG(sa.st_mode) || !S_ISREG(sb.st_mode)) {
            return false;
        }
        if (sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino) {
            return true;
        }
    }
    return RealName(a) == RealName(b);
}

// Whether a name is written into rather than replaced (or not a file at all).
bool NotCompared(const std::string& path) {
    struct stat st {};
    return path.empty() || path == "-" || (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode));
}

} // namespace

std::string CheckDistinctFiles(const Options& options) {
    std::vector<NamedFile> files{{"FILE", options.input}};
    switch (options.mode) {
    case Mode::Wav:
        files.push_back({"OUT.wav", options.wavOutput});
        break;
    case Mode::Pdf:
        files.push_back({"OUT.pdf", options.pdfOutput});
        break;
    case Mode::Export:
        files.push_back({"--export", options.exportOutput});
        files.push_back({"--subtitles", options.subtitles});
        files.push_back({"--timings", options.timings});
        break;
    default:
        return {};
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = i + 1; j < files.size(); ++j) {
            if (!NotCompared(files[i].path) && !NotCompared(files[j].path) &&
                SameFile(files[i].path, files[j].path)) {
                return std::string(files[i].role) + " and " + files[j].role +
                       " are the same file: '" + files[j].path + "'";
            }
        }
    }
    return {};
}

} // namespace yomi6::cli
