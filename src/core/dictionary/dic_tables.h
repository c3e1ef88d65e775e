// The pronunciation dictionary tables: built-in rows first, user rows behind them.
#pragma once

#include <cstddef>

namespace yomi6 {

inline constexpr int kBuiltinRows = 19;
inline constexpr int kUserRows = 9999;
inline constexpr int kDicSlots = kBuiltinRows + kUserRows; // 10018
inline constexpr std::size_t kWordSlotSize = 13;           // 12 bytes and a terminator
inline constexpr std::size_t kYomiSlotSize = 21;           // 20 bytes and a terminator
inline constexpr std::size_t kRecordSize = kWordSlotSize + kYomiSlotSize; // 34
inline constexpr std::size_t kDicImageSize = kRecordSize * kUserRows;     // 339966

// The words and their readings, slot by slot: slot i of one table belongs to slot i of the
// other. Zero-terminated Shift-JIS strings. About 340 KB: kept on the heap by its owner.
struct DicTables {
    char word[kDicSlots][kWordSlotSize];
    char yomi[kDicSlots][kYomiSlotSize];

    // The built-in rows in slots 0-18, every other slot empty.
    DicTables();

    // Number of slots in use: the index of the first slot whose reading is empty, or kDicSlots.
    int UsedSlots() const;

    // Puts the built-in rows back and empties every user row (words and readings).
    void Reset();
};

} // namespace yomi6
