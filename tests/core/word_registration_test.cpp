// The word registration model over real files: opening, the rows, scrolling, storing, the
// checks before anything is stored, confirm and cancel, and saves that never tear the file.
#include "dictionary/dic_file_save.h"
#include "dictionary/dic_messages.h"
#include "dictionary/dic_tables.h"
#include "dictionary/dictionary.h"
#include "dictionary/word_registration.h"
#include "support/dic_image.h"
#include "support/recording_sink.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace yomi6 {
namespace {

using test::Hex;
using test::ReadFile;
using test::RecordingSink;
using test::Sjis;
using test::TempDir;
using test::ToHex;
using test::WriteFile;

using Image = test::DicImage;

std::string Field(const unsigned char* image, int record, bool word) {
    const std::size_t at =
        kRecordSize * static_cast<std::size_t>(record) + (word ? 0 : kWordSlotSize);
    return std::string(reinterpret_cast<const char*>(image) + at,
                       word ? kWordSlotSize : kYomiSlotSize);
}

std::size_t DirectoryEntries(const std::string& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) {
        ++n;
    }
    return n;
}

class WordRegistrationTest : public ::testing::Test {
protected:
    void SetUp() override { reg = std::make_unique<WordRegistration>(dic); }

    // The rows as shown, with word and reading of row r replaced.
    RegistrationRows Edited(int r, const std::string& word, const std::string& yomi) const {
        RegistrationRows rows = reg->FillRows(reg->TopRecord());
        rows[static_cast<std::size_t>(r)].word = word;
        rows[static_cast<std::size_t>(r)].yomi = yomi;
        return rows;
    }

    TempDir dir;
    std::string path = dir.File("Yomi6.dic");
    Dictionary dic{path};
    RecordingSink sink;
    std::unique_ptr<WordRegistration> reg;
};

TEST_F(WordRegistrationTest, FirstOpeningCreatesAZeroFileAndShowsEmptyNumberedRows) {
    ASSERT_TRUE(reg->Open(sink));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(reg->IsOpen());
    EXPECT_EQ(ReadFile(path), std::string(kDicImageSize, '\0'));
    const RegistrationRows rows = reg->FillRows(0);
    const char* numbers[] = {"   1", "   2", "   3", "   4", "   5"};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].number, numbers[r]);
        EXPECT_EQ(rows[r].word, "");
        EXPECT_EQ(rows[r].yomi, "");
    }
    reg->Cancel();
    EXPECT_FALSE(reg->IsOpen());
}

TEST_F(WordRegistrationTest, FilesThatCannotBeOpenedOrReadEndTheOpeningWithTheirMessage) {
    std::filesystem::create_directory(path);
    EXPECT_FALSE(reg->Open(sink));
    EXPECT_FALSE(reg->IsOpen());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].first, dic_messages::kCannotOpen);
    EXPECT_EQ(sink.messages[0].second, MessageBoxType::IconStop);

    std::filesystem::remove(path);
    WriteFile(path, std::string(kDicImageSize - 1, 'x')); // one byte short
    sink.messages.clear();
    EXPECT_FALSE(reg->Open(sink));
    EXPECT_FALSE(reg->IsOpen());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].first, dic_messages::kCannotRead);
    EXPECT_EQ(sink.messages[0].second, MessageBoxType::Ok);
    EXPECT_EQ(ReadFile(path), std::string(kDicImageSize - 1, 'x'));
}

TEST_F(WordRegistrationTest, ScrollCodesMoveTheTopRecordWithinItsRange) {
    struct Case {
        ScrollCode code;
        int from;
        int thumb;
        int to;
    };
    const Case cases[] = {
        {ScrollCode::LineDown, 0, 0, 1},
        {ScrollCode::LineDown, 9994, 0, 9994},
        {ScrollCode::LineUp, 1, 0, 0},
        {ScrollCode::LineUp, 0, 0, 0},
        {ScrollCode::PageDown, 9988, 0, 9993},
        {ScrollCode::PageDown, 9992, 0, 9994},
        {ScrollCode::PageUp, 3, 0, 0},
        {ScrollCode::PageUp, 12, 0, 7},
        {ScrollCode::ThumbPosition, 7, 5000, 5000},
        {ScrollCode::ThumbPosition, 7, 99999, 9994},
        {ScrollCode::ThumbPosition, 7, -4, 0},
        {ScrollCode::ThumbTrack, 7, 5000, 7},
        {ScrollCode::Top, 7, 0, 7},
        {ScrollCode::Bottom, 7, 0, 7},
        {ScrollCode::EndScroll, 7, 0, 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScrolledTopRecord(c.code, c.from, c.thumb), c.to)
            << static_cast<int>(c.code) << " from " << c.from;
    }
}

