#include "reports/ReportPeriods.h"

namespace horalog
{

namespace
{

ReportPeriod days(const QDate& first, const QDate& last)
{
    return {firstInstant(first), lastInstant(last)};
}

} // namespace

QDateTime firstInstant(const QDate& day)
{
    return QDateTime(day, QTime(0, 0));
}

QDateTime lastInstant(const QDate& day)
{
    return QDateTime(day, QTime(23, 59, 59));
}

ReportPeriod reportPeriod(FixedPeriod period, const QDateTime& now)
{
    const QDate today = now.date();
    const QDate firstOfMonth(today.year(), today.month(), 1);
    const QDate sixteenth(today.year(), today.month(), 16);
    const QDate lastOfMonth = firstOfMonth.addMonths(1).addDays(-1);
    switch (period) {
    case FixedPeriod::Today:
        return {firstInstant(today), now};
    case FixedPeriod::Yesterday:
        return days(today.addDays(-1), today.addDays(-1));
    case FixedPeriod::FirstHalfOfMonth:
        return days(firstOfMonth, sixteenth.addDays(-1));
    case FixedPeriod::SecondHalfOfMonth:
        return days(sixteenth, lastOfMonth);
    case FixedPeriod::CurrentMonth:
        return days(firstOfMonth, lastOfMonth);
    case FixedPeriod::PreviousMonth:
        return days(firstOfMonth.addMonths(-1), firstOfMonth.addDays(-1));
    }
    return {};
}

} // namespace horalog
