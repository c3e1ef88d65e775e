// The voice sample table: its three unit tables with their name tables, and the unit lookup
// that cuts a reading into kana units.
#include "support/sjis.h"
#include "voice/sample_store.h"
#include "voice/voice_table.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace yomi6 {
namespace {

using test::Hex;
using test::Sjis;
using test::ToHex;

std::span<const unsigned char> Bytes(const std::string& s) {
    return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

// The sample name and length of the unit at the start of bytes (a NUL is appended, as in the
// reading buffer): "IDF_GA/2", or "none".
std::string Unit(const std::string& bytes, VoiceSlot voice = VoiceSlot::Female) {
    const std::string withNul = bytes + std::string(1, '\0');
    const KanaUnit unit = LookupUnit(Bytes(withNul), voice);
    if (!unit) {
        EXPECT_TRUE(unit.sample.empty());
        return "none";
    }
    return std::string(unit.sample) + "/" + std::to_string(unit.length);
}

// The units of a whole reading, female voice: "GA KO U" with "." for a byte that starts none.
std::string Cut(const std::string& reading) {
    const std::string withNul = reading + std::string(1, '\0');
    std::string out;
    std::size_t at = 0;
    while (at < reading.size()) {
        const KanaUnit unit = LookupUnit(Bytes(withNul).subspan(at), VoiceSlot::Female);
        out += out.empty() ? "" : " ";
        out += unit ? std::string(unit.sample.substr(kFemalePrefix.size())) : ".";
        at += unit ? static_cast<std::size_t>(unit.length) : 1;
    }
    return out;
}

std::string UnitText(const UnitTable& table, std::size_t row) {
    return std::string(reinterpret_cast<const char*>(table.units[row].data()), table.unitLength);
}

TEST(VoiceTableTest, TablesHaveTheirSizesOrderAndFieldLayout) {
    const auto tables = UnitTables();
    ASSERT_EQ(tables[0].unitLength, 3u);
    ASSERT_EQ(tables[1].unitLength, 2u);
    ASSERT_EQ(tables[2].unitLength, 1u);
    EXPECT_EQ(tables[0].units.size(), 30u);
    EXPECT_EQ(tables[1].units.size(), 68u);
    EXPECT_EQ(tables[2].units.size(), 47u);

    // First and last rows of each table, and the duplicated JA rows.
    EXPECT_EQ(ToHex(UnitText(tables[0], 0)), "B7 DE AC");
    EXPECT_EQ(FieldText(tables[0].maleNames[0]), "IDW_GYA");
    EXPECT_EQ(ToHex(UnitText(tables[0], 29)), "B3 DE AB");
    EXPECT_EQ(FieldText(tables[0].femaleNames[29]), "IDF_VO");
    EXPECT_EQ(FieldText(tables[0].femaleNames[4]), "IDF_JA");
    EXPECT_EQ(FieldText(tables[0].femaleNames[8]), "IDF_JA");
    EXPECT_EQ(ToHex(UnitText(tables[1], 0)), "B7 AC");
    EXPECT_EQ(ToHex(UnitText(tables[1], 67)), "B3 DE");
    EXPECT_EQ(FieldText(tables[1].maleNames[67]), "IDW_VU");
    EXPECT_EQ(ToHex(UnitText(tables[2], 44)), "A6");
    EXPECT_EQ(FieldText(tables[2].maleNames[44]), "IDW_WO");
    EXPECT_EQ(ToHex(UnitText(tables[2], 46)), "2D");
    EXPECT_EQ(FieldText(tables[2].femaleNames[46]), "IDF_S");

    for (const UnitTable& table : tables) {
        ASSERT_EQ(table.maleNames.size(), table.units.size());
        ASSERT_EQ(table.femaleNames.size(), table.units.size());
        for (std::size_t row = 0; row < table.units.size(); ++row) {
            // The unit fills exactly its length, then NUL padding.
            for (std::size_t b = 0; b < kUnitFieldSize; ++b) {
                EXPECT_EQ(table.units[row][b] == 0, b >= table.unitLength) << row;
            }
            const std::string_view male = FieldText(table.maleNames[row]);
            const std::string_view female = FieldText(table.femaleNames[row]);
            EXPECT_TRUE(male.starts_with(kMalePrefix)) << male;
            EXPECT_TRUE(female.starts_with(kFemalePrefix)) << female;
            EXPECT_EQ(male.substr(4), female.substr(4));
            EXPECT_LE(male.size(), 7u);
            for (std::size_t b = male.size(); b < kNameFieldSize; ++b) {
                EXPECT_EQ(table.maleNames[row][b], '\0');
                EXPECT_EQ(table.femaleNames[row][b], '\0');
            }
        }
    }
}

TEST(VoiceTableTest, EachVoiceHas141DistinctNamesAndUnitsAreUnique) {
    std::set<std::string> male, female, units;
    std::size_t rows = 0;
    for (const UnitTable& table : UnitTables()) {
        for (std::size_t row = 0; row < table.units.size(); ++row, ++rows) {
            male.emplace(FieldText(table.maleNames[row]));
            female.emplace(FieldText(table.femaleNames[row]));
            units.insert(UnitText(table, row));
        }
    }
    EXPECT_EQ(rows, 145u);
    EXPECT_EQ(units.size(), 145u);
    EXPECT_EQ(male.size(), 141u);
    EXPECT_EQ(female.size(), 141u);
}

TEST(VoiceTableTest, TheVoiceChoosesThePrefix) {
    EXPECT_EQ(Unit(Sjis("ﾎﾟ"), VoiceSlot::Male), "IDW_PO/2");
    EXPECT_EQ(Unit(Sjis("ﾎﾟ"), VoiceSlot::Female), "IDF_PO/2");
    EXPECT_EQ(Unit("-", VoiceSlot::Male), "IDW_S/1");
    EXPECT_EQ(Unit("-", VoiceSlot::Female), "IDF_S/1");
}

TEST(VoiceTableTest, LongerUnitsWin) {
    EXPECT_EQ(Unit(Sjis("ｷﾞｬ")), "IDF_GYA/3");
    EXPECT_EQ(Unit(Sjis("ｷｬ")), "IDF_KYA/2");
    EXPECT_EQ(Unit(Sjis("ｷﾞ")), "IDF_GI/2");
    EXPECT_EQ(Unit(Sjis("ｷ")), "IDF_KI/1");
    EXPECT_EQ(Unit(Sjis("ｷｷﾞ")), "IDF_KI/1");
}

TEST(VoiceTableTest, VoicedPalatalsAndTheirLookAlikes) {
    for (const char* vowel : {"ｬ", "ｭ", "ｪ", "ｮ"}) {
        EXPECT_EQ(Unit(Sjis(std::string("ｼﾞ") + vowel)), Unit(Sjis(std::string("ﾁﾞ") + vowel)));
    }
    EXPECT_EQ(Unit(Sjis("ﾁﾞｬ")), "IDF_JA/3");
    EXPECT_EQ(Unit(Sjis("ｼﾞｭ")), "IDF_JU/3");
    EXPECT_EQ(Unit(Sjis("ﾁﾞｪ")), "IDF_JE/3");
    EXPECT_EQ(Unit(Sjis("ｼﾞｮ")), "IDF_JO/3");
    EXPECT_EQ(Unit(Sjis("ｼﾞ")), "IDF_ZI/2");
    EXPECT_EQ(Unit(Sjis("ﾁﾞ")), "IDF_DI/2");
    EXPECT_EQ(Unit(Sjis("ｽﾞ")), "IDF_ZU/2");
    EXPECT_EQ(Unit(Sjis("ﾂﾞ")), "IDF_DU/2");
}

TEST(VoiceTableTest, VuAndItsCompanions) {
    EXPECT_EQ(Unit(Sjis("ｳﾞ")), "IDF_VU/2");
    EXPECT_EQ(Cut(Sjis("ｳﾞｧｳﾞｨｳﾞｪｳﾞｫ")), "VA VI VE VO");
    EXPECT_EQ(Cut(Sjis("ｳﾞｭｳﾞｮ")), "VU . VU .");
    EXPECT_EQ(Cut(Sjis("ｳｧｳｨｳｪｳｫｳｩ")), "UXA UXI UXE UXO U .");
}

TEST(VoiceTableTest, ForeignSoundUnits) {
    EXPECT_EQ(Cut(Sjis("ﾃｨﾃﾞｨﾄｩﾄﾞｩﾌｧﾌｨﾌｪﾌｫ")), "THI DHI TWU DWU FA FI FE FO");
    EXPECT_EQ(Cut(Sjis("ﾋﾟｬﾋﾞｮﾐｪﾘｭ")), "PYA BYO MYE RYU");
    EXPECT_EQ(Cut(Sjis("ｶﾞｯｺｳｦﾝ-")), "GA . KO U WO NN S");
}

TEST(VoiceTableTest, SmallKanaJoinOnlyWhereATableHoldsThePair) {
    EXPECT_EQ(Cut(Sjis("ｶｬ")), "KA .");
    EXPECT_EQ(Cut(Sjis("ｻｮ")), "SA .");
    EXPECT_EQ(Cut(Sjis("ｼｮ")), "SHO");
    EXPECT_EQ(Cut(Sjis("ﾄｨ")), "TO .");
    EXPECT_EQ(Cut(Sjis("ｼﾟｬ")), "SI . .");
}

TEST(VoiceTableTest, BytesThatStartNoUnit) {
    for (const char* hex :
         {"A7", "AB", "AF", "B0", "DE", "DF", "A1", "A5", "20", "00", "0D", "41"}) {
        EXPECT_EQ(Unit(Hex(hex)), "none") << hex;
    }
    // Every byte outside the one-byte table starts no unit when nothing joins it: the small
    // kana, ｰ, ﾞ and ﾟ alone, the half-width punctuation, the blank, NUL, line ends, ASCII.
    std::set<unsigned char> oneByte;
    for (std::size_t row = 0; row < UnitTables()[2].units.size(); ++row) {
        oneByte.insert(UnitTables()[2].units[row][0]);
    }
    for (int b = 0; b < 256; ++b) {
        const std::string unit = Unit(std::string(1, static_cast<char>(b)));
        EXPECT_EQ(unit != "none", oneByte.count(static_cast<unsigned char>(b)) == 1) << b;
    }
}

TEST(VoiceTableTest, LookupNeverReadsPastTheGivenBytes) {
    const std::string bytes = Sjis("ｷﾞｬ");
    const auto all = Bytes(bytes);
    EXPECT_FALSE(LookupUnit(all.first(0), VoiceSlot::Female));
    EXPECT_EQ(LookupUnit(all.first(1), VoiceSlot::Female).sample, "IDF_KI");
    EXPECT_EQ(LookupUnit(all.first(2), VoiceSlot::Female).sample, "IDF_GI");
    EXPECT_EQ(LookupUnit(all.first(3), VoiceSlot::Female).sample, "IDF_GYA");
    // A unit at the very end of a buffer with no terminator behind it.
    const std::string tail = Sjis("ﾎﾟ");
    EXPECT_EQ(LookupUnit(Bytes(tail), VoiceSlot::Male).length, 2);
}

TEST(VoiceTableTest, EveryNameOfBothVoicesHasACompiledInSample) {
    std::set<std::string, std::less<>> named;
    for (const UnitTable& table : UnitTables()) {
        for (std::size_t row = 0; row < table.units.size(); ++row) {
            for (const std::string_view name :
                 {FieldText(table.maleNames[row]), FieldText(table.femaleNames[row])}) {
                EXPECT_TRUE(FindSample(name)) << name;
                named.emplace(name);
            }
        }
    }
    // And every sample held is one of the names: 141 per voice.
    EXPECT_EQ(named.size(), 282u);
    for (const std::string_view held : SampleNames()) {
        EXPECT_EQ(named.count(held), 1u) << held;
    }
}

} // namespace
} // namespace yomi6
