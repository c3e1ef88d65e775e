#include "dictionary/dic_index.h"

#include "dictionary/dic_tables.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <mutex>

namespace yomi6 {

namespace {

constexpr int kMaxWordBytes = static_cast<int>(kWordSlotSize) - 1; // 12
constexpr int kBuckets = 65536;                                    // by the first two bytes

// One used slot's word as the build sorts them.
struct Entry {
    std::uint64_t hi;
    std::uint32_t lo;
    std::uint16_t slot;
    std::uint8_t len;
};

// The entries [begin, end) of the sorted words whose first two bytes are those of the bucket.
struct Bucket {
    std::uint16_t begin;
    std::uint16_t end;
};

} // namespace

// Words sorted by their bytes, as structure-of-arrays for a cache-friendly binary search.
struct DicIndex::Index {
    std::uint64_t hi[kDicSlots]; // bytes 0-7, big-endian, zero-padded
    std::uint32_t lo[kDicSlots]; // bytes 8-11
    std::uint8_t len[kDicSlots];
    std::int16_t parent[kDicSlots]; // the longest proper prefix that is a word, or -1
    std::int16_t best[kDicSlots];   // the lowest slot among this word and its prefix words
    // Empty except for the buckets that hold words, which usedBuckets lists: a rebuild clears
    // those alone, not all 256 KB, and the pages of buckets never used are never touched.
    Bucket buckets[kBuckets];
    std::uint16_t usedBuckets[kDicSlots];
    int usedBucketCount;
    std::int16_t oneByte[256]; // the slot of a one-byte word, or -1
    int count;
    // Scratch of the build: the used slots, and their order sorted by word.
    Entry entries[kDicSlots];
    std::uint16_t order[kDicSlots];
};

namespace {

using Index = DicIndex::Index;

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

int UsedSlotWordLength(const DicTables& tables, int slot) {
    return static_cast<int>(::strnlen(tables.word[slot], static_cast<std::size_t>(kMaxWordBytes)));
}

bool Before(const Entry& a, const Entry& b) {
    if (a.hi != b.hi) {
        return a.hi < b.hi;
    }
    if (a.lo != b.lo) {
        return a.lo < b.lo;
    }
    return a.slot < b.slot;
}

std::uint16_t BucketOf(const Entry& e) {
    return static_cast<std::uint16_t>(e.hi >> 48);
}

// Sorts the first n entries into x.order by word, then slot. A counting sort by bucket (the
// first two bytes) does most of the work: the buckets of the last build are emptied, this
// build's are counted in place and listed in usedBuckets, and each bucket's few words are then
// sorted among themselves. A general sort of all 10,000 words would cost several times more.
void SortEntries(Index& x, int n) {
    for (int k = 0; k < x.usedBucketCount; ++k) {
        x.buckets[x.usedBuckets[k]] = Bucket{0, 0};
    }
    x.usedBucketCount = 0;
    for (int i = 0; i < n; ++i) {
        Bucket& b = x.buckets[BucketOf(x.entries[i])];
        if (b.end++ == 0) {
            x.usedBuckets[x.usedBucketCount++] = BucketOf(x.entries[i]);
        }
    }
    std::sort(x.usedBuckets, x.usedBuckets + x.usedBucketCount);
    std::uint16_t next = 0;
    for (int k = 0; k < x.usedBucketCount; ++k) {
        Bucket& b = x.buckets[x.usedBuckets[k]];
        const std::uint16_t size = b.end;
        b.begin = next;
        b.end = next; // the place of the bucket's next entry
        next = static_cast<std::uint16_t>(next + size);
    }
    for (int i = 0; i < n; ++i) {
        x.order[x.buckets[BucketOf(x.entries[i])].end++] = static_cast<std::uint16_t>(i);
    }
    const auto before = [&x](std::uint16_t a, std::uint16_t b) {
        return Before(x.entries[a], x.entries[b]);
    };
    for (int k = 0; k < x.usedBucketCount; ++k) {
        const Bucket& b = x.buckets[x.usedBuckets[k]];
        std::uint16_t* first = x.order + b.begin;
        std::uint16_t* last = x.order + b.end;
        if (last - first > 16) {
            std::sort(first, last, before);
            continue;
        }
        for (std::uint16_t* i = first + 1; i < last; ++i) { // insertion sort of a few words
            const std::uint16_t v = *i;
            std::uint16_t* j = i;
            for (; j > first && before(v, *(j - 1)); --j) {
                *j = *(j - 1);
            }
            *j = v;
        }
    }
}

// Builds x over the used slots from firstSlot on.
void BuildIndex(const DicTables& tables, Index& x, int firstSlot) {
    const int used = tables.UsedSlots();
    int n = 0;
    for (int slot = firstSlot; slot < used; ++slot) {
        const int len = UsedSlotWordLength(tables, slot);
        if (len == 0) {
            continue; // an empty word would match everywhere without moving on: never used
        }
        unsigned char key[kMaxWordBytes] = {};
        std::memcpy(key, tables.word[slot], static_cast<std::size_t>(len));
        x.entries[n++] = {LoadHi(key), LoadLo(key), static_cast<std::uint16_t>(slot),
                          static_cast<std::uint8_t>(len)};
    }
    SortEntries(x, n);

    // Keep one entry per distinct word: its lowest slot, which is the one a scan meets first.
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const Entry& e = x.entries[x.order[i]];
        if (count > 0 && x.hi[count - 1] == e.hi && x.lo[count - 1] == e.lo) {
            continue;
        }
        x.hi[count] = e.hi;
        x.lo[count] = e.lo;
        x.len[count] = e.len;
        x.best[count] = static_cast<std::int16_t>(e.slot);
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

    // Buckets by the first two bytes (a one-byte word sits in the bucket of its byte and zero):
    // the sort listed them in usedBuckets; their ranges change only where duplicates are gone.
    for (int i = 0; i < count; ++i) {
        const auto b = static_cast<std::uint16_t>(x.hi[i] >> 48);
        if (i == 0 || b != static_cast<std::uint16_t>(x.hi[i - 1] >> 48)) {
            x.buckets[b].begin = static_cast<std::uint16_t>(i);
        }
        x.buckets[b].end = static_cast<std::uint16_t>(i + 1);
    }
}

int FindInIndex(const Index& x, const unsigned char* text) {
    const std::uint64_t hi = LoadHi(text);
    const std::uint32_t lo = LoadLo(text);
    const auto bucket = static_cast<std::size_t>(hi >> 48);
    const int begin = x.buckets[bucket].begin;
    const int end = x.buckets[bucket].end;

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

// The index of part, built first if the tables changed since it was last built. The index is
// allocated on first use (zeroed, as the build expects of its buckets: fresh zero pages, of
// which the build touches those it writes).
const Index& Ready(const DicTables& tables, DicIndex::Part& part, int firstSlot) {
    if (!part.built.load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> lock(part.building);
        if (!part.built.load(std::memory_order_relaxed)) {
            if (!part.index) {
                part.index = MakeZeroed<Index>();
            }
            BuildIndex(tables, *part.index, firstSlot);
            part.built.store(true, std::memory_order_release);
        }
    }
    return *part.index;
}

// The first slot from firstSlot on, in slot order, whose word starts text.
int LinearFind(const DicTables& tables, int firstSlot, const unsigned char* text) {
    for (int slot = firstSlot; slot < kDicSlots; ++slot) {
        if (tables.yomi[slot][0] == '\0') {
            return -1;
        }
        const int len = UsedSlotWordLength(tables, slot);
        if (len > 0 && std::memcmp(text, tables.word[slot], static_cast<std::size_t>(len)) == 0) {
            return slot;
        }
    }
    return -1;
}

} // namespace

DicIndex::DicIndex(const DicTables& tables) : m_tables(tables) {}

DicIndex::~DicIndex() = default;

void DicIndex::MarkChanged() {
    m_all.built.store(false, std::memory_order_release);
    m_user.built.store(false, std::memory_order_release);
}

int DicIndex::FirstMatch(const unsigned char* text) const {
    return FindInIndex(Ready(m_tables, m_all, 0), text);
}

int DicIndex::FirstUserMatch(const unsigned char* text) const {
    return FindInIndex(Ready(m_tables, m_user, kBuiltinRows), text);
}

int DicIndex::LinearFirstMatch(const unsigned char* text) const {
    return LinearFind(m_tables, 0, text);
}

int DicIndex::LinearFirstUserMatch(const unsigned char* text) const {
    return LinearFind(m_tables, kBuiltinRows, text);
}

int DicIndex::WordLength(int slot) const {
    return UsedSlotWordLength(m_tables, slot);
}

} // namespace yomi6
