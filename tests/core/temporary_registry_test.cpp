// The table of noted temporaries shared by every thread that writes files (the natural voice's
// workers note and forget theirs at once): no entry is lost, freed for another thread's path or
// left behind, so that a signal's clean-up removes exactly the files still being written.
#include "io/temporary_registry.h"
#include "support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace yomi6 {
namespace {

using test::TempDir;
using test::WriteFile;

TEST(TemporaryRegistryTest, ThreadsNotingAndForgettingAtOnceKeepEveryEntryTheirOwn) {
    TempDir dir;
    constexpr int kThreads = 4;
    constexpr int kRounds = 20000;
    // Each thread notes and forgets paths of its own, of one length, so that a path being
    // written into an entry while another thread compares it differs from it in a few bytes only;
    // at the end it keeps one file noted.
    auto work = [&](int t) {
        for (int k = 0; k < kRounds; ++k) {
            const std::string path =
                dir.File("busy" + std::to_string(t) + "-" + std::to_string(k % 3));
            NoteTemporary(path);
            ForgetTemporary(path);
        }
        NoteTemporary(dir.File("kept" + std::to_string(t)));
    };
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back(work, t);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        WriteFile(dir.File("kept" + std::to_string(t)), "k");
        for (int k = 0; k < 3; ++k) {
            WriteFile(dir.File("busy" + std::to_string(t) + "-" + std::to_string(k)), "b");
        }
    }
    RemoveNotedTemporaries(); // what the signal handler does
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_FALSE(std::filesystem::exists(dir.File("kept" + std::to_string(t)))) << t;
        for (int k = 0; k < 3; ++k) {
            EXPECT_TRUE(std::filesystem::exists(
                dir.File("busy" + std::to_string(t) + "-" + std::to_string(k))))
                << t << " " << k;
        }
        ForgetTemporary(dir.File("kept" + std::to_string(t)));
    }
    // Nothing was left noted: the whole table takes new files, and all of them are removed.
    for (std::size_t k = 0; k < kMaxNotedTemporaries; ++k) {
        const std::string path = dir.File("fresh" + std::to_string(k));
        WriteFile(path, "f");
        NoteTemporary(path);
    }
    RemoveNotedTemporaries();
    for (std::size_t k = 0; k < kMaxNotedTemporaries; ++k) {
        EXPECT_FALSE(std::filesystem::exists(dir.File("fresh" + std::to_string(k)))) << k;
        ForgetTemporary(dir.File("fresh" + std::to_string(k)));
    }
}

} // namespace
} // namespace yomi6
