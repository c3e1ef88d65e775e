// The dictionary file class: results, retries, and creation that never leaves a torn file.
#include "dictionary/dic_file.h"
#include "dictionary/dic_tables.h"
#include "support/temp_dir.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace yomi6 {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(TransferRetryTest, RetriesLockedTransfersEvery100msUpToTheBound) {
    for (const int err : {EACCES, EAGAIN, EDEADLK}) {
        int calls = 0;
        std::vector<int> sleeps;
        const long n = detail::TransferWithRetry(
            [&] {
                ++calls;
                if (calls < 4) {
                    errno = err;
                    return -1L;
                }
                return 34L;
            },
            [&](int ms) { sleeps.push_back(ms); });
        EXPECT_EQ(n, 34);
        EXPECT_EQ(calls, 4);
        EXPECT_EQ(sleeps, std::vector<int>(3, 100));
    }

    int calls = 0;
    int slept = 0;
    const long n = detail::TransferWithRetry(
        [&] {
            ++calls;
            errno = EAGAIN;
            return -1L;
        },
        [&](int) { ++slept; });
    EXPECT_EQ(n, -1);
    EXPECT_EQ(calls, kTransferRetries + 1);
    EXPECT_EQ(slept, kTransferRetries);
}

TEST(TransferRetryTest, OtherFailuresEndAtOnce) {
    int calls = 0;
    int slept = 0;
    const long n = detail::TransferWithRetry(
        [&] {
            ++calls;
            errno = EIO;
            return -1L;
        },
        [&](int) { ++slept; });
    EXPECT_EQ(n, -1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(slept, 0);
}

TEST(DicFileTest, ReadAndWriteResults) {
    TempDir dir;
    const std::string path = dir.File("d.dic");
    WriteFile(path, std::string(100, 'x'));
    DictionaryFile f;
    ASSERT_EQ(f.OpenExisting(path.c_str()), 0);
    char buf[200] = {};
    EXPECT_EQ(f.ReadRecord(buf, 50, 1), 0);
    EXPECT_EQ(f.ReadRecord(buf, 60, 1), -1); // only 40 bytes there
    EXPECT_EQ(buf[39], 'x');
    EXPECT_EQ(f.ReadRecord(buf, 10, -1), -2);
    EXPECT_EQ(f.WriteRecord("abcd", 4, 2), 0);
    EXPECT_EQ(f.CloseFile(), 0);
    EXPECT_EQ(ReadFile(path).substr(8, 4), "abcd");
    EXPECT_EQ(f.ReadRecord(buf, 10, 0), -2); // closed
    EXPECT_EQ(f.OpenExisting(dir.File("missing").c_str()), -1);
    EXPECT_EQ(f.OpenExisting(dir.path().c_str()), -1); // a directory
}

TEST(DicFileTest, OnlyRegularFilesOpenAndAFifoNeverWaits) {
    TempDir dir;
    const std::string fifo = dir.File("pipe.dic");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    DictionaryFile f;
    // With a writer present the FIFO would open, and its first read would wait for data
    // forever. (Without a writer a blocking open would wait: the whole-process test covers
    // that case under a time limit.)
    const int writer = ::open(fifo.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    EXPECT_EQ(f.OpenReadOnly(fifo.c_str()), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(f.OpenExisting(fifo.c_str()), -1);
    EXPECT_FALSE(f.IsOpen());
    ::close(writer);
    EXPECT_EQ(f.OpenReadOnly("/dev/null"), -1);
    EXPECT_EQ(f.OpenReadOnly(dir.path().c_str()), -1);
    EXPECT_EQ(errno, EISDIR);

    // A regular file reads with blocking transfers as before.
    const std::string path = dir.File("d.dic");
    WriteFile(path, std::string(10, 'y'));
    ASSERT_EQ(f.OpenReadOnly(path.c_str()), 0);
    char buf[10] = {};
    EXPECT_EQ(f.ReadRecord(buf, 10, 0), 0);
    EXPECT_EQ(buf[9], 'y');
}

TEST(DicFileTest, OpenOrCreateWritesTheImageAndLeavesAnExistingFileAlone) {
    TempDir dir;
    const std::string path = dir.File("Yomi6.dic");
    std::vector<unsigned char> image(kDicImageSize, 0);
    image[0] = 'w';
    DictionaryFile f;
    bool created = false;
    ASSERT_EQ(f.OpenOrCreate(path.c_str(), image.data(), kDicImageSize, 0, &created), 0);
    EXPECT_TRUE(created);
    f.CloseFile();
    EXPECT_EQ(ReadFile(path), std::string(image.begin(), image.end()));

    WriteFile(path, "short");
    ASSERT_EQ(f.OpenOrCreate(path.c_str(), image.data(), kDicImageSize, 0, &created), 0);
    EXPECT_FALSE(created);
    f.CloseFile();
    EXPECT_EQ(ReadFile(path), "short");

    // No record at all for a negative last index: an empty file.
    const std::string empty = dir.File("empty.dic");
    ASSERT_EQ(f.OpenOrCreate(empty.c_str(), image.data(), kDicImageSize, -1, &created), 0);
    EXPECT_TRUE(created);
    f.CloseFile();
    EXPECT_EQ(std::filesystem::file_size(empty), 0u);

    // Nothing but the two dictionaries is left in the directory.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2);
}

TEST(DicFileTest, CreationThatCannotBeWrittenWholeLeavesNoFile) {
    // A file-size limit below the image size makes every write past it fail, as a full disk does.
    TempDir dir;
    const std::string path = dir.File("Yomi6.dic");
    std::vector<unsigned char> image(kDicImageSize, 0);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    DictionaryFile f;
    bool created = true;
    const int rc = f.OpenOrCreate(path.c_str(), image.data(), kDicImageSize, 0, &created);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(rc, -1);
    EXPECT_FALSE(created);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(DicFileTest, FullPathOfTheOpenFile) {
    TempDir dir;
    const std::string path = dir.File("a.dic");
    WriteFile(path, "x");
    DictionaryFile f;
    ASSERT_EQ(f.OpenExisting(path.c_str()), 0);
    EXPECT_EQ(f.FullPath(), std::filesystem::canonical(path).string());
    std::filesystem::remove(path);
    EXPECT_EQ(f.FullPath(), ""); // deleted while open: no path to reopen
}

} // namespace
} // namespace yomi6
