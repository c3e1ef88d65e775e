#include "settings/pause_table.h"

#include "settings/settings_keys.h"

#include <algorithm>
#include <charconv>

namespace yomi6 {

namespace keys = settings_keys;

static_assert(keys::kPauseKeys.size() == kPauseMarkCount);

PauseTable DefaultPauses() {
    PauseTable table;
    for (std::size_t i = 0; i < kPauseMarkCount; ++i) {
        table.ms[i] = keys::kPauseKeys[i].defaultValue;
    }
    return table;
}

PauseTable ClampedPauses(PauseTable table) {
    for (std::int32_t& ms : table.ms) {
        ms = std::clamp(ms, 0, keys::kMaxPauseMs);
    }
    return table;
}

namespace {

std::string KnownNames() {
    std::string names;
    for (const std::string_view name : kPauseNames) {
        names += names.empty() ? "" : ", ";
        names += name;
    }
    return names;
}

} // namespace

std::string ParsePauseList(std::string_view list, PauseTable& table) {
    PauseTable set = table;
    const std::string range =
        "a whole number of milliseconds from 0 to " + std::to_string(keys::kMaxPauseMs);
    std::size_t at = 0;
    do {
        const std::size_t comma = std::min(list.find(',', at), list.size());
        const std::string_view item = list.substr(at, comma - at);
        at = comma + 1;
        const std::size_t equals = item.find('=');
        if (item.empty() || equals == std::string_view::npos) {
            return "--pauses takes name=milliseconds items separated by commas, not '" +
                   std::string(item) + "'";
        }
        const std::string_view name = item.substr(0, equals);
        const std::string_view value = item.substr(equals + 1);
        const auto* found = std::find(kPauseNames.begin(), kPauseNames.end(), name);
        if (found == kPauseNames.end()) {
            return "--pauses knows " + KnownNames() + ", not '" + std::string(name) + "'";
        }
        std::int32_t ms = 0;
        const char* end = value.data() + value.size();
        const auto [ptr, ec] = std::from_chars(value.data(), end, ms);
        if (value.empty() || ec != std::errc() || ptr != end || ms < 0 || ms > keys::kMaxPauseMs) {
            return "--pauses takes for " + std::string(name) + " " + range + ", not '" +
                   std::string(value) + "'";
        }
        set.ms[static_cast<std::size_t>(found - kPauseNames.begin())] = ms;
    } while (at <= list.size());
    table = set;
    return "";
}

std::string PauseListOf(const PauseTable& table) {
    std::string list;
    for (std::size_t i = 0; i < kPauseMarkCount; ++i) {
        list += list.empty() ? "" : ",";
        list += std::string(kPauseNames[i]) + "=" + std::to_string(table.ms[i]);
    }
    return list;
}

} // namespace yomi6
