// Finding the first dictionary slot, in table order, whose word starts the text at a position.
//
// The reference answer is a linear scan of the used slots. The index gives the same answer
// without visiting the slots: the words are kept sorted as 12-byte big-endian keys, bucketed by
// their first two bytes, and each word knows its longest proper prefix among the words and the
// lowest slot along that chain. The last word not above the text in sorted order is either a
// prefix of the text or shares its longest word-prefix with the text, so one binary search in a
// small bucket and a walk of at most 12 prefix links find the answer.
#pragma once

namespace yomi6 {

// Marks the index out of date after a change of g_dicWord / g_dicYomi; call after every change.
// Each of the two lookups below builds its part again when it is next used, so a change costs
// nothing until a reading looks up a word, and only the part that reading needs.
void RebuildDicIndex();

// The first matching slot in table order, or -1. text must be readable for 12 bytes; bytes
// past the end of the text must be zero (they end every comparison, as words hold no zero).
int FindFirstMatch(const unsigned char* text);

// The first matching user row in table order (user rows are ordered longest word first, so
// this is the longest user word that starts the text), or -1. The built-in rows are not
// looked at. Same requirements on text as FindFirstMatch.
int FindFirstUserMatch(const unsigned char* text);

// The same answer by a plain scan of the tables in slot order (the reference).
int LinearFindFirstMatch(const unsigned char* text);

// Length in bytes of the word of slot (at most 12).
int DicWordLength(int slot);

} // namespace yomi6
