#include "cli/export_progress.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace yomi6::cli {

namespace {

// Often enough to look alive, seldom enough to cost nothing.
constexpr auto kRedrawInterval = std::chrono::milliseconds(250);
// An estimate from the first moments of an export says little.
constexpr auto kEstimateAfter = std::chrono::seconds(1);

std::string ClockText(long long seconds) {
    char text[32];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    }
    return text;
}

void WriteStderr(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

} // namespace

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

ExportProgress::ExportProgress(bool terminal)
    : m_terminal(terminal), m_start(Clock::now()), m_lastDrawn(m_start - kRedrawInterval) {}

ExportProgress::~ExportProgress() {
    Clear();
}

std::string ExportProgress::Line(std::size_t done, std::size_t total, Clock::duration elapsed) {
    const double share = total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
    const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    char percent[16];
    std::snprintf(percent, sizeof percent, "%3d%%", static_cast<int>(share * 100.0));
    std::string line = std::string("  ") + percent + "  " + ClockText(seconds) + " elapsed";
    if (share > 0.0 && share < 1.0 && elapsed >= kEstimateAfter) {
        const double left = std::chrono::duration<double>(elapsed).count() * (1.0 - share) / share;
        line += ", about " + ClockText(static_cast<long long>(left + 0.5)) + " left";
    }
    return line;
}

void ExportProgress::Update(std::size_t done, std::size_t total) {
    if (!m_terminal) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (now - m_lastDrawn < kRedrawInterval) {
        return;
    }
    m_lastDrawn = now;
    m_shown = true;
    // Carriage return and erase-to-end-of-line: the line is drawn over itself.
    WriteStderr("\r" + Line(done, total, now - m_start) + "\x1b[K");
}

void ExportProgress::Clear() {
    if (m_shown) {
        WriteStderr("\r\x1b[K");
        m_shown = false;
    }
}

} // namespace yomi6::cli
