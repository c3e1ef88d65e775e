#include "printing/page_header.h"

#include <QDateTime>

namespace yomi6 {

JobTime JobTimeNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return JobTime{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()};
}

QString DateText(const JobTime& time) {
    return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month, time.day,
                             time.hour, time.minute, time.second);
}

QString PageText(int page) {
    return QString::asprintf("%c%d%c", '-', page, '-');
}

} // namespace yomi6
