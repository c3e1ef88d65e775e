// The progress of a long export on standard error, for a person watching a terminal: one line,
// rewritten in place, with the share done, the time taken and an estimate of the time left.
// Nothing is written when standard error is not a terminal (a file, a pipe), so that scripts
// and logs see only the errors.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace yomi6::cli {

class ExportProgress {
public:
    using Clock = std::chrono::steady_clock;

    // Shown when terminal is true; ExportProgress(IsTerminal(stderr)) in the export mode.
    explicit ExportProgress(bool terminal);
    ~ExportProgress();
    ExportProgress(const ExportProgress&) = delete;
    ExportProgress& operator=(const ExportProgress&) = delete;

    // done of total source bytes read; redraws the line at most a few times a second.
    void Update(std::size_t done, std::size_t total);
    // Removes the line, so that what follows (an error, the shell's prompt) starts clean.
    void Clear();

    // The line for done of total after elapsed, as drawn ("  37%  0:12 elapsed, about 0:20
    // left").
    static std::string Line(std::size_t done, std::size_t total, Clock::duration elapsed);

private:
    bool m_terminal;
    bool m_shown = false;
    Clock::time_point m_start;
    Clock::time_point m_lastDrawn;
};

// Whether standard error is a terminal.
bool StandardErrorIsTerminal();

} // namespace yomi6::cli
