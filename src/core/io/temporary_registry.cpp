#include "io/temporary_registry.h"

#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <ctime>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace yomi6 {

namespace {

// An entry is written only by the thread that moved it out of kFree (to kFilling) and is read
// by a forgetting thread only while it holds it in kChecking, so that no thread reads a path
// another one is writing. The signal handler reads the path of a noted entry and of one being
// checked: neither is written then.
enum EntryState : int { kFree, kFilling, kNoted, kChecking };

// The states apart from the paths, so that a search for a free or noted entry reads a few cache
// lines and not one page per entry; a path's page is touched only when it is used.
struct Table {
    std::array<std::atomic<int>, kMaxNotedTemporaries> states{};
    std::array<std::array<char, PATH_MAX>, kMaxNotedTemporaries> paths{};
    std::array<bool, kMaxNotedTemporaries> folders{}; // written with the path
};

static_assert(std::atomic<int>::is_always_lock_free);
static_assert(kFree == 0, "a zeroed table is free");

// See the header: a signal handler reads this table.
Table g_noted; // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)
// See the header: a signal handler closes the gates and waits for them.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
std::atomic<int> g_gatesHeld{0};
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
std::atomic<bool> g_gatesClosed{false};

} // namespace

namespace {

void Note(const std::string& path, bool folder) {
    if (path.size() >= PATH_MAX) {
        return;
    }
    for (std::size_t i = 0; i < kMaxNotedTemporaries; ++i) {
        int expected = kFree;
        if (g_noted.states[i].compare_exchange_strong(expected, kFilling)) {
            std::memcpy(g_noted.paths[i].data(), path.c_str(), path.size() + 1);
            g_noted.folders[i] = folder;
            g_noted.states[i].store(kNoted, std::memory_order_release);
            return;
        }
    }
}

} // namespace

void NoteTemporary(const std::string& path) {
    Note(path, false);
}

void NoteTemporaryFolder(const std::string& path) {
    Note(path, true);
}

namespace {

// Holds an entry for comparing (kNoted to kChecking); false when it is free or being filled.
bool HoldForChecking(std::atomic<int>& state) {
    for (;;) {
        int expected = kNoted;
        if (state.compare_exchange_weak(expected, kChecking, std::memory_order_acquire)) {
            return true;
        }
        if (expected == kFree || expected == kFilling) {
            return false;
        }
        // Another thread is comparing the entry with its own path and puts it back or frees it
        // at once (or the exchange failed spuriously, leaving kNoted): try again.
        if (expected == kChecking) {
            std::this_thread::yield();
        }
    }
}

} // namespace

void ForgetTemporary(const std::string& path) {
    for (std::size_t i = 0; i < kMaxNotedTemporaries; ++i) {
        std::atomic<int>& state = g_noted.states[i];
        if (!HoldForChecking(state)) {
            continue;
        }
        const bool match = path == g_noted.paths[i].data();
        state.store(match ? kFree : kNoted, std::memory_order_release);
        if (match) {
            return;
        }
    }
}

void RemoveNotedTemporaries() noexcept {
    // The files first: a folder goes only once it is empty.
    for (const bool folders : {false, true}) {
        for (std::size_t i = 0; i < kMaxNotedTemporaries; ++i) {
            const int state = g_noted.states[i].load(std::memory_order_acquire);
            if ((state == kNoted || state == kChecking) && g_noted.folders[i] == folders) {
                if (folders) {
                    ::rmdir(g_noted.paths[i].data());
                } else {
                    ::unlink(g_noted.paths[i].data());
                }
            }
        }
    }
}

TemporaryGate::TemporaryGate() {
    sigset_t handled;
    sigemptyset(&handled);
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        sigaddset(&handled, sig);
    }
    ::pthread_sigmask(SIG_BLOCK, &handled, &m_oldMask);
    // Held before the look at the flag: a handler that closes the gates after this sees it held.
    g_gatesHeld.fetch_add(1);
    m_held = true;
    m_open = !g_gatesClosed.load();
}

void TemporaryGate::Release() {
    if (!m_held) {
        return;
    }
    m_held = false;
    g_gatesHeld.fetch_sub(1);
    ::pthread_sigmask(SIG_SETMASK, &m_oldMask, nullptr);
}

void CloseTemporaryGates() noexcept {
    g_gatesClosed.store(true);
    const timespec pause{0, 1'000'000};
    for (int k = 0; k < 2000 && g_gatesHeld.load() > 0; ++k) {
        ::nanosleep(&pause, nullptr);
    }
}

} // namespace yomi6