TEST_F(WordRegistrationTest, RowsShowTheirRecordsAndTheFieldsAsFarAsARecordHoldsThem) {
    WriteFile(path, Image{}
                        .Record(9998, Sjis("最後"), Sjis("ｻｲｺﾞ"))
                        .Record(9995, std::string(13, 'w'), std::string(21, '\xB1'))
                        .Bytes());
    ASSERT_TRUE(reg->Open(sink));
    const RegistrationRows rows = reg->FillRows(kMaxTopRecord);
    EXPECT_EQ(rows[0].number, "9995");
    EXPECT_EQ(rows[4].number, "9999");
    EXPECT_EQ(rows[4].word, Sjis("最後"));
    EXPECT_EQ(rows[4].yomi, Sjis("ｻｲｺﾞ"));
    // A word without terminator shows its first 12 bytes, a reading its first 20.
    EXPECT_EQ(rows[1].word, std::string(12, 'w'));
    EXPECT_EQ(rows[1].yomi, std::string(20, '\xB1'));
}

TEST_F(WordRegistrationTest, StoringARowLeavesTheBytesBehindItsTerminator) {
    WriteFile(path, Image{}.Record(2, "ABCDEF", "\xB1\xB2\xB3\xB4").Bytes());
    ASSERT_TRUE(reg->Open(sink));
    ASSERT_FALSE(reg->StoreRows(0, Edited(2, "XY", "\xB5")));
    EXPECT_EQ(Field(reg->WorkingImage(), 2, true),
              std::string("XY\0DEF", 6) + std::string(7, '\0'));
    EXPECT_EQ(Field(reg->WorkingImage(), 2, false),
              std::string("\xB5\0\xB3\xB4", 4) + std::string(17, '\0'));
    EXPECT_EQ(reg->FillRows(0)[2].word, "XY");
}

TEST_F(WordRegistrationTest, TooLongFieldsAreRefusedBeforeAnythingIsStored) {
    ASSERT_TRUE(reg->Open(sink));
    RegistrationRows rows = reg->FillRows(0);
    rows[0].word = "ok";
    rows[1].yomi = std::string(21, '\xB1');
    rows[3].word = std::string(13, 'w');
    auto overlong = reg->StoreRows(0, rows);
    ASSERT_TRUE(overlong); // the words come first, whatever their rows
    EXPECT_EQ(overlong->kind, OverlongField::Kind::Word);
    EXPECT_EQ(overlong->row, 3);
    EXPECT_EQ(overlong->limit, 12u);

    rows[3].word = std::string(12, 'w');
    overlong = reg->StoreRows(0, rows);
    ASSERT_TRUE(overlong);
    EXPECT_EQ(overlong->kind, OverlongField::Kind::Yomi);
    EXPECT_EQ(overlong->row, 1);
    EXPECT_EQ(overlong->limit, 20u);
    EXPECT_EQ(reg->FillRows(0)[0].word, ""); // nothing of the refused rows was stored

    rows[1].yomi = std::string(20, '\xB1');
    EXPECT_FALSE(reg->StoreRows(0, rows));
    EXPECT_EQ(reg->FillRows(0)[3].word, std::string(12, 'w'));
    EXPECT_EQ(reg->FillRows(0)[1].yomi, std::string(20, '\xB1'));
}

// Every record with a non-zero byte, in the golden file's form.
std::string DumpRecords(const std::string& file) {
    auto hex = [](std::string field) {
        field.erase(field.find_last_not_of('\0') + 1);
        return field.empty() ? std::string("-") : ToHex(field);
    };
    std::ostringstream out;
    for (int n = 0; n < kUserRows; ++n) {
        const std::string record =
            file.substr(kRecordSize * static_cast<std::size_t>(n), kRecordSize);
        if (record.find_first_not_of('\0') != std::string::npos) {
            out << n << ' ' << hex(record.substr(0, kWordSlotSize)) << " | "
                << hex(record.substr(kWordSlotSize)) << '\n';
        }
    }
    return out.str();
}

// The golden file without comments, blanks squeezed to one.
std::string GoldenRecords(const std::string& name) {
    std::istringstream in(
        ReadFile(std::string(YOMI6_SOURCE_DIR) + "/tests/golden/dictionary/" + name));
    std::ostringstream out;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream words(line);
        std::string word;
        std::string joined;
        while (words >> word) {
            joined += (joined.empty() ? "" : " ") + word;
        }
        out << joined << '\n';
    }
    return out.str();
}

