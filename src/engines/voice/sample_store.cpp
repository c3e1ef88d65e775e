// Finding a compiled-in sample by name: a binary search over the generated, sorted table.
#include "voice/sample_store.h"
#include "voice/sample_table.h"

#include <algorithm>

namespace yomi6 {

SampleImage FindSample(std::string_view name) {
    const std::span<const detail::SampleEntry> entries = detail::SampleEntries();
    const auto it = std::lower_bound(
        entries.begin(), entries.end(), name,
        [](const detail::SampleEntry& e, std::string_view n) { return e.name < n; });
    if (it == entries.end() || it->name != name) {
        return {};
    }
    return SampleImage{it->data, it->size};
}

std::span<const std::string_view> SampleNames() {
    return detail::SampleEntryNames();
}

} // namespace yomi6
