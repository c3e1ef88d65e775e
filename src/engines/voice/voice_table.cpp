#include "voice/voice_table.h"

#include <algorithm>

namespace yomi6 {

namespace {

// A row as it is written down: the unit's bytes (half-width katakana, code page 932) and the
// suffix of its sample names. The unit fields and both name tables are built from these rows
// at compile time, so a unit and its samples cannot drift apart.
struct Row {
    std::string_view unit;
    std::string_view suffix;
};

// Three-byte units: a kana, a voicing mark and a small kana.
constexpr Row kThreeByteRows[] = {
    {"\xB7\xDE\xAC", "GYA"}, {"\xB7\xDE\xAD", "GYU"}, {"\xB7\xDE\xAA", "GYE"},
    {"\xB7\xDE\xAE", "GYO"}, {"\xBC\xDE\xAC", "JA"},  {"\xBC\xDE\xAD", "JU"},
    {"\xBC\xDE\xAA", "JE"},  {"\xBC\xDE\xAE", "JO"},  {"\xC1\xDE\xAC", "JA"},
    {"\xC1\xDE\xAD", "JU"},  {"\xC1\xDE\xAA", "JE"},  {"\xC1\xDE\xAE", "JO"},
    {"\xC3\xDE\xAC", "DHA"}, {"\xC3\xDE\xA8", "DHI"}, {"\xC3\xDE\xAD", "DHU"},
    {"\xC3\xDE\xAA", "DHE"}, {"\xC3\xDE\xAE", "DHO"}, {"\xC4\xDE\xA9", "DWU"},
    {"\xCB\xDE\xAC", "BYA"}, {"\xCB\xDE\xAD", "BYU"}, {"\xCB\xDE\xAA", "BYE"},
    {"\xCB\xDE\xAE", "BYO"}, {"\xCB\xDF\xAC", "PYA"}, {"\xCB\xDF\xAD", "PYU"},
    {"\xCB\xDF\xAA", "PYE"}, {"\xCB\xDF\xAE", "PYO"}, {"\xB3\xDE\xA7", "VA"},
    {"\xB3\xDE\xA8", "VI"},  {"\xB3\xDE\xAA", "VE"},  {"\xB3\xDE\xAB", "VO"},
};

// Two-byte units: a kana followed by a small kana or by a voicing mark.
constexpr Row kTwoByteRows[] = {
    {"\xB7\xAC", "KYA"}, {"\xB7\xAD", "KYU"}, {"\xB7\xAA", "KYE"}, {"\xB7\xAE", "KYO"},
    {"\xBC\xAC", "SHA"}, {"\xBC\xAD", "SHU"}, {"\xBC\xAA", "SHE"}, {"\xBC\xAE", "SHO"},
    {"\xC1\xAC", "CHA"}, {"\xC1\xAD", "CHU"}, {"\xC1\xAA", "CHE"}, {"\xC1\xAE", "CHO"},
    {"\xC3\xAC", "THA"}, {"\xC3\xA8", "THI"}, {"\xC3\xAD", "THU"}, {"\xC3\xAA", "THE"},
    {"\xC3\xAE", "THO"}, {"\xC4\xA9", "TWU"}, {"\xC6\xAC", "NYA"}, {"\xC6\xAD", "NYU"},
    {"\xC6\xAA", "NYE"}, {"\xC6\xAE", "NYO"}, {"\xCB\xAC", "HYA"}, {"\xCB\xAD", "HYU"},
    {"\xCB\xAA", "HYE"}, {"\xCB\xAE", "HYO"}, {"\xCC\xA7", "FA"},  {"\xCC\xA8", "FI"},
    {"\xCC\xAA", "FE"},  {"\xCC\xAB", "FO"},  {"\xD0\xAC", "MYA"}, {"\xD0\xAD", "MYU"},
    {"\xD0\xAA", "MYE"}, {"\xD0\xAE", "MYO"}, {"\xD8\xAC", "RYA"}, {"\xD8\xAD", "RYU"},
    {"\xD8\xAA", "RYE"}, {"\xD8\xAE", "RYO"}, {"\xB6\xDE", "GA"},  {"\xB7\xDE", "GI"},
    {"\xB8\xDE", "GU"},  {"\xB9\xDE", "GE"},  {"\xBA\xDE", "GO"},  {"\xBB\xDE", "ZA"},
    {"\xBC\xDE", "ZI"},  {"\xBD\xDE", "ZU"},  {"\xBE\xDE", "ZE"},  {"\xBF\xDE", "ZO"},
    {"\xC0\xDE", "DA"},  {"\xC1\xDE", "DI"},  {"\xC2\xDE", "DU"},  {"\xC3\xDE", "DE"},
    {"\xC4\xDE", "DO"},  {"\xCA\xDE", "BA"},  {"\xCB\xDE", "BI"},  {"\xCC\xDE", "BU"},
    {"\xCD\xDE", "BE"},  {"\xCE\xDE", "BO"},  {"\xCA\xDF", "PA"},  {"\xCB\xDF", "PI"},
    {"\xCC\xDF", "PU"},  {"\xCD\xDF", "PE"},  {"\xCE\xDF", "PO"},  {"\xB3\xA7", "UXA"},
    {"\xB3\xA8", "UXI"}, {"\xB3\xAA", "UXE"}, {"\xB3\xAB", "UXO"}, {"\xB3\xDE", "VU"},
};

// One-byte units: the plain kana, ｦ, ﾝ and the hyphen, which plays the pause sample.
constexpr Row kOneByteRows[] = {
    {"\xB1", "A"},  {"\xB2", "I"},  {"\xB3", "U"},  {"\xB4", "E"},  {"\xB5", "O"},  {"\xB6", "KA"},
    {"\xB7", "KI"}, {"\xB8", "KU"}, {"\xB9", "KE"}, {"\xBA", "KO"}, {"\xBB", "SA"}, {"\xBC", "SI"},
    {"\xBD", "SU"}, {"\xBE", "SE"}, {"\xBF", "SO"}, {"\xC0", "TA"}, {"\xC1", "TI"}, {"\xC2", "TU"},
    {"\xC3", "TE"}, {"\xC4", "TO"}, {"\xC5", "NA"}, {"\xC6", "NI"}, {"\xC7", "NU"}, {"\xC8", "NE"},
    {"\xC9", "NO"}, {"\xCA", "HA"}, {"\xCB", "HI"}, {"\xCC", "HU"}, {"\xCD", "HE"}, {"\xCE", "HO"},
    {"\xCF", "MA"}, {"\xD0", "MI"}, {"\xD1", "MU"}, {"\xD2", "ME"}, {"\xD3", "MO"}, {"\xD4", "YA"},
    {"\xD5", "YU"}, {"\xD6", "YO"}, {"\xD7", "RA"}, {"\xD8", "RI"}, {"\xD9", "RU"}, {"\xDA", "RE"},
    {"\xDB", "RO"}, {"\xDC", "WA"}, {"\xA6", "WO"}, {"\xDD", "NN"}, {"-", "S"},
};

static_assert(std::size(kThreeByteRows) == kThreeByteUnitCount);
static_assert(std::size(kTwoByteRows) == kTwoByteUnitCount);
static_assert(std::size(kOneByteRows) == kOneByteUnitCount);

template <std::size_t N> constexpr bool RowsFit(const Row (&rows)[N], std::size_t unitLength) {
    for (const Row& row : rows) {
        if (row.unit.size() != unitLength || row.unit.find('\0') != std::string_view::npos) {
            return false;
        }
        if (kMalePrefix.size() + row.suffix.size() >= kNameFieldSize) {
            return false; // the name and its NUL must fit in the field
        }
    }
    return true;
}
static_assert(RowsFit(kThreeByteRows, 3));
static_assert(RowsFit(kTwoByteRows, 2));
static_assert(RowsFit(kOneByteRows, 1));

template <std::size_t N> constexpr std::array<UnitField, N> MakeUnits(const Row (&rows)[N]) {
    std::array<UnitField, N> units{};
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t b = 0; b < rows[i].unit.size(); ++b) {
            units[i][b] = static_cast<unsigned char>(rows[i].unit[b]);
        }
    }
    return units;
}

