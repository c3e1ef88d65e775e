// How long the natural voice pauses at each mark of the text: the comma, the sentence's end,
// ！ and ？, the ellipsis, the dash, a line end and a blank line (a change of scene), in
// milliseconds. The settings file keeps one key for each (settings_keys::kPauseKeys); the
// command line names them in a list (--pauses comma=250,period=600).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace yomi6 {

enum class PauseMark { Comma, Period, Question, Ellipsis, Dash, LineEnd, BlankLine };
inline constexpr std::size_t kPauseMarkCount = 7;

// The name of each mark in a list, in the order of PauseMark.
inline constexpr std::array<std::string_view, kPauseMarkCount> kPauseNames{
    "comma", "period", "question", "ellipsis", "dash", "line", "blank"};

struct PauseTable {
    std::array<std::int32_t, kPauseMarkCount> ms{};

    std::int32_t At(PauseMark mark) const { return ms[static_cast<std::size_t>(mark)]; }
    std::int32_t& At(PauseMark mark) { return ms[static_cast<std::size_t>(mark)]; }
    bool operator==(const PauseTable&) const = default;
};

// The defaults of the settings file's keys.
PauseTable DefaultPauses();

// Each length brought within 0 to settings_keys::kMaxPauseMs.
PauseTable ClampedPauses(PauseTable table);

// Sets the marks a list names ("comma=250,period=600": name=milliseconds, separated by commas,
// any marks in any order) in table, leaving the others. A name it does not know, a value that
// is no whole number or lies outside 0 to kMaxPauseMs, or an empty item is refused: the message
// (English, for the command line) is returned and table is left as it was; "" when it is fine.
std::string ParsePauseList(std::string_view list, PauseTable& table);

// The table as such a list, every mark named.
std::string PauseListOf(const PauseTable& table);

} // namespace yomi6
