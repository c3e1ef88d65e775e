// Loading the dictionary file into the tables: creation, damaged files, record selection and
// order, reloads and the file name.
#include "dictionary/dic_index.h"
#include "dictionary/dic_messages.h"
#include "dictionary/dic_tables.h"
#include "dictionary/dictionary.h"
#include "support/dic_image.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace yomi6 {
namespace {

using test::ReadFile;
using test::RecordingSink;
using test::ScopedCwd;
using test::TempDir;
using test::WriteFile;

using Image = test::DicImage;

class DicLoaderTest : public ::testing::Test {
protected:
    void Load(const std::string& where) {
        ScopedCwd cwd(where);
        dic.Load(sink);
    }

    std::string Word(int slot) const { return dic.Tables().word[slot]; }
    std::string Yomi(int slot) const { return dic.Tables().yomi[slot]; }

    TempDir dir;
    RecordingSink sink;
    Dictionary dic;
};

TEST_F(DicLoaderTest, FirstStartCreatesAnEmptyDictionaryQuietly) {
    Load(dir.path());
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(ReadFile(dir.File("Yomi6.dic")), std::string(kDicImageSize, '\0'));
    EXPECT_EQ(dic.Tables().UsedSlots(), kBuiltinRows);
    EXPECT_EQ(dic.FileName(), std::filesystem::canonical(dir.File("Yomi6.dic")).string());
}

TEST_F(DicLoaderTest, EmptyFileCannotBeReadAndLeavesTheBuiltInRows) {
    WriteFile(dir.File("Yomi6.dic"), "");
    Load(dir.path());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].first, dic_messages::kCannotRead);
    EXPECT_EQ(sink.messages[0].second, MessageBoxType::Ok);
    EXPECT_EQ(dic.Tables().UsedSlots(), kBuiltinRows);
    EXPECT_EQ(ReadFile(dir.File("Yomi6.dic")), ""); // never written
}

TEST_F(DicLoaderTest, ShortFileReplacesTheStartOfTheImageOnly) {
    Image full;
    full.Record(0, "aaa", "\xB1").Record(2, "ccc", "\xB3");
    WriteFile(dir.File("Yomi6.dic"), full.Bytes());
    Load(dir.path());
    ASSERT_EQ(dic.Tables().UsedSlots(), kBuiltinRows + 2);

    // Now the file holds one record: the first 34 bytes replace record 0, record 2 stays.
    WriteFile(dir.File("Yomi6.dic"),
              Image().Record(0, "bb", "\xB2").Bytes().substr(0, kRecordSize));
    Load(dir.path());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].first, dic_messages::kCannotRead);
    ASSERT_EQ(dic.Tables().UsedSlots(), kBuiltinRows + 2);
    EXPECT_EQ(Word(kBuiltinRows), "ccc");
    EXPECT_EQ(Word(kBuiltinRows + 1), "bb");
}

TEST_F(DicLoaderTest, UserRowsAreOrderedLongestWordFirstThenFileOrder) {
    Image im;
    im.Record(0, "abc", "\xB1")
        .Record(1, "123456789012", "\xB2")
        .Record(2, "abcde", "\xB3")
        .Record(3, "ABCDEFGHIJKL", "\xB4");
    WriteFile(dir.File("Yomi6.dic"), im.Bytes());
    Load(dir.path());
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(Word(19), "123456789012");
    EXPECT_EQ(Word(20), "ABCDEFGHIJKL");
    EXPECT_EQ(Word(21), "abcde");
    EXPECT_EQ(Word(22), "abc");
    EXPECT_EQ(Yomi(23), "");
    EXPECT_EQ(Word(4), "\x8A\xBF\x8E\x9A"); // the built-in rows stay in front
}

