// The sleep timer's rule, without Qt and without a clock of its own (the caller passes the
// moments): after 15, 30 or 60 minutes, or at the end of the chapter being read, the reading
// stops once the sentence being heard has been said. The reading tells it each unit as it is
// heard; the unit at which it says to stop is the one that says the last word of that sentence
// (before its 。, or before the line break of a line without one; the closing brackets and
// blanks after it are heard as nothing), or the first unit heard past it. The reading is then to
// end once that unit has been heard.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>

namespace yomi6 {

class SleepTimer {
public:
    using Clock = std::chrono::steady_clock;
    enum class Mode { Off, Minutes15, Minutes30, Minutes60, ChapterEnd };

    // Chooses mode at the moment now (Off: the timer does nothing).
    void Set(Mode mode, Clock::time_point now);
    Mode Current() const { return m_mode; }
    // When the time runs out (nothing for Off and ChapterEnd).
    std::optional<Clock::time_point> Deadline() const { return m_deadline; }

    // Whether Heard needs the text at now: the place to stop is still to be found.
    bool NeedsText(Clock::time_point now) const {
        return m_mode != Mode::Off && !m_stopAt && (!m_deadline || now >= *m_deadline);
    }
    // Characters [begin, end) of text are heard at now (text may be empty unless NeedsText). True:
    // the reading is to stop now; the timer is then Off.
    bool Heard(std::u16string_view text, std::size_t begin, std::size_t end, Clock::time_point now);
    // Whether a unit heard from character begin on is in the sentence that ends the reading,
    // where the volume falls (once the place to stop is known).
    bool InLastSentence(std::size_t begin) const {
        return m_mode != Mode::Off && m_lastSentence && begin >= *m_lastSentence;
    }

private:
    Mode m_mode = Mode::Off;
    std::optional<Clock::time_point> m_deadline;
    // Where the reading is to stop, once known: the last character said of the sentence (or
    // of the chapter) whose unit ends the reading.
    std::optional<std::size_t> m_stopAt;
    std::optional<std::size_t> m_lastSentence; // where the sentence with m_stopAt starts
};

} // namespace yomi6
