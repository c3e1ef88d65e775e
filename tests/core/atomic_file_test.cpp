// The crash-safe writer on awkward targets: names of the longest legal length, devices, FIFOs
// and open descriptors written in place, read-only files and other users' files, and the
// temporary files that killed processes left behind.
#include "io/atomic_file.h"
#include "io/temporary_registry.h"
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

TEST(AtomicFileTest, WhatIsNotARegularFileIsWrittenIntoNotReplaced) {
    TempDir dir;
    // A FIFO: the bytes reach its reader and the FIFO stays.
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ReadFile(fifo); });
    std::string error;
    EXPECT_TRUE(WriteFileAtomically(fifo, "through the pipe", error, MissingDirectories::Fail))
        << error;
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    // A character device node (the null device, made here where the test may make one).
    const std::string device = dir.File("null");
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        EXPECT_TRUE(WriteFileAtomically(device, "gone", error, MissingDirectories::Fail)) << error;
        ASSERT_EQ(::lstat(device.c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the device node was replaced";
    }
    EXPECT_TRUE(WritesInPlace(fifo));
    EXPECT_FALSE(WritesInPlace(dir.File("new.txt")));
}

TEST(AtomicFileTest, AnOpenDescriptorIsWrittenThroughAsTheShellSetItUp) {
    TempDir dir;
    // A file opened for appending, as ">>" leaves standard output: the bytes go to its end.
    const std::string path = dir.File("log.txt");
    WriteFile(path, "head;");
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    std::string error;
    for (const std::string& name :
         {"/dev/fd/" + std::to_string(fd), "/proc/self/fd/" + std::to_string(fd)}) {
        EXPECT_TRUE(WritesInPlace(name));
        EXPECT_TRUE(WriteFileAtomically(name, "tail;", error, MissingDirectories::Fail)) << error;
    }
    ::close(fd);
    EXPECT_EQ(ReadFile(path), "head;tail;tail;");
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"log.txt"});
}

TEST(AtomicFileTest, AFileNoOneMayWriteIsKept) {
    TempDir dir;
    const std::string path = dir.File("locked.ini");
    WriteFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(path, "new", error));
    EXPECT_NE(error.find("locked.ini"), std::string::npos) << error;
    EXPECT_NE(error.find(std::strerror(EACCES)), std::string::npos) << error;
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"locked.ini"});

    // Once the owner may write it again, it is replaced with its mode kept.
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_TRUE(WriteFileAtomically(path, "new", error)) << error;
    EXPECT_EQ(ReadFile(path), "new");
}

TEST(AtomicFileTest, TheOwnerAndGroupOfAReplacedFileAreKeptWherePermitted) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser may give a file to another user";
    }
    TempDir dir;
    const std::string path = dir.File("theirs.txt");
    WriteFile(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path.c_str(), 02664), 0);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "new", error, MissingDirectories::Fail)) << error;
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 02664u) << "the set-group-ID bit survives the change of owner";
    EXPECT_EQ(ReadFile(path), "new");
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
    for (const std::string& name : {first, second}) {
        ::unlink(name.c_str());
        ForgetTemporary(name); // as every caller does once its temporary is gone
    }

    std::string error;
    EXPECT_FALSE(WriteFileAtomically("", "x", error));
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace yomi6
