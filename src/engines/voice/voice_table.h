// The voice sample table: how a reading is cut into kana units of one to three bytes, and which
// recorded sample speaks each unit in the male ("IDW_") and the female ("IDF_") voice.
#pragma once

#include "voice/voice_slot.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace yomi6 {

inline constexpr std::size_t kUnitFieldSize = 5;  // a unit, NUL-padded
inline constexpr std::size_t kNameFieldSize = 10; // a sample name, NUL-padded
inline constexpr std::size_t kMaxUnitLength = 3;

inline constexpr std::size_t kThreeByteUnitCount = 30;
inline constexpr std::size_t kTwoByteUnitCount = 68;
inline constexpr std::size_t kOneByteUnitCount = 47;

inline constexpr std::string_view kMalePrefix = "IDW_";
inline constexpr std::string_view kFemalePrefix = "IDF_";

using UnitField = std::array<unsigned char, kUnitFieldSize>;
using NameField = std::array<char, kNameFieldSize>;

// One unit table with its two parallel name tables: row i of maleNames and femaleNames names
// the sample of units[i].
struct UnitTable {
    std::size_t unitLength = 0; // 3, 2 or 1
    std::span<const UnitField> units;
    std::span<const NameField> maleNames;
    std::span<const NameField> femaleNames;
};

// The three unit tables, longest units first: the order in which the lookup tries them.
std::span<const UnitTable, 3> UnitTables();

// The unit that starts at a position of a reading.
struct KanaUnit {
    std::string_view sample; // the sample name; empty when no unit starts there
    std::int32_t length = 0; // 3, 2 or 1; 0 when no unit starts there
    explicit operator bool() const { return length != 0; }
};

// Finds the unit at the start of rest: the first equal row of the three-byte table, else of the
// two-byte table, else of the one-byte table. The name is the one of that voice. Reads at most
// three bytes and never past the end of rest; a unit that would reach past it does not match.
KanaUnit LookupUnit(std::span<const unsigned char> rest, VoiceSlot voice);

// The length of the unit whose sample (of either voice) is named name; 0 for no sample's name.
std::size_t SampleUnitLength(std::string_view name);

// The name stored in a name field: its bytes before the first NUL.
std::string_view FieldText(const NameField& field);

} // namespace yomi6