TEST_F(WordRegistrationTest, RegistrationSessionSavesTheGoldenRecordsAndLoadsThem) {
    WriteFile(path, Image{}
                        .Record(0, Sjis("漢字"), Sjis("ｶﾝｼﾞ"))
                        .Record(1, Sjis("単語登録ABC"), Sjis("ﾀﾝｺﾞﾄｳﾛｸ"))
                        .Record(2, "a b", Sjis("ｱ1ﾋﾞ"))
                        .Record(9, Sjis("消す"), Sjis("ｹｽ"))
                        .Record(9998, Sjis("最後"), Sjis("ｻｲｺﾞ"))
                        .Bytes());
    ASSERT_TRUE(reg->Open(sink));
    RegistrationRows rows = reg->FillRows(0);
    rows[0].word = Sjis("字");   // shorter than before: remnants stay behind it
    rows[1].yomi = Sjis("タン"); // full-width: cleaned away, the record is freed
    ASSERT_FALSE(reg->StoreRows(reg->TopRecord(), rows));
    ASSERT_EQ(reg->Scroll(ScrollCode::PageDown, 0), 5);
    rows = reg->FillRows(5);
    ASSERT_EQ(rows[4].word, Sjis("消す"));
    rows[4].word = ""; // row 10 emptied: it stays row 10
    rows[1].word = Sjis("音 声");
    rows[1].yomi = Sjis("ｵﾝｾｲ1");
    ASSERT_FALSE(reg->StoreRows(reg->TopRecord(), rows));
    ASSERT_EQ(reg->Scroll(ScrollCode::ThumbPosition, kMaxTopRecord), kMaxTopRecord);
    ASSERT_FALSE(reg->StoreRows(reg->TopRecord(), reg->FillRows(kMaxTopRecord)));
    ASSERT_EQ(reg->Scroll(ScrollCode::LineDown, 0), kMaxTopRecord);

    ASSERT_FALSE(reg->Confirm(reg->FillRows(kMaxTopRecord), sink));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_FALSE(reg->IsOpen());
    const std::string saved = ReadFile(path);
    ASSERT_EQ(saved.size(), kDicImageSize);
    EXPECT_EQ(DumpRecords(saved), GoldenRecords("registration_session.golden"));
    EXPECT_EQ(std::memcmp(saved.data(), reg->OutputImage(), kDicImageSize), 0);

    dic.Load(sink);
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(std::string(dic.Tables().word[19]), Sjis("音声")); // 4 bytes, file order
    EXPECT_EQ(std::string(dic.Tables().word[20]), Sjis("最後"));
    EXPECT_EQ(std::string(dic.Tables().word[21]), Sjis("字")); // 2 bytes, file order
    EXPECT_EQ(std::string(dic.Tables().word[22]), "ab");
    EXPECT_EQ(std::string(dic.Tables().yomi[22]), Sjis("ｱﾋﾞ"));
    EXPECT_EQ(dic.Tables().UsedSlots(), 23);
}

TEST_F(WordRegistrationTest, ConfirmWithATooLongWordWritesNothingAndStaysOpen) {
    const std::string before = Image{}.Record(0, "old", "\xB1").Bytes();
    WriteFile(path, before);
    ASSERT_TRUE(reg->Open(sink));
    const auto overlong = reg->Confirm(Edited(4, std::string(13, 'w'), ""), sink);
    ASSERT_TRUE(overlong);
    EXPECT_EQ(overlong->row, 4);
    EXPECT_TRUE(reg->IsOpen());
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(Field(reg->OutputImage(), 0, true), std::string(13, '\0'));

    ASSERT_FALSE(reg->Confirm(Edited(4, std::string(12, 'w'), "\xB2"), sink));
    EXPECT_EQ(Field(reinterpret_cast<const unsigned char*>(ReadFile(path).data()), 4, true),
              std::string(12, 'w') + '\0');
}

TEST_F(WordRegistrationTest, CancelWritesNothingAndTheNextOpeningReadsTheFileAgain) {
    const std::string before = Image{}.Record(0, "old", "\xB1").Bytes();
    WriteFile(path, before);
    ASSERT_TRUE(reg->Open(sink));
    ASSERT_FALSE(reg->StoreRows(0, Edited(0, "new", "\xB2")));
    reg->Scroll(ScrollCode::LineDown, 0);
    reg->Cancel();
    EXPECT_FALSE(reg->IsOpen());
    EXPECT_EQ(ReadFile(path), before);

    ASSERT_TRUE(reg->Open(sink));
    EXPECT_EQ(reg->TopRecord(), 0);
    EXPECT_EQ(reg->FillRows(0)[0].word, "old");
}

