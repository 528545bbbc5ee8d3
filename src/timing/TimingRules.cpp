#include "timing/TimingRules.h"

#include <cmath>

namespace horalog
{

namespace
{
QDateTime toWholeMinute(const QDateTime& moment)
{
    QDateTime minute = moment;
    minute.setTime(QTime(moment.time().hour(), moment.time().minute()));
    return minute;
}
} // namespace

int minuteBoundaries(const QDateTime& start, const QDateTime& end)
{
    return int(toWholeMinute(start).secsTo(toWholeMinute(end)) / 60);
}

double hoursFromMinutes(int minutes)
{
    return std::round(minutes * 100.0 / 60.0) / 100.0;
}

QDateTime toWholeSecond(const QDateTime& moment)
{
    QDateTime second = moment;
    second.setTime(QTime(moment.time().hour(), moment.time().minute(), moment.time().second()));
    return second;
}

} // namespace horalog
