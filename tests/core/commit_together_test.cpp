// Files renamed together: all appear or none does, old targets are put back after a failure
// part way, and a signal's clean-up finds every temporary that is still being written.
#include "io/atomic_output_file.h"
#include "io/temporary_registry.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace yomi6 {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Three outputs opened with their contents written, ready to be renamed.
struct ThreeOutputs {
    AtomicOutputFile files[3];
    bool Open(const std::vector<std::string>& paths) {
        std::string error;
        for (std::size_t i = 0; i < 3; ++i) {
            if (!files[i].Open(paths[i], error) ||
                !files[i].Write("new " + std::to_string(i), error)) {
                ADD_FAILURE() << error;
                return false;
            }
        }
        return true;
    }
    std::vector<AtomicOutputFile*> All() { return {&files[0], &files[1], &files[2]}; }
};

TEST(CommitTogetherTest, AllAppearTogetherOverOldAndNewTargets) {
    TempDir dir;
    const std::vector<std::string> paths{dir.File("a.srt"), dir.File("a.json"), dir.File("a.wav")};
    WriteFile(paths[1], "old 1");
    ThreeOutputs out;
    ASSERT_TRUE(out.Open(paths));
    std::string error;
    ASSERT_TRUE(CommitTogether(out.All(), error)) << error;
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ReadFile(paths[i]), "new " + std::to_string(i));
    }
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"a.json", "a.srt", "a.wav"}));
}

TEST(CommitTogetherTest, ARenameThatFailsPutsEveryOldFileBack) {
    TempDir dir;
    const std::vector<std::string> paths{dir.File("a.srt"), dir.File("a.json"), dir.File("a.wav")};
    WriteFile(paths[0], "old 0"); // replaced, then put back
    // a.json is new: renamed, then removed again.
    ThreeOutputs out;
    ASSERT_TRUE(out.Open(paths));
    // The last target turns into a folder holding a file before the commit: it cannot be
    // renamed over.
    std::filesystem::create_directory(paths[2]);
    WriteFile(paths[2] + "/x", "x");
    std::string error;
    EXPECT_FALSE(CommitTogether(out.All(), error));
    EXPECT_NE(error.find("a.wav"), std::string::npos) << error;
    EXPECT_EQ(ReadFile(paths[0]), "old 0");
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"a.srt", "a.wav"}));
    // The destructors find nothing more to remove, and no temporary is still noted.
    WriteFile(dir.File("probe"), "p");
    RemoveNotedTemporaries();
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"a.srt", "a.wav", "probe"}));
}

TEST(CommitTogetherTest, ASignalsCleanUpRemovesTheTemporariesBeingWrittenOnly) {
    TempDir dir;
    WriteFile(dir.File("old.wav"), "old");
    std::string error;
    AtomicOutputFile committed;
    ASSERT_TRUE(committed.Open(dir.File("done.srt"), error) && committed.Write("s", error));
    ASSERT_TRUE(committed.Commit(error)) << error;
    AtomicOutputFile discarded;
    ASSERT_TRUE(discarded.Open(dir.File("gone.json"), error));
    discarded.Discard();
    AtomicOutputFile open;
    ASSERT_TRUE(open.Open(dir.File("old.wav"), error) && open.Write("half", error));
    ASSERT_TRUE(WriteFileAtomically(dir.File("whole.txt"), "w", error));
    EXPECT_EQ(FilesIn(dir.path()).size(), 4u); // done.srt, old.wav, whole.txt, a temporary

    RemoveNotedTemporaries(); // what the signal handler does
    EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"done.srt", "old.wav", "whole.txt"}));
    EXPECT_EQ(ReadFile(dir.File("old.wav")), "old");
}

} // namespace
} // namespace yomi6