TEST_F(WordRegistrationTest, AFileCreatedLaterReceivesTheLastSavedImage) {
    ASSERT_TRUE(reg->Open(sink));
    ASSERT_FALSE(reg->Confirm(Edited(0, "a b", "\xB1"), sink));
    const std::string saved = ReadFile(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(reg->Open(sink));
    EXPECT_EQ(ReadFile(path), saved);
    EXPECT_EQ(reg->FillRows(0)[0].word, "ab");
}

TEST_F(WordRegistrationTest, SaveReachesTheNamedFileWhereverTheCurrentDirectoryIs) {
    TempDir elsewhere;
    test::ScopedCwd cwd(elsewhere.path());
    ASSERT_TRUE(reg->Open(sink));
    ASSERT_FALSE(reg->Confirm(Edited(0, "w", "\xB1"), sink));
    EXPECT_EQ(ReadFile(path).substr(0, 2), std::string("w\0", 2));
    EXPECT_EQ(DirectoryEntries(elsewhere.path()), 0u);
}

TEST_F(WordRegistrationTest, SaveReplacesTheFileWholeAndKeepsItsBytesPastTheRecords) {
    const std::string tail = "bytes no save may touch";
    WriteFile(path, Image{}.Record(0, "old", "\xB1").Bytes() + tail);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    // Another instance reading the file while it is saved sees the old content whole.
    const int reader = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0);

    ASSERT_TRUE(reg->Open(sink));
    ASSERT_FALSE(reg->Confirm(Edited(0, "new", "\xB2"), sink));
    EXPECT_TRUE(sink.messages.empty());
    const std::string saved = ReadFile(path);
    ASSERT_EQ(saved.size(), kDicImageSize + tail.size());
    EXPECT_EQ(saved.substr(0, 4), std::string("new\0", 4));
    EXPECT_EQ(saved.substr(kDicImageSize), tail);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(DirectoryEntries(dir.path()), 1u); // no temporary file left

    char old[4] = {};
    EXPECT_EQ(::pread(reader, old, sizeof old, 0), 4);
    EXPECT_EQ(std::string(old, 4), std::string("old\0", 4));
    ::close(reader);
}

TEST_F(WordRegistrationTest, AFullDiskLeavesTheOldFileWholeAndSaysSo) {
    const std::string before = Image{}.Record(0, "old", "\xB1").Bytes();
    WriteFile(path, before);
    ASSERT_TRUE(reg->Open(sink));
    // A file-size limit below the image size fails every write past it, as a full disk does.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto overlong = reg->Confirm(Edited(0, "new", "\xB2"), sink);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(overlong);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].first, dic_messages::kCannotWrite);
    EXPECT_EQ(sink.messages[0].second, MessageBoxType::IconStop);
    EXPECT_FALSE(reg->IsOpen());
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(DirectoryEntries(dir.path()), 1u);
}

TEST(DictionarySaveTest, ASaveKilledAtAnyMomentLeavesTheOldFileOrTheNewOne) {
    TempDir dir;
    const std::string path = dir.File("Yomi6.dic");
    const std::string tail = "tail";
    std::string a(kDicImageSize, 'a');
    std::string b(kDicImageSize, 'b');
    WriteFile(path, a + tail);
    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the two images in turn until it is killed.
            std::string error;
            for (int i = 0;; ++i) {
                const std::string& image = i % 2 == 0 ? b : a;
                SaveDictionaryImage(path, reinterpret_cast<const unsigned char*>(image.data()),
                                    error);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const std::string now = ReadFile(path);
        EXPECT_TRUE(now == a + tail || now == b + tail)
            << "round " << round << ": " << now.size() << " bytes";
    }
}

TEST_F(WordRegistrationTest, TheFirstEmptyRecordSkipsRecordsWithAWordOrAReading) {
    // Records 0 and 1 hold a word, 2 only a reading, 3 is empty, 4 holds a word again.
    WriteFile(path, Image{}
                        .Record(0, "AB", "\xB1")
                        .Record(1, "CD", "\xB2")
                        .Record(2, "", "\xB3")
                        .Record(4, "EF", "\xB4")
                        .Bytes());
    ASSERT_TRUE(reg->Open(sink));
    EXPECT_EQ(reg->FirstEmptyRecord(), std::optional<int>(3));
    ASSERT_FALSE(reg->StoreRows(0, Edited(3, "GH", "\xB5")));
    EXPECT_EQ(reg->FirstEmptyRecord(), std::optional<int>(5));
}

} // namespace
} // namespace yomi6