template <std::size_t N>
constexpr std::array<NameField, N> MakeNames(const Row (&rows)[N], std::string_view prefix) {
    std::array<NameField, N> names{};
    for (std::size_t i = 0; i < N; ++i) {
        std::size_t at = 0;
        for (char c : prefix) {
            names[i][at++] = c;
        }
        for (char c : rows[i].suffix) {
            names[i][at++] = c;
        }
    }
    return names;
}

constexpr auto kThreeByteUnits = MakeUnits(kThreeByteRows);
constexpr auto kThreeByteMale = MakeNames(kThreeByteRows, kMalePrefix);
constexpr auto kThreeByteFemale = MakeNames(kThreeByteRows, kFemalePrefix);
constexpr auto kTwoByteUnits = MakeUnits(kTwoByteRows);
constexpr auto kTwoByteMale = MakeNames(kTwoByteRows, kMalePrefix);
constexpr auto kTwoByteFemale = MakeNames(kTwoByteRows, kFemalePrefix);
constexpr auto kOneByteUnits = MakeUnits(kOneByteRows);
constexpr auto kOneByteMale = MakeNames(kOneByteRows, kMalePrefix);
constexpr auto kOneByteFemale = MakeNames(kOneByteRows, kFemalePrefix);

constexpr std::array<UnitTable, 3> kTables = {{
    {3, kThreeByteUnits, kThreeByteMale, kThreeByteFemale},
    {2, kTwoByteUnits, kTwoByteMale, kTwoByteFemale},
    {1, kOneByteUnits, kOneByteMale, kOneByteFemale},
}};

