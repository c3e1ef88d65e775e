#include "cli/qt_program.h"

#include "cli/cli_common.h"
#include "cli/cli_options.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace yomi6::cli {

namespace {

std::string OwnPath() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

// "/usr/bin/yomi6" -> "/usr/bin"; "/yomi6" -> "".
std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The mode as its messages name it.
std::string ModeName(Mode mode) {
    const std::string option = ModeOption(mode);
    return option.empty() ? "the editor" : option;
}

} // namespace

bool NeedsQt(Mode mode) {
    return mode == Mode::Editor || mode == Mode::Speak || mode == Mode::Pdf;
}

bool NeedsSoundLibraries(Mode mode) {
    return mode == Mode::Units || mode == Mode::Wav || mode == Mode::Export ||
           mode == Mode::CheckVoice;
}

std::vector<std::string> HelperPlaces(const std::string& programPath, const char* name) {
    const std::string folder = Folder(programPath);
    return {folder + "/" + name, Folder(folder) + "/libexec/" + name};
}

int ExecHelper(const char* name, Mode mode, char** argv) {
    const std::string self = OwnPath();
    if (self.empty()) {
        PrintError("/proc/self/exe", std::string("cannot find this program to start ") +
                                         ModeName(mode) + ": " + std::strerror(errno));
        return kExitIoError;
    }
    std::string tried;
    int error = ENOENT;
    for (const std::string& place : HelperPlaces(self, name)) {
        ::execv(place.c_str(), argv);
        tried = place;
        error = errno;
        if (error != ENOENT) {
            break; // there, but it cannot run: said as it is
        }
    }
    PrintError(tried, std::string("cannot be started for ") + ModeName(mode) + ": " +
                          std::strerror(error));
    return kExitIoError;
}

} // namespace yomi6::cli
