#include "dictionary/dic_index.h"

#include "dictionary/dic_tables.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <numeric>

namespace yomi6 {

namespace {

constexpr int kMaxWordBytes = static_cast<int>(kWordSlotSize) - 1; // 12
constexpr int kBuckets = 65536;                                    // by the first two bytes

// Words sorted by their bytes, as structure-of-arrays for a cache-friendly binary search.
struct Index {
    std::uint64_t hi[kDicSlots]; // bytes 0-7, big-endian, zero-padded
    std::uint32_t lo[kDicSlots]; // bytes 8-11
    std::uint8_t len[kDicSlots];
    std::int16_t parent[kDicSlots]; // the longest proper prefix that is a word, or -1
    std::int16_t best[kDicSlots];   // the lowest slot among this word and its prefix words
    std::uint16_t bucketStart[kBuckets + 1];
    std::int16_t oneByte[256]; // the slot of a one-byte word, or -1
    int count;
    bool built;
};

Index g_index;     // every used slot
Index g_userIndex; // the user rows alone

// Scratch for the build: the sort order of the entries.
struct Entry {
    std::uint64_t hi;
    std::uint32_t lo;
    std::uint16_t slot;
    std::uint8_t len;
};
Entry g_entries[kDicSlots];

std::uint64_t LoadHi(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) {
        v = (v << 8) | p[i];
    }
    return v;
}

std::uint32_t LoadLo(const unsigned char* p) {
    return (std::uint32_t{p[8]} << 24) | (std::uint32_t{p[9]} << 16) | (std::uint32_t{p[10]} << 8) |
           std::uint32_t{p[11]};
}

// Number of leading bytes two keys share (0-12).
int CommonPrefix(std::uint64_t hiA, std::uint32_t loA, std::uint64_t hiB, std::uint32_t loB) {
    if (hiA != hiB) {
        return __builtin_clzll(hiA ^ hiB) / 8;
    }
    if (loA != loB) {
        return 8 + __builtin_clz(loA ^ loB) / 8;
    }
    return kMaxWordBytes;
}

int UsedSlotWordLength(int slot) {
    return static_cast<int>(::strnlen(g_dicWord[slot], static_cast<std::size_t>(kMaxWordBytes)));
}

// Builds x over the used slots from firstSlot on.
void BuildIndex(Index& x, int firstSlot) {
    const int used = UsedDicSlots();
    int n = 0;
    for (int slot = firstSlot; slot < used; ++slot) {
        const int len = UsedSlotWordLength(slot);
        if (len == 0) {
            continue; // an empty word would match everywhere without moving on: never used
        }
        unsigned char key[kMaxWordBytes] = {};
        std::memcpy(key, g_dicWord[slot], static_cast<std::size_t>(len));
        g_entries[n++] = {LoadHi(key), LoadLo(key), static_cast<std::uint16_t>(slot),
                          static_cast<std::uint8_t>(len)};
    }
    std::sort(g_entries, g_entries + n, [](const Entry& a, const Entry& b) {
        if (a.hi != b.hi) {
            return a.hi < b.hi;
        }
        if (a.lo != b.lo) {
            return a.lo < b.lo;
        }
        return a.slot < b.slot;
    });

    // Keep one entry per distinct word: its lowest slot, which is the one a scan meets first.
    int count = 0;
    for (int i = 0; i < n; ++i) {
        if (count > 0 && x.hi[count - 1] == g_entries[i].hi && x.lo[count - 1] == g_entries[i].lo) {
            continue;
        }
        x.hi[count] = g_entries[i].hi;
        x.lo[count] = g_entries[i].lo;
        x.len[count] = g_entries[i].len;
        x.best[count] = static_cast<std::int16_t>(g_entries[i].slot);
        ++count;
    }
    x.count = count;

    // Prefix links: in sorted order every prefix word comes before the words it starts, so a
    // stack of the current chain of prefixes finds each word's longest prefix word.
    int stack[kMaxWordBytes + 1];
    int depth = 0;
    std::fill(std::begin(x.oneByte), std::end(x.oneByte), std::int16_t{-1});
    for (int i = 0; i < count; ++i) {
        while (depth > 0) {
            const int top = stack[depth - 1];
            if (CommonPrefix(x.hi[top], x.lo[top], x.hi[i], x.lo[i]) >= x.len[top]) {
                break;
            }
            --depth;
        }
        x.parent[i] = static_cast<std::int16_t>(depth > 0 ? stack[depth - 1] : -1);
        if (x.parent[i] >= 0) {
            x.best[i] = std::min(x.best[i], x.best[x.parent[i]]);
        }
        if (depth <= kMaxWordBytes) {
            stack[depth++] = i;
        }
        if (x.len[i] == 1) {
            x.oneByte[x.hi[i] >> 56] = x.best[i];
        }
    }

    // Buckets by the first two bytes (a one-byte word sits in the bucket of its byte and zero).
    std::fill(std::begin(x.bucketStart), std::end(x.bucketStart), std::uint16_t{0});
    for (int i = 0; i < count; ++i) {
        ++x.bucketStart[(x.hi[i] >> 48) + 1];
    }
    std::partial_sum(std::begin(x.bucketStart), std::end(x.bucketStart), std::begin(x.bucketStart));
    x.built = true;
}

int FindInIndex(const Index& x, const unsigned char* text) {
    const std::uint64_t hi = LoadHi(text);
    const std::uint32_t lo = LoadLo(text);
    const auto bucket = static_cast<std::size_t>(hi >> 48);
    const int begin = x.bucketStart[bucket];
    const int end = x.bucketStart[bucket + 1];

    // The last word in the bucket that is not above the text.
    int first = begin;
    int size = end - begin;
    while (size > 0) {
        const int half = size / 2;
        const int mid = first + half;
        if (x.hi[mid] < hi || (x.hi[mid] == hi && x.lo[mid] <= lo)) {
            first = mid + 1;
            size -= half + 1;
        } else {
            size = half;
        }
    }
    if (first == begin) {
        // No word of two or more bytes starts the text; a one-byte word still may.
        return x.oneByte[text[0]];
    }
    int i = first - 1;
    const int shared = CommonPrefix(x.hi[i], x.lo[i], hi, lo);
    while (i >= 0 && x.len[i] > shared) {
        i = x.parent[i];
    }
    return i >= 0 ? x.best[i] : -1;
}

} // namespace

void RebuildDicIndex() {
    BuildIndex(g_index, 0);
    BuildIndex(g_userIndex, kBuiltinRows);
}

int FindFirstMatch(const unsigned char* text) {
    if (!g_index.built) {
        RebuildDicIndex();
    }
    return FindInIndex(g_index, text);
}

int FindFirstUserMatch(const unsigned char* text) {
    if (!g_userIndex.built) {
        RebuildDicIndex();
    }
    return FindInIndex(g_userIndex, text);
}

int DicWordLength(int slot) {
    return UsedSlotWordLength(slot);
}

int LinearFindFirstMatch(const unsigned char* text) {
    for (int slot = 0; slot < kDicSlots; ++slot) {
        if (g_dicYomi[slot][0] == '\0') {
            return -1;
        }
        const int len = UsedSlotWordLength(slot);
        if (len > 0 && std::memcmp(text, g_dicWord[slot], static_cast<std::size_t>(len)) == 0) {
            return slot;
        }
    }
    return -1;
}

} // namespace yomi6
