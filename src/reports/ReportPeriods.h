#pragma once

#include <QDate>
#include <QDateTime>

namespace horalog
{

// The periods the report options offer without asking, by the index of their option button;
// the seventh option, "&Other", asks for its two days.
enum class FixedPeriod {
    Today = 1,
    Yesterday,
    FirstHalfOfMonth,
    SecondHalfOfMonth,
    CurrentMonth,
    PreviousMonth
};

struct ReportPeriod {
    QDateTime start;
    QDateTime end;
};

// The period chosen at the moment `now`. Today ends at `now` itself; every other period ends at
// 23:59:59 of its last day.
ReportPeriod reportPeriod(FixedPeriod period, const QDateTime& now);

// 00:00:00 and 23:59:59 of a day, the ends of a period that starts or ends on it.
QDateTime firstInstant(const QDate& day);
QDateTime lastInstant(const QDate& day);

} // namespace horalog
