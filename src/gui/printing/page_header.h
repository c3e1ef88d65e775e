// The texts of a printed page's header and footer: the job's date and time, the page number.
#pragma once

#include <QString>

namespace yomi6 {

// The local time at which a print job or preview began; every page of the job shows it.
struct JobTime {
    int year = 0; // the full year, for example 2025
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The local clock now.
JobTime JobTimeNow();

// "2025/01/07 09:05:07": the full year, so that the date reads the same in any century, and
// every other field as two digits, so that the time reads as hours, minutes and seconds and
// the text keeps its width from one second to the next.
QString DateText(const JobTime& time);

// "-3-" for page 3 (pages count from 1).
QString PageText(int page);

} // namespace yomi6
