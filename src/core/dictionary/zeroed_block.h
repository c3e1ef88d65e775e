// Large tables that start as zeros, taken from the system as fresh zero pages: their pages are
// not touched (and cost no page fault) until something is written to them, so a run that uses
// a small part of a 340 KB table pays for that part alone.
#pragma once

#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

namespace yomi6 {

struct FreeZeroed {
    void operator()(void* block) const { std::free(block); }
};

template <class T> using ZeroedPtr = std::unique_ptr<T, FreeZeroed>;

// A T whose every byte is zero. T is a plain table: made and ended without code.
template <class T> ZeroedPtr<T> MakeZeroed() {
    static_assert(std::is_trivially_default_constructible_v<T> &&
                  std::is_trivially_destructible_v<T>);
    void* block = std::calloc(1, sizeof(T));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return ZeroedPtr<T>(static_cast<T*>(block));
}

// count bytes, every one zero.
inline ZeroedPtr<unsigned char[]> MakeZeroedBytes(std::size_t count) {
    void* block = std::calloc(count, 1);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return ZeroedPtr<unsigned char[]>(static_cast<unsigned char*>(block));
}

} // namespace yomi6