TEST_F(DicLoaderTest, FieldLimitsAndFreeRecords) {
    Image im;
    im.Record(0, "123456789012", std::string(20, '\xB1')) // taken whole
        .Record(1, "1234567890123", "\xB2")               // 13 bytes, no terminator: skipped
        .Record(2, "x", std::string(21, '\xB3'))          // cut to 20 bytes
        .Record(3, "w", "")                               // no reading: skipped
        .Record(4, "", "\xB4")                            // no word: skipped
        .Record(5, "y", "\xB5")
        .Record(6, "y", "\xB6"); // the same word twice: both, in order
    WriteFile(dir.File("Yomi6.dic"), im.Bytes());
    Load(dir.path());
    EXPECT_EQ(Word(19), "123456789012");
    EXPECT_EQ(Yomi(19), std::string(20, '\xB1'));
    EXPECT_EQ(Word(20), "x");
    EXPECT_EQ(Yomi(20), std::string(20, '\xB3'));
    EXPECT_EQ(Yomi(21), "\xB5");
    EXPECT_EQ(Yomi(22), "\xB6");
    EXPECT_EQ(dic.Tables().UsedSlots(), 23);
}

TEST_F(DicLoaderTest, ReloadWithFewerRowsEndsTheTableEarlier) {
    Image im;
    for (int n = 0; n < 5; ++n) {
        im.Record(n, std::string(1, static_cast<char>('a' + n)), "\xB1");
    }
    WriteFile(dir.File("Yomi6.dic"), im.Bytes());
    Load(dir.path());
    EXPECT_EQ(dic.Tables().UsedSlots(), kBuiltinRows + 5);
    WriteFile(dir.File("Yomi6.dic"), Image().Record(7, "z", "\xBA").Bytes());
    Load(dir.path());
    EXPECT_EQ(dic.Tables().UsedSlots(), kBuiltinRows + 1);
    EXPECT_EQ(Word(19), "z");
}

TEST_F(DicLoaderTest, FullDictionaryUsesEverySlot) {
    Image im;
    for (int n = 0; n < kUserRows; ++n) {
        im.Record(n, "w" + std::to_string(n), "\xB1");
    }
    WriteFile(dir.File("Yomi6.dic"), im.Bytes());
    Load(dir.path());
    EXPECT_EQ(dic.Tables().UsedSlots(), kDicSlots);
    EXPECT_EQ(Word(19), "w1000"); // the first five-byte word in file order
    EXPECT_EQ(Word(kDicSlots - 1), "w9");
}

TEST_F(DicLoaderTest, LongerFileIsReadUpToTheImageAndLeftAlone) {
    const std::string bytes = Image().Record(0, "a", "\xB1").Bytes() + "tail";
    WriteFile(dir.File("Yomi6.dic"), bytes);
    Load(dir.path());
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(dic.Tables().UsedSlots(), kBuiltinRows + 1);
    EXPECT_EQ(ReadFile(dir.File("Yomi6.dic")), bytes);
}

TEST_F(DicLoaderTest, RandomBytesLoadIntoValidTables) {
    std::mt19937 rng(7);
    for (int round = 0; round < 5; ++round) {
        std::string bytes(kDicImageSize, '\0');
        for (auto& c : bytes) {
            // Mostly zeros and a few bytes, so that some records have terminators.
            c = static_cast<char>(rng() % 3 == 0 ? 0 : rng() % 256);
        }
        WriteFile(dir.File("Yomi6.dic"), bytes);
        Load(dir.path());
        const int used = dic.Tables().UsedSlots();
        int previous = 12;
        for (int s = kBuiltinRows; s < used; ++s) {
            const auto wordLength = static_cast<int>(std::strlen(dic.Tables().word[s]));
            ASSERT_GE(wordLength, 1);
            ASSERT_LE(wordLength, previous);
            ASSERT_GE(std::strlen(dic.Tables().yomi[s]), 1u);
            ASSERT_LE(std::strlen(dic.Tables().yomi[s]), 20u);
            previous = wordLength;
        }
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(DicLoaderTest, DirectoryInPlaceCannotBeOpened) {
    std::filesystem::create_directory(dir.File("Yomi6.dic"));
    Load(dir.path());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].first, dic_messages::kCannotOpen);
    EXPECT_EQ(sink.messages[0].second, MessageBoxType::IconStop);
    EXPECT_EQ(dic.FileName(), "Yomi6.dic");
    EXPECT_EQ(dic.Tables().UsedSlots(), kBuiltinRows);
}

