// Cleaning of the dictionary records before they are saved: words lose their blanks, readings
// keep only what can be spoken (half-width katakana and a few signs).
#pragma once

#include <string_view>

namespace yomi6 {

// Cleans the 13-byte word field in into out, which must be zero on entry: the 12 bytes before
// the last are scanned in order and the bytes that survive are packed from the start of out.
// A legal double-byte character (a pair starting at offsets 0-10) is kept whole, except the
// full-width space 0x81 0x40; a single byte is kept unless it is the blank 0x20. Zero bytes and
// whatever follows them pass through like other bytes, so the result stays zero-terminated.
void CleanWordField(const unsigned char* in, unsigned char* out);

// Whether the cleaning of word (code page 932 bytes) would join two words at a blank: a
// half-width or full-width blank between two letters or digits, half-width or full-width
// ("New York" would be saved as "NewYork"). Blanks at either end, or between other characters
// (two kanji), only go.
bool BlankJoinsWords(std::string_view word);

// Cleans the 21-byte reading field in into out (zero on entry) the same way over its first 20
// bytes: every legal double-byte character (a pair starting at offsets 0-18) is dropped, and
// of the single bytes the blank, the digits, the ASCII letters and the signs between them
// (0x30-0x7A) are dropped too. Half-width katakana and everything else stay.
void CleanYomiField(const unsigned char* in, unsigned char* out);

// Cleans every record of a dictionary image (kDicImageSize bytes) into out, which is cleared
// first. in and out must not overlap.
void CleanDictionaryImage(const unsigned char* in, unsigned char* out);

} // namespace yomi6
