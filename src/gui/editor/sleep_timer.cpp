#include "editor/sleep_timer.h"

#include "chapters/chapters.h"

#include <algorithm>
#include <string>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;

bool EndsSentence(char16_t c) {
    return c == u'。' || c == u'．' || c == u'？' || c == u'！' || c == u'｡' || c == u'\n';
}

// Characters heard as nothing after the last word of a sentence.
bool Trails(char16_t c) {
    return EndsSentence(c) || c == u'」' || c == u'』' || c == u'）' || c == u'、' || c == u' ' ||
           c == u'　' || c == u'\r';
}

// The last character said at or before end, going back no further than from.
std::size_t LastSaid(std::u16string_view text, std::size_t from, std::size_t end) {
    end = std::min(end, text.empty() ? 0 : text.size() - 1);
    while (end > from && Trails(text[end])) {
        --end;
    }
    return end;
}

// The first sentence end at or after position (the end of text when there is none).
std::size_t SentenceEndFrom(std::u16string_view text, std::size_t position) {
    for (std::size_t i = position; i < text.size(); ++i) {
        if (EndsSentence(text[i])) {
            return i;
        }
    }
    return text.size();
}

// Where the sentence holding position starts: after the sentence end before it, going back no
// further than from.
std::size_t SentenceStartBefore(std::u16string_view text, std::size_t from, std::size_t position) {
    while (position > from && !EndsSentence(text[position - 1])) {
        --position;
    }
    return position;
}

// The last character of the chapter that holds position, blanks and line breaks before the
// next heading left out (the end of text when no heading follows).
std::size_t ChapterEndFrom(std::u16string_view text, std::size_t position) {
    std::size_t next = text.size();
    for (const Chapter& chapter : FindChapters(text)) {
        if (chapter.begin > position) {
            next = chapter.begin;
            break;
        }
    }
    while (next > position + 1 &&
           (text[next - 1] == u'\n' || text[next - 1] == u' ' || text[next - 1] == u'　')) {
        --next;
    }
    return next > position ? next - 1 : position;
}

} // namespace

void SleepTimer::Set(Mode mode, Clock::time_point now) {
    m_mode = mode;
    m_stopAt.reset();
    m_lastSentence.reset();
    m_deadline.reset();
    switch (mode) {
    case Mode::Minutes15:
        m_deadline = now + 15min;
        break;
    case Mode::Minutes30:
        m_deadline = now + 30min;
        break;
    case Mode::Minutes60:
        m_deadline = now + 60min;
        break;
    case Mode::Off:
    case Mode::ChapterEnd:
        break;
    }
}

bool SleepTimer::Heard(std::u16string_view text, std::size_t begin, std::size_t end,
                       Clock::time_point now) {
    if (m_mode == Mode::Off) {
        return false;
    }
    if (!m_stopAt) {
        if (m_mode == Mode::ChapterEnd) {
            m_stopAt = LastSaid(text, begin, ChapterEndFrom(text, begin));
        } else if (now >= *m_deadline) {
            m_stopAt = LastSaid(text, begin, SentenceEndFrom(text, begin));
        } else {
            return false;
        }
        m_lastSentence = SentenceStartBefore(text, begin, *m_stopAt);
    }
    // The unit that says the last character, or any past it (a unit may take several
    // characters in, that one among them).
    if (std::max(end, begin + 1) > *m_stopAt) {
        Set(Mode::Off, now);
        return true;
    }
    return false;
}

} // namespace yomi6
