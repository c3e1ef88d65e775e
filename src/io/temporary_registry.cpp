#include "io/temporary_registry.h"

#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <unistd.h>

namespace yomi6 {

namespace {

enum EntryState : int { kFree, kFilling, kNoted };

// The states apart from the paths, so that a search for a free or noted entry reads a few cache
// lines and not one page per entry; a path's page is touched only when it is used.
struct Table {
    std::array<std::atomic<int>, kMaxNotedTemporaries> states{};
    std::array<std::array<char, PATH_MAX>, kMaxNotedTemporaries> paths{};
};

static_assert(std::atomic<int>::is_always_lock_free);
static_assert(kFree == 0, "a zeroed table is free");

// See the header: a signal handler reads this table.
Table g_noted; // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

} // namespace

void NoteTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) {
        return;
    }
    for (std::size_t i = 0; i < kMaxNotedTemporaries; ++i) {
        int expected = kFree;
        if (g_noted.states[i].compare_exchange_strong(expected, kFilling)) {
            std::memcpy(g_noted.paths[i].data(), path.c_str(), path.size() + 1);
            g_noted.states[i].store(kNoted, std::memory_order_release);
            return;
        }
    }
}

void ForgetTemporary(const std::string& path) {
    for (std::size_t i = 0; i < kMaxNotedTemporaries; ++i) {
        if (g_noted.states[i].load(std::memory_order_acquire) == kNoted &&
            path == g_noted.paths[i].data()) {
            g_noted.states[i].store(kFree, std::memory_order_release);
            return;
        }
    }
}

void RemoveNotedTemporaries() noexcept {
    for (std::size_t i = 0; i < kMaxNotedTemporaries; ++i) {
        if (g_noted.states[i].load(std::memory_order_acquire) == kNoted) {
            ::unlink(g_noted.paths[i].data());
        }
    }
}

} // namespace yomi6
