#include "analysis/dictionary_link.h"

#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace yomi6 {
namespace {

using test::ScopedEnv;
using test::TempDir;

constexpr std::string_view kDicrc = "cost-factor = 800\n";
const std::string kDicDir = "/usr/share/some-dictionary";

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

std::string Target(const std::string& link) {
    std::error_code ec;
    return std::filesystem::read_symlink(link, ec).string();
}

ino_t Inode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(DictionaryLinkTest, TheCacheFolderFollowsTheXdgRule) {
    EXPECT_EQ(AnalyzerCacheHomeFrom("/c", "/h"), "/c/yomi6");
    EXPECT_EQ(AnalyzerCacheHomeFrom("relative", "/h"), "/h/.cache/yomi6");
    EXPECT_EQ(AnalyzerCacheHomeFrom(nullptr, "/h"), "/h/.cache/yomi6");
    EXPECT_EQ(AnalyzerCacheHomeFrom("", "relative"), "");
}

TEST(DictionaryLinkTest, TheFolderIsMadeOnceInTheCacheAndFoundMadeAfter) {
    const TempDir dir;
    const std::string cache = dir.File("cache/yomi6");
    std::string folder;
    {
        const DictionaryLink link(kDicDir, kDicrc, cache);
        ASSERT_TRUE(link.Ready());
        EXPECT_TRUE(link.Kept());
        folder = link.Folder();
        EXPECT_EQ(folder.rfind(cache + "/dic-", 0), 0u) << folder;
        for (const char* name : kDictionaryFiles) {
            EXPECT_EQ(Target(folder + "/" + name), kDicDir + "/" + name);
        }
        EXPECT_EQ(test::ReadFile(folder + "/dicrc"), kDicrc);
    }
    // Kept after the load, and the only thing in the cache: no half-made folder beside it.
    EXPECT_EQ(Entries(cache).size(), 1u);
    const ino_t made = Inode(folder);
    const DictionaryLink again(kDicDir, kDicrc, cache);
    EXPECT_EQ(again.Folder(), folder);
    EXPECT_EQ(Inode(folder), made); // found, not made again
    // Another dicrc (another version of the program) gets a folder of its own.
    const DictionaryLink other(kDicDir, "cost-factor = 700\n", cache);
    EXPECT_NE(other.Folder(), folder);
    EXPECT_EQ(test::ReadFile(other.Folder() + "/dicrc"), "cost-factor = 700\n");
}

TEST(DictionaryLinkTest, AKeptFolderChangedByHandIsMadeRightAgain) {
    const TempDir dir;
    std::string folder;
    {
        const DictionaryLink link(kDicDir, kDicrc, dir.path());
        folder = link.Folder();
    }
    ASSERT_EQ(::unlink((folder + "/sys.dic").c_str()), 0);
    ASSERT_EQ(::symlink("/elsewhere/sys.dic", (folder + "/sys.dic").c_str()), 0);
    test::WriteFile(folder + "/dicrc", "cost-factor");
    const DictionaryLink link(kDicDir, kDicrc, dir.path());
    ASSERT_TRUE(link.Ready());
    EXPECT_TRUE(link.Kept());
    EXPECT_EQ(link.Folder(), folder);
    EXPECT_EQ(Target(folder + "/sys.dic"), kDicDir + "/sys.dic");
    EXPECT_EQ(test::ReadFile(folder + "/dicrc"), kDicrc);
    EXPECT_EQ(Entries(dir.path()).size(), 1u);
}

TEST(DictionaryLinkTest, WithoutAUsableCacheATemporaryFolderServesTheLoadAndGoes) {
    const TempDir dir;
    const std::string tmp = dir.File("tmp");
    std::filesystem::create_directory(tmp);
    const ScopedEnv tmpdir("TMPDIR", tmp);
    test::WriteFile(dir.File("cache"), "a file where the cache folder would be");
    for (const std::string& cache : {dir.File("cache") + "/yomi6", std::string()}) {
        SCOPED_TRACE(cache);
        {
            const DictionaryLink link(kDicDir, kDicrc, cache);
            ASSERT_TRUE(link.Ready());
            EXPECT_FALSE(link.Kept());
            EXPECT_EQ(link.Folder().rfind(tmp + "/", 0), 0u) << link.Folder();
            EXPECT_EQ(Target(link.Folder() + "/char.bin"), kDicDir + "/char.bin");
            EXPECT_EQ(Entries(link.Folder()).size(), 5u);
        }
        EXPECT_TRUE(Entries(tmp).empty());
    }
}

} // namespace
} // namespace yomi6
