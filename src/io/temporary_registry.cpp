#include "io/temporary_registry.h"

#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <unistd.h>

namespace yomi6 {

namespace {

// An export holds three temporaries and, while it renames them, three links to the files they
// replace; the other writers hold one at a time.
constexpr std::size_t kEntries = 16;

enum EntryState : int { kFree, kFilling, kNoted };

struct Entry {
    std::atomic<int> state{kFree};
    char path[PATH_MAX] = {};
};

static_assert(std::atomic<int>::is_always_lock_free);

// See the header: a signal handler reads this table.
std::array<Entry, kEntries> g_noted; // NOLINT(cppcoreguidelines-avoid-non-const-global-variables)

} // namespace

void NoteTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) {
        return;
    }
    for (Entry& entry : g_noted) {
        int expected = kFree;
        if (entry.state.compare_exchange_strong(expected, kFilling)) {
            std::memcpy(entry.path, path.c_str(), path.size() + 1);
            entry.state.store(kNoted, std::memory_order_release);
            return;
        }
    }
}

void ForgetTemporary(const std::string& path) {
    for (Entry& entry : g_noted) {
        if (entry.state.load(std::memory_order_acquire) == kNoted && path == entry.path) {
            entry.state.store(kFree, std::memory_order_release);
            return;
        }
    }
}

void RemoveNotedTemporaries() noexcept {
    for (Entry& entry : g_noted) {
        if (entry.state.load(std::memory_order_acquire) == kNoted) {
            ::unlink(entry.path);
        }
    }
}

} // namespace yomi6
