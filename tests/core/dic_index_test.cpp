// The indexed dictionary lookup against the linear reference scan, on random texts and random
// dictionaries built to hit its corners.
#include "dictionary/dictionary.h"
#include "reading/reading_conversion.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

class DicIndexTest : public ::testing::Test {
protected:
    Dictionary dic;
    std::mt19937 rng{20261208};

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    // A byte from a small alphabet (to make matches likely) or any non-zero byte.
    unsigned char RandomByte(bool smallAlphabet) {
        static const unsigned char kAlphabet[] = {0x82, 0x83, 0x81, 0xA0, 0xCD, 0x41, 0x61, 0x8A};
        return smallAlphabet ? kAlphabet[Uniform(0, 7)]
                             : static_cast<unsigned char>(Uniform(1, 255));
    }

    std::string RandomWord(bool smallAlphabet) {
        std::string w(static_cast<std::size_t>(Uniform(1, 12)), '\0');
        for (auto& c : w) {
            c = static_cast<char>(RandomByte(smallAlphabet));
        }
        return w;
    }

    // Fills `rows` user slots: random words, duplicates, prefixes and extensions of earlier
    // words and of built-in words, now and then an empty word.
    void FillRandomDictionary(int rows, bool smallAlphabet) {
        dic.Tables().Reset();
        std::vector<std::string> words;
        words.reserve(static_cast<std::size_t>(kBuiltinRows) + static_cast<std::size_t>(rows));
        for (int i = 0; i < kBuiltinRows; ++i) {
            words.emplace_back(dic.Tables().word[i]);
        }
        for (int i = 0; i < rows; ++i) {
            std::string w;
            const int kind = Uniform(0, 9);
            if (kind <= 3 || words.empty()) {
                w = RandomWord(smallAlphabet);
            } else if (kind == 4) {
                w = words[static_cast<std::size_t>(Uniform(0, static_cast<int>(words.size()) - 1))];
            } else if (kind <= 6) {
                const std::string& base =
                    words[static_cast<std::size_t>(Uniform(0, static_cast<int>(words.size()) - 1))];
                w = base.substr(
                    0, static_cast<std::size_t>(Uniform(1, static_cast<int>(base.size()))));
            } else if (kind <= 8) {
                const std::string& base =
                    words[static_cast<std::size_t>(Uniform(0, static_cast<int>(words.size()) - 1))];
                w = (base + RandomWord(smallAlphabet)).substr(0, 12);
            }
            // kind 9: an empty word in a used slot
            const int slot = kBuiltinRows + i;
            std::memcpy(dic.Tables().word[slot], w.data(), w.size());
            dic.Tables().yomi[slot][0] = static_cast<char>(0xB1 + (i % 40));
            if (!w.empty()) {
                words.push_back(w);
            }
        }
        dic.Changed();
    }

    std::string RandomText(std::size_t length, bool smallAlphabet) {
        std::string t(length, '\0');
        for (auto& c : t) {
            c = static_cast<char>(Uniform(0, 30) == 0 ? 0 : RandomByte(smallAlphabet));
        }
        return t;
    }
};

TEST_F(DicIndexTest, AgreesWithTheLinearScanAtEveryPosition) {
    for (int round = 0; round < 60; ++round) {
        const bool small = round % 2 == 0;
        const int rows = round < 50 ? Uniform(0, 400) : kUserRows;
        FillRandomDictionary(rows, small);
        unsigned char buffer[kTextBufferSize] = {};
        const std::string text = RandomText(kMaxTextBytes, small);
        std::copy_n(text.data(), text.size(), buffer);
        const std::size_t positions = rows == kUserRows ? 200 : kMaxTextBytes;
        for (std::size_t p = 0; p < positions; ++p) {
            ASSERT_EQ(dic.Index().FirstMatch(buffer + p), dic.Index().LinearFirstMatch(buffer + p))
                << "round " << round << " position " << p;
        }
    }
}