// Every byte that starts a unit of some table: any other byte (a terminator, a line end, a
// byte no unit holds) is answered without a scan of the 145 rows.
constexpr std::array<bool, 256> MakeUnitStarts() {
    std::array<bool, 256> starts{};
    for (const UnitTable& table : kTables) {
        for (const UnitField& unit : table.units) {
            starts[unit[0]] = true;
        }
    }
    return starts;
}
constexpr auto kUnitStarts = MakeUnitStarts();

// Byte by byte, so that the comparison stops at the first difference: a unit never holds a
// NUL, so no byte behind the terminator of a reading is looked at.
bool UnitMatches(const UnitField& unit, std::span<const unsigned char> rest, std::size_t length) {
    for (std::size_t b = 0; b < length; ++b) {
        if (rest[b] != unit[b]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::span<const UnitTable, 3> UnitTables() {
    return kTables;
}

std::string_view FieldText(const NameField& field) {
    const auto end = std::find(field.begin(), field.end(), '\0');
    return {field.data(), static_cast<std::size_t>(end - field.begin())};
}

std::size_t SampleUnitLength(std::string_view name) {
    if (name.empty()) {
        return 0;
    }
    for (const UnitTable& table : kTables) {
        for (std::size_t row = 0; row < table.units.size(); ++row) {
            if (FieldText(table.maleNames[row]) == name ||
                FieldText(table.femaleNames[row]) == name) {
                return table.unitLength;
            }
        }
    }
    return 0;
}

KanaUnit LookupUnit(std::span<const unsigned char> rest, VoiceSlot voice) {
    if (rest.empty() || !kUnitStarts[rest[0]]) {
        return {};
    }
    for (const UnitTable& table : kTables) {
        if (rest.size() < table.unitLength) {
            continue;
        }
        for (std::size_t row = 0; row < table.units.size(); ++row) {
            if (UnitMatches(table.units[row], rest, table.unitLength)) {
                const NameField& name =
                    voice == VoiceSlot::Male ? table.maleNames[row] : table.femaleNames[row];
                return {FieldText(name), static_cast<std::int32_t>(table.unitLength)};
            }
        }
    }
    return {};
}

} // namespace yomi6
