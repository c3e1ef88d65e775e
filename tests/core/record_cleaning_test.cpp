// Cleaning of dictionary records before they are saved: the golden cases of single fields, the
// whole image record by record, and the blanks whose removal would join two words.
#include "dictionary/dic_tables.h"
#include "dictionary/record_cleaning.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

using test::Hex;
using test::ToHex;

struct GoldenCase {
    int line;
    bool word; // a word field, else a reading field
    std::string in;
    std::string out;
};

std::string FieldBytes(const std::string& hex) {
    return hex == "-" ? std::string() : Hex(hex);
}

std::vector<GoldenCase> LoadGolden() {
    const std::string text = test::ReadFile(std::string(YOMI6_SOURCE_DIR) +
                                            "/tests/golden/dictionary/record_cleaning.golden");
    std::vector<GoldenCase> cases;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const auto arrow = line.find("->");
        if (arrow == std::string::npos || line.size() < 4) {
            ADD_FAILURE() << "line " << number << " is not a case: " << line;
            continue;
        }
        const std::string kind = line.substr(0, 4);
        auto trim = [](std::string s) {
            s.erase(0, s.find_first_not_of(' '));
            s.erase(s.find_last_not_of(' ') + 1);
            return s;
        };
        cases.push_back({number, kind == "word", FieldBytes(trim(line.substr(4, arrow - 4))),
                         FieldBytes(trim(line.substr(arrow + 2)))});
    }
    return cases;
}

TEST(RecordCleaningTest, GoldenFieldCases) {
    const std::vector<GoldenCase> cases = LoadGolden();
    ASSERT_GE(cases.size(), 20u);
    for (const GoldenCase& c : cases) {
        const std::size_t size = c.word ? kWordSlotSize : kYomiSlotSize;
        ASSERT_LE(c.in.size(), size) << "line " << c.line;
        std::string in(size, '\0');
        in.replace(0, c.in.size(), c.in);
        std::string out(size, '\0');
        auto* inBytes = reinterpret_cast<const unsigned char*>(in.data());
        auto* outBytes = reinterpret_cast<unsigned char*>(out.data());
        if (c.word) {
            CleanWordField(inBytes, outBytes);
        } else {
            CleanYomiField(inBytes, outBytes);
        }
        std::string expected(size, '\0');
        expected.replace(0, c.out.size(), c.out);
        EXPECT_EQ(ToHex(out), ToHex(expected)) << "line " << c.line;
    }
}

TEST(RecordCleaningTest, WholeImageIsCleanedRecordByRecordIntoAClearedOutput) {
    std::vector<unsigned char> in(kDicImageSize, 0);
    auto put = [&](int record, const std::string& word, const std::string& yomi) {
        unsigned char* r = in.data() + kRecordSize * static_cast<std::size_t>(record);
        // Fields of a zeroed image: what follows the bytes copied is already zero, or the field
        // is full on purpose.
        std::memcpy(r, word.data(), word.size());   // NOLINT(bugprone-not-null-terminated-result)
        std::memcpy(r + kWordSlotSize, yomi.data(), // NOLINT(bugprone-not-null-terminated-result)
                    yomi.size());
    };
    put(0, test::Sjis("漢 字"), test::Sjis("ｶﾝｼﾞ"));
    put(9998, test::Sjis("音　声"), test::Sjis("オンセイ"));
    // Full fields: the terminator offsets of the output stay zero whatever the input holds.
    put(4, std::string(13, 'w'), std::string(21, '\xB1'));

    std::vector<unsigned char> out(kDicImageSize, 0xFF); // leftovers of an earlier save
    CleanDictionaryImage(in.data(), out.data());

    auto word = [&](std::size_t record) {
        return std::string(reinterpret_cast<const char*>(out.data()) + kRecordSize * record,
                           kWordSlotSize);
    };
    auto yomi = [&](std::size_t record) {
        return std::string(reinterpret_cast<const char*>(out.data()) + kRecordSize * record +
                               kWordSlotSize,
                           kYomiSlotSize);
    };
    EXPECT_EQ(word(0), test::Sjis("漢字") + std::string(9, '\0'));
    EXPECT_EQ(yomi(0), test::Sjis("ｶﾝｼﾞ") + std::string(17, '\0'));
    EXPECT_EQ(word(9998), test::Sjis("音声") + std::string(9, '\0'));
    EXPECT_EQ(yomi(9998), std::string(21, '\0')); // full-width kana frees the record
    EXPECT_EQ(word(4), std::string(12, 'w') + '\0');
    EXPECT_EQ(yomi(4), std::string(20, '\xB1') + '\0');
    EXPECT_EQ(word(1), std::string(13, '\0'));
    EXPECT_EQ(yomi(9997), std::string(21, '\0'));
}

// A blank the cleaning takes out of a word joins what stands on either side of it: words in
// letters or digits become another word, which the user is told; kanji and kana only close up.
TEST(RecordCleaningTest, ABlankJoinsWordsOnlyBetweenLettersOrDigits) {
    for (const char* joins : {"New York", "ver 2", "a  b", "Ｎｅｗ　Ｙｏｒｋ", "Ａ 1", "x　Ｙ"}) {
        EXPECT_TRUE(BlankJoinsWords(test::Sjis(joins))) << joins;
    }
    // ア is 0x83 0x41 and ゆ 0x82 0xE4: their second bytes are no letters of their own.
    for (const char* closes : {"NewYork", " ab ", "漢 字", "音　声", "東京 Tower", "ア ア", "ゆ ゆ",
                               "a ア", "a-b", "", " "}) {
        EXPECT_FALSE(BlankJoinsWords(test::Sjis(closes))) << closes;
    }
}

} // namespace
} // namespace yomi6
