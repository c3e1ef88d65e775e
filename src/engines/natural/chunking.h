// The text to speak cut into chunks the engine is given one at a time: sentences, never longer
// than a limit (the engine is not safe with long lines), each with its source bytes.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace yomi6::natural {

// Source bytes [begin, end) of the text (code page 932).
struct ByteRange {
    std::size_t begin = 0;
    std::size_t end = 0;

    bool operator==(const ByteRange&) const = default;
};

struct ChunkLimits {
    std::size_t maxChars = 200;  // the longest chunk, in characters
    std::size_t firstChars = 40; // the first chunk is cut this short when it can be, to start fast
    // The first chunk also ends after its first word that a particle closes (今日は|雨が降る。):
    // a reading heard live starts sooner, with a short pause there. A rendering keeps its first
    // sentence whole.
    bool firstAtParticle = false;
};

// Splits text (code page 932) after each 。！？ (full or half width, and ASCII ! ?) and at each
// line end (and, with firstAtParticle, the first piece after a one-kana particle that follows a
// kanji or katakana and precedes one). A longer piece is cut
// after its last comma (、，､,) within the limit, else after
// its last blank, else at the limit itself. Line ends never belong to a chunk; chunks that
// hold only blanks and punctuation are left out. Chunks are in text order and do not overlap.
// When the first chunk was cut after a particle, *particleCut (if given) is set to the byte it
// ends at (a word of the same sentence follows there); else it is left as it was. No chunk
// ends inside one of keepWhole (sorted, not overlapping): a cut that would falls before it, or
// after it when it starts the piece.
std::vector<ByteRange> SplitChunks(std::string_view text, const ChunkLimits& limits = {},
                                   std::size_t* particleCut = nullptr,
                                   std::span<const ByteRange> keepWhole = {});

// The length of the code page 932 character at text[i] (1 or 2; a lead byte at the end is 1).
std::size_t Cp932CharLength(std::string_view text, std::size_t i);

} // namespace yomi6::natural