TEST_F(DicIndexTest, WholeReadingsAgreeOnFullDictionaries) {
    for (int round = 0; round < 4; ++round) {
        FillRandomDictionary(kUserRows, round % 2 == 0);
        const std::string text = RandomText(kMaxTextBytes, round % 2 == 0);
        unsigned char indexed[kReadingBufferSize];
        unsigned char linear[kReadingBufferSize];
        const auto* t = reinterpret_cast<const unsigned char*>(text.data());
        ASSERT_EQ(ConvertToReading(t, text.size(), dic.View(DicLookup::Indexed), indexed),
                  ConvertToReading(t, text.size(), dic.View(DicLookup::LinearReference), linear));
        ASSERT_EQ(0, std::memcmp(indexed, linear, sizeof indexed));
    }
}

TEST_F(DicIndexTest, DuplicatesAndPrefixesPickTheEarliestSlot) {
    dic.Tables().Reset();
    const char* rows[] = {"abcd", "ab", "abcd", "a", "abc"};
    for (int i = 0; i < 5; ++i) {
        std::strcpy(dic.Tables().word[kBuiltinRows + i], rows[i]);
        dic.Tables().yomi[kBuiltinRows + i][0] = static_cast<char>(0xB1);
    }
    dic.Changed();
    const auto at = [this](const char* t) {
        unsigned char buf[32] = {};
        std::copy_n(t, std::strlen(t), buf);
        return dic.Index().FirstMatch(buf);
    };
    EXPECT_EQ(at("abcdz"), kBuiltinRows + 0);
    EXPECT_EQ(at("abcz"), kBuiltinRows + 1);
    EXPECT_EQ(at("abz"), kBuiltinRows + 1);
    EXPECT_EQ(at("az"), kBuiltinRows + 3);
    EXPECT_EQ(at("b"), -1);
    EXPECT_EQ(at(""), -1);
}

// A rebuild starts from the index of the build before: words gone from the tables must not be
// found, whether their first two bytes are still shared by other words or by none.
TEST_F(DicIndexTest, ARebuildForgetsTheWordsOfTheBuildBefore) {
    const auto rebuildWith = [this](std::vector<std::string> rows) {
        dic.Tables().Reset();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int slot = kBuiltinRows + static_cast<int>(i);
            std::strcpy(dic.Tables().word[slot], rows[i].c_str());
            dic.Tables().yomi[slot][0] = static_cast<char>(0xB1);
        }
        dic.Changed();
    };
    const auto at = [this](const std::string& t) {
        unsigned char buf[32] = {};
        std::copy_n(t.data(), t.size(), buf);
        return dic.Index().FirstMatch(buf);
    };
    const auto user = [this](const std::string& t) {
        unsigned char buf[32] = {};
        std::copy_n(t.data(), t.size(), buf);
        return dic.Index().FirstUserMatch(buf);
    };
    rebuildWith({"qqrst", "qqa", "zz"});
    // Look, so that both parts of the index are built from these words before the next change.
    ASSERT_EQ(at("zz"), kBuiltinRows + 2);
    ASSERT_EQ(user("qqrst"), kBuiltinRows + 0);
    rebuildWith({"qqa", "x"});
    EXPECT_EQ(user("qqrst"), -1);
    EXPECT_EQ(user("x"), kBuiltinRows + 1);
    EXPECT_EQ(at("qqrst"), -1);
    EXPECT_EQ(at("qqa"), kBuiltinRows + 0);
    EXPECT_EQ(at("zz"), -1);
    EXPECT_EQ(at("x"), kBuiltinRows + 1);
    rebuildWith({});
    EXPECT_EQ(at("qqa"), -1);
    EXPECT_EQ(at("x"), -1);

    // Random tables of changing sizes, each checked on the words of the one before.
    std::vector<std::string> before;
    for (int round = 0; round < 40; ++round) {
        FillRandomDictionary(Uniform(0, round % 5 == 0 ? 3000 : 200), round % 2 == 0);
        for (const std::string& word : before) {
            unsigned char buf[32] = {};
            std::copy_n(word.data(), word.size(), buf);
            ASSERT_EQ(dic.Index().FirstMatch(buf), dic.Index().LinearFirstMatch(buf))
                << "round " << round;
        }
        before.clear();
        for (int slot = 0; slot < dic.Tables().UsedSlots(); ++slot) {
            before.emplace_back(dic.Tables().word[slot],
                                ::strnlen(dic.Tables().word[slot], kWordSlotSize - 1));
        }
    }
}

} // namespace
} // namespace yomi6
