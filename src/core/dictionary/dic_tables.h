// The pronunciation dictionary tables: built-in rows first, user rows behind them.
#pragma once

#include "dictionary/zeroed_block.h"

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
// other. Zero-terminated Shift-JIS strings. About 340 KB: kept on the heap by its owner, made
// by MakeDicTables.
struct DicTables {
    char word[kDicSlots][kWordSlotSize];
    char yomi[kDicSlots][kYomiSlotSize];

    // Number of slots in use: the index of the first slot whose reading is empty, or kDicSlots.
    int UsedSlots() const;

    // Puts the built-in rows back and empties every user row (words and readings).
    void Reset();
    // Writes the built-in rows into slots 0-18, leaving the other slots as they are.
    void PutBuiltinRows();
};

// Tables with the built-in rows in slots 0-18 and every other slot empty. The empty slots are
// fresh zero pages, touched only when a row is written there.
ZeroedPtr<DicTables> MakeDicTables();

} // namespace yomi6
