// The crash-safe writer on awkward targets: names of the longest legal length, devices, FIFOs
// and open descriptors written in place, read-only files and other users' files, and the
// temporary files that killed processes left behind.
#include "settings/atomic_file.h"
#include "support/temp_dir.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utime.h>
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

// The id of a process that has ended.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

void SetAge(const std::string& path, int seconds) {
    const utimbuf times{::time(nullptr) - seconds, ::time(nullptr) - seconds};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

TEST(AtomicFileTest, NamesOfTheLongestLegalLengthAreWritten) {
    TempDir dir;
    for (const std::size_t length : {std::size_t{243}, std::size_t{255}}) {
        const std::string path = dir.File(std::string(length, 'n'));
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(path, "first", error, MissingDirectories::Fail)) << error;
        ASSERT_TRUE(WriteFileAtomically(path, "second", error, MissingDirectories::Fail)) << error;
        EXPECT_EQ(ReadFile(path), "second");
    }
    EXPECT_EQ(FilesIn(dir.path()).size(), 2u) << "no temporary file is left";
}

TEST(AtomicFileTest, StaleTemporariesOfEndedProcessesAreRemovedOthersStay) {
    TempDir dir;
    const std::string dead = std::to_string(EndedProcess());
    const std::string live = std::to_string(::getppid());
    const std::vector<std::string> stale = {
        ".yomi6-" + dead + "-a1b2c3d4.tmp",
        ".report.txt.tmp-" + dead + "-7", // as earlier versions named them
    };
    const std::vector<std::string> kept = {
        ".yomi6-" + dead + "-e5f6g7h8.tmp", // too recent: its process may just have ended
        ".yomi6-" + live + "-i9j0k1l2.tmp", // its process still runs
        ".yomi6-notes.tmp",                 // the user's own file
        "report.txt.tmp-" + dead + "-7",    // not hidden: not one of ours
    };
    for (const std::string& name : stale) {
        WriteFile(dir.File(name), "x");
        SetAge(dir.File(name), 10 * 60);
    }
    for (const std::string& name : kept) {
        WriteFile(dir.File(name), "x");
        SetAge(dir.File(name), name == kept[0] ? 60 : 10 * 60);
    }
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(dir.File("report.txt"), "r", error)) << error;

    std::vector<std::string> expected = kept;
    expected.push_back("report.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesIn(dir.path()), expected);
}

TEST(AtomicFileTest, TemporariesAreMadeWithOneShortPatternAndNoneIsLeft) {
    TempDir dir;
    std::string first;
    std::string second;
    const int a = CreateTemporaryIn(dir.path(), first);
    const int b = CreateTemporaryIn(dir.path(), second);
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    ::close(a);
    ::close(b);
    EXPECT_NE(first, second);
    const std::string prefix = dir.File(".yomi6-" + std::to_string(::getpid()) + "-");
    for (const std::string& name : {first, second}) {
        EXPECT_EQ(name.substr(0, prefix.size()), prefix);
        EXPECT_EQ(name.size(), prefix.size() + 8 + 4) << name;
        EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
    }
    ::unlink(first.c_str());
    ::unlink(second.c_str());

    std::string error;
    EXPECT_FALSE(WriteFileAtomically("", "x", error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace yomi6
