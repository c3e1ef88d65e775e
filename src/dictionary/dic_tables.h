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

// Number of slots in use: the index of the first slot whose reading is empty, or kDicSlots.
int UsedDicSlots();

// Puts the built-in rows back, empties every user row (words and readings) and rebuilds the
// word index. Used by tests.
void ResetDicTables();

} // namespace yomi6

// Slot i of one table belongs to slot i of the other. Zero-terminated Shift-JIS strings.
extern char g_dicWord[yomi6::kDicSlots][yomi6::kWordSlotSize];
extern char g_dicYomi[yomi6::kDicSlots][yomi6::kYomiSlotSize];
