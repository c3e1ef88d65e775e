#include "cli/interrupt_cleanup.h"

#include "io/temporary_registry.h"
#include "natural/child_registry.h"

#include <csignal>

namespace yomi6::cli {

namespace {

// Only async-signal-safe calls: nanosleep (in CloseTemporaryGates), kill and waitpid (in
// EndNotedChildren), unlink and rmdir (in RemoveNotedTemporaries), signal, sigprocmask, raise.
// Nothing new is made from the first step on; the engine runs end next, so that none writes into
// a folder that is being removed.
void OnInterrupt(int sig) {
    CloseTemporaryGates();
    natural::EndNotedChildren();
    RemoveNotedTemporaries();
    std::signal(sig, SIG_DFL);
    sigset_t self;
    sigemptyset(&self);
    sigaddset(&self, sig);
    sigprocmask(SIG_UNBLOCK, &self, nullptr);
    std::raise(sig);
}

} // namespace

void RemoveTemporariesOnInterrupt() {
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction old {};
        if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        // The other three wait while one removes the files.
        for (const int other : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
            sigaddset(&action.sa_mask, other);
        }
        action.sa_flags = SA_RESTART;
        sigaction(sig, &action, nullptr);
    }
}

} // namespace yomi6::cli