TEST_F(DicLoaderTest, UnreadableFileIsReported) {
    // The process's own memory file opens for reading and writing, but reading offset 0 fails.
    Dictionary unreadable("/proc/self/mem");
    unreadable.Load(sink);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].first, dic_messages::kCannotRead);
    EXPECT_EQ(unreadable.Tables().UsedSlots(), kBuiltinRows);
}

TEST_F(DicLoaderTest, LaterLoadsReachTheFirstFileAfterTheDirectoryChanged) {
    WriteFile(dir.File("Yomi6.dic"), Image().Record(0, "a", "\xB1").Bytes());
    Load(dir.path());
    TempDir other;
    WriteFile(dir.File("Yomi6.dic"), Image().Record(0, "b", "\xB2").Bytes());
    Load(other.path());
    EXPECT_EQ(Word(19), "b");
    EXPECT_FALSE(std::filesystem::exists(other.File("Yomi6.dic")));
}

TEST_F(DicLoaderTest, LongFullPathIsKeptWhole) {
    std::string deep = dir.path();
    for (int i = 0; i < 4; ++i) {
        deep += "/" + std::string(40, static_cast<char>('a' + i));
    }
    std::filesystem::create_directories(deep);
    Load(deep);
    const std::string expected = std::filesystem::canonical(deep).string() + "/Yomi6.dic";
    EXPECT_GT(expected.size(), 80u);
    EXPECT_EQ(dic.FileName(), expected);
    WriteFile(expected, Image().Record(0, "q", "\xB1").Bytes());
    Load(dir.path());
    EXPECT_EQ(Word(19), "q");
}

TEST_F(DicLoaderTest, ReadOnlyLoadNeverCreatesTheFile) {
    RecordingSink s;
    EXPECT_EQ(dic.LoadReadOnly(dir.File("none.dic"), s), ReadOnlyLoadResult::NotFound);
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.dic")));
    EXPECT_EQ(dic.LoadReadOnly(dir.path(), s), ReadOnlyLoadResult::CannotOpen);
    WriteFile(dir.File("d.dic"), Image().Record(1, "k", "\xB9").Bytes());
    EXPECT_EQ(dic.LoadReadOnly(dir.File("d.dic"), s), ReadOnlyLoadResult::Loaded);
    EXPECT_EQ(Word(19), "k");
    EXPECT_TRUE(s.messages.empty());
}

TEST_F(DicLoaderTest, EachDictionaryKeepsItsOwnRowsNameAndIndex) {
    WriteFile(dir.File("Yomi6.dic"), Image().Record(0, "ab", "\xB1").Bytes());
    Load(dir.path());
    TempDir other;
    WriteFile(other.File("Yomi6.dic"), Image().Record(0, "a", "\xB2").Bytes());
    Dictionary second;
    {
        ScopedCwd cwd(other.path());
        second.Load(sink);
    }
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(Word(19), "ab");
    EXPECT_EQ(second.Tables().word[19], std::string("a"));
    EXPECT_NE(dic.FileName(), second.FileName());
    const unsigned char text[16] = {'a', 'b'};
    EXPECT_EQ(dic.View().FirstUserMatch(text), 19);
    EXPECT_EQ(std::string(dic.View().Reading(19)), "\xB1");
    EXPECT_EQ(std::string(second.View().Reading(second.View().FirstUserMatch(text))), "\xB2");
    // A fresh dictionary has the built-in rows alone, whatever the others loaded.
    EXPECT_EQ(Dictionary().Tables().UsedSlots(), kBuiltinRows);
    EXPECT_EQ(Dictionary().View().FirstUserMatch(text), -1);
}

} // namespace
} // namespace yomi6
