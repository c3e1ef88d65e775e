// The table behind the sample store: one row per compiled-in WAVE image, sorted by name so that
// a lookup is a binary search. The rows are generated at build time from resources/samples.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace yomi6::detail {

struct SampleEntry {
    std::string_view name;
    const unsigned char* data;
    std::size_t size;
};

// Sorted by name (byte order); generated.
std::span<const SampleEntry> SampleEntries();
// The same names in the same order; generated.
std::span<const std::string_view> SampleEntryNames();

} // namespace yomi6::detail
