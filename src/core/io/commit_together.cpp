#include "io/commit_together.h"

#include "io/temporary_registry.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace yomi6 {

namespace {

// Holds back the signals that end a process from the keyboard, a kill, a closed terminal or
// pipe for as long as it lives; they arrive when it ends.
class HeldSignals {
public:
    HeldSignals() {
        sigset_t held;
        sigemptyset(&held);
        for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
            sigaddset(&held, sig);
        }
        pthread_sigmask(SIG_BLOCK, &held, &m_before);
    }
    ~HeldSignals() { pthread_sigmask(SIG_SETMASK, &m_before, nullptr); }
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

private:
    sigset_t m_before{};
};

void RemoveName(const std::string& path) {
    if (!path.empty()) {
        ::unlink(path.c_str());
        ForgetTemporary(path);
    }
}

} // namespace

bool CommitTempsTogether(std::span<TempForTarget* const> temps, std::string& error) {
    error.clear();
    const auto discardAll = [&] {
        for (TempForTarget* temp : temps) {
            DiscardTempForTarget(*temp);
        }
    };
    for (TempForTarget* temp : temps) {
        if (!CompleteTempForTarget(*temp, error)) {
            if (error.empty()) {
                error = "cannot write " + temp->target + ": the file is not open";
            }
            discardAll();
            return false;
        }
    }

    const HeldSignals held;
    // The old file of every target but the last gets a second name first, so that a failure
    // further on can put it back; the last rename is the final step and needs none.
    std::vector<std::string> kept(temps.size());
    std::vector<bool> existed(temps.size());
    for (std::size_t i = 0; i < temps.size(); ++i) {
        struct stat st {};
        existed[i] = ::lstat(temps[i]->target.c_str(), &st) == 0;
        if (existed[i] && S_ISREG(st.st_mode) && i + 1 < temps.size()) {
            LinkTemporaryTo(temps[i]->target, kept[i]);
        }
    }
    std::size_t renamed = 0;
    for (; renamed < temps.size(); ++renamed) {
        TempForTarget& temp = *temps[renamed];
        if (::rename(temp.tempPath.c_str(), temp.target.c_str()) != 0) {
            error = "cannot replace " + temp.target + ": " + std::strerror(errno);
            break;
        }
        ForgetTemporary(temp.tempPath);
        temp.tempPath.clear();
    }
    const bool failed = renamed < temps.size();
    for (std::size_t i = 0; failed && i < renamed; ++i) {
        const std::string& target = temps[i]->target;
        if (!kept[i].empty() && ::rename(kept[i].c_str(), target.c_str()) == 0) {
            ForgetTemporary(kept[i]);
            kept[i].clear();
        } else if (!existed[i]) {
            ::unlink(target.c_str());
        }
    }
    for (const std::string& name : kept) {
        RemoveName(name);
    }
    if (failed) {
        discardAll();
        return false;
    }
    for (TempForTarget* temp : temps) {
        SyncFolderOf(temp->target);
    }
    return true;
}

} // namespace yomi6
