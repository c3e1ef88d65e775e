#include "cli/interrupt_cleanup.h"

#include "io/temporary_registry.h"

#include <csignal>

namespace yomi6::cli {

namespace {

// Only async-signal-safe calls: unlink (in RemoveNotedTemporaries), signal, sigprocmask,
// raise.
void OnInterrupt(int sig) {
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
