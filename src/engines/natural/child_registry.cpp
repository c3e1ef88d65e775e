#include "natural/child_registry.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/wait.h>

namespace yomi6::natural {

namespace {

static_assert(std::atomic<pid_t>::is_always_lock_free);

// See the header: a signal handler reads this table. 0 marks a free entry.
std::array<std::atomic<pid_t>, kMaxNotedChildren>
    g_children{}; // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

} // namespace

void NoteChild(pid_t pid) {
    for (std::atomic<pid_t>& entry : g_children) {
        pid_t expected = 0;
        if (entry.compare_exchange_strong(expected, pid)) {
            return;
        }
    }
}

void ForgetChild(pid_t pid) {
    for (std::atomic<pid_t>& entry : g_children) {
        pid_t expected = pid;
        if (entry.compare_exchange_strong(expected, 0)) {
            return;
        }
    }
}

void EndNotedChildren() noexcept {
    for (const std::atomic<pid_t>& entry : g_children) {
        const pid_t pid = entry.load();
        // The group, with whatever the child started; the child alone if it had no time to
        // make its group.
        if (pid > 0 && ::kill(-pid, SIGKILL) != 0) {
            ::kill(pid, SIGKILL);
        }
    }
    for (const std::atomic<pid_t>& entry : g_children) {
        const pid_t pid = entry.load();
        // Reaped here, or by the thread that runs it (then ECHILD at once).
        while (pid > 0 && ::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

} // namespace yomi6::natural
